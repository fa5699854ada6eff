// setup: the registry script. Each line names one operation; each operation
// appends one line to "regstats.txt" in the script's directory.
#include <direct.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <string>
#include <vector>

#include "appendline.h"
#include "regtext.h"
#include "setup.h"
#include "strutil.h"

namespace {

const HKEY rootKeys[6] = {HKEY_CLASSES_ROOT, HKEY_CURRENT_USER,   HKEY_LOCAL_MACHINE,
                          HKEY_USERS,        HKEY_CURRENT_CONFIG, HKEY_DYN_DATA};

// The predefined key of a parsed root (its index in kRootNames), or the null
// key, on which every registry call fails.
HKEY predefinedKey(int root) { return root >= 0 && root < 6 ? rootKeys[root] : nullptr; }

std::string resultsPath() { return resultsFilePath(appDir); }

// Closes a key on every path out of the scope that opened it.
struct KeyHolder {
    HKEY key = nullptr;
    ~KeyHolder() {
        if (key) RegCloseKey(key);
    }
};

// Appends one results line. A line that could not be written whole is
// logged with the file's path, and no piece of it stays in the file.
AppendOutcome appendResults(const std::string &path, const std::string &line) {
    AppendOutcome outcome = appendLine(path.c_str(), line, true);
    if (outcome == AppendOutcome::Failed) {
        std::string message = "unable to write results line: " + path;
        logMessage(message.c_str());
    }
    return outcome;
}

void writeStatus(const char *operation, const char *status, const RegEntry &entry, const std::string &valueName,
                 const std::string &valueType, const std::string &valueData) {
    std::string path = resultsPath();
    logMessage(path.c_str());
    appendResults(path, resultsLine(operation, status, entry, valueName, valueType, valueData));
}

void writeResults(const char *operation, bool success, const RegEntry &entry, const std::string &valueData) {
    writeStatus(operation, success ? "ok" : "error", entry, entry.valueName, entry.valueType, valueData);
}

bool createRegistryEntry(HKEY root, const std::string &keyPath, HKEY *key) {
    static const REGSAM masks[] = {KEY_ALL_ACCESS, KEY_READ | KEY_WRITE, KEY_CREATE_SUB_KEY | KEY_SET_VALUE,
                                   KEY_SET_VALUE};
    for (REGSAM mask : masks)
        if (RegCreateKeyExA(root, keyPath.c_str(), 0, nullptr, 0, mask, nullptr, key, nullptr) == ERROR_SUCCESS)
            return true;
    return false;
}

// The writers succeed when the key could be created or opened and the value
// was stored; a value the registry refuses is a failure, not "ok".
bool addStringKeyToRegistry(HKEY root, const std::string &keyPath, const std::string &name,
                            const std::string &text) {
    KeyHolder holder;
    if (!createRegistryEntry(root, keyPath, &holder.key)) return false;
    DWORD type = isExpandText(text.c_str()) ? REG_EXPAND_SZ : REG_SZ;
    return RegSetValueExA(holder.key, name.c_str(), 0, type, reinterpret_cast<const BYTE *>(text.c_str()),
                          static_cast<DWORD>(text.size() + 1)) == ERROR_SUCCESS;
}

bool addDWordKeyToRegistry(HKEY root, const std::string &keyPath, const std::string &name, uint32_t number) {
    KeyHolder holder;
    if (!createRegistryEntry(root, keyPath, &holder.key)) return false;
    // With no value name only the key is made.
    if (name.empty()) return true;
    DWORD value = number;
    return RegSetValueExA(holder.key, name.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE *>(&value),
                          sizeof value) == ERROR_SUCCESS;
}

bool addBinaryKeyToRegistry(HKEY root, const std::string &keyPath, const std::string &name,
                            const std::vector<uint8_t> &bytes) {
    KeyHolder holder;
    if (!createRegistryEntry(root, keyPath, &holder.key)) return false;
    if (name.empty()) return true;
    return RegSetValueExA(holder.key, name.c_str(), 0, REG_BINARY, bytes.empty() ? nullptr : bytes.data(),
                          static_cast<DWORD>(bytes.size())) == ERROR_SUCCESS;
}

bool addKeyToRegistry(HKEY root, const std::string &keyPath, const std::string &name, const std::string &type,
                      const std::string &data) {
    switch (valueKind(type)) {
        case ValueKind::Dword: return addDWordKeyToRegistry(root, keyPath, name, dwordFromText(data.c_str()));
        case ValueKind::Binary: return addBinaryKeyToRegistry(root, keyPath, name, bytesFromHex(data.c_str()));
        case ValueKind::Text: break;
    }
    return addStringKeyToRegistry(root, keyPath, name, data);
}

// Reads a value whole, whatever its size, and gives its type word and text
// form. A default value (empty name) that cannot be read still succeeds: the
// key exists.
bool getKeyFromRegistry(HKEY root, const std::string &keyPath, const std::string &name, std::string *typeWord,
                        std::string *text) {
    typeWord->clear();
    text->clear();
    KeyHolder holder;
    if (RegOpenKeyExA(root, keyPath.c_str(), 0, KEY_QUERY_VALUE, &holder.key) != ERROR_SUCCESS) return false;
    std::vector<uint8_t> data(10000);
    DWORD type = 0, size = static_cast<DWORD>(data.size());
    LONG status = RegQueryValueExA(holder.key, name.c_str(), nullptr, &type, data.data(), &size);
    // The value may grow between two reads: ask again with the size reported.
    for (int tries = 0; status == ERROR_MORE_DATA && tries < 8; ++tries) {
        data.resize(size);
        status = RegQueryValueExA(holder.key, name.c_str(), nullptr, &type, data.data(), &size);
    }
    if (status != ERROR_SUCCESS) return name.empty();
    valueText(type, data.data(), size, typeWord, text);
    return true;
}

bool addRegistryEntry(const char *entryText) {
    RegEntry entry = parseRegistryEntry(entryText);
    HKEY root = predefinedKey(entry.root);
    std::string typeRead, dataRead;
    if (getKeyFromRegistry(root, entry.keyPath, entry.valueName, &typeRead, &dataRead)) {
        writeStatus("add\t", "exists", entry, entry.valueName, entry.valueType, entry.valueData);
        return true;
    }
    bool success = addKeyToRegistry(root, entry.keyPath, entry.valueName, entry.valueType, entry.valueData);
    writeResults("add\t", success, entry, entry.valueData);
    return success;
}

bool replaceRegistryEntry(const char *entryText) {
    RegEntry entry = parseRegistryEntry(entryText);
    bool success =
        addKeyToRegistry(predefinedKey(entry.root), entry.keyPath, entry.valueName, entry.valueType, entry.valueData);
    writeResults("replace\t", success, entry, entry.valueData);
    return success;
}

std::u16string toWide(const std::string &text) {
    if (text.empty()) return std::u16string();
    int count = MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::u16string wide(count > 0 ? count : 0, u'\0');
    if (count > 0)
        MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), reinterpret_cast<WCHAR *>(&wide[0]),
                            count);
    return wide;
}

