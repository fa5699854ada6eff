// Shell folder lookup and shortcut scripts, against Wine's registry and its
// shell link object. Each test points the Explorer shell-folder values at
// folders of its own and puts the old values back afterwards.
#include <objbase.h>
#include <shlobj.h>

#include <memory>

#include "harness.h"

namespace {

const char *const kKeys[3] = {
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders",
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders",
    "Software\\Microsoft\\WinNT\\CurrentVersion\\Explorer\\Shell Folders",
};
const char *const kNames[] = {"Common Programs", "Programs", "Common Startup", "Startup",
                              "Common Desktop",  "Desktop"};
const HKEY kRoots[2] = {HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER};
const char kUnwritable[] = "Z:\\proc\\tarvex";

struct Link {
    std::string path, arguments, workDir, iconPath;
    int iconIndex = -1;
    int showCommand = -1;
};

// Reads a link back through the shell link object; the show command and
// icon index come from the file header (Wine's GetShowCmd answers 1 always).
Link readLink(const std::string &file) {
    Link link;
    std::string bytes = readFile(file);
    if (bytes.size() < 0x4C) return link;
    link.iconIndex = *reinterpret_cast<const int *>(&bytes[0x38]);
    link.showCommand = *reinterpret_cast<const int *>(&bytes[0x3C]);
    CoInitialize(nullptr);
    IShellLinkA *shell = nullptr;
    if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                   reinterpret_cast<void **>(&shell)))) {
        IPersistFile *persist = nullptr;
        shell->QueryInterface(IID_IPersistFile, reinterpret_cast<void **>(&persist));
        WCHAR wide[MAX_PATH * 2];
        MultiByteToWideChar(CP_ACP, 0, file.c_str(), -1, wide, MAX_PATH * 2);
        if (persist && SUCCEEDED(persist->Load(wide, STGM_READ))) {
            char text[1024];
            int index;
            if (shell->GetPath(text, sizeof text, nullptr, SLGP_RAWPATH) == S_OK) link.path = text;
            if (SUCCEEDED(shell->GetArguments(text, sizeof text))) link.arguments = text;
            if (SUCCEEDED(shell->GetWorkingDirectory(text, sizeof text))) link.workDir = text;
            if (SUCCEEDED(shell->GetIconLocation(text, sizeof text, &index))) link.iconPath = text;
        }
        if (persist) persist->Release();
        shell->Release();
    }
    CoUninitialize();
    return link;
}

std::string shortForm(const std::string &path) {
    char text[MAX_PATH];
    DWORD n = GetShortPathNameA(path.c_str(), text, MAX_PATH);
    return n > 0 && n < MAX_PATH ? text : "<none>";
}

class ShellFolders : public ToolTest {
protected:
    std::vector<std::unique_ptr<SavedValue>> saved;
    bool winNtExisted[2] = {};

    void SetUp() override {
        ToolTest::SetUp();
        for (int r = 0; r < 2; ++r) {
            winNtExisted[r] = keyExists(kRoots[r], "Software\\Microsoft\\WinNT");
            for (const char *key : kKeys)
                for (const char *name : kNames) {
                    saved.emplace_back(new SavedValue(kRoots[r], key, name));
                    deleteValue(kRoots[r], key, name);
                }
        }
    }
    void TearDown() override {
        saved.clear();
        for (int r = 0; r < 2; ++r)
            if (!winNtExisted[r]) RegDeleteTreeA(kRoots[r], "Software\\Microsoft\\WinNT");
        ToolTest::TearDown();
    }
    // Points one candidate (root 0 HKLM, 1 HKCU; key 0 to 2) at a folder.
    void point(int root, int key, const char *name, const std::string &folder) {
        setString(kRoots[root], kKeys[key], name, folder, key == 0 ? REG_EXPAND_SZ : REG_SZ);
    }
    std::string folder(const std::string &name) {
        std::string path = at(name);
        CreateDirectoryA(path.c_str(), nullptr);
        return path;
    }
    // Log lines after the five start-up lines.
    std::vector<std::string> handlerLog() {
        std::vector<std::string> lines = log();
        return lines.size() > 5 ? std::vector<std::string>(lines.begin() + 5, lines.end())
                                : std::vector<std::string>{};
    }
    // The probe's lines for a writable folder.
    static std::vector<std::string> probePassed(const std::string &dir) {
        return {"deleted \"" + dir + "\\__testVemFolder\\__testVemFile\": 0",
                "deleted \"" + dir + "\\__testVemFolder\": 0"};
    }
    static std::string probeFailed(const std::string &dir) {
        return "deleted \"" + dir + "\\__testVemFolder\": -1";
    }
    std::string query(const char *command, const char *scope) {
        DeleteFileA(at("windir.txt").c_str());
        enableLog();
        runSetup({command, scope, dir});
        return readFile(at("windir.txt"));
    }
    void runScript(const std::string &script, const char *command = "programsMenu") {
        writeFile(at("links.txt"), script);
        enableLog();
        EXPECT_EQ(runSetup({command, at("links.txt")}), 1u);
    }
};

