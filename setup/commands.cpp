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
#include "systemdir.h"

namespace {

const char *const kShellFolderKeys[3] = {
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders",
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders",
    "Software\\Microsoft\\WinNT\\CurrentVersion\\Explorer\\Shell Folders",
};

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
    std::string probeDir = probeFolderPath(dir);
    if (_access(probeDir.c_str(), 0) != 0) _mkdir(probeDir.c_str());
    bool passed = false;
    if (_access(probeDir.c_str(), 0) == 0) {
        std::string probeFile = probeFilePath(dir);
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
    if (length == 0 || length >= MAX_PATH) return text;
    return preferShortForm(text, shortForm) ? shortForm : text;
}

// The COM calls of the link blocks. ole32 (and all it brings in) is loaded
// only by a script that makes a link, so every other command starts without
// it; it is loaded by its full path in the system directory.
struct Com {
    HRESULT(WINAPI *initialize)(LPVOID);
    HRESULT(WINAPI *createInstance)(REFCLSID, LPUNKNOWN, DWORD, REFIID, LPVOID *);
    void(WINAPI *uninitialize)();
};

const Com *com() {
    static Com calls;
    static int state = 0;  // 0 not tried, 1 loaded, -1 not to be had
    if (state == 0) {
        state = -1;
        std::string path = systemFile("ole32.dll");
        HMODULE ole = path.empty() ? nullptr : LoadLibraryA(path.c_str());
        if (ole) {
            calls.initialize = reinterpret_cast<decltype(calls.initialize)>(
                reinterpret_cast<void *>(GetProcAddress(ole, "CoInitialize")));
            calls.createInstance = reinterpret_cast<decltype(calls.createInstance)>(
                reinterpret_cast<void *>(GetProcAddress(ole, "CoCreateInstance")));
            calls.uninitialize = reinterpret_cast<decltype(calls.uninitialize)>(
                reinterpret_cast<void *>(GetProcAddress(ole, "CoUninitialize")));
            if (calls.initialize && calls.createInstance && calls.uninitialize) state = 1;
        }
    }
    return state == 1 ? &calls : nullptr;
}

typedef void (*FolderLookup)(const char *scope, char *path);

FolderLookup lookupFor(MenuFolder folder) {
    switch (folder) {
        case MenuFolder::Programs: return getProgramsMenuPath;
        case MenuFolder::Startup: return getStartupMenuPath;
        case MenuFolder::Desktop: break;
    }
    return getDesktopPath;
}

// Reads a block's lines; false when the block cannot run (logged): the
// script ends before the block does, or a line is too long for its field.
bool readBlock(FILE *file, const char *keyword, int count, std::vector<std::string> *lines) {
    switch (readBlockLines(file, count, lines)) {
        case BlockRead::Whole: return true;
        case BlockRead::Incomplete: logFormatted("incomplete block skipped: %s", keyword); return false;
        case BlockRead::TooLong: logFormatted("block line too long: block skipped: %s", keyword); return false;
    }
    return false;
}

void removeLink(const std::string &base, const std::string &folder, const std::string &name) {
    if (name.empty()) return;
    std::string path = linkPathFor(base, folder, name);
    if (path.size() >= kPathSize) {
        logMessage("link path too long: nothing removed");
        return;
    }
    if (_access(path.c_str(), 0) == 0) {
        deleteFile(path.c_str());
        logFormatted("removed link: %s", path.c_str());
    }
}

// Creates each level of the folder line below the menu folder.
void makeFolders(const std::string &menuFolder, const std::string &folderLine) {
    for (const std::string &level : folderLevels(folderLine.c_str())) {
        std::string working = menuFolder + level;
        logMessage("-----adding subdirectory------");
        logMessage(working.c_str());
        _mkdir(working.c_str());
        logMessage("-----subdirectory added------");
    }
    logFormatted("folder name: %s", folderLine.c_str());
}

// A property the link object refuses is passed over; the next is set.
void setLinkProperties(IShellLinkA *link, const AddBlock &block) {
    std::string chosen = shortPathRule(block.target.c_str());
    link->SetPath(chosen.c_str());
    logFormatted("path: %s", chosen.c_str());
    if (!isnull(block.arguments.c_str())) {
        link->SetArguments(block.arguments.c_str());
        logMessage("added args");
    }
    if (!isnull(block.workDir.c_str())) {
        chosen = shortPathRule(block.workDir.c_str());
        link->SetWorkingDirectory(chosen.c_str());
        if (chosen != block.workDir)
            logFormatted("short name: %s", chosen.c_str());
        else
            logFormatted("working dir: %s", block.workDir.c_str());
    }
    if (!isnull(block.show.c_str())) {
        int command = showCommand(block.show.c_str());
        if (command != 0) {
            link->SetShowCmd(command);
            logMessage(command == SW_SHOWMINIMIZED ? "start app minimized" : "start app maximized");
        }
    }
    if (!isnull(block.icon.c_str())) {
        std::string iconPath;
        int index = 0;
        splitIcon(shortPathRule(block.icon.c_str()), &iconPath, &index);
        link->SetIconLocation(iconPath.c_str(), index);
        logFormatted("icon: %s", iconPath.c_str());
    }
}

void saveLink(IShellLinkA *link, const std::string &linkPath) {
    IPersistFile *persist = nullptr;
    if (FAILED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void **>(&persist)))) {
        logMessage("unable to save link");
        return;
    }
    WCHAR wide[kPathSize];
    bool saved = MultiByteToWideChar(CP_ACP, 0, linkPath.c_str(), -1, wide, kPathSize) > 0 &&
                 SUCCEEDED(persist->Save(wide, TRUE));
    persist->Release();
    logMessage(saved ? "new link saved" : "unable to save link");
}