// The ANSI form, for the results line and the log only: what is stored is
// the wide text.
std::string toAnsi(const std::u16string &wide) {
    if (wide.empty()) return std::string();
    int size = WideCharToMultiByte(CP_ACP, 0, reinterpret_cast<const WCHAR *>(wide.data()),
                                   static_cast<int>(wide.size()), nullptr, 0, nullptr, nullptr);
    std::string text(size > 0 ? size : 0, '\0');
    if (size > 0)
        WideCharToMultiByte(CP_ACP, 0, reinterpret_cast<const WCHAR *>(wide.data()), static_cast<int>(wide.size()),
                            &text[0], size, nullptr, nullptr);
    return text;
}

// Reads a text value (plain, expandable or multi) in its wide form, so that
// characters outside the ANSI code page come back as they are. False when
// the value cannot be read or is of another kind.
bool readWideText(HKEY root, const std::string &keyPath, const std::string &name, std::u16string *text) {
    KeyHolder holder;
    if (RegOpenKeyExA(root, keyPath.c_str(), 0, KEY_QUERY_VALUE, &holder.key) != ERROR_SUCCESS) return false;
    std::u16string wideName = toWide(name);
    const WCHAR *valueName = reinterpret_cast<const WCHAR *>(wideName.c_str());
    std::vector<char16_t> data(5000);
    DWORD type = 0, size = static_cast<DWORD>(data.size() * 2);
    LONG status = RegQueryValueExW(holder.key, valueName, nullptr, &type, reinterpret_cast<BYTE *>(data.data()), &size);
    for (int tries = 0; status == ERROR_MORE_DATA && tries < 8; ++tries) {
        data.resize(size / 2 + 1);
        size = static_cast<DWORD>(data.size() * 2);
        status = RegQueryValueExW(holder.key, valueName, nullptr, &type, reinterpret_cast<BYTE *>(data.data()), &size);
    }
    if (status != ERROR_SUCCESS || !isTextType(type)) return false;
    *text = wideValueText(type, data.data(), size / 2);
    return true;
}

