// Text logic of the registry script: line reading, operation keywords, entry
// parsing, the number and byte-string conversions and the text forms of
// values read. No Windows API, so it builds on any compiler.
#pragma once
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

enum class RegOperation { Add, Exists, Query, EnumKey, EnumValue, Replace, Prepend, Append, Delete };

struct OperationKeyword {
    const char *keyword;       // also the operation name that opens a results line
    const char *announcement;  // logged before the entry text
    RegOperation operation;
};

// The nine operations, in the order they are searched for.
extern const OperationKeyword kOperationKeywords[9];

// Finds the first keyword of the table (in table order) that occurs anywhere
// in line; entry then points just past that occurrence. Null when none.
const OperationKeyword *findOperation(const char *line, const char **entry);

// The six root names, in the order of their index.
extern const char *const kRootNames[6];
// Index of a root name (any letter case), or -1.
int rootIndex(const char *name);

struct RegEntry {
    int root = -1;  // index into kRootNames, -1 for none
    std::string keyPath;
    std::string valueName;
    std::string valueType = "string";
    std::string valueData;
};

// root\keyPath<tab>valueName<tab>valueType<tab>valueData, fields left off from
// the right take their defaults; an unrecognised root leaves every default.
RegEntry parseRegistryEntry(const char *entry);
// Root and key path only; the key path ends at the first tab.
RegEntry parseRegEntry(const char *entry);

// Decimal text to a 32-bit number: leading white space and one sign, digits
// up to the first other character, none gives 0. Arithmetic is modulo 2^32,
// so -1 and 4294967295 both give 0xFFFFFFFF.
uint32_t dwordFromText(const char *text);
// Hexadecimal digit pairs to bytes (an odd final digit is a byte of its own).
std::vector<uint8_t> bytesFromHex(const char *text);
// A "%" followed somewhere later by a second "%".
bool isExpandText(const char *text);

// Registry type numbers, as the registry reports them.
constexpr uint32_t kRegBinary = 3, kRegDword = 4, kRegMultiSz = 7;
// The type word and text form of a value read: "dword" in unsigned decimal,
// "binary" as lower-case hex pairs, a multi-string with a line break for
// every zero byte, any other type as "string" up to its first zero byte.
void valueText(uint32_t type, const uint8_t *data, size_t size, std::string *typeWord, std::string *text);

// Reads one whole script line, its line break included, however long: a
// line is never run in pieces. Beyond kScriptLineLimit bytes only the start
// is kept and cut is set; such a line is refused as one. False at the end of
// the file.
constexpr size_t kScriptLineLimit = 16u << 20;
bool readScriptLine(FILE *file, std::string *line, bool *cut);

// ---- text values in their wide form ----
// Registry type numbers of the text kinds.
constexpr uint32_t kRegSz = 1, kRegExpandSz = 2;
bool isTextType(uint32_t type);
// The value kind an entry's type word selects.
enum class ValueKind { Dword, Binary, Text };
ValueKind valueKind(const std::string &typeWord);
// The text form of a wide text value read (count UTF-16 units): a
// multi-string with a line break for every zero, any other text up to its
// first zero.
std::u16string wideValueText(uint32_t type, const char16_t *data, size_t count);
// Append or prepend: the entry's data alone when the current text is empty.
std::u16string joinText(const std::u16string &current, const std::u16string &data, bool prepend);
// A "%" followed somewhere later by a second "%".
bool isExpandText(const std::u16string &text);

// ---- the script loop ----
enum class LineKind { Comment, NoOperation, Operation };
struct ScriptLine {
    LineKind kind = LineKind::NoOperation;
    const OperationKeyword *keyword = nullptr;
    std::string entry;  // the text after the keyword
};
// One line as read (its line break included): cut at its first line break;
// a ";" in the very first position makes a comment; otherwise the first
// keyword of the table found anywhere in the line selects the operation.
ScriptLine classifyScriptLine(const std::string &line);

// Where the results go: the script's folder (the path up to its last
// backslash), or the current directory for a bare file name. TooLong when
// the folder does not fit room bytes with its terminator.
enum class ScriptFolder { Folder, CurrentDirectory, TooLong };
ScriptFolder scriptFolder(const char *scriptPath, size_t room, std::string *folder);
// appDir\regstats.txt (plain "regstats.txt" when appDir is empty).
std::string resultsFilePath(const char *appDir);

// ---- results lines ----
// The root's name as written in results lines; empty for none.
const char *rootName(int root);
// operation (its tab included), tab, status, tab, root\keyPath, tab,
// valueName, tab, valueType, tab, valueData, line feed.
std::string resultsLine(const char *operation, const char *status, const RegEntry &entry,
                        const std::string &valueName, const std::string &valueType, const std::string &valueData);
// The status word of a listing: "error" when it failed, "access_denied"
// (and the list emptied) when the list holds ACCESS_DENIED, else "ok".
const char *listingStatus(bool success, std::string *list);
// operation, tab, status, and a tab and the list when the listing succeeded.
std::string listingResultsLine(const char *operation, const char *status, bool success, const std::string &list);

// ---- what the operations act on ----
// Append or prepend of texts: the entry's data alone when the current text
// is empty.
std::string joinText(const std::string &current, const std::string &data, bool prepend);
// The key a listing opens: the key path, or the key path, a backslash and
// the value name when the entry names one.
std::string listedKeyPath(const RegEntry &entry);
// The key a delete removes: the key path, a backslash and the value name.
std::string deletedKeyPath(const RegEntry &entry);

// The two kinds of listing, one row each.
struct ListKind {
    const char *keyword;      // the operation name of its results line
    const char *unable;       // "unable to enumerate ...; result code: %i"
    const char *found;        // logged when there was something to list
    const char *none;         // logged when there was not
    const char *item;         // "... %d: %s" for each name
    bool logsCount;           // "\nNumber of values: %d\n" before the names
};
extern const ListKind kKeyListing, kValueListing;
// A listing's name list: the names joined by tabs, a tab going in front of
// a name only when the list is not empty yet.
void addListedName(std::string *list, const std::string &name);
