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