bool setWideText(HKEY root, const std::string &keyPath, const std::string &name, const std::u16string &text) {
    KeyHolder holder;
    if (!createRegistryEntry(root, keyPath, &holder.key)) return false;
    std::u16string wideName = toWide(name);
    DWORD type = isExpandText(text) ? REG_EXPAND_SZ : REG_SZ;
    return RegSetValueExW(holder.key, reinterpret_cast<const WCHAR *>(wideName.c_str()), 0, type,
                          reinterpret_cast<const BYTE *>(text.c_str()),
                          static_cast<DWORD>((text.size() + 1) * 2)) == ERROR_SUCCESS;
}

bool joinRegistryEntry(const char *entryText, const char *operation, bool prepend) {
    RegEntry entry = parseRegistryEntry(entryText);
    HKEY root = predefinedKey(entry.root);
    // A text joined to a text value is joined in the wide form: the part of
    // the value the script does not change comes back exactly, whatever its
    // characters.
    std::u16string current;
    if (valueKind(entry.valueType) == ValueKind::Text &&
        readWideText(root, entry.keyPath, entry.valueName, &current)) {
        std::u16string joined = joinText(current, toWide(entry.valueData), prepend);
        bool success = setWideText(root, entry.keyPath, entry.valueName, joined);
        writeResults(operation, success, entry, toAnsi(joined));
        return success;
    }
    std::string typeRead, text;
    getKeyFromRegistry(root, entry.keyPath, entry.valueName, &typeRead, &text);
    std::string joined = joinText(text, entry.valueData, prepend);
    // The joined text is stored whole or not at all: a value the registry
    // refuses stays as it was and the line says "error".
    bool success = addKeyToRegistry(root, entry.keyPath, entry.valueName, entry.valueType, joined);
    writeResults(operation, success, entry, joined);
    return success;
}

bool existsRegistryEntry(const char *entryText) {
    RegEntry entry = parseRegEntry(entryText);
    KeyHolder holder;
    bool success =
        RegOpenKeyExA(predefinedKey(entry.root), entry.keyPath.c_str(), 0, KEY_QUERY_VALUE, &holder.key) == ERROR_SUCCESS;
    writeStatus("exists\t", success ? "ok" : "error", entry, "", "", "");
    return success;
}

bool queryRegistryEntry(const char *entryText) {
    RegEntry entry = parseRegistryEntry(entryText);
    std::string typeRead, dataRead;
    bool success = getKeyFromRegistry(predefinedKey(entry.root), entry.keyPath, entry.valueName, &typeRead, &dataRead);
    writeStatus("query\t", success ? "ok" : "error", entry, entry.valueName, typeRead, dataRead);
    return success;
}

bool deleteRegistryEntry(const char *entryText) {
    RegEntry entry = parseRegistryEntry(entryText);
    bool success = RegDeleteKeyA(predefinedKey(entry.root), deletedKeyPath(entry).c_str()) == ERROR_SUCCESS;
    writeResults("delete\t", success, entry, "");
    char message[64];
    formatText(message, sizeof message, "successfully deleted key: %d", success ? 1 : 0);
    logMessage(message);
    return success;
}

// ---- enumeration ----

void logIndexed(const char *format, DWORD index, const char *name) {
    // Sized to the name: a value name may be 16382 characters long.
    std::vector<char> message(strlen(name) + 64);
    formatText(message.data(), message.size(), format, static_cast<int>(index), name);
    logMessage(message.data());
}

// How one kind of listing asks the registry: its count and one name.
struct Lister {
    const ListKind &kind;
    DWORD nameSize;
    bool (*count)(HKEY key, DWORD *count);
    bool (*name)(HKEY key, DWORD index, char *name, DWORD size);
};

const Lister keyLister = {
    kKeyListing, 255,
    [](HKEY key, DWORD *count) {
        return RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, count, nullptr, nullptr, nullptr, nullptr, nullptr,
                                nullptr, nullptr) == ERROR_SUCCESS;
    },
    [](HKEY key, DWORD index, char *name, DWORD size) {
        FILETIME written;
        return RegEnumKeyExA(key, index, name, &size, nullptr, nullptr, nullptr, &written) == ERROR_SUCCESS;
    }};

const Lister valueLister = {
    kValueListing, 16383,
    [](HKEY key, DWORD *count) {
        return RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, count, nullptr, nullptr,
                                nullptr, nullptr) == ERROR_SUCCESS;
    },
    [](HKEY key, DWORD index, char *name, DWORD size) {
        return RegEnumValueA(key, index, name, &size, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
    }};

