// Text logic of the dispatcher: the command table, the argument limits, the
// scope default of the scoped queries and the program directory. No Windows
// API, so it builds on any compiler.
#pragma once
#include <cstddef>
#include <string>

enum class CommandId {
    Shortcuts, Registry, ShortName, FreeSpace, Path, EnvVar, WinDir, ProgManDir,
    MenusDir, StartMenusDir, AppDataDir, DesktopDir, DocumentsDir, RoamingDir, Icon, Attributes,
};

struct CommandRow {
    const char *word;
    CommandId id;
    bool scoped;  // gets the scope default first
};

// The first row of the command table whose word equals word in any letter
// case, or null.
const CommandRow *findCommand(const char *word);

// The command word and each argument hold at most this many characters.
constexpr size_t kArgChars = 10000;

// The command word and the two arguments the dispatcher hands on (a missing
// argument is empty), each cut to kArgChars for the log; whole is false when
// any of them was longer, and then no handler runs.
struct CommandLine {
    std::string command, arg1, arg2;
    bool whole = true;
};
CommandLine commandLineFrom(int argc, const char *const *argv);

// A scoped query given one argument only: that argument is the result
// directory and the scope is "currentUser".
void applyScopeDefault(std::string *first, std::string *second);

// The program's directory: its path up to the last backslash (the whole
// path when it has none). False when that does not fit room bytes with its
// terminator.
bool programDirectory(const char *programPath, size_t room, std::string *dir);
