// setup: finding the Programs menu, Startup menu and Desktop folders through
// the Explorer shell-folder values, and the add and delete blocks of the
// shortcut script.
#include <direct.h>
#include <io.h>
#include <objbase.h>
#include <process.h>
#include <shlobj.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <string>

#include "setup.h"
#include "shortcuttext.h"
#include "strutil.h"

namespace {

const char *const kShellFolderKeys[3] = {
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders",
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders",
    "Software\\Microsoft\\WinNT\\CurrentVersion\\Explorer\\Shell Folders",
};

void logFormatted(const char *format, const char *text, int number = 0) {
    std::string message(strlen(format) + strlen(text) + 32, '\0');
    formatText(&message[0], message.size(), format, text, number);
    logMessage(message.c_str());
}

// Reads one value of an Explorer key as text (520 bytes of data at most, the
// type not looked at). False when the key or the value cannot be read.
bool readShellValue(HKEY root, const char *keyPath, const char *valueName, std::string *candidate) {
    HKEY key;
    if (RegOpenKeyExA(root, keyPath, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) return false;
    char value[521] = "";
    DWORD size = 520;
    LONG status = RegQueryValueExA(key, valueName, nullptr, nullptr, reinterpret_cast<BYTE *>(value), &size);
    RegCloseKey(key);
    if (status != ERROR_SUCCESS) return false;
    value[size < 520 ? size : 520] = '\0';
    *candidate = value;
    return true;
}

bool testFolder(const std::string &dir) {
    std::string probeDir = dir + "\\__testVemFolder";
    if (_access(probeDir.c_str(), 0) != 0) _mkdir(probeDir.c_str());
    bool passed = false;
    if (_access(probeDir.c_str(), 0) == 0) {
        std::string probeFile = probeDir + "\\__testVemFile";
        FILE *file = fopen(probeFile.c_str(), "wt");
        if (file) {
            fclose(file);
            deleteFile(probeFile.c_str());
            passed = true;
        }
    }
    std::string quoted = "\"" + probeDir + "\"";
    setAttrib(quoted.c_str());
    int removed = _rmdir(probeDir.c_str());
    logFormatted("deleted %s: %d", quoted.c_str(), removed);
    return passed;
}

bool probe(const std::string &candidate) {
    bool passed = testFolder(candidate);
    printf("testFolder: %s, found %c\n", candidate.c_str(), passed ? 1 : 0);
    return passed;
}

// The candidate and a backslash go back to the caller's kPathSize buffer; a
// candidate too long for it (which never passes the probe) comes back as the
// lone backslash of a complete failure.
void handBack(const std::string &candidate, char *path) {
    if (!formatText(path, kPathSize, "%s\\", candidate.c_str())) copyText(path, kPathSize, "\\");
}

bool getShellFolder(HKEY root, const char *valueName, char *path) {
    std::string candidate;
    bool found = false;
    if (readShellValue(root, kShellFolderKeys[0], valueName, &candidate)) {
        logMessage(candidate.c_str());
        candidate = expandReferences(
            candidate,
            [](const std::string &name, std::string *value) {
                const char *text = getenv(name.c_str());
                if (text) *value = text;
                return text != nullptr;
            },
            [](const std::string &line) { logMessage(line.c_str()); });
        found = probe(candidate);
    }
    for (int key = 1; key < 3 && !found; ++key) {
        candidate.clear();
        if (readShellValue(root, kShellFolderKeys[key], valueName, &candidate)) found = probe(candidate);
        else candidate.clear();
    }
    handBack(candidate, path);
    return found;
}

bool getPath(const char *scope, const char *valueName, char *path) {
    if (compareNoCase(scope, "allUsers") == 0 && getShellFolder(HKEY_LOCAL_MACHINE, valueName, path)) return true;
    return getShellFolder(HKEY_CURRENT_USER, valueName, path);
}

struct FolderKind {
    const char *commonValue, *value;
    const char *commonFound, *commonMissing, *found, *notFound;
};

const FolderKind programsMenu = {"Common Programs",
                                 "Programs",
                                 "common programs menu path: %s",
                                 "common programs menu path found, but dir doesn't exist",
                                 "programs menu path: %s",
                                 "unable to find programs menu path"};
const FolderKind startupMenu = {"Common Startup",
                                "Startup",
                                "common startup menu path: %s",
                                "common startup menu path found, but dir doesn't exist",
                                "startup menu path: %s",
                                "unable to find startup menu path"};
const FolderKind desktop = {"Common Desktop",
                            "Desktop",
                            "common desktop path: %s",
                            "common desktop path found, but dir doesn't exist",
                            "desktop path: %s",
                            "unable to find desktop path"};

void getMenuPath(const FolderKind &kind, const char *scope, char *path) {
    if (compareNoCase(scope, "allUsers") == 0 && getPath(scope, kind.commonValue, path)) {
        if (_access(path, 0) == 0) {
            logFormatted(kind.commonFound, path);
            return;
        }
        logMessage(kind.commonMissing);
    }
    if (getPath(scope, kind.value, path))
        logFormatted(kind.found, path);
    else
        logMessage(kind.notFound);
}

// The short (8.3) form of text when there is one and it is shorter.
std::string shortPathRule(const char *text) {
    char shortForm[MAX_PATH];
    DWORD length = GetShortPathNameA(text, shortForm, MAX_PATH);
    if (length > 0 && length < MAX_PATH && shortForm[0] != '\0' && strlen(shortForm) < strlen(text))
        return shortForm;
    return text;
}

typedef void (*FolderLookup)(const char *scope, char *path);

// The folder a block keyword names, whatever its letter case.
FolderLookup lookupFor(const char *keyword) {
    std::string lower = keyword;
    for (char &c : lower)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + ('a' - 'A'));
    if (lower.find("programsmenu") != std::string::npos) return getProgramsMenuPath;
    if (lower.find("startupmenu") != std::string::npos) return getStartupMenuPath;
    return getDesktopPath;
}

// Reads a block's lines; false (and every line freed) when the block cannot
// run: the script ends before the block does, or a line is too long for its
// field. Either way the block's lines are consumed whole, so the next block
// is read from its own keyword.
bool readBlock(FILE *file, char **lines, int count, const char *keyword) {
    bool whole = true, fits = true;
    for (int i = 0; i < count; ++i) {
        bool tooLong = false;
        lines[i] = getline(file, &tooLong);
        whole = whole && lines[i] != nullptr;
        fits = fits && !tooLong;
    }
    if (whole && fits) return true;
    for (int i = 0; i < count; ++i) free(lines[i]);
    logFormatted(whole ? "block line too long: block skipped: %s" : "incomplete block skipped: %s", keyword);
    return false;
}

// Length of base, folder line (when present), name and ".lnk" joined.
size_t linkPathLength(const char *base, const char *folder, const char *name) {
    std::string path = base;
    if (!isnull(folder)) path += std::string(path.empty() || path.back() == '\\' ? "" : "\\") + folder;
    path += std::string(path.empty() || path.back() == '\\' ? "" : "\\") + name + ".lnk";
    return path.size();
}

void removeLink(const char *base, const char *folder, const char *name) {
    char path[kPathSize];
    if (name == nullptr || name[0] == '\0') return;
    if (linkPathLength(base, folder, name) >= kPathSize) {
        logMessage("link path too long: nothing removed");
        return;
    }
    copyText(path, sizeof path, base);
    if (!isnull(folder)) concatFilename(path, folder);
    concatFilename(path, name);
    appendText(path, sizeof path, ".lnk");
    if (_access(path, 0) == 0) {
        deleteFile(path);
        logFormatted("removed link: %s", path);
    }
}

void makeLink(const char *keyword, char **line) {
    const char *folder = line[0], *name = line[1], *target = line[2], *args = line[3], *workDir = line[4],
               *show = line[5], *icon = line[6], *scope = line[7];
    printf("command: %s, user: %s\n", keyword, scope);

    char linkPath[kPathSize] = "";
    lookupFor(keyword)(scope, linkPath);
    // A link path beyond the path length is refused before anything is made.
    if (linkPathLength(linkPath, folder, name) >= kPathSize) {
        logMessage("link path too long: link not made");
        return;
    }
    // Only S_OK lets the block go on; S_FALSE (already initialised) is a
    // successful initialisation all the same and is balanced.
    HRESULT initialised = CoInitialize(nullptr);
    if (initialised != S_OK) {
        if (SUCCEEDED(initialised)) CoUninitialize();
        return;
    }

    if (!isnull(folder)) {
        for (const std::string &level : folderLevels(folder)) {
            std::string working = std::string(linkPath) + level;
            logMessage("-----adding subdirectory------");
            logMessage(working.c_str());
            _mkdir(working.c_str());
            logMessage("-----subdirectory added------");
        }
        concatFilename(linkPath, folder);
        logFormatted("folder name: %s", folder);
    }
    concatFilename(linkPath, name);
    appendText(linkPath, sizeof linkPath, ".lnk");
    if (name[0] != '\0' && _access(linkPath, 0) == 0) {
        deleteFile(linkPath);
        logFormatted("removed link: %s", linkPath);
    }
    logFormatted("link filename: %s", linkPath);

    IShellLinkA *link = nullptr;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                reinterpret_cast<void **>(&link)))) {
        CoUninitialize();
        return;
    }
    // A property the link object refuses is passed over; the next is set.
    std::string chosen = shortPathRule(target);
    link->SetPath(chosen.c_str());
    logFormatted("path: %s", chosen.c_str());
    if (!isnull(args)) {
        link->SetArguments(args);
        logMessage("added args");
    }
    if (!isnull(workDir)) {
        chosen = shortPathRule(workDir);
        link->SetWorkingDirectory(chosen.c_str());
        if (chosen != workDir)
            logFormatted("short name: %s", chosen.c_str());
        else
            logFormatted("working dir: %s", workDir);
    }
    if (!isnull(show)) {
        int command = showCommand(show);
        if (command != 0) {
            link->SetShowCmd(command);
            logMessage(command == SW_SHOWMINIMIZED ? "start app minimized" : "start app maximized");
        }
    }
    if (!isnull(icon)) {
        std::string iconPath;
        int index = 0;
        splitIcon(shortPathRule(icon), &iconPath, &index);
        link->SetIconLocation(iconPath.c_str(), index);
        logFormatted("icon: %s", iconPath.c_str());
    }
    IPersistFile *persist = nullptr;
    if (FAILED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void **>(&persist)))) {
        logMessage("unable to save link");
    } else {
        WCHAR wide[kPathSize];
        bool saved = MultiByteToWideChar(CP_ACP, 0, linkPath, -1, wide, kPathSize) > 0 &&
                     SUCCEEDED(persist->Save(wide, TRUE));
        persist->Release();
        logMessage(saved ? "new link saved" : "unable to save link");
    }
    link->Release();
    CoUninitialize();
}

}  // namespace

