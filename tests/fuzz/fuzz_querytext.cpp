// Fuzzes the search-path scan, the drive root and the decimal formatting.
#include <cstdint>
#include <cstring>
#include <string>

#include "querytext.h"

static bool anyExists(const char *entry) { return entry[0] != 'z'; }

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    std::string text(reinterpret_cast<const char *>(data), size);
    text = text.c_str();  // up to the first NUL, as the programs see it
    size_t split = text.find('|');
    std::string name = split == std::string::npos ? "windows" : text.substr(split + 1);
    std::string path = text.substr(0, split);
    char answer[261];
    findDirInPath(path.c_str(), &name[0], anyExists, answer, sizeof answer);
    char root[261];
    buildDriveRoot(text.c_str(), root, sizeof root);
    char small[4];
    buildDriveRoot(text.c_str(), small, sizeof small);
    unsigned long long value = 0;
    memcpy(&value, data, size < sizeof value ? size : sizeof value);
    char digits[21];
    fmt_dwordlong(digits, value);
    return 0;
}
