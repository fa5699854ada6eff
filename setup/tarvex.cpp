// setup: the dispatcher, the tool log and the result-file convention, and the
// environment, search path, short name, free space and attribute commands.
#include <direct.h>
#include <io.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <time.h>

#include <string>

#include "appendline.h"
#include "commandtext.h"
#include "setup.h"
#include "querytext.h"
#include "strutil.h"

// Expand wildcard patterns in main's arguments (MinGW runtime switch).
int _dowildcard = -1;

char programDir[kPathSize];
char appDir[kPathSize];

namespace {

const char kLogName[] = "tarvex2.log";
constexpr size_t kArgSize = kArgChars + 1;

// False when the program's directory did not fit programDir: the log then
// looks in the current directory only, never in a directory cut short.
bool programDirKnown = true;

void setProgramDir(const char *programPath) {
    std::string dir;
    programDirKnown = programDirectory(programPath, sizeof programDir, &dir);
    copyText(programDir, sizeof programDir, programDirKnown ? dir.c_str() : "");
}

void runShortcuts(char *arg1, char *) { manageShortcuts(arg1); }
void runRegistry(char *arg1, char *) { manageRegistry(arg1); }
void runShortName(char *arg1, char *arg2) { getShortName(arg1, arg2); }
void runFreeSpace(char *arg1, char *arg2) { getFreeDiskSpace(arg1, arg2); }
void runPath(char *arg1, char *) { getSystemPath(arg1); }
void runEnvVar(char *arg1, char *arg2) { getEnvVar(arg1, arg2); }
void runWinDir(char *arg1, char *) { getWindowsDirectory(arg1); }
void runProgManDir(char *arg1, char *) { getProgramManagerDirectory(arg1); }
void runMenusDir(char *arg1, char *arg2) { getProgramsMenuDirectory(arg1, arg2); }
void runStartMenusDir(char *arg1, char *arg2) { getStartupMenuDirectory(arg1, arg2); }
void runAppDataDir(char *arg1, char *arg2) { getAppDataDirectory(arg1, arg2); }
void runDesktopDir(char *arg1, char *arg2) { getDesktopDirectory(arg1, arg2); }
void runDocumentsDir(char *arg1, char *arg2) { getDocumentsDirectory(arg1, arg2); }
void runRoamingDir(char *arg1, char *) { getRoamingDirectory(arg1); }
void runIcon(char *arg1, char *arg2) { updateIcon(arg1, arg2); }
void runAttributes(char *arg1, char *arg2) { changeAttribute(arg1, arg2); }

typedef void (*Handler)(char *arg1, char *arg2);

Handler handlerFor(CommandId id) {
    switch (id) {
        case CommandId::Shortcuts: return runShortcuts;
        case CommandId::Registry: return runRegistry;
        case CommandId::ShortName: return runShortName;
        case CommandId::FreeSpace: return runFreeSpace;
        case CommandId::Path: return runPath;
        case CommandId::EnvVar: return runEnvVar;
        case CommandId::WinDir: return runWinDir;
        case CommandId::ProgManDir: return runProgManDir;
        case CommandId::MenusDir: return runMenusDir;
        case CommandId::StartMenusDir: return runStartMenusDir;
        case CommandId::AppDataDir: return runAppDataDir;
        case CommandId::DesktopDir: return runDesktopDir;
        case CommandId::DocumentsDir: return runDocumentsDir;
        case CommandId::RoamingDir: return runRoamingDir;
        case CommandId::Icon: return runIcon;
        case CommandId::Attributes: break;
    }
    return runAttributes;
}

}  // namespace

void logFormatted(const char *format, const char *text, int number) {
    std::string message(strlen(format) + strlen(text) + 32, '\0');
    formatText(&message[0], message.size(), format, text, number);
    logMessage(message.c_str());
}

