#include "systemdir.h"

#include <windows.h>

std::string systemDirectory() {
    char path[MAX_PATH + 1];
    UINT length = GetSystemDirectoryA(path, MAX_PATH);
    return length > 0 && length < MAX_PATH ? std::string(path, length) : std::string();
}

std::string systemFile(const char *name) {
    std::string dir = systemDirectory();
    return dir.empty() ? dir : dir + "\\" + name;
}
