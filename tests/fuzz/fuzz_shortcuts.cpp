// Fuzzes the shortcut script reader and the block line rules.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "shortcuttext.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    FILE *file = fmemopen(const_cast<uint8_t *>(data), size, "r");
    if (!file) return 0;
    while (char *line = getline(file)) {
        isnull(line);
        folderLevels(line);
        showCommand(line);
        std::string path;
        int index;
        splitIcon(line, &path, &index);
        expandReferences(
            line,
            [](const std::string &name, std::string *value) {
                if (name.size() % 2) return false;
                *value = "%" + name + "%x";
                return true;
            },
            [](const std::string &) {});
        free(line);
    }
    fclose(file);
    return 0;
}
