#include "checktext.h"

#include <algorithm>
#include <cctype>
#include <cstring>

#include "launchtext.h"
#include "regtext.h"
#include "shortcuttext.h"
#include "strutil.h"

namespace {

// ---- shared helpers ----

void add(Report *report, size_t line, Severity severity, const std::string &text) {
    report->findings.push_back({line, severity, text});
}

bool startsWithNoCase(const std::string &text, const char *word) {
    size_t n = strlen(word);
    return text.size() >= n && compareNoCaseN(text.c_str(), word, n) == 0;
}

// A text shown in a report: quoted, with tabs and line breaks made visible,
// and very long texts shortened (the report says how long they are).
std::string shown(const std::string &text) {
    std::string out = "\"";
    size_t limit = 120;
    for (size_t i = 0; i < text.size() && i < limit; ++i) {
        char c = text[i];
        if (c == '\t') out += "<tab>";
        else if (c == '\n') out += "<lf>";
        else if (c == '\r') out += "<cr>";
        else out += c;
    }
    out += "\"";
    if (text.size() > limit) out += " (" + std::to_string(text.size()) + " characters)";
    return out;
}

std::string hex(const std::string &bytes) {
    static const char digits[] = "0123456789abcdef";
    std::string out;
    for (unsigned char c : bytes) {
        out += digits[c >> 4];
        out += digits[c & 15];
    }
    return out;
}

std::string hexSpaced(const std::vector<uint8_t> &bytes) {
    std::string out;
    for (uint8_t b : bytes) {
        if (!out.empty()) out += ' ';
        out += hex(std::string(1, static_cast<char>(b)));
    }
    return out;
}

// ---- registry script ----

bool isDecimal(const std::string &text) {
    size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
    size_t digits = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) ++digits;
    return digits > 0 && i == text.size();
}

bool fitsDword(const std::string &text) {
    size_t i = text.find_first_of("0123456789");
    std::string digits = text.substr(i);
    while (digits.size() > 1 && digits[0] == '0') digits.erase(0, 1);
    bool negative = text.find('-') < i;
    const char *limit = negative ? "2147483648" : "4294967295";
    return digits.size() < 10 || (digits.size() == 10 && digits <= limit);
}

bool isHexDigits(const std::string &text) {
    for (char c : text)
        if (!strchr("0123456789abcdefABCDEF", c)) return false;
    return true;
}

std::string operationName(const OperationKeyword &keyword) {
    std::string name = keyword.keyword;
    return name.substr(0, name.size() - 1);
}

// A line without an operation keyword that an author most likely meant as
// one: an operation word in another case, or followed by a blank.
bool looksLikeOperation(const std::string &line) {
    std::string text = line.substr(line.find_first_not_of(" \t") == std::string::npos
                                       ? line.size()
                                       : line.find_first_not_of(" \t"));
    for (const OperationKeyword &keyword : kOperationKeywords) {
        size_t n = strlen(keyword.keyword) - 1;  // the word without its tab
        if (text.size() > n && compareNoCaseN(text.c_str(), keyword.keyword, n) == 0 &&
            (text[n] == '\t' || text[n] == ' '))
            return true;
    }
    return false;
}

void predictWrite(Report *report, size_t line, const std::string &operation, const RegEntry &entry,
                  const std::string &data) {
    RegistryPrediction prediction{line, operation, rootName(entry.root), entry.keyPath, entry.valueName, "none", ""};
    if (entry.root >= 0) {
        switch (valueKind(entry.valueType)) {
            case ValueKind::Dword: {
                uint32_t value = dwordFromText(data.c_str());
                prediction.storedType = entry.valueName.empty() ? "key" : "REG_DWORD";
                if (!entry.valueName.empty())
                    for (int i = 0; i < 4; ++i) prediction.storedBytes += static_cast<char>((value >> (8 * i)) & 0xFF);
                break;
            }
            case ValueKind::Binary: {
                std::vector<uint8_t> bytes = bytesFromHex(data.c_str());
                prediction.storedType = entry.valueName.empty() ? "key" : "REG_BINARY";
                if (!entry.valueName.empty()) prediction.storedBytes.assign(bytes.begin(), bytes.end());
                break;
            }
            case ValueKind::Text:
                prediction.storedType = isExpandText(data.c_str()) ? "REG_EXPAND_SZ" : "REG_SZ";
                prediction.storedBytes = data + '\0';
                break;
        }
    }
    report->registry.push_back(prediction);
}

