// Fuzzes the shortcut script as the program reads it: whole lines, block
// keywords and their lines, the link path, the block line rules, the probe's
// paths and the expansion of environment references.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "shortcuttext.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    FILE *file = fmemopen(const_cast<uint8_t *>(data), size, "r");
    if (!file) return 0;
    while (char *line = getline(file)) {
        if (const BlockKind *kind = findBlock(line)) {
            std::vector<std::string> lines;
            BlockRead read = readBlockLines(file, kind->lines, &lines);
            for (const std::string &text : lines)
                if (text.size() > kBlockLineChars) abort();
            if (read == BlockRead::Whole && kind->action == BlockAction::Add) {
                AddBlock block = addBlockFrom(lines);
                std::string path = linkPathFor("C:\\Menu\\", block.folder, block.name);
                if (path.compare(path.size() - 4, 4, ".lnk") != 0) abort();
                folderLevels(block.folder.c_str());
                showCommand(block.show.c_str());
                std::string iconPath;
                int index;
                splitIcon(block.icon, &iconPath, &index);
            } else if (read == BlockRead::Whole) {
                DeleteBlock block = deleteBlockFrom(lines);
                linkPathFor("", block.folder, block.name);
            }
        }
        isnull(line);
        std::string text = line;
        if (preferShortForm(text, text.substr(0, text.size() / 2)) != (text.size() > 1)) abort();
        std::string quoted = std::string("\"") + (strlen(line) % 2 ? probeFolderPath(line) : probeFilePath(line)) + "\"";
        attribArgumentSafe(quoted.c_str());
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