using Lines = std::vector<std::string>;
Lines operator+(Lines a, const Lines &b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

TEST_F(ShellFolders, CurrentUserValueIsExpandedProbedAndHandedBack) {
    std::string menu = folder("menu");
    point(1, 0, "Programs", "%TVX_BASE%\\menu");
    std::vector<std::string> variables = environmentWithout({"TVX_BASE"});
    variables.push_back("TVX_BASE=" + dir);
    std::string block = environmentBlock(variables);
    enableLog();
    runIn(dir, setupExe(), {"menusdir", dir}, block.c_str());
    EXPECT_EQ(readFile(at("windir.txt")), menu + "\\\r\n");
    EXPECT_EQ(handlerLog(), Lines({"%TVX_BASE%\\menu", "TVX_BASE", dir, menu}) + probePassed(menu) +
                                Lines({"programs menu path: " + menu + "\\"}));
    EXPECT_FALSE(exists(menu + "\\__testVemFolder"));
}

TEST_F(ShellFolders, ReferencesThatCannotBeExpandedAreProbedAsWritten) {
    point(1, 0, "Desktop", "%TVX_UNSET%\\x");
    point(1, 1, "Desktop", "50%\\y");
    EXPECT_EQ(query("desktopdir", "currentUser"), "\\\r\n");  // key 3 absent: a lone backslash
    EXPECT_EQ(handlerLog(), (Lines{"%TVX_UNSET%\\x", "TVX_UNSET", probeFailed("%TVX_UNSET%\\x"),
                                   probeFailed("50%\\y"), "unable to find desktop path"}));
}

TEST_F(ShellFolders, ExpansionBeyondTheValueAndPathBuffers) {
    // 500 bytes of value expand to far more than 520 bytes of candidate.
    std::string value;
    while (value.size() < 500) value += "%TVX_LONG%";
    point(1, 0, "Startup", value);
    std::vector<std::string> variables = environmentWithout({"TVX_LONG"});
    variables.push_back("TVX_LONG=" + std::string(300, 'v'));
    std::string block = environmentBlock(variables);
    DeleteFileA(at("windir.txt").c_str());
    enableLog();
    EXPECT_EQ(runIn(dir, setupExe(), {"startmenusdir", dir}, block.c_str()), 1u);
    // Never writable: handed back as a lone backslash.
    EXPECT_EQ(readFile(at("windir.txt")), "\\\r\n");
    EXPECT_EQ(handlerLog().back(), "unable to find startup menu path");
}

TEST_F(ShellFolders, AllUsersFallsBackToTheCurrentUsersWritableFolder) {
    std::string mine = folder("mine");
    for (int key = 0; key < 3; ++key) point(0, key, "Common Programs", kUnwritable);
    point(1, 0, "Programs", mine);
    EXPECT_EQ(query("menusdir", "ALLUSERS"), mine + "\\\r\n");
    Lines lines = handlerLog();
    EXPECT_EQ(lines.back(), "programs menu path: " + mine + "\\");
    // HKLM's three, none under HKCU for "Common Programs", HKLM again for
    // "Programs" (nothing there), then HKCU's first.
    EXPECT_EQ(lines, Lines({kUnwritable, probeFailed(kUnwritable), probeFailed(kUnwritable),
                            probeFailed(kUnwritable), mine}) +
                         probePassed(mine) + Lines({"programs menu path: " + mine + "\\"}));
}

TEST_F(ShellFolders, AllUsersFolderFromTheSecondKey) {
    std::string common = folder("common");
    point(0, 1, "Common Startup", common + "\\");
    EXPECT_EQ(query("startmenusdir", "allUsers"), common + "\\\\\r\n");
    EXPECT_EQ(handlerLog(), probePassed(common + "\\") + Lines({"common startup menu path: " + common + "\\\\"}));
    // "allusers" in small letters selects all users here as well.
    EXPECT_EQ(query("startmenusdir", "allusers"), common + "\\\\\r\n");
    // Any other word: the current user only.
    EXPECT_EQ(query("startmenusdir", "currentUser"), "\\\r\n");
}

TEST_F(ShellFolders, FailedLookupHandsBackTheThirdKeysCandidate) {
    point(1, 2, "Programs", kUnwritable);
    EXPECT_EQ(query("menusdir", "currentUser"), std::string(kUnwritable) + "\\\r\n");
    EXPECT_EQ(handlerLog(), (Lines{probeFailed(kUnwritable), "unable to find programs menu path"}));
}

TEST_F(ShellFolders, LeftoverProbeFolders) {
    std::string empty = folder("empty"), full = folder("full");
    CreateDirectoryA((empty + "\\__testVemFolder").c_str(), nullptr);
    CreateDirectoryA((full + "\\__testVemFolder").c_str(), nullptr);
    writeFile(full + "\\__testVemFolder\\keep.txt", "x");
    point(1, 1, "Desktop", empty);
    EXPECT_EQ(query("desktopdir", "x"), empty + "\\\r\n");
    EXPECT_FALSE(exists(empty + "\\__testVemFolder"));

    point(1, 1, "Desktop", full);
    EXPECT_EQ(query("desktopdir", "x"), full + "\\\r\n");
    EXPECT_EQ(handlerLog(), (Lines{"deleted \"" + full + "\\__testVemFolder\\__testVemFile\": 0",
                                   probeFailed(full), "desktop path: " + full + "\\"}));
    EXPECT_TRUE(exists(full + "\\__testVemFolder\\keep.txt"));
}

class Shortcuts : public ShellFolders {
protected:
    std::string menu, desk;
    void SetUp() override {
        ShellFolders::SetUp();
        menu = folder("menu");
        desk = folder("desk");
        point(1, 1, "Programs", menu);
        point(1, 1, "Desktop", desk);
    }
    std::string target(const std::string &name) {
        std::string path = folder("Program Files Long");
        writeFile(path + "\\" + name, "MZ");
        return path + "\\" + name;
    }
};

TEST_F(Shortcuts, AddBlockMakesFoldersAndALinkWithEveryProperty) {
    std::string app = target("Application Program.exe");
    std::string icon = target("Application Icon.ico");
    std::string work = folder("Working Directory");
    runScript("addProgramsMenu\nTools\\Sub\nMy App\n" + app + "\n-x \"a b\"\n" + work + "\nmaximized\n" + icon +
              ",3\ncurrentUser\n");
    std::string file = menu + "\\Tools\\Sub\\My App.lnk";
    Link link = readLink(file);
    EXPECT_EQ(link.path, shortForm(app));
    EXPECT_EQ(link.arguments, "-x \"a b\"");
    EXPECT_EQ(link.workDir, shortForm(work));
    EXPECT_EQ(link.showCommand, 3);
    EXPECT_EQ(link.iconPath, icon);  // "path,3" names no file: used as written
    EXPECT_EQ(link.iconIndex, 3);
    Lines expected = probePassed(menu) +
                     Lines{"programs menu path: " + menu + "\\",
                           "-----adding subdirectory------",
                           menu + "\\Tools",
                           "-----subdirectory added------",
                           "-----adding subdirectory------",
                           menu + "\\Tools\\Sub",
                           "-----subdirectory added------",
                           "folder name: Tools\\Sub",
                           "link filename: " + file,
                           "path: " + shortForm(app),
                           "added args",
                           "short name: " + shortForm(work),
                           "start app maximized",
                           "icon: " + icon,
                           "new link saved"};
    EXPECT_EQ(handlerLog(), expected);
}

TEST_F(Shortcuts, ShowAndIconRules) {
    std::string app = target("app.exe");
    std::string icon = target("A Long Icon Name.ico");
    struct Case {
        const char *name, *show;
        std::string icon;
        int showCommand, iconIndex;
        std::string iconPath;
    } cases[] = {
        {"min", "minimized", "NULL", 2, 0, ""},
        {"max", "maximized", icon, 3, 0, shortForm(icon)},
        {"both", "min and max", icon + ",x", 2, 0, icon},
        {"normal", "normal", "", 1, 0, ""},
    };
    std::string script;
    for (const Case &c : cases)
        script += std::string("addDesktop\nNULL\n") + c.name + "\n" + app + "\nNULL\nNULL\n" + c.show + "\n" + c.icon +
                  "\nme\n";
    runScript(script);
    for (const Case &c : cases) {
        Link link = readLink(desk + "\\" + c.name + ".lnk");
        EXPECT_EQ(link.showCommand, c.showCommand) << c.name;
        EXPECT_EQ(link.iconIndex, c.iconIndex) << c.name;
        EXPECT_EQ(link.iconPath, c.iconPath) << c.name;
        EXPECT_EQ(link.path, shortForm(app)) << c.name;
    }
}

TEST_F(Shortcuts, TraceLinesOnStandardOutput) {
    std::string app = target("app.exe");
    writeFile(at("links.txt"), "addDesktop\nNULL\nApp\n" + app + "\n\n\n\n\nsomeone\n");
    std::string out = runSetupCapturing({"desktop", at("links.txt")});
    EXPECT_EQ(out, "command: addDesktop, user: someone\r\ntestFolder: " + desk + ", found \x01\r\n");
    point(1, 1, "Desktop", kUnwritable);
    out = runSetupCapturing({"desktopdir", dir});
    EXPECT_NE(out.find(std::string("testFolder: ") + kUnwritable + ", found " + '\0' + "\r\n"), std::string::npos);
}

TEST_F(Shortcuts, KeywordsFolderLinesAndNullValues) {
    std::string app = target("app.exe");
    std::string tail = "\n" + app + "\n\n\n\n\nx\n";
    runScript("ADDDESKTOP\nNULLX\nstraight" + tail +          // keyword in capitals, folder absent
              "AddDesktop\nnull\nlower" + tail +              // "null" is a folder name
              "addDesktop\nTrail\\\nslash" + tail +           // trailing backslash: one level
              " addDesktop\nNULL\nblank" + tail +             // leading blank: not a keyword
              "remark\n");
    EXPECT_TRUE(exists(desk + "\\straight.lnk"));
    EXPECT_TRUE(exists(desk + "\\null\\lower.lnk"));
    EXPECT_TRUE(exists(desk + "\\Trail\\slash.lnk"));
    EXPECT_FALSE(exists(desk + "\\blank.lnk"));
    EXPECT_FALSE(exists(menu + "\\straight.lnk"));  // the keyword, not the command word, picks the folder
}

TEST_F(Shortcuts, AddingAgainReplacesTheLinkAndDeleteKeepsFolders) {
    std::string app = target("app.exe");
    std::string add = "addProgramsMenu\nGroup\nApp\n" + app + "\n\n\n\n\nx\n";
    runScript(add);
    std::string file = menu + "\\Group\\App.lnk";
    ASSERT_TRUE(exists(file));
    runScript(add);
    Lines lines = handlerLog();
    auto at = std::find(lines.begin(), lines.end(), "link filename: " + file);
    ASSERT_NE(at, lines.end());
    EXPECT_EQ(*(at - 2), "deleted \"" + file + "\": 0");
    EXPECT_EQ(*(at - 1), "removed link: " + file);
    EXPECT_EQ(lines.back(), "new link saved");

    runScript("deleteProgramsMenu\nGroup\n\nx\n");  // empty name: nothing deleted
    EXPECT_TRUE(exists(file));
    EXPECT_EQ(handlerLog().back(), "programs menu path: " + menu + "\\");
    runScript("deleteProgramsMenu\nGroup\nApp\nx\n");
    EXPECT_FALSE(exists(file));
    EXPECT_TRUE(exists(menu + "\\Group"));
    EXPECT_EQ(handlerLog().back(), "removed link: " + file);
}

TEST_F(Shortcuts, AllUsersDeleteWithoutRightsLooksInTheUsersFolder) {
    std::string app = target("app.exe");
    point(0, 1, "Common Programs", kUnwritable);
    runScript("addProgramsMenu\nNULL\nShared\n" + app + "\n\n\n\n\nallUsers\n");
    EXPECT_TRUE(exists(menu + "\\Shared.lnk"));
    runScript("deleteProgramsMenu\nNULL\nShared\nallUsers\n");
    EXPECT_FALSE(exists(menu + "\\Shared.lnk"));
}

TEST_F(Shortcuts, BadInputMakesNothing) {
    std::string app = target("app.exe");
    // Block cut short by the end of the script.
    runScript("addProgramsMenu\nCut\nApp\n" + app + "\n");
    EXPECT_FALSE(exists(menu + "\\Cut"));
    EXPECT_EQ(handlerLog(), Lines{"incomplete block skipped: addProgramsMenu"});

    // A name that pushes the link path past the path length.
    runScript("addProgramsMenu\nLong\n" + std::string(250, 'n') + "\n" + app + "\n\n\n\n\nx\n");
    EXPECT_FALSE(exists(menu + "\\Long"));
    EXPECT_EQ(handlerLog().back(), "link path too long: link not made");

}

// A line longer than a block line holds is read whole: its block is refused
// with a log line, and the blocks after it are read from their own keyword.
TEST_F(Shortcuts, OverlongLineRefusesItsBlockOnly) {
    std::string app = target("app.exe");
    std::string after = "addProgramsMenu\nAfter\nApp\n" + app + "\n-after\n\n\n\nx\n";
    // The old link a delete block would remove, had it been read in pieces.
    runScript("addDesktop\nNULL\nOld\n" + app + "\n\n\n\n\nx\n");
    ASSERT_TRUE(exists(desk + "\\Old.lnk"));
    runScript("addProgramsMenu\nBefore\nApp\n" + app + "\n" + std::string(6000, 'a') +
              "\n\n\n\nx\n" + "deleteDesktop\nNULL\n" + std::string(9000, 'g') + "\nx\n" +
              "deleteDesktop\nNULL\nOld\n" + std::string(5000, 's') + "\n" + after);
    EXPECT_FALSE(exists(menu + "\\Before"));
    EXPECT_TRUE(exists(desk + "\\Old.lnk"));
    Lines lines = handlerLog();
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "block line too long: block skipped: addProgramsMenu"), 1);
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "block line too long: block skipped: deleteDesktop"), 2);
    Link link = readLink(menu + "\\After\\App.lnk");
    EXPECT_EQ(link.arguments, "-after");
    // 4999 bytes still fit a line.
    runScript("addProgramsMenu\nFits\nApp\n" + app + "\n" + std::string(4999, 'b') + "\n\n\n\nx\n");
    EXPECT_TRUE(exists(menu + "\\Fits\\App.lnk"));
    EXPECT_EQ(handlerLog().back(), "new link saved");
}