void checkValueData(Report *report, size_t n, const RegEntry &entry) {
    const std::string &type = entry.valueType, &data = entry.valueData;
    switch (valueKind(type)) {
        case ValueKind::Dword: {
            uint32_t value = dwordFromText(data.c_str());
            if (!isDecimal(data))
                add(report, n, Severity::Warning,
                    "dword data " + shown(data) + " is not a decimal number: read up to its first non-digit, stored as " +
                        std::to_string(value));
            else if (!fitsDword(data))
                add(report, n, Severity::Warning,
                    "dword data " + shown(data) + " does not fit 32 bits: stored as " + std::to_string(value));
            if (entry.valueName.empty())
                add(report, n, Severity::Warning, "no value name: with type dword only the key is made");
            break;
        }
        case ValueKind::Binary: {
            std::vector<uint8_t> bytes = bytesFromHex(data.c_str());
            if (!isHexDigits(data))
                add(report, n, Severity::Warning,
                    "binary data " + shown(data) + " holds characters that are not hex digits: stored as bytes " +
                        hexSpaced(bytes));
            else if (data.size() % 2)
                add(report, n, Severity::Warning,
                    "binary data " + shown(data) + " has an odd number of digits: the last digit is a byte of its own, "
                    "stored as bytes " + hexSpaced(bytes));
            if (entry.valueName.empty())
                add(report, n, Severity::Warning, "no value name: with type binary only the key is made");
            break;
        }
        case ValueKind::Text:
            if (compareNoCase(type.c_str(), "string") != 0)
                add(report, n, Severity::Warning,
                    "type " + shown(type) + " is not string, dword or binary: the data is stored as text");
            if (isExpandText(data.c_str()))
                add(report, n, Severity::Note,
                    "the data holds %...%: stored as REG_EXPAND_SZ (expandable), not REG_SZ");
            break;
    }
}

void describeEntry(Report *report, size_t n, const std::string &operation, const RegEntry &entry, bool withValue) {
    std::string text = operation + " " + rootName(entry.root) + "\\" + entry.keyPath;
    if (withValue) {
        text += "  value " + shown(entry.valueName) + "  type " + shown(entry.valueType) + "  data " +
                shown(entry.valueData);
        if (valueKind(entry.valueType) == ValueKind::Dword)
            text += " -> " + std::to_string(dwordFromText(entry.valueData.c_str()));
        else if (valueKind(entry.valueType) == ValueKind::Binary)
            text += " -> bytes " + hexSpaced(bytesFromHex(entry.valueData.c_str()));
    }
    add(report, n, Severity::Reading, text);
}

// The values earlier lines of the script store, as root\key<tab>name in
// lower case (names and keys are case-insensitive).
typedef std::vector<std::string> StoredValues;

std::string storedValueId(const RegEntry &entry) {
    std::string id = std::string(rootName(entry.root)) + "\\" + entry.keyPath + "\t" + entry.valueName;
    for (char &c : id)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + ('a' - 'A'));
    return id;
}

