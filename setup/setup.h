// Entry points of the setup command tool, grouped by the module that holds them.
#pragma once
#include <windows.h>

#include <cstdio>
#include <string>

// Room for a Windows path and its terminator.
constexpr size_t kPathSize = MAX_PATH + 1;

// tarvex: dispatcher, tool log, result files, environment/path/short name/
// free space/attributes commands.
extern char programDir[kPathSize];
extern char appDir[kPathSize];
void logMessage(const char *message);
// Logs format filled with text (and number, for a "%d" after it).
void logFormatted(const char *format, const char *text, int number = 0);
// Writes value and a line end to dir\name ("wt"), whole or not at all.
// NotOpened: the path (built whole, handed back in path when asked) does not
// fit its 260 characters or cannot be opened; nothing is written. Failed:
// the write did not reach the disk; the file is removed and "unable to write
// result file: <path>" logged, so nothing that looks like an answer stays.
enum class ResultOutcome { Written, NotOpened, Failed };
ResultOutcome writeResultFile(const char *dir, const char *name, const char *value, std::string *path = nullptr);
void prepDirArguments(char *first, char *second);
void getEnvVar(const char *name, const char *resultDir);
void getSystemPath(const char *resultDir);
const char *getPathPtr();
void getShortName(const char *longPath, const char *resultDir);
void getFreeDiskSpace(const char *drive, const char *resultDir);
bool GetDiscFreeSpace(char *root, unsigned long long *freeBytes);
bool changeAttribute(const char *word, const char *path);
bool changeFileAttribute(const char *path, DWORD attribute);

// commands: shell folder resolution and the shortcut blocks.
void getProgramsMenuPath(const char *scope, char *path);
void getStartupMenuPath(const char *scope, char *path);
void getDesktopPath(const char *scope, char *path);
void getAppDataPath(const char *scope, char *path);
char *concatFilename(char *path, const char *name);
void setAttrib(const char *quotedPath);
void deleteFile(const char *path);
void addShellFolder(FILE *file, const char *keyword);
void deleteShellFolder(FILE *file, const char *keyword);

// winshortcuts: the shortcut script reader.
void manageShortcuts(const char *path);

// winreg: the registry script.
void manageRegistry(const char *scriptPath);

// windirs: directory queries.
void getWindowsDirectory(const char *resultDir);
void getProgramManagerDirectory(const char *resultDir);
void getProgramsMenuDirectory(const char *scope, const char *resultDir);
void getStartupMenuDirectory(const char *scope, const char *resultDir);
void getDesktopDirectory(const char *scope, const char *resultDir);
void getAppDataDirectory(const char *scope, const char *resultDir);
void getDocumentsDirectory(const char *scope, const char *resultDir);
void getRoamingDirectory(const char *resultDir);

// winresource: icon replacement.
void updateIcon(const char *executablePath, const char *iconPath);
