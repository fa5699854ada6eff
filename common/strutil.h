// Bounded text helpers shared by every module of setup. They never write past
// the size they are given, always leave a terminator, and say whether the
// whole text fitted. Plain C++: no Windows API, so they build on any compiler.
#pragma once
#include <cstdarg>
#include <cstddef>
#include <cstdio>
#include <string>

// Copies src into dst (size bytes in all). Returns false when src was cut.
bool copyText(char *dst, size_t size, const char *src);
// Appends src to the text in dst. Returns false when src was cut (or dst was
// not terminated within size, in which case nothing is appended).
bool appendText(char *dst, size_t size, const char *src);
// printf-style formatting into dst. Returns false when the result was cut.
bool formatText(char *dst, size_t size, const char *format, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 3, 4)))
#endif
    ;
bool formatTextV(char *dst, size_t size, const char *format, va_list ap);

// Case-insensitive comparison of two texts as the C runtime's _stricmp does:
// the letters A-Z are compared as a-z, every other byte by its value.
int compareNoCase(const char *a, const char *b);
// The same, over at most n bytes of each (as _strnicmp).
int compareNoCaseN(const char *a, const char *b, size_t n);

// Looks word up in a table of rows that carry a `word` member, in table
// order, case-insensitively and as a whole word. Returns the first row that
// matches, or nullptr.
template <typename Row, size_t N>
const Row *findRow(const Row (&table)[N], const char *word) {
    for (size_t i = 0; i < N; ++i)
        if (compareNoCase(table[i].word, word) == 0) return &table[i];
    return nullptr;
}

// Reads one whole physical line (up to and including its line feed, or to
// the end of the file) into line, never in pieces. A line longer than limit
// bytes is still consumed whole, but only its first limit bytes are kept and
// cut is set. False at the end of the file.
bool readPhysicalLine(FILE *file, std::string *line, size_t limit, bool *cut);