void checkRegistryLine(Report *report, size_t n, const std::string &line, bool cut, StoredValues *stored) {
    ScriptLine parsed = classifyScriptLine(line);
    std::string text = line.substr(0, line.find('\n'));
    if (parsed.kind == LineKind::Comment) {
        add(report, n, Severity::Reading, "comment");
        return;
    }
    if (parsed.kind == LineKind::NoOperation) {
        if (text.find_first_not_of(" \t\r") == std::string::npos) {
            add(report, n, Severity::Reading, "empty line, ignored");
        } else if (looksLikeOperation(text)) {
            add(report, n, Severity::Warning,
                "not an operation: keywords are lower case and end in a tab; the line is ignored");
        } else {
            add(report, n, Severity::Warning, "no operation keyword: the line is ignored");
        }
        return;
    }
    const OperationKeyword &keyword = *parsed.keyword;
    std::string operation = operationName(keyword);
    if (cut) {
        add(report, n, Severity::Error,
            "the line is longer than " + std::to_string(kScriptLineLimit) + " bytes: refused, its results line says error");
        return;
    }
    size_t at = text.find(keyword.keyword);
    if (at > 0) {
        std::string before = text.substr(0, at);
        if (before.find_first_not_of(" ") == std::string::npos)
            add(report, n, Severity::Note, "blanks before the keyword are dropped");
        else
            add(report, n, Severity::Warning,
                "the keyword " + shown(keyword.keyword) + " is found in the middle of the line: " + shown(before) +
                    " before it is dropped and the line runs as " + operation);
    }
    bool keyOnly = keyword.operation == RegOperation::Exists;
    RegEntry entry = keyOnly ? parseRegEntry(parsed.entry.c_str()) : parseRegistryEntry(parsed.entry.c_str());
    if (entry.root < 0) {
        add(report, n, Severity::Reading, operation + " " + shown(parsed.entry));
        add(report, n, Severity::Error,
            "no root key recognised (the six full names only, such as HKEY_LOCAL_MACHINE; HKLM and other short "
            "forms are not recognised, nor a blank or a second tab before the name): the operation reports error");
        report->registry.push_back({n, operation, "", "", "", "none", ""});
        return;
    }
    switch (keyword.operation) {
        case RegOperation::Add:
        case RegOperation::Replace: {
            describeEntry(report, n, operation, entry, true);
            checkValueData(report, n, entry);
            if (keyword.operation == RegOperation::Add) {
                bool earlier = std::find(stored->begin(), stored->end(), storedValueId(entry)) != stored->end();
                if (earlier)
                    add(report, n, Severity::Warning,
                        "an earlier line of this script stores this value, so this add finds it and leaves it "
                        "unchanged (status exists): use replace to overwrite");
                else
                    add(report, n, Severity::Note,
                        "add leaves a value that already exists unchanged (status exists); replace overwrites it");
            }
            bool unchanged = keyword.operation == RegOperation::Add &&
                             std::find(stored->begin(), stored->end(), storedValueId(entry)) != stored->end();
            stored->push_back(storedValueId(entry));
            if (unchanged) {
                report->registry.push_back(
                    {n, operation, rootName(entry.root), entry.keyPath, entry.valueName, "unchanged", ""});
                return;
            }
            predictWrite(report, n, operation, entry, entry.valueData);
            return;
        }
        case RegOperation::Append:
        case RegOperation::Prepend:
            describeEntry(report, n, operation, entry, true);
            checkValueData(report, n, entry);
            add(report, n, Severity::Note,
                std::string("the data is joined ") + (keyword.operation == RegOperation::Append ? "after" : "before") +
                    " the value's current text with no separator, and stored by the entry's type");
            stored->push_back(storedValueId(entry));
            predictWrite(report, n, operation, entry, entry.valueData);  // as for a value not yet there
            return;
        case RegOperation::Exists:
            describeEntry(report, n, operation, entry, false);
            if (parsed.entry.find('\t') != std::string::npos)
                add(report, n, Severity::Note, "only the key is tested; the fields after it are not used");
            break;
        case RegOperation::Query:
            describeEntry(report, n, operation, entry, false);
            add(report, n, Severity::Reading, "  reads value " + shown(entry.valueName));
            break;
        case RegOperation::EnumKey:
        case RegOperation::EnumValue:
            add(report, n, Severity::Reading,
                operation + " lists the " + (keyword.operation == RegOperation::EnumKey ? "subkeys" : "value names") +
                    " of " + rootName(entry.root) + "\\" + listedKeyPath(entry));
            break;
        case RegOperation::Delete:
            add(report, n, Severity::Reading,
                "delete removes the key " + std::string(rootName(entry.root)) + "\\" + deletedKeyPath(entry));
            add(report, n, Severity::Note,
                "delete removes a key without subkeys, never a value; a key with subkeys is refused (error)");
            break;
    }
    report->registry.push_back({n, operation, rootName(entry.root), entry.keyPath, entry.valueName, "none", ""});
}

