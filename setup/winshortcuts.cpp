// setup: the shortcut script reader. Keyword lines open add or delete
// blocks; every other line outside a block is skipped.
#include <stdio.h>
#include <stdlib.h>

#include "setup.h"
#include "shortcuttext.h"

void manageShortcuts(const char *path) {
    FILE *script = fopen(path, "r");
    if (!script) return;
    while (char *line = getline(script)) {
        if (const BlockKind *kind = findBlock(line)) {
            if (kind->action == BlockAction::Add)
                addShellFolder(script, line);
            else
                deleteShellFolder(script, line);
        }
        free(line);
    }
    fclose(script);
}