// What the checker predicts for each add block (a table covering the block
// pitfalls: a scope word that means the current user, a show word that sets
// nothing, NULL-prefixed and lowercase null lines) is the link setup makes.
TEST_F(Shortcuts, CheckerPredictsTheLinksSetupMakes) {
    std::string app = target("app.exe");
    std::string icon = target("app.ico");
    std::string work = folder("work");
    std::string script = "addProgramsMenu\nNULL\nPlain\n" + app + "\n-x \"a b\"\nNULL\nmaximized\n" + icon +
                         ",3\neveryone\n"
                         "addDesktop\nNULLX\nNulls\n" + app + "\nnull\n" + work + "\nnormal\nNULL\nCurrentUser\n"
                         "addProgramsMenu\nTools\\Sub\nDeep\n" + app + "\n\n\nminimized window\n" + icon +
                         ",x7\ncurrentUser\n"
                         "AddDesktop\n\nCase\n" + app + "\nNULL\nNULL\nNULL\n" + icon + "\nallUsers\n";
    writeFile(at("links.txt"), script);
    DWORD code = 0;
    std::string predicted = runCapturing(checkerExe(), {"--predict", at("links.txt")}, &code);
    EXPECT_EQ(code, 1u);  // the scope and show words are warned about
    runScript(script);
    std::vector<Lines> rows;
    size_t start = 0;
    while (start < predicted.size()) {
        size_t end = predicted.find('\n', start);
        std::string line = predicted.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        Lines fields;
        for (size_t from = 0, tab = 0; tab != std::string::npos; from = tab + 1) {
            tab = line.find('\t', from);
            fields.push_back(line.substr(from, tab == std::string::npos ? std::string::npos : tab - from));
        }
        rows.push_back(fields);
        start = end + 1;
    }
    ASSERT_EQ(rows.size(), 4u) << predicted;
    auto shortRule = [](const std::string &text) {
        std::string shorter = shortForm(text);
        return shorter != "<none>" && shorter.size() < text.size() ? shorter : text;
    };
    for (const Lines &row : rows) {
        ASSERT_EQ(row.size(), 12u);
        std::string base = row[2] == "desktop" ? desk : menu;
        std::string file = base + (row[3].empty() ? "" : "\\" + row[3]) + "\\" + row[4] + ".lnk";
        Link link = readLink(file);
        EXPECT_EQ(link.path, shortRule(row[5])) << file;
        EXPECT_EQ(link.arguments, row[6]) << file;
        EXPECT_EQ(link.workDir, row[7].empty() ? "" : shortRule(row[7])) << file;
        int show = std::stoi(row[8]);
        EXPECT_EQ(link.showCommand, show == 0 ? SW_SHOWNORMAL : show) << file;
        // The icon as predicted, after the short-path rule on the whole line
        // (a line with a comma part names no file and stays as written).
        std::string iconLine = shortRule(row[11]);
        bool same = iconLine == row[11];
        size_t comma = row[9].rfind(',');
        EXPECT_EQ(link.iconPath, row[9].empty() ? "" : same ? row[9].substr(0, comma) : iconLine) << file;
        EXPECT_EQ(link.iconIndex, row[9].empty() ? 0 : std::stoi(row[9].substr(comma + 1))) << file;
    }
}