void checkRegistry(Report *report, FILE *file) {
    std::string line;
    bool cut = false;
    size_t n = 0;
    StoredValues stored;
    while (readScriptLine(file, &line, &cut)) checkRegistryLine(report, ++n, line, cut, &stored);
}

// ---- shortcut script ----

// Each menu folder's word in predictions and its title in the report.
struct FolderNames {
    const char *kind, *title;
};

FolderNames folderNames(MenuFolder folder) {
    switch (folder) {
        case MenuFolder::Programs: return {"programs", "Programs menu"};
        case MenuFolder::Startup: return {"startup", "Startup menu"};
        case MenuFolder::Desktop: break;
    }
    return {"desktop", "Desktop"};
}

const char *folderKindName(MenuFolder folder) { return folderNames(folder).kind; }
const char *folderTitle(MenuFolder folder) { return folderNames(folder).title; }

void checkAbsent(Report *report, size_t n, const char *field, const std::string &value) {
    if (value == "null")
        add(report, n, Severity::Warning, std::string(field) + " line \"null\" is a value: only NULL (capitals) is absent");
    else if (value.size() > 4 && value.compare(0, 4, "NULL") == 0)
        add(report, n, Severity::Warning, std::string(field) + " line " + shown(value) + " begins with NULL: it counts as absent");
}

void checkScope(Report *report, size_t n, const std::string &scope) {
    if (compareNoCase(scope.c_str(), "allUsers") == 0) return;
    if (compareNoCase(scope.c_str(), "currentUser") != 0)
        add(report, n, Severity::Warning,
            "scope " + shown(scope) + " is neither allUsers nor currentUser: it means the current user");
}

void field(Report *report, size_t n, const char *name, const std::string &value, bool absent) {
    add(report, n, Severity::Reading, std::string("  ") + name + ": " + (absent ? "absent" : shown(value)));
}