// The names of an opened key, in the order of their index; false (no list)
// when there is nothing to list. A name that cannot be fetched at its index
// is left out.
bool enumerateNames(HKEY key, const Lister &lister, std::string *list) {
    DWORD count = 0;
    if (!lister.count(key, &count) || count == 0) return false;
    list->clear();
    if (lister.kind.logsCount) {
        char message[64];
        formatText(message, sizeof message, "\nNumber of values: %d\n", static_cast<int>(count));
        logMessage(message);
    }
    std::vector<char> name(lister.nameSize);
    for (DWORD index = 0; index < count; ++index) {
        if (!lister.name(key, index, name.data(), lister.nameSize)) continue;
        addListedName(list, name.data());
        logIndexed(lister.kind.item, index, name.data());
    }
    return true;
}

bool getEnumerated(const RegEntry &entry, const Lister &lister, std::string *list) {
    KeyHolder holder;
    LONG status = RegOpenKeyExA(predefinedKey(entry.root), listedKeyPath(entry).c_str(), 0, KEY_READ, &holder.key);
    if (status != ERROR_SUCCESS) {
        char message[80];
        formatText(message, sizeof message, lister.kind.unable, static_cast<int>(status));
        logMessage(message);
        return false;
    }
    if (enumerateNames(holder.key, lister, list)) {
        logMessage(lister.kind.found);
    } else {
        list->clear();
        logMessage(lister.kind.none);
    }
    return true;
}

void writeEnumResults(const char *operation, bool success, std::string list) {
    const char *status = listingStatus(success, &list);
    // A results file that cannot be opened: nothing written, nothing logged.
    if (appendResults(resultsPath(), listingResultsLine(operation, status, success, list)) != AppendOutcome::NotOpened)
        logMessage(status);
}

bool getEnumeratedEntry(const char *entryText, const Lister &lister) {
    RegEntry entry = parseRegistryEntry(entryText);
    std::string list;
    bool success = getEnumerated(entry, lister, &list);
    writeEnumResults(lister.kind.keyword, success, list);
    return success;
}

bool runOperation(RegOperation operation, const char *entry) {
    switch (operation) {
        case RegOperation::Add: return addRegistryEntry(entry);
        case RegOperation::Exists: return existsRegistryEntry(entry);
        case RegOperation::Query: return queryRegistryEntry(entry);
        case RegOperation::EnumKey: return getEnumeratedEntry(entry, keyLister);
        case RegOperation::EnumValue: return getEnumeratedEntry(entry, valueLister);
        case RegOperation::Replace: return replaceRegistryEntry(entry);
        case RegOperation::Prepend: return joinRegistryEntry(entry, "prepend\t", true);
        case RegOperation::Append: return joinRegistryEntry(entry, "append\t", false);
        case RegOperation::Delete: return deleteRegistryEntry(entry);
    }
    return false;
}

// A line too long to hold is refused as one operation: its results line
// says "error" and nothing of it runs.
void refuseLine(const OperationKeyword &keyword, const char *entryText) {
    logMessage("line too long: not run");
    if (keyword.operation == RegOperation::EnumKey || keyword.operation == RegOperation::EnumValue) {
        writeEnumResults(keyword.keyword, false, "");
        return;
    }
    if (keyword.operation == RegOperation::Exists) {
        writeStatus(keyword.keyword, "error", parseRegEntry(entryText), "", "", "");
        return;
    }
    RegEntry entry = parseRegistryEntry(entryText);
    writeStatus(keyword.keyword, "error", entry, entry.valueName, entry.valueType, "");
}

bool manageRegistryEntries(const char *scriptPath) {
    FILE *script = fopen(scriptPath, "rt");
    if (!script) return false;
    std::string line;
    bool cut = false;
    // Each physical line is read whole and handled as one line, however
    // long: a piece of a line is never run as a line of its own.
    while (readScriptLine(script, &line, &cut)) {
        logMessage(line.c_str());
        ScriptLine parsed = classifyScriptLine(line);
        if (parsed.kind != LineKind::Operation) continue;
        logMessage(parsed.keyword->announcement);
        logMessage(parsed.entry.c_str());
        if (cut)
            refuseLine(*parsed.keyword, parsed.entry.c_str());
        else
            runOperation(parsed.keyword->operation, parsed.entry.c_str());
    }
    fclose(script);
    return true;
}

}  // namespace

void manageRegistry(const char *scriptPath) {
    if (scriptPath[0] == '\0') return;
    std::string folder;
    switch (scriptFolder(scriptPath, sizeof appDir, &folder)) {
        case ScriptFolder::TooLong:
            logMessage("script path too long: script not run");
            return;
        case ScriptFolder::Folder:
            copyText(appDir, sizeof appDir, folder.c_str());
            break;
        case ScriptFolder::CurrentDirectory:
            if (_getcwd(appDir, MAX_PATH) == nullptr) appDir[0] = '\0';  // "regstats.txt" is there all the same
            break;
    }
    manageRegistryEntries(scriptPath);
}