void logMessage(const char *message) {
    char *cwd = static_cast<char *>(malloc(kPathSize));
    char *path = static_cast<char *>(malloc(kPathSize));
    char *stamp = static_cast<char *>(malloc(1000));
    if (cwd && path && stamp) {
        // A current directory or log path that does not fit its buffer is not
        // looked at: a cut path would name some other file.
        bool found = _getcwd(cwd, MAX_PATH) != nullptr &&
                     formatText(path, kPathSize, "%s\\%s", cwd, kLogName) && _access(path, 0) == 0;
        if (!found)
            found = programDirKnown && formatText(path, kPathSize, "%s\\%s", programDir, kLogName) &&
                    _access(path, 0) == 0;
        if (found) {
            time_t now = time(nullptr);
            const struct tm *local = localtime(&now);
            const char *text = local ? asctime(local) : nullptr;
            copyText(stamp, 1000, text ? text : "");
            char *end = strchr(stamp, '\n');
            if (end) *end = '\0';
            // Opened and closed for every line, so a crash later loses
            // nothing; never created.
            appendLine(path, std::string(stamp) + " " + message + "\n", false);
        }
    }
    free(stamp);
    free(path);
    free(cwd);
}

ResultOutcome writeResultFile(const char *dir, const char *name, const char *value, std::string *pathOut) {
    std::string path = std::string(dir) + "\\" + name;
    if (pathOut) *pathOut = path;
    // A path too long for the result path's room is refused rather than cut
    // to some other file.
    if (path.size() >= kPathSize) return ResultOutcome::NotOpened;
    FILE *file = fopen(path.c_str(), "wt");
    if (!file) return ResultOutcome::NotOpened;
    bool written = fprintf(file, "%s\n", value) >= 0;
    written = fflush(file) == 0 && written;
    written = fclose(file) == 0 && written;
    if (written) return ResultOutcome::Written;
    // An empty or partial file would look like an answer: it goes.
    remove(path.c_str());
    std::string message = "unable to write result file: " + path;
    logMessage(message.c_str());
    return ResultOutcome::Failed;
}

void prepDirArguments(char *first, char *second) {
    std::string scope = first, resultDir = second;
    applyScopeDefault(&scope, &resultDir);
    // Both are the dispatcher's kArgSize buffers.
    copyText(first, kArgSize, scope.c_str());
    copyText(second, kArgSize, resultDir.c_str());
}

int main(int argc, char **argv) {
    if (argc <= 1) return 1;

    char *arg1 = static_cast<char *>(malloc(kArgSize));
    char *arg2 = static_cast<char *>(malloc(kArgSize));
    if (arg1 && arg2) {
        setProgramDir(argv[0]);
        logFormatted("program: %s", argv[0]);
        logFormatted("program dir:  %s", programDir);
        CommandLine line = commandLineFrom(argc, argv);
        logFormatted("command: %s", line.command.c_str());
        logFormatted("arg1: %s", line.arg1.c_str());
        logFormatted("arg2: %s", line.arg2.c_str());
        copyText(arg1, kArgSize, line.arg1.c_str());
        copyText(arg2, kArgSize, line.arg2.c_str());
        if (!line.whole) {
            logMessage("argument too long: command refused");
        } else if (const CommandRow *row = findCommand(line.command.c_str())) {
            if (row->scoped) prepDirArguments(arg1, arg2);
            handlerFor(row->id)(arg1, arg2);
        }
    }
    free(arg2);
    free(arg1);
    return 1;
}

// ---- environment, search path, short name, free space, attributes ----

void getEnvVar(const char *name, const char *resultDir) {
    const char *value = getenv(name);
    logMessage(name);
    if (value == nullptr) {
        logMessage("undefined");
        return;
    }
    logMessage(value);
    std::string path;
    if (writeResultFile(resultDir, "winenv.txt", value, &path) == ResultOutcome::NotOpened) {
        logMessage("unable to save results in");
        logMessage(path.c_str());
    }
}