void checkAddBlock(Report *report, size_t first, const BlockKind &kind, const std::vector<std::string> &lines) {
    AddBlock block = addBlockFrom(lines);
    add(report, first, Severity::Reading,
        std::string("add block: a link in the ") + folderTitle(kind.folder) + " of " +
            (compareNoCase(block.scope.c_str(), "allUsers") == 0 ? "all users" : "the current user"));
    size_t n = first + 1;
    field(report, n, "folder", block.folder, isnull(block.folder.c_str()));
    checkAbsent(report, n, "folder", block.folder);
    field(report, n + 1, "name", block.name, false);
    if (block.name.empty()) add(report, n + 1, Severity::Warning, "the name is empty: the link file is called \".lnk\"");
    field(report, n + 2, "target", block.target, false);
    if (block.target.empty()) add(report, n + 2, Severity::Warning, "the target is empty: the link starts nothing");
    field(report, n + 3, "arguments", block.arguments, isnull(block.arguments.c_str()));
    checkAbsent(report, n + 3, "arguments", block.arguments);
    field(report, n + 4, "working directory", block.workDir, isnull(block.workDir.c_str()));
    checkAbsent(report, n + 4, "working directory", block.workDir);
    int show = isnull(block.show.c_str()) ? 0 : showCommand(block.show.c_str());
    add(report, n + 5, Severity::Reading,
        std::string("  show: ") + (isnull(block.show.c_str()) ? "absent"
                                   : show == 2               ? "minimized (2)"
                                   : show == 3               ? "maximized (3)"
                                                             : "not set"));
    if (!isnull(block.show.c_str()) && show == 0)
        add(report, n + 5, Severity::Warning,
            "show line " + shown(block.show) + " holds neither \"min\" nor \"max\": the show command is not set");
    LinkPrediction link;
    link.line = first;
    link.folderKind = folderKindName(kind.folder);
    link.folder = isnull(block.folder.c_str()) ? "" : block.folder;
    link.name = block.name;
    link.target = block.target;
    link.arguments = isnull(block.arguments.c_str()) ? "" : block.arguments;
    link.workDir = isnull(block.workDir.c_str()) ? "" : block.workDir;
    link.scope = block.scope;
    link.showCommand = show;
    if (!isnull(block.icon.c_str())) {
        splitIcon(block.icon, &link.iconPath, &link.iconIndex);
        link.iconLine = block.icon;
        link.hasIcon = true;
        add(report, n + 6, Severity::Reading,
            "  icon: " + shown(link.iconPath) + " index " + std::to_string(link.iconIndex));
        size_t comma = block.icon.find(',');
        if (comma != std::string::npos) {
            std::string index = block.icon.substr(comma + 1);
            if (index.empty() || index.find_first_not_of("0123456789") != std::string::npos)
                add(report, n + 6, Severity::Warning,
                    "icon index " + shown(index) + " is not a plain number: read as " + std::to_string(link.iconIndex));
        }
    } else {
        add(report, n + 6, Severity::Reading, "  icon: absent");
    }
    add(report, n + 7, Severity::Reading, "  scope: " + shown(block.scope));
    checkScope(report, n + 7, block.scope);
    add(report, first, Severity::Note,
        "the link is " + linkPathFor("<" + std::string(folderTitle(kind.folder)) + ">\\", block.folder, block.name) +
            "; an existing link of that name is replaced; target, working directory and icon take their short "
            "(8.3) form where that is shorter");
    report->links.push_back(link);
}

void checkDeleteBlock(Report *report, size_t first, const BlockKind &kind, const std::vector<std::string> &lines) {
    DeleteBlock block = deleteBlockFrom(lines);
    add(report, first, Severity::Reading,
        std::string("delete block: a link in the ") + folderTitle(kind.folder) + " of " +
            (compareNoCase(block.scope.c_str(), "allUsers") == 0 ? "all users" : "the current user"));
    field(report, first + 1, "folder", block.folder, isnull(block.folder.c_str()));
    checkAbsent(report, first + 1, "folder", block.folder);
    field(report, first + 2, "name", block.name, false);
    if (block.name.empty()) add(report, first + 2, Severity::Warning, "the name is empty: nothing is deleted");
    add(report, first + 3, Severity::Reading, "  scope: " + shown(block.scope));
    checkScope(report, first + 3, block.scope);
    if (!block.name.empty())
        add(report, first, Severity::Note,
            "removes " + linkPathFor("<" + std::string(folderTitle(kind.folder)) + ">\\", block.folder, block.name) +
                " if it is there; folders are never removed");
}

void checkShortcuts(Report *report, FILE *file) {
    size_t n = 0;
    bool tooLong = false;
    while (char *raw = getline(file, &tooLong)) {
        std::string line = raw;
        free(raw);
        ++n;
        const BlockKind *kind = findBlock(line.c_str());
        if (!kind) {
            if (tooLong)
                add(report, n, Severity::Warning, "a line longer than 4999 bytes outside a block is skipped");
            else if (line.find_first_not_of(" \t") == std::string::npos)
                add(report, n, Severity::Reading, "empty line, skipped");
            else if (findBlock(line.substr(line.find_first_not_of(" \t")).c_str()))
                add(report, n, Severity::Warning,
                    "the block keyword " + shown(line) + " has blanks before it: not a keyword, the line is skipped "
                    "and the block's lines are read as lines outside a block");
            else
                add(report, n, Severity::Warning, "not a block keyword: " + shown(line) + " is skipped");
            continue;
        }
        size_t first = n;
        std::vector<std::string> lines;
        BlockRead read = readBlockLines(file, kind->lines, &lines);
        n += static_cast<size_t>(kind->lines);
        if (read == BlockRead::Incomplete) {
            add(report, first, Severity::Error,
                std::string(kind->word) + " block cut short by the end of the file: it needs " +
                    std::to_string(kind->lines) + " lines; skipped whole");
            return;
        }
        if (read == BlockRead::TooLong) {
            add(report, first, Severity::Error,
                std::string(kind->word) + " block has a line longer than 4999 bytes: skipped whole");
            continue;
        }
        if (kind->action == BlockAction::Add)
            checkAddBlock(report, first, *kind, lines);
        else
            checkDeleteBlock(report, first, *kind, lines);
    }
}

