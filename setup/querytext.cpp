#include "querytext.h"

#include <cstring>
#include <string>

#include "strutil.h"

int fmt_dwordlong(char *buffer, unsigned long long value) {
    int count = 1;
    for (unsigned long long rest = value; rest > 9; rest /= 10) ++count;
    if (buffer == nullptr) return count;
    buffer[count] = '\0';
    int pos = count - 1;
    do {
        buffer[pos--] = static_cast<char>('0' + value % 10);
        value /= 10;
    } while (value != 0 && pos >= 0);
    return count;
}

bool buildDriveRoot(const char *text, char *root, size_t size) {
    const char *colon = strchr(text, ':');
    size_t keep = colon ? static_cast<size_t>(colon - text) + 1 : strlen(text);
    // keep characters, possibly ":", then "\" and the terminator.
    size_t need = keep + (colon ? 0 : 1) + 2;
    if (size == 0) return false;
    if (need > size) {
        root[0] = '\0';
        return false;
    }
    memcpy(root, text, keep);
    root[keep] = '\0';
    if (!colon) strcat(root, ":");
    strcat(root, "\\");
    return true;
}

static void lowerInPlace(char *text) {
    for (; *text; ++text)
        if (*text >= 'A' && *text <= 'Z') *text = static_cast<char>(*text + ('a' - 'A'));
}

bool findDirInPath(const char *path, char *name, bool (*exists)(const char *entry), char *answer,
                   size_t size) {
    lowerInPlace(name);
    size_t nameLen = strlen(name);
    if (nameLen == 0) return false;
    std::string work(path);
    lowerInPlace(&work[0]);
    size_t start = 0;
    while (start <= work.size()) {
        size_t end = work.find(';', start);
        if (end == std::string::npos) end = work.size();
        std::string entry = work.substr(start, end - start);
        size_t first = entry.find(name);
        if (!entry.empty() && first != std::string::npos && first + nameLen == entry.size() &&
            exists(entry.c_str())) {
            if (copyText(answer, size, entry.c_str())) return true;
            answer[0] = '\0';  // too long to report: look further
        }
        start = end + 1;
    }
    return false;
}
