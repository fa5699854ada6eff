// Text logic of the system queries: decimal formatting of a 64-bit count, the
// drive root of the free-space query, the search-path scan of the Windows
// directory query. No Windows API, so it builds on any compiler.
#pragma once
#include <cstddef>

// Unsigned decimal digits of value into buffer (which needs 21 bytes);
// returns the number of digits. With a null buffer only counts them.
int fmt_dwordlong(char *buffer, unsigned long long value);

// The root of the drive that text names: cut after its first ":", or with
// ":" appended when it has none, then a backslash. False (root empty) when
// the root would not fit size bytes.
bool buildDriveRoot(const char *text, char *root, size_t size);

// Scans a search path (entries between ";") for the first entry that ends
// with name, holds it nowhere earlier, and for which exists(entry) is true.
// Comparison is made in lower case; the entry is copied in lower case into
// answer (size bytes). The name is lowered in place. Returns false when no
// entry matches or the matching entry does not fit answer.
bool findDirInPath(const char *path, char *name, bool (*exists)(const char *entry), char *answer,
                   size_t size);
