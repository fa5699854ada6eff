// Text logic of the launcher: the properties file lines, the version test
// and the command-line tokens. No Windows API, so it builds on any compiler.
#pragma once
#include <cstddef>
#include <string>
#include <vector>

// ---- properties file ----

// Removes each backslash and keeps the character after it as it is (a
// backslash at the very end disappears).
std::string unescapeLine(const std::string &line);

// Removes trailing blanks (0x20 only) in place; returns the length before.
size_t trimTrailingSpace(char *text);

enum class Setting { ProgramName, ExecFilename, Args, JvmRequired, JvmMax, JvmMin };

struct Settings {
    std::string programName, execFilename, args, jvmRequired, jvmMin, jvmMax;
};

// Capacity in characters of each setting.
size_t settingCapacity(Setting setting);
const char *settingKey(Setting setting);

enum class LineOutcome { Ignored, Taken, TooLong };
// Matches one unescaped line against the keys (in order, as prefixes, case
// sensitive) and stores its value: the first non-empty value of programName,
// execFilename and args counts, the last of the three versions. A line that
// ends right after its key has no value and is ignored; a value longer than
// its setting holds is refused (TooLong) and the setting keeps what it had.
LineOutcome applyPropertyLine(const std::string &line, Settings *settings, Setting *matched);

// ---- runtime versions ----

// The version test: the version is compared with each bound only up to the
// bound's length, ignoring the case of A-Z; a required version decides
// alone, else the version must not sort before the minimum nor after the
// maximum. Empty bounds set no bound.
bool verifyVersion(const std::string &jvmRequired, const std::string &jvmMin, const std::string &jvmMax,
                   const std::string &version);

// ---- command line ----

// Takes the next blank-separated token off text (a leading double quote
// groups up to the next double quote).
void getNextParameter(std::string &text, std::string &token);
// The tokens of an argument text, in order.
std::vector<std::string> splitParameters(const std::string &text);
// A token holding a blank that does not begin with a double quote, wrapped
// in double quotes; any other text unchanged.
std::string quoteIfNeeded(const std::string &text);
// The arguments joined by single blanks, each quoted if needed.
std::string argsString(const std::vector<std::string> &argv);
