// The system directory, from which both programs take the system's own
// programs and libraries by their full path, never by a bare name (which
// would find whatever file of that name lies in the current directory).
#pragma once
#include <string>

// "C:\Windows\system32" or the like; empty when it cannot be had.
std::string systemDirectory();
// The full path of a file of the system directory; empty when the
// directory cannot be had.
std::string systemFile(const char *name);