const char *getPathPtr() {
    static const char *const names[] = {"path", "PATH", "Path"};
    for (const char *name : names) {
        const char *value = getenv(name);
        if (value) return value;
    }
    return nullptr;
}

void getSystemPath(const char *resultDir) {
    const char *searchPath = getPathPtr();
    if (searchPath == nullptr) return;
    if (writeResultFile(resultDir, "winpath.txt", searchPath) == ResultOutcome::NotOpened) {
        logMessage("unable to save path");
        logMessage(searchPath);
    } else {
        logMessage(searchPath);
    }
}

void getShortName(const char *longPath, const char *resultDir) {
    if (longPath[0] == '\0') return;
    char *shortPath = static_cast<char *>(malloc(kPathSize));
    if (shortPath == nullptr) return;
    DWORD length = GetShortPathNameA(longPath, shortPath, MAX_PATH);
    if (length != 0 && length < MAX_PATH) {
        logMessage("result:");
        logMessage(shortPath);
    } else {
        shortPath[0] = '\0';
        logMessage("unable to get short name");
    }
    writeResultFile(resultDir, "winsname.txt", shortPath);
    free(shortPath);
}

bool GetDiscFreeSpace(char *root, unsigned long long *freeBytes) {
    typedef BOOL(WINAPI * FreeSpaceEx)(LPCSTR, PULARGE_INTEGER, PULARGE_INTEGER, PULARGE_INTEGER);
    HMODULE kernel = LoadLibraryA("KERNEL32.DLL");
    if (kernel) {
        FreeSpaceEx call = reinterpret_cast<FreeSpaceEx>(
            reinterpret_cast<void *>(GetProcAddress(kernel, "GetDiskFreeSpaceExA")));
        ULARGE_INTEGER available, total, totalFree;
        if (call && call(root, &available, &total, &totalFree)) {
            *freeBytes = available.QuadPart;
            FreeLibrary(kernel);
            return true;
        }
        FreeLibrary(kernel);
    }
    DWORD sectorsPerCluster, bytesPerSector, freeClusters, totalClusters;
    if (!GetDiskFreeSpaceA(root, &sectorsPerCluster, &bytesPerSector, &freeClusters, &totalClusters))
        return false;
    *freeBytes = static_cast<unsigned long long>(freeClusters) * sectorsPerCluster * bytesPerSector;
    return true;
}

void getFreeDiskSpace(const char *drive, const char *resultDir) {
    if (drive[0] == '\0') return;
    char *root = static_cast<char *>(malloc(kPathSize));
    char *digits = static_cast<char *>(malloc(1000));
    if (root && digits) {
        unsigned long long freeBytes = 0;
        // A root that does not fit its buffer counts as a drive whose space
        // cannot be had.
        bool known = buildDriveRoot(drive, root, kPathSize) && GetDiscFreeSpace(root, &freeBytes);
        if (known) fmt_dwordlong(digits, freeBytes);
        writeResultFile(resultDir, "winspace.txt", known ? digits : "-1");
    }
    free(digits);
    free(root);
}

bool changeFileAttribute(const char *path, DWORD attribute) {
    if (_access(path, 0) != 0) return false;
    char local[MAX_PATH];
    // A path that does not fit is left alone rather than cut to another name.
    if (!copyText(local, sizeof local, path)) return false;
    if (attribute == FILE_ATTRIBUTE_NORMAL) return SetFileAttributesA(local, FILE_ATTRIBUTE_NORMAL) != 0;
    DWORD current = GetFileAttributesA(local);
    if (current == INVALID_FILE_ATTRIBUTES) return false;
    if (current & attribute) return true;
    return SetFileAttributesA(local, current | attribute) != 0;
}

bool changeAttribute(const char *word, const char *path) {
    if (compareNoCase(word, "hide") == 0) return changeFileAttribute(path, FILE_ATTRIBUTE_HIDDEN);
    if (compareNoCase(word, "normal") == 0) return changeFileAttribute(path, FILE_ATTRIBUTE_NORMAL);
    return false;
}
