#include "strutil.h"

#include <cstdio>
#include <cstring>

bool copyText(char *dst, size_t size, const char *src) {
    if (size == 0) return false;
    size_t len = strlen(src);
    if (len < size) {
        memcpy(dst, src, len + 1);
        return true;
    }
    memcpy(dst, src, size - 1);
    dst[size - 1] = '\0';
    return false;
}

bool appendText(char *dst, size_t size, const char *src) {
    const void *end = memchr(dst, '\0', size);
    if (end == nullptr) return false;
    size_t used = static_cast<const char *>(end) - dst;
    return copyText(dst + used, size - used, src);
}

bool formatTextV(char *dst, size_t size, const char *format, va_list ap) {
    if (size == 0) return false;
    int n = vsnprintf(dst, size, format, ap);
    if (n < 0) {
        dst[0] = '\0';
        return false;
    }
    return static_cast<size_t>(n) < size;
}

bool formatText(char *dst, size_t size, const char *format, ...) {
    va_list ap;
    va_start(ap, format);
    bool whole = formatTextV(dst, size, format, ap);
    va_end(ap);
    return whole;
}

static int lowerAscii(unsigned char c) { return (c >= 'A' && c <= 'Z') ? c + ('a' - 'A') : c; }

int compareNoCaseN(const char *a, const char *b, size_t n) {
    for (size_t i = 0; i < n; ++i) {
        int ca = lowerAscii(static_cast<unsigned char>(a[i]));
        int cb = lowerAscii(static_cast<unsigned char>(b[i]));
        if (ca != cb) return ca - cb;
        if (ca == 0) return 0;
    }
    return 0;
}

int compareNoCase(const char *a, const char *b) { return compareNoCaseN(a, b, static_cast<size_t>(-1)); }

bool readPhysicalLine(FILE *file, std::string *line, size_t limit, bool *cut) {
    line->clear();
    *cut = false;
    char chunk[4096];
    bool any = false, ended = false;
    while (!ended && fgets(chunk, sizeof chunk, file)) {
        any = true;
        size_t length = strlen(chunk);
        ended = length > 0 && chunk[length - 1] == '\n';
        size_t room = line->size() < limit ? limit - line->size() : 0;
        if (length > room) *cut = true;
        line->append(chunk, length < room ? length : room);
    }
    // The line feed of a line kept in part is kept, so it still reads as ended.
    if (*cut && ended) line->push_back('\n');
    return any;
}