// ---- properties file ----

void checkProperties(Report *report, FILE *file) {
    Settings settings;
    std::vector<char> buffer(10000);
    size_t n = 0;
    bool continued = false;
    while (fgets(buffer.data(), 9999, file)) {
        std::string original = buffer.data();
        bool ended = !original.empty() && original.back() == '\n';
        if (ended) original.pop_back();
        if (!original.empty() && original.back() == '\r') original.pop_back();
        if (!continued) ++n;
        if (continued)
            add(report, n, Severity::Warning,
                "the line is longer than 9998 characters: its rest is read as a line of its own");
        continued = !ended && !feof(file);
        std::string line = unescapeLine(original);
        for (size_t i = 0; i + 1 < original.size(); ++i) {
            if (original[i] == '\\') {
                char next = original[i + 1];
                if (next != '\\' && next != ':' && next != '"' && next != ' ' && next != '=')
                    add(report, n, Severity::Warning,
                        std::string("a backslash before '") + next + "' is removed: write \\\\ for a backslash");
                ++i;
            }
        }
        Setting matched;
        LineOutcome outcome = applyPropertyLine(line, &settings, &matched);
        const char *key = propertyKeyOf(line);
        if (!key) {
            bool setting = false;
            std::string trimmed = line.substr(std::min(line.size(), line.find_first_not_of(" \t")));
            for (Setting candidate : kSettings)
                if (startsWithNoCase(trimmed, settingKey(candidate))) setting = true;
            if (setting)
                add(report, n, Severity::Warning,
                    "looks like a setting but is not one: keys match at the first character and in exactly this case");
            else
                add(report, n, Severity::Reading, line.empty() ? "empty line, ignored" : "not a setting, ignored");
            continue;
        }
        size_t keyLength = strlen(key);
        if (line.size() > keyLength && (isalnum(static_cast<unsigned char>(line[keyLength])) || line[keyLength] == '_'))
            add(report, n, Severity::Warning,
                "a longer word beginning with the key " + shown(key) + " counts as that key; its value starts after " +
                    shown(line.substr(0, keyLength + 1)));
        if (outcome == LineOutcome::TooLong) {
            add(report, n, Severity::Error,
                std::string(key) + " is longer than its setting holds (" + std::to_string(settingCapacity(matched)) +
                    " characters): the launch is refused");
            continue;
        }
        if (outcome == LineOutcome::Ignored) {
            if (line.size() <= keyLength)
                add(report, n, Severity::Warning, std::string(key) + " has no value: the line is ignored");
            else
                add(report, n, Severity::Warning,
                    std::string(key) + " is set already: the first non-empty value counts, this one is ignored");
            continue;
        }
        std::string value = line.substr(keyLength + 1);
        add(report, n, Severity::Reading, std::string(key) + " = " + shown(value));
        if (matched == Setting::Args && value.find_first_of("&|<>^()%") != std::string::npos)
            add(report, n, Severity::Warning,
                "args go through cmd.exe: & | < > ^ ( ) act as in a command prompt and %NAME% is expanded");
        if (!value.empty() && (value.front() == ' ' || value.back() == ' '))
            add(report, n, Severity::Note, "blanks around the value are part of it");
    }
    report->programName = settings.programName;
    report->execFilename = settings.execFilename;
    report->args = settings.args;
    report->jvmRequired = settings.jvmRequired;
    report->jvmMin = settings.jvmMin;
    report->jvmMax = settings.jvmMax;
    if (settings.execFilename.empty())
        add(report, 0, Severity::Warning, "no execFilename: the launcher has nothing to start");
    else
        add(report, 0, Severity::Reading, "the launcher starts " + shown(settings.execFilename) +
                                              (settings.args.empty() ? "" : " with " + shown(settings.args)));
}

}  // namespace

