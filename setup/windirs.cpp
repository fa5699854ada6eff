// setup: the directory queries. Each writes the directory it found (an empty
// line when none) to "windir.txt" in the result directory.
#include <direct.h>
#include <io.h>
#include <stdlib.h>
#include <string.h>

#include <string>

#include "querytext.h"
#include "setup.h"
#include "strutil.h"

namespace {

const char kWindowsNtKey[] = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion";
const char kWindowsNtSetupKey[] = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\SETUP";
const char kWindowsSetupKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\SETUP";
const char kCurrentVersionKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion";
constexpr size_t kMessageSize = 5000;

void saveResults(const char *value, const char *resultDir) { writeResultFile(resultDir, "windir.txt", value); }

// Reads one text value of an opened key into answer (kPathSize bytes, 260
// offered); found when answer is not empty afterwards.
bool readAnswer(HKEY key, const char *valueName, char *answer) {
    answer[0] = '\0';
    DWORD size = MAX_PATH;
    if (RegQueryValueExA(key, valueName, nullptr, nullptr, reinterpret_cast<BYTE *>(answer), &size) !=
        ERROR_SUCCESS)
        answer[0] = '\0';  // what a failed read leaves in the buffer is not a value
    answer[MAX_PATH] = '\0';
    return answer[0] != '\0';
}

void logJoined(char *message, const char *a, const char *b, const char *c = nullptr) {
    if (c)
        formatText(message, kMessageSize, "%s %s %s", a, b, c);
    else
        formatText(message, kMessageSize, "%s %s", a, b);
    logMessage(message);
}

bool existsPath(const char *entry) { return _access(entry, 0) == 0; }

int isWinNT() { return (GetVersion() & 0x80000000u) == 0 ? 1 : 0; }

// The Windows directory from one registry value. logMissingKey: whether a
// key that cannot be opened is logged.
bool windowsDirFromRegistry(const char *keyPath, const char *valueName, bool logMissingKey, char *answer,
                            char *message) {
    HKEY key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, keyPath, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) {
        if (logMissingKey) logJoined(message, "No such registry entry:", keyPath);
        return false;
    }
    bool found = readAnswer(key, valueName, answer);
    RegCloseKey(key);
    if (!found) logJoined(message, "Unable to find Windows directory in", keyPath, valueName);
    return found;
}

bool isDirInPath(char *name, char *answer) {
    const char *path = getenv("PATH");
    if (path == nullptr) return false;
    return findDirInPath(path, name, existsPath, answer, kPathSize);
}

bool getProgManDirectory(HKEY key, char *answer, char *message) {
    if (readAnswer(key, "ProgramFilesDir", answer)) {
        logJoined(message, "  found Program Manager directory in", "ProgramFilesDir");
        logJoined(message, "                        directory:", answer);
        return true;
    }
    logJoined(message, "  unable to find Program Manager directory in", "ProgramFilesDir");
    if (readAnswer(key, "ProgramFilesPath", answer)) {
        logJoined(message, "  found Program Manager directory in", "ProgramFilesPath");
        logJoined(message, "                       directory:", answer);
        return true;
    }
    logJoined(message, "  unable to find Program Manager directory in", "ProgramFilesPath");
    return false;
}

typedef HRESULT(WINAPI *FolderPathQuery)(HWND, int, HANDLE, DWORD, LPSTR);

void shellFolderQuery(int folder, bool logAnswer, const char *resultDir) {
    char *answer = static_cast<char *>(calloc(kPathSize, 1));
    if (!answer) return;
    // The library stays loaded: the process ends soon after.
    HMODULE shell = LoadLibraryA("Shell32.dll");
    if (!shell) shell = LoadLibraryA("SHFolder.dll");
    if (shell) {
        FolderPathQuery query = reinterpret_cast<FolderPathQuery>(
            reinterpret_cast<void *>(GetProcAddress(shell, "SHGetFolderPathA")));
        char found[MAX_PATH] = "";
        if (query && query(nullptr, folder, nullptr, 0, found) >= 0) copyText(answer, kPathSize, found);
    }
    if (logAnswer) logMessage(answer);
    saveResults(answer, resultDir);
    free(answer);
}