char *concatFilename(char *path, const char *name) {
    size_t length = strlen(path);
    if (length > 0 && path[length - 1] != '\\') appendText(path, kPathSize, "\\");
    appendText(path, kPathSize, name);
    return path;
}

void setAttrib(const char *quotedPath) {
    // Never on a path that cannot exist or that holds a further quote: the
    // tool would get extra switches, and Wine's crashes or spins for ever on
    // arguments over about 263 characters.
    if (!attribArgumentSafe(quotedPath)) return;
    // By its full path in the system directory: a bare name would run
    // whatever "attrib.exe" lies in the current directory.
    char program[kPathSize];
    UINT length = GetSystemDirectoryA(program, MAX_PATH);
    if (length == 0 || length >= MAX_PATH || !appendText(program, sizeof program, "\\attrib.exe")) return;
    const char *const argv[] = {"attrib.exe", "-r", quotedPath, nullptr};
    _spawnv(_P_WAIT, program, argv);
}

void deleteFile(const char *path) {
    std::string quoted = std::string("\"") + path + "\"";
    setAttrib(quoted.c_str());
    int removed = remove(path);
    logFormatted("deleted %s: %d", quoted.c_str(), removed);
}

void getProgramsMenuPath(const char *scope, char *path) { getMenuPath(programsMenu, scope, path); }
void getStartupMenuPath(const char *scope, char *path) { getMenuPath(startupMenu, scope, path); }
void getDesktopPath(const char *scope, char *path) { getMenuPath(desktop, scope, path); }

void getAppDataPath(const char *scope, char *path) {
    getPath(scope, "AppData", path);
    if (path[0] != '\0')
        logFormatted("app data path: %s", path);
    else
        logMessage("unable to find app data path");
}

void addShellFolder(FILE *file, const char *keyword) {
    char *lines[8];
    if (!readBlock(file, lines, 8, keyword)) return;
    makeLink(keyword, lines);
    for (char *line : lines) free(line);
}

void deleteShellFolder(FILE *file, const char *keyword) {
    char *lines[3];
    if (!readBlock(file, lines, 3, keyword)) return;
    char base[kPathSize] = "";
    lookupFor(keyword)(lines[2], base);
    removeLink(base, lines[0], lines[1]);
    for (char *line : lines) free(line);
}