ScriptKind guessKind(const std::string &content) {
    const char *entry = nullptr;
    size_t start = 0;
    while (start < content.size()) {
        size_t end = content.find('\n', start);
        std::string line = content.substr(start, end == std::string::npos ? std::string::npos : end - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (findBlock(line.c_str())) return ScriptKind::Shortcuts;
        if (line[0] != ';' && findOperation(line.c_str(), &entry)) return ScriptKind::Registry;
        if (end == std::string::npos) break;
        start = end + 1;
    }
    return ScriptKind::Properties;
}

const char *kindName(ScriptKind kind) {
    switch (kind) {
        case ScriptKind::Shortcuts: return "shortcut script";
        case ScriptKind::Registry: return "registry script";
        case ScriptKind::Properties: break;
    }
    return "properties file";
}

int Report::exitCode() const {
    int code = 0;
    for (const Finding &finding : findings) {
        if (finding.severity == Severity::Error) return 2;
        if (finding.severity == Severity::Warning) code = 1;
    }
    return code;
}

Report checkScript(ScriptKind kind, FILE *file) {
    Report report;
    report.kind = kind;
    switch (kind) {
        case ScriptKind::Shortcuts: checkShortcuts(&report, file); break;
        case ScriptKind::Registry: checkRegistry(&report, file); break;
        case ScriptKind::Properties: checkProperties(&report, file); break;
    }
    return report;
}

std::string formatReport(const Report &report) {
    std::string out;
    size_t warnings = 0, errors = 0;
    for (const Finding &finding : report.findings) {
        std::string where = finding.line ? "line " + std::to_string(finding.line) + ": " : "file: ";
        switch (finding.severity) {
            case Severity::Reading: out += where + finding.text + "\n"; break;
            case Severity::Note: out += where + "note: " + finding.text + "\n"; break;
            case Severity::Warning: out += where + "warning: " + finding.text + "\n"; ++warnings; break;
            case Severity::Error: out += where + "error: " + finding.text + "\n"; ++errors; break;
        }
    }
    out += std::string(kindName(report.kind)) + ": " + std::to_string(errors) + " errors, " + std::to_string(warnings) +
           " warnings\n";
    return out;
}

std::string formatPredictions(const Report &report) {
    std::string out;
    if (report.kind == ScriptKind::Properties)
        out += "settings\t" + report.programName + "\t" + report.execFilename + "\t" + report.args + "\t" +
               report.jvmRequired + "\t" + report.jvmMin + "\t" + report.jvmMax + "\n";
    for (const RegistryPrediction &p : report.registry)
        out += "registry\t" + std::to_string(p.line) + "\t" + p.operation + "\t" + p.root + "\t" + p.keyPath + "\t" +
               p.valueName + "\t" + p.storedType + "\t" + hex(p.storedBytes) + "\n";
    for (const LinkPrediction &p : report.links)
        out += "link\t" + std::to_string(p.line) + "\t" + p.folderKind + "\t" + p.folder + "\t" + p.name + "\t" +
               p.target + "\t" + p.arguments + "\t" + p.workDir + "\t" + std::to_string(p.showCommand) + "\t" +
               (p.hasIcon ? p.iconPath + "," + std::to_string(p.iconIndex) : "") + "\t" + p.scope + "\t" + p.iconLine +
               "\n";
    return out;
}