void menuFolderQuery(void (*lookup)(const char *, char *), const char *scope, const char *resultDir) {
    char *answer = static_cast<char *>(calloc(kPathSize, 1));
    if (!answer) return;
    lookup(scope, answer);
    saveResults(answer, resultDir);
    free(answer);
}

}  // namespace

void getWindowsDirectory(const char *resultDir) {
    char *answer = static_cast<char *>(calloc(kPathSize, 1));
    char *message = static_cast<char *>(malloc(kMessageSize));
    if (answer && message) {
        bool nt = isWinNT() != 0;
        bool found = nt && (windowsDirFromRegistry(kWindowsNtKey, "SystemRoot", true, answer, message) ||
                            windowsDirFromRegistry(kWindowsNtKey, "PathName", false, answer, message) ||
                            windowsDirFromRegistry(kWindowsNtKey, "WinDir", false, answer, message) ||
                            windowsDirFromRegistry(kWindowsNtSetupKey, "WinDir", false, answer, message));
        if (!found) found = windowsDirFromRegistry(kWindowsSetupKey, "WinDir", false, answer, message);
        if (!found) {
            char name[16];
            copyText(name, sizeof name, nt ? "winnt" : "windows");
            found = isDirInPath(name, answer);
        }
        if (!found) {
            const char *folder = nt ? "c:\\winnt" : "c:\\windows";
            if (_access(folder, 0) == 0) found = copyText(answer, kPathSize, folder);
        }
        if (!found) {
            const char *systemRoot = getenv("SYSTEMROOT");
            if (systemRoot) {
                // A value too long for the answer is not reported cut.
                if (!copyText(answer, kPathSize, systemRoot)) answer[0] = '\0';
                logMessage("Found windows directory in environment");
            } else {
                logMessage("Unable to find windows directory in environment");
                if (_getcwd(answer, MAX_PATH) == nullptr) answer[0] = '\0';
            }
        }
        if (answer[0] != '\0') {
            formatText(message, kMessageSize, "Windows directory: %s", answer);
            logMessage(message);
        }
        saveResults(answer, resultDir);
    }
    free(message);
    free(answer);
}

void getProgramManagerDirectory(const char *resultDir) {
    char *answer = static_cast<char *>(calloc(kPathSize, 1));
    char *message = static_cast<char *>(malloc(kMessageSize));
    if (answer && message) {
        logJoined(message, "Looking for Program Manager directory in", kCurrentVersionKey);
        HKEY key;
        bool found = false;
        if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kCurrentVersionKey, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) {
            logMessage("Unable to find program files directory in registry");
        } else {
            found = getProgManDirectory(key, answer, message);
            RegCloseKey(key);
        }
        if (found) {
            formatText(message, kMessageSize, "Program files dir:  %s", answer);
        } else {
            if (_access("C:\\Program Files", 0) == 0)
                copyText(answer, kPathSize, "C:\\Program Files");
            else if (_access("\\Program Files", 0) == 0)
                copyText(answer, kPathSize, "\\Program Files");
            else
                copyText(answer, kPathSize, "\\");
            formatText(message, kMessageSize, "Using default windows dir:  %s", answer);
        }
        logMessage(message);
        saveResults(answer, resultDir);
    }
    free(message);
    free(answer);
}

void getProgramsMenuDirectory(const char *scope, const char *resultDir) {
    menuFolderQuery(getProgramsMenuPath, scope, resultDir);
}
void getStartupMenuDirectory(const char *scope, const char *resultDir) {
    menuFolderQuery(getStartupMenuPath, scope, resultDir);
}
void getDesktopDirectory(const char *scope, const char *resultDir) { menuFolderQuery(getDesktopPath, scope, resultDir); }

void getAppDataDirectory(const char *scope, const char *resultDir) {
    shellFolderQuery(strcmp(scope, "allUsers") == 0 ? 35 /* CSIDL_COMMON_APPDATA */ : 28 /* CSIDL_LOCAL_APPDATA */,
                     false, resultDir);
}

void getDocumentsDirectory(const char *scope, const char *resultDir) {
    shellFolderQuery(strcmp(scope, "allUsers") == 0 ? 46 /* CSIDL_COMMON_DOCUMENTS */ : 5 /* CSIDL_PERSONAL */,
                     true, resultDir);
}

void getRoamingDirectory(const char *resultDir) { shellFolderQuery(26 /* CSIDL_APPDATA */, false, resultDir); }