// The examples a page of the reference quotes make and remove the links the
// page lists (examples/*.links.txt), field by field.
TEST_F(Shortcuts, ExampleScriptsMakeAndRemoveTheDocumentedLinks) {
    std::string make = sourceFile("examples/menu-and-desktop.txt");
    ASSERT_FALSE(make.empty()) << "TARVEX_SOURCE is not set";
    auto place = [&](std::string path) {
        for (const auto &folder : {std::make_pair(std::string("<Programs menu>"), menu),
                                   std::make_pair(std::string("<Desktop>"), desk)})
            if (path.rfind(folder.first, 0) == 0) path = folder.second + path.substr(folder.first.size());
        return path;
    };
    runScript(readFile(make));
    std::string expected = readFile(sourceFile("examples/menu-and-desktop.links.txt"));
    Link link;
    std::string file;
    size_t links = 0;
    for (size_t start = 0, end; start < expected.size(); start = end + 1) {
        end = expected.find('\n', start);
        std::string line = expected.substr(start, end - start);
        if (line.rfind("link: ", 0) == 0) {
            file = place(line.substr(6));
            link = readLink(file);
            ++links;
            EXPECT_TRUE(exists(file)) << file;
            continue;
        }
        size_t colon = line.find(": ");
        std::string name = line.substr(2, line.find(':') - 2);
        std::string value = colon == std::string::npos ? "" : line.substr(colon + 2);
        if (name == "target") EXPECT_EQ(link.path, value) << file;
        if (name == "arguments") EXPECT_EQ(link.arguments, value) << file;
        if (name == "working directory") EXPECT_EQ(link.workDir, value) << file;
        if (name == "show") {
            int show = value == "minimized" ? SW_SHOWMINIMIZED : value == "maximized" ? SW_SHOWMAXIMIZED : SW_SHOWNORMAL;
            EXPECT_EQ(link.showCommand, show) << file;
        }
        if (name == "icon") EXPECT_EQ(link.iconPath + (value.empty() ? "" : "," + std::to_string(link.iconIndex)), value) << file;
    }
    EXPECT_EQ(links, 3u);

    runScript(readFile(sourceFile("examples/remove-shortcuts.txt")));
    expected = readFile(sourceFile("examples/remove-shortcuts.links.txt"));
    for (size_t start = 0, end; start < expected.size(); start = end + 1) {
        end = expected.find('\n', start);
        std::string line = expected.substr(start, end - start);
        if (line.rfind("gone: ", 0) == 0) EXPECT_FALSE(exists(place(line.substr(6)))) << line;
        if (line.rfind("stays: ", 0) == 0) EXPECT_TRUE(exists(place(line.substr(7)))) << line;
    }
}