void makeLink(const char *keyword, MenuFolder folder, const AddBlock &block) {
    printf("command: %s, user: %s\n", keyword, block.scope.c_str());
    char menuFolder[kPathSize] = "";
    lookupFor(folder)(block.scope.c_str(), menuFolder);
    // A link path beyond the path length is refused before anything is made.
    std::string linkPath = linkPathFor(menuFolder, block.folder, block.name);
    if (linkPath.size() >= kPathSize) {
        logMessage("link path too long: link not made");
        return;
    }
    // Only S_OK lets the block go on; S_FALSE (already initialised) is a
    // successful initialisation all the same and is balanced. Without COM
    // at all the block ends as when it cannot be initialised.
    const Com *calls = com();
    if (!calls) return;
    HRESULT initialised = calls->initialize(nullptr);
    if (initialised != S_OK) {
        if (SUCCEEDED(initialised)) calls->uninitialize();
        return;
    }
    if (!isnull(block.folder.c_str())) makeFolders(menuFolder, block.folder);
    if (!block.name.empty() && _access(linkPath.c_str(), 0) == 0) {
        deleteFile(linkPath.c_str());
        logFormatted("removed link: %s", linkPath.c_str());
    }
    logFormatted("link filename: %s", linkPath.c_str());
    IShellLinkA *link = nullptr;
    if (SUCCEEDED(calls->createInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                        reinterpret_cast<void **>(&link)))) {
        setLinkProperties(link, block);
        saveLink(link, linkPath);
        link->Release();
    }
    calls->uninitialize();
}

}  // namespace

char *concatFilename(char *path, const char *name) {
    std::string joined = path;
    joinName(&joined, name);
    copyText(path, kPathSize, joined.c_str());
    return path;
}

void setAttrib(const char *quotedPath) {
    // Never on a path that cannot exist or that holds a further quote: the
    // tool would get extra switches, and Wine's crashes or spins for ever on
    // arguments over about 263 characters.
    if (!attribArgumentSafe(quotedPath)) return;
    // By its full path in the system directory: a bare name would run
    // whatever "attrib.exe" lies in the current directory.
    std::string program = systemFile("attrib.exe");
    if (program.empty()) return;
    const char *const argv[] = {"attrib.exe", "-r", quotedPath, nullptr};
    _spawnv(_P_WAIT, program.c_str(), argv);
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
    const BlockKind *kind = findBlock(keyword);
    std::vector<std::string> lines;
    if (kind && readBlock(file, keyword, kind->lines, &lines)) makeLink(keyword, kind->folder, addBlockFrom(lines));
}

void deleteShellFolder(FILE *file, const char *keyword) {
    const BlockKind *kind = findBlock(keyword);
    std::vector<std::string> lines;
    if (!kind || !readBlock(file, keyword, kind->lines, &lines)) return;
    DeleteBlock block = deleteBlockFrom(lines);
    char base[kPathSize] = "";
    lookupFor(kind->folder)(block.scope.c_str(), base);
    removeLink(base, block.folder, block.name);
}
