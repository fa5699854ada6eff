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

// The predefined key of a parsed root, or the null key, on which every
// registry call fails.
HKEY getHKey(int root) { return root >= 0 ? rootKeys[root] : nullptr; }

const char *getKey(int root) { return root >= 0 ? kRootNames[root] : ""; }

std::string resultsPath() { return appDir[0] ? std::string(appDir) + "\\regstats.txt" : "regstats.txt"; }

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
    appendResults(path, std::string(operation) + "\t" + status + "\t" + getKey(entry.root) + "\\" + entry.keyPath +
                            "\t" + valueName + "\t" + valueType + "\t" + valueData + "\n");
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
    if (compareNoCase(type.c_str(), "dword") == 0)
        return addDWordKeyToRegistry(root, keyPath, name, dwordFromText(data.c_str()));
    if (compareNoCase(type.c_str(), "binary") == 0)
        return addBinaryKeyToRegistry(root, keyPath, name, bytesFromHex(data.c_str()));
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
    HKEY root = getHKey(entry.root);
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
        addKeyToRegistry(getHKey(entry.root), entry.keyPath, entry.valueName, entry.valueType, entry.valueData);
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
    HKEY root = getHKey(entry.root);
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
    std::string joined = entry.valueData;
    if (getKeyFromRegistry(root, entry.keyPath, entry.valueName, &typeRead, &text) && !text.empty())
        joined = prepend ? entry.valueData + text : text + entry.valueData;
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
        RegOpenKeyExA(getHKey(entry.root), entry.keyPath.c_str(), 0, KEY_QUERY_VALUE, &holder.key) == ERROR_SUCCESS;
    writeStatus("exists\t", success ? "ok" : "error", entry, "", "", "");
    return success;
}

bool queryRegistryEntry(const char *entryText) {
    RegEntry entry = parseRegistryEntry(entryText);
    std::string typeRead, dataRead;
    bool success = getKeyFromRegistry(getHKey(entry.root), entry.keyPath, entry.valueName, &typeRead, &dataRead);
    writeStatus("query\t", success ? "ok" : "error", entry, entry.valueName, typeRead, dataRead);
    return success;
}

bool deleteRegistryEntry(const char *entryText) {
    RegEntry entry = parseRegistryEntry(entryText);
    std::string path = entry.keyPath + "\\" + entry.valueName;
    bool success = RegDeleteKeyA(getHKey(entry.root), path.c_str()) == ERROR_SUCCESS;
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

// The names joined by tabs; a tab goes in front of a name only when the list
// is not empty yet. False (no list) when there is nothing to list.
bool enumerateKey(HKEY key, std::string *list) {
    DWORD count = 0;
    if (RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, &count, nullptr, nullptr, nullptr, nullptr, nullptr,
                         nullptr, nullptr) != ERROR_SUCCESS ||
        count == 0)
        return false;
    list->clear();
    char name[255];
    for (DWORD index = 0; index < count; ++index) {
        DWORD size = sizeof name;
        FILETIME written;
        if (RegEnumKeyExA(key, index, name, &size, nullptr, nullptr, nullptr, &written) != ERROR_SUCCESS) continue;
        if (!list->empty()) *list += '\t';
        *list += name;
        logIndexed("key %d: %s", index, name);
    }
    return true;
}

bool enumerateValue(HKEY key, std::string *list) {
    DWORD count = 0;
    if (RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &count, nullptr, nullptr,
                         nullptr, nullptr) != ERROR_SUCCESS ||
        count == 0)
        return false;
    list->clear();
    char message[64];
    formatText(message, sizeof message, "\nNumber of values: %d\n", static_cast<int>(count));
    logMessage(message);
    std::vector<char> name(16383);
    for (DWORD index = 0; index < count; ++index) {
        DWORD size = static_cast<DWORD>(name.size());
        if (RegEnumValueA(key, index, name.data(), &size, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            continue;
        if (!list->empty()) *list += '\t';
        *list += name.data();
        logIndexed("value %d: %s", index, name.data());
    }
    return true;
}

bool getEnumerated(const RegEntry &entry, bool values, std::string *list) {
    std::string path = entry.valueName.empty() ? entry.keyPath : entry.keyPath + "\\" + entry.valueName;
    KeyHolder holder;
    LONG status = RegOpenKeyExA(getHKey(entry.root), path.c_str(), 0, KEY_READ, &holder.key);
    if (status != ERROR_SUCCESS) {
        char message[80];
        formatText(message, sizeof message,
                   values ? "unable to enumerate value; result code: %i" : "unable to enumerate key; result code: %i",
                   static_cast<int>(status));
        logMessage(message);
        return false;
    }
    if (values ? enumerateValue(holder.key, list) : enumerateKey(holder.key, list)) {
        logMessage(values ? "found the values" : "found the keys");
    } else {
        list->clear();
        logMessage(values ? "no values to enumerate" : "no keys to enumerate");
    }
    return true;
}

void writeEnumResults(const char *operation, bool success, std::string list) {
    const char *status = "error";
    if (success) {
        status = "ok";
        if (list.find("ACCESS_DENIED") != std::string::npos) {
            status = "access_denied";
            list.clear();
        }
    }
    std::string line = std::string(operation) + "\t" + status;
    if (success) line += "\t" + list;
    // A results file that cannot be opened: nothing written, nothing logged.
    if (appendResults(resultsPath(), line + "\n") != AppendOutcome::NotOpened) logMessage(status);
}

bool getEnumeratedEntry(const char *entryText, bool values) {
    RegEntry entry = parseRegistryEntry(entryText);
    std::string list;
    bool success = getEnumerated(entry, values, &list);
    writeEnumResults(values ? "enumvalue\t" : "enumkey\t", success, list);
    return success;
}

bool runOperation(RegOperation operation, const char *entry) {
    switch (operation) {
        case RegOperation::Add: return addRegistryEntry(entry);
        case RegOperation::Exists: return existsRegistryEntry(entry);
        case RegOperation::Query: return queryRegistryEntry(entry);
        case RegOperation::EnumKey: return getEnumeratedEntry(entry, false);
        case RegOperation::EnumValue: return getEnumeratedEntry(entry, true);
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
        size_t end = line.find('\n');
        if (end != std::string::npos) line.resize(end);
        if (line[0] == ';') continue;
        const char *entry = nullptr;
        const OperationKeyword *keyword = findOperation(line.c_str(), &entry);
        if (!keyword) continue;
        logMessage(keyword->announcement);
        logMessage(entry);
        if (cut)
            refuseLine(*keyword, entry);
        else
            runOperation(keyword->operation, entry);
    }
    fclose(script);
    return true;
}

}  // namespace

void manageRegistry(const char *scriptPath) {
    if (scriptPath[0] == '\0') return;
    const char *cut = strrchr(scriptPath, '\\');
    if (cut) {
        // A script whose folder does not fit appDir is refused rather than
        // having its results written into some other folder.
        size_t length = static_cast<size_t>(cut - scriptPath);
        if (length >= sizeof appDir) {
            logMessage("script path too long: script not run");
            return;
        }
        memcpy(appDir, scriptPath, length);
        appDir[length] = '\0';
    } else if (_getcwd(appDir, MAX_PATH) == nullptr) {
        appDir[0] = '\0';  // the bare name: the current directory all the same
    }
    manageRegistryEntries(scriptPath);
}
