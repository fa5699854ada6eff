// Fuzzes the registry script reader and entry parser with the conversions
// each operation applies to an entry.
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "regtext.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    FILE *file = fmemopen(const_cast<uint8_t *>(data), size, "r");
    if (!file) return 0;
    std::string text;
    bool cut = false;
    while (readScriptLine(file, &text, &cut)) {
        size_t end = text.find('\n');
        if (end != std::string::npos) text.resize(end);
        if (!text.empty() && text[0] == ';') continue;
        const char *entry = nullptr;
        const OperationKeyword *op = findOperation(text.c_str(), &entry);
        if (!op) continue;
        RegEntry parsed = parseRegistryEntry(entry);
        parseRegEntry(entry);
        dwordFromText(parsed.valueData.c_str());
        std::vector<uint8_t> bytes = bytesFromHex(parsed.valueData.c_str());
        isExpandText(parsed.valueData.c_str());
        std::string type, shown;
        for (uint32_t kind : {1u, kRegBinary, kRegDword, kRegMultiSz})
            valueText(kind, bytes.data(), bytes.size(), &type, &shown);
    }
    fclose(file);
    return 0;
}