// A candidate folder the attribute tool cannot be given (too long to exist,
// or holding a quote) is probed without it, and the lookup ends.
TEST_F(ShellFolders, LongOrQuotedCandidatesDoNotHang) {
    for (const std::string &candidate : {"C:\\" + std::string(250, 'l'), "C:\\" + std::string(300, 'l'),
                                         std::string("C:\\a\" /s /d \"C:\\b")}) {
        point(1, 0, "Programs", candidate);
        DeleteFileA(at("windir.txt").c_str());
        DeleteFileA(at("tarvex2.log").c_str());
        enableLog();
        std::string line = quote(setupExe()) + " menusdir currentUser " + quote(dir);
        ASSERT_NE(runProcess(line, dir, nullptr, nullptr, 60000), kTimedOut) << candidate.size();
        EXPECT_EQ(readFile(at("windir.txt")), "\\\r\n") << candidate.size();
        Lines lines = handlerLog();
        EXPECT_NE(std::find(lines.begin(), lines.end(), probeFailed(candidate)), lines.end()) << candidate.size();
        EXPECT_EQ(lines.back(), "unable to find programs menu path");
    }
}

}  // namespace

namespace {

TEST_F(Shortcuts, ReadOnlyOldLinkIsReplacedAndNoAttribFromTheCurrentDirectoryRuns) {
    std::string app = target("app.exe");
    // A program named attrib.exe in the current directory must not be run.
    ASSERT_TRUE(CopyFileA((exeDir() + "\\standin.exe").c_str(), at("attrib.exe").c_str(), FALSE));
    std::string add = "addDesktop\nNULL\nApp\n" + app + "\n\n\n\n\nx\n";
    runScript(add);
    std::string file = desk + "\\App.lnk";
    ASSERT_TRUE(SetFileAttributesA(file.c_str(), FILE_ATTRIBUTE_READONLY));
    runScript(add);
    Lines lines = handlerLog();
    EXPECT_NE(std::find(lines.begin(), lines.end(), "deleted \"" + file + "\": 0"), lines.end());
    EXPECT_EQ(lines.back(), "new link saved");
    EXPECT_FALSE(exists(at("standin.txt")));
    EXPECT_EQ(GetFileAttributesA(file.c_str()) & FILE_ATTRIBUTE_READONLY, 0u);
}

}  // namespace
