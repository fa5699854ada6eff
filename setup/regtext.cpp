#include "regtext.h"

#include <cstring>

#include "strutil.h"

// Order is behaviour: the first keyword found in a line wins.
const OperationKeyword kOperationKeywords[9] = {
    {"add\t", "adding field:", RegOperation::Add},
    {"exists\t", "checking if the key exists:", RegOperation::Exists},
    {"query\t", "querying the key:", RegOperation::Query},
    {"enumkey\t", "enumerating the key:", RegOperation::EnumKey},
    {"enumvalue\t", "enumerating the value:", RegOperation::EnumValue},
    {"replace\t", "replacing the key:", RegOperation::Replace},
    {"prepend\t", "prepending data to the key value:", RegOperation::Prepend},
    {"append\t", "appending data to the key value:", RegOperation::Append},
    {"delete\t", "deleting a key:", RegOperation::Delete},
};

namespace {

bool isSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f'; }

int hexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// One pair (or a final single digit) read as a base-16 number: leading white
// space and a sign accepted, reading stops at the first non-digit.
uint8_t hexByte(const char *text, size_t length) {
    size_t i = 0;
    while (i < length && isSpace(text[i])) ++i;
    bool negative = false;
    if (i < length && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    unsigned value = 0;
    for (; i < length && hexValue(text[i]) >= 0; ++i) value = value * 16 + hexValue(text[i]);
    if (negative) value = 0u - value;
    return static_cast<uint8_t>(value & 0xFF);
}

}  // namespace

const OperationKeyword *findOperation(const char *line, const char **entry) {
    for (const OperationKeyword &row : kOperationKeywords) {
        const char *found = strstr(line, row.keyword);
        if (found) {
            *entry = found + strlen(row.keyword);
            return &row;
        }
    }
    return nullptr;
}

const char *const kRootNames[6] = {"HKEY_CLASSES_ROOT", "HKEY_CURRENT_USER",   "HKEY_LOCAL_MACHINE",
                                   "HKEY_USERS",        "HKEY_CURRENT_CONFIG", "HKEY_DYN_DATA"};

int rootIndex(const char *name) {
    for (int i = 0; i < 6; ++i)
        if (compareNoCase(kRootNames[i], name) == 0) return i;
    return -1;
}

// The root name before the first backslash; returns the text after that
// backslash, or null (root none) when the entry names no known root.
static const char *parseRoot(const char *entry, RegEntry *parsed) {
    const char *slash = strchr(entry, '\\');
    if (!slash) return nullptr;
    parsed->root = rootIndex(std::string(entry, slash).c_str());
    return parsed->root < 0 ? nullptr : slash + 1;
}

RegEntry parseRegistryEntry(const char *entry) {
    RegEntry parsed;
    const char *rest = parseRoot(entry, &parsed);
    if (!rest) return parsed;
    std::string fields[4];
    int field = 0;
    // The data, the fourth field, runs to the end of the line, tabs included.
    for (; field < 3; ++field) {
        const char *tab = strchr(rest, '\t');
        if (!tab) break;
        fields[field].assign(rest, tab);
        rest = tab + 1;
    }
    fields[field] = rest;
    parsed.keyPath = fields[0];
    if (field >= 1) parsed.valueName = fields[1];
    if (field >= 2) parsed.valueType = fields[2];
    if (field >= 3) parsed.valueData = fields[3];
    return parsed;
}

RegEntry parseRegEntry(const char *entry) {
    RegEntry parsed;
    const char *rest = parseRoot(entry, &parsed);
    if (!rest) return parsed;
    const char *tab = strchr(rest, '\t');
    parsed.keyPath = tab ? std::string(rest, tab) : std::string(rest);
    return parsed;
}

uint32_t dwordFromText(const char *text) {
    while (isSpace(*text)) ++text;
    bool negative = false;
    if (*text == '+' || *text == '-') negative = *text++ == '-';
    uint32_t value = 0;
    for (; *text >= '0' && *text <= '9'; ++text) value = value * 10u + static_cast<uint32_t>(*text - '0');
    return negative ? 0u - value : value;
}

std::vector<uint8_t> bytesFromHex(const char *text) {
    size_t length = strlen(text);
    std::vector<uint8_t> bytes;
    bytes.reserve(length / 2 + length % 2);
    for (size_t i = 0; i < length; i += 2) bytes.push_back(hexByte(text + i, length - i >= 2 ? 2 : 1));
    return bytes;
}

bool isExpandText(const char *text) {
    const char *first = strchr(text, '%');
    return first && strchr(first + 1, '%');
}

void valueText(uint32_t type, const uint8_t *data, size_t size, std::string *typeWord, std::string *text) {
    text->clear();
    if (type == kRegDword) {
        *typeWord = "dword";
        uint32_t value = 0;
        for (size_t i = 0; i < size && i < 4; ++i) value |= static_cast<uint32_t>(data[i]) << (8 * i);
        *text = std::to_string(value);
    } else if (type == kRegBinary) {
        *typeWord = "binary";
        static const char digits[] = "0123456789abcdef";
        text->reserve(size * 2);
        for (size_t i = 0; i < size; ++i) {
            *text += digits[data[i] >> 4];
            *text += digits[data[i] & 15];
        }
    } else if (type == kRegMultiSz) {
        *typeWord = "string";
        text->assign(reinterpret_cast<const char *>(data), size);
        for (char &c : *text)
            if (c == '\0') c = '\n';
    } else {
        *typeWord = "string";
        const void *zero = size ? memchr(data, 0, size) : nullptr;
        size_t length = zero ? static_cast<size_t>(static_cast<const uint8_t *>(zero) - data) : size;
        text->assign(reinterpret_cast<const char *>(data), length);
    }
}

bool readScriptLine(FILE *file, std::string *line, bool *cut) {
    return readPhysicalLine(file, line, kScriptLineLimit, cut);
}

bool isTextType(uint32_t type) { return type == kRegSz || type == kRegExpandSz || type == kRegMultiSz; }

ValueKind valueKind(const std::string &typeWord) {
    if (compareNoCase(typeWord.c_str(), "dword") == 0) return ValueKind::Dword;
    if (compareNoCase(typeWord.c_str(), "binary") == 0) return ValueKind::Binary;
    return ValueKind::Text;
}

std::u16string wideValueText(uint32_t type, const char16_t *data, size_t count) {
    std::u16string text(data, count);
    if (type == kRegMultiSz) {
        for (char16_t &c : text)
            if (c == 0) c = u'\n';
    } else {
        size_t zero = text.find(char16_t(0));
        if (zero != std::u16string::npos) text.resize(zero);
    }
    return text;
}

std::u16string joinText(const std::u16string &current, const std::u16string &data, bool prepend) {
    if (current.empty()) return data;
    return prepend ? data + current : current + data;
}

bool isExpandText(const std::u16string &text) {
    size_t first = text.find(u'%');
    return first != std::u16string::npos && text.find(u'%', first + 1) != std::u16string::npos;
}

ScriptLine classifyScriptLine(const std::string &line) {
    ScriptLine parsed;
    std::string text = line.substr(0, line.find('\n'));
    if (!text.empty() && text[0] == ';') {
        parsed.kind = LineKind::Comment;
        return parsed;
    }
    const char *entry = nullptr;
    parsed.keyword = findOperation(text.c_str(), &entry);
    if (!parsed.keyword) return parsed;
    parsed.kind = LineKind::Operation;
    parsed.entry = entry;
    return parsed;
}

ScriptFolder scriptFolder(const char *scriptPath, size_t room, std::string *folder) {
    const char *cut = strrchr(scriptPath, '\\');
    if (!cut) return ScriptFolder::CurrentDirectory;
    // A folder that does not fit is refused rather than having the results
    // written into some other folder.
    if (static_cast<size_t>(cut - scriptPath) >= room) return ScriptFolder::TooLong;
    folder->assign(scriptPath, cut);
    return ScriptFolder::Folder;
}

std::string resultsFilePath(const char *appDir) {
    return appDir[0] ? std::string(appDir) + "\\regstats.txt" : "regstats.txt";
}

const char *rootName(int root) { return root >= 0 && root < 6 ? kRootNames[root] : ""; }

std::string resultsLine(const char *operation, const char *status, const RegEntry &entry,
                        const std::string &valueName, const std::string &valueType, const std::string &valueData) {
    return std::string(operation) + "\t" + status + "\t" + rootName(entry.root) + "\\" + entry.keyPath + "\t" +
           valueName + "\t" + valueType + "\t" + valueData + "\n";
}

const char *listingStatus(bool success, std::string *list) {
    if (!success) return "error";
    if (list->find("ACCESS_DENIED") != std::string::npos) {
        list->clear();
        return "access_denied";
    }
    return "ok";
}

std::string listingResultsLine(const char *operation, const char *status, bool success, const std::string &list) {
    std::string line = std::string(operation) + "\t" + status;
    if (success) line += "\t" + list;
    return line + "\n";
}

std::string joinText(const std::string &current, const std::string &data, bool prepend) {
    if (current.empty()) return data;
    return prepend ? data + current : current + data;
}

std::string listedKeyPath(const RegEntry &entry) {
    return entry.valueName.empty() ? entry.keyPath : entry.keyPath + "\\" + entry.valueName;
}

std::string deletedKeyPath(const RegEntry &entry) { return entry.keyPath + "\\" + entry.valueName; }

const ListKind kKeyListing = {"enumkey\t", "unable to enumerate key; result code: %i", "found the keys",
                              "no keys to enumerate", "key %d: %s", false};
const ListKind kValueListing = {"enumvalue\t", "unable to enumerate value; result code: %i", "found the values",
                                "no values to enumerate", "value %d: %s", true};

void addListedName(std::string *list, const std::string &name) {
    if (!list->empty()) *list += '\t';
    *list += name;
}
