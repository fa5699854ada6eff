// setup: stores an icon file, bytes unchanged, as the icon resource 101
// (language neutral) of an executable.
#include <stdlib.h>

#include "setup.h"
#include "strutil.h"

void updateIcon(const char *executablePath, const char *iconPath) {
    HMODULE kernel = LoadLibraryA("kernel32.dll");
    if (!kernel) {
        logMessage("unable to load kernel32");
        return;
    }
    HANDLE file = CreateFileA(iconPath, GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        logMessage("couldn't open icon file");
        FreeLibrary(kernel);
        return;
    }
    logMessage("trying to load icon");
    DWORD size = GetFileSize(file, nullptr);
    // Never a null buffer: a null one with no bytes would delete the resource.
    BYTE *icon = size != INVALID_FILE_SIZE ? static_cast<BYTE *>(malloc(size ? size : 1)) : nullptr;
    DWORD read = 0;
    bool whole = icon && ReadFile(file, icon, size, &read, nullptr) && read == size;
    CloseHandle(file);

    char message[1000];
    formatText(message, sizeof message, "icon filesize: %i", static_cast<int>(size));
    logMessage(message);
    if (!whole) {
        // A failed or short read would store a damaged icon: leave the
        // executable as it is.
        logMessage("unable to read icon file");
    } else {
        HANDLE update = BeginUpdateResourceA(executablePath, FALSE);
        if (!update) {
            logMessage("Could not open file for writing");
        } else {
            logMessage("updating resource");
            if (!UpdateResourceA(update, RT_ICON, MAKEINTRESOURCEA(101), 0, icon, size)) {
                logMessage("Could not add resource");
                EndUpdateResourceA(update, TRUE);
            } else {
                logMessage("trying to write changes");
                if (!EndUpdateResourceA(update, FALSE)) logMessage("Could not write changes to file");
            }
        }
    }
    free(icon);
    FreeLibrary(kernel);
}
