// Fuzzes the registry script as the program reads it: whole lines, comments
// and keywords, the entry parser, the conversions each operation applies to
// an entry, the results lines and the listing texts.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "linetext.h"
#include "regtext.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    FILE *file = fmemopen(const_cast<uint8_t *>(data), size, "r");
    if (!file) return 0;
    std::string line;
    bool cut = false;
    while (readScriptLine(file, &line, &cut)) {
        ScriptLine parsed = classifyScriptLine(line);
        if (parsed.kind != LineKind::Operation) continue;
        RegEntry entry = parseRegistryEntry(parsed.entry.c_str());
        RegEntry keyOnly = parseRegEntry(parsed.entry.c_str());
        if (keyOnly.root != entry.root) abort();
        dwordFromText(entry.valueData.c_str());
        std::vector<uint8_t> bytes = bytesFromHex(entry.valueData.c_str());
        if (bytes.size() != (entry.valueData.size() + 1) / 2 && entry.valueData.find('\0') == std::string::npos)
            abort();
        isExpandText(entry.valueData.c_str());
        std::string type, shown;
        for (uint32_t kind : {kRegSz, kRegBinary, kRegDword, kRegMultiSz})
            valueText(kind, bytes.data(), bytes.size(), &type, &shown);
        std::u16string wide(entry.valueData.begin(), entry.valueData.end());
        for (uint32_t kind : {kRegSz, kRegExpandSz, kRegMultiSz, kRegDword})
            if (isTextType(kind)) wideValueText(kind, wide.data(), wide.size());
        std::u16string joined = joinText(wideValueText(kRegMultiSz, wide.data(), wide.size()), wide, true);
        isExpandText(joined);
        std::string result = resultsLine(parsed.keyword->keyword, "ok", entry, entry.valueName, entry.valueType,
                                         joinText(shown, entry.valueData, false));
        if (result.back() != '\n') abort();
        std::string onDisk = textModeBytes(result);
        if (onDisk.size() < result.size() + 1 || onDisk.compare(onDisk.size() - 2, 2, "\r\n") != 0) abort();
        std::string list = entry.valueData;
        addListedName(&list, entry.valueName);
        const char *status = listingStatus(true, &list);
        listingResultsLine(kKeyListing.keyword, status, true, list);
        listedKeyPath(entry);
        deletedKeyPath(entry);
        valueKind(entry.valueType);
    }
    fclose(file);
    std::string folder;
    std::string path(reinterpret_cast<const char *>(data), size);
    scriptFolder(path.c_str(), 261, &folder);
    if (folder.size() > 260) abort();
    resultsFilePath(folder.c_str());
    return 0;
}
