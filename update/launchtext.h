// Text logic of the launcher: the properties file lines, the version test
// and the command-line tokens. No Windows API, so it builds on any compiler.
#pragma once
#include <cstddef>
#include <string>
#include <vector>

// ---- sizes ----
// A path setting holds 260 characters and a terminator; the argument text
// 5000 characters and a terminator.
constexpr size_t kPathSize = 261, kArgsSize = 5001;
// The alternate directory becomes the start directory, which the launcher
// enters as its current directory: Windows holds that in MAX_PATH - 2
// characters (room for a closing backslash), so a longer one cannot work.
constexpr size_t kAltDirChars = kPathSize - 3;

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

// The six settings, in the order their keys are tested.
constexpr Setting kSettings[] = {Setting::ProgramName, Setting::ExecFilename, Setting::Args,
                                 Setting::JvmRequired, Setting::JvmMax,       Setting::JvmMin};
// The key a line begins with (tested in order, as prefixes, case sensitive),
// or null when it begins with none.
const char *propertyKeyOf(const std::string &line);

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

// ---- what reaches the command interpreter ----
// The command runs through "cmd.exe /c", which acts on & | < > ^ ( ) outside
// double quotes and takes them literally inside. The properties file's args
// are the installer author's and keep that meaning; the executable path and
// the words of the launcher's own command line are data and are quoted.

// True when text holds a blank, a tab or one of the interpreter's operator
// characters, so that it must stand inside quotes to stay one literal word.
bool needsInterpreterQuotes(const std::string &text);
// The executable as it goes on the command line: quoted when it needs to be
// and does not begin with a double quote already.
std::string quoteExecutable(const std::string &exe);
// A word of the launcher's own command line can reach the program unchanged
// only when it holds no double quote (which would end the quoting early) and
// no line break (which ends the interpreter's command, quoted or not).
bool ownWordPassable(const std::string &word);
// One word of the launcher's own command line as it goes on the command
// line: quoted when it needs to be, with backslashes before the closing quote
// doubled so that the program's runtime reads them as backslashes.
std::string quoteOwnWord(const std::string &word);
// True when text holds an even number of double quotes: what follows it is
// then outside quotes for the interpreter.
bool quotesBalanced(const std::string &text);
// The argument text: the author's tokens quoted as the properties file's
// args always were, then the launcher's own words, all joined by blanks.
std::string joinArguments(const std::vector<std::string> &authorTokens, const std::vector<std::string> &ownWords);
// What follows "/c ": the executable, a blank and the arguments, wrapped in
// one more pair of quotes when it begins with one (the interpreter removes the
// first and the last quote of such a command).
std::string interpreterTail(const std::string &exe, const std::string &argText);
// The interpreter from COMSPEC when that is a full path (a drive and a
// backslash, or a UNC path), else the system directory's cmd.exe: a bare or
// relative name would be looked for in the current directory. Empty when
// neither is known.
std::string chooseInterpreter(const char *comspec, const std::string &systemDir);
// The interpreter as the first word of its command line: quoted when it
// holds a blank.
std::string interpreterWord(const std::string &interpreter);
// The whole command handed to CreateProcess: the interpreter's word, " /c ",
// and the tail.
std::string launchCommand(const std::string &interpreter, const std::string &exe, const std::string &argText);
// The first "launch command:" trace text: the executable in one more pair of
// quotes, a blank and the arguments.
std::string launchTrace(const std::string &exe, const std::string &argText);

// ---- configuration slots ----
// A slot's text: up to its first NUL (300 characters at most), trailing
// blanks removed.
std::string slotText(const volatile char *slot);
// The launcher is not configured while its first slot begins with the marker.
bool slotUnconfigured(const std::string &propertiesFilename);
// The properties file looked for in the alternate directory. False when the
// directory is longer than the launcher can enter (kAltDirChars).
bool alternatePropertiesPath(const std::string &altDir, const std::string &filename, std::string *path);

// ---- properties lines and runtimes ----
// One line as read (its line feed removed here) made into the unescaped
// line and applied to the settings.
LineOutcome readPropertyLine(const char *raw, std::string *original, std::string *unescaped, Settings *settings,
                             Setting *matched);
// A runtime's version text: its key name, and "." and its micro version
// when that is not empty.
std::string runtimeVersion(const std::string &name, const std::string &microVersion);
// The file of the vanished executable's name in a runtime's bin folder.
std::string replacementPath(const std::string &home, const std::string &execFilename);
// The file name part of an executable path (after its last backslash).
std::string executableName(const std::string &execFilename);
