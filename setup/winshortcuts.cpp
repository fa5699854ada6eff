// setup: the shortcut script reader. Keyword lines open add or delete
// blocks; every other line outside a block is skipped.
#include <stdio.h>
#include <stdlib.h>

#include "setup.h"
#include "shortcuttext.h"
#include "strutil.h"

namespace {

struct Block {
    const char *word;
    void (*run)(FILE *file, const char *keyword);
};

const Block blocks[] = {
    {"addProgramsMenu", addShellFolder},    {"addStartupMenu", addShellFolder},
    {"addDesktop", addShellFolder},         {"deleteProgramsMenu", deleteShellFolder},
    {"deleteStartupMenu", deleteShellFolder}, {"deleteDesktop", deleteShellFolder},
};

}  // namespace

void manageShortcuts(const char *path) {
    FILE *script = fopen(path, "r");
    if (!script) return;
    while (char *line = getline(script)) {
        if (const Block *block = findRow(blocks, line)) block->run(script, line);
        free(line);
    }
    fclose(script);
}
