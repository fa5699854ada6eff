#include "commandtext.h"

#include <cstring>

#include "strutil.h"

namespace {

// Order is behaviour: the first row whose word matches runs.
const CommandRow commandTable[] = {
    {"programsMenu", CommandId::Shortcuts, false},   {"startupMenu", CommandId::Shortcuts, false},
    {"desktop", CommandId::Shortcuts, false},        {"registry", CommandId::Registry, false},
    {"shortname", CommandId::ShortName, false},      {"freespace", CommandId::FreeSpace, false},
    {"path", CommandId::Path, false},                {"envvar", CommandId::EnvVar, false},
    {"windir", CommandId::WinDir, false},            {"progmandir", CommandId::ProgManDir, false},
    {"menusdir", CommandId::MenusDir, true},         {"startmenusdir", CommandId::StartMenusDir, true},
    {"appdatadir", CommandId::AppDataDir, true},     {"desktopdir", CommandId::DesktopDir, true},
    {"documentsdir", CommandId::DocumentsDir, true}, {"roamingdir", CommandId::RoamingDir, false},
    {"icon", CommandId::Icon, false},                {"attributes", CommandId::Attributes, false},
};

// An argument as handed on: cut to kArgChars, whole saying whether it was.
std::string bounded(const char *text, bool *whole) {
    size_t length = strlen(text);
    if (length > kArgChars) {
        *whole = false;
        length = kArgChars;
    }
    return std::string(text, length);
}

}  // namespace

const CommandRow *findCommand(const char *word) { return findRow(commandTable, word); }

CommandLine commandLineFrom(int argc, const char *const *argv) {
    CommandLine line;
    // A command word or argument over kArgChars is refused: a cut path or
    // name would make the handler act on something nobody asked for.
    line.command = bounded(argc >= 2 ? argv[1] : "", &line.whole);
    line.arg1 = bounded(argc >= 3 ? argv[2] : "", &line.whole);
    line.arg2 = bounded(argc >= 4 ? argv[3] : "", &line.whole);
    return line;
}

void applyScopeDefault(std::string *first, std::string *second) {
    if (!second->empty()) return;
    *second = *first;
    *first = "currentUser";
}

bool programDirectory(const char *programPath, size_t room, std::string *dir) {
    const char *cut = strrchr(programPath, '\\');
    size_t length = cut ? static_cast<size_t>(cut - programPath) : strlen(programPath);
    if (length >= room) return false;
    dir->assign(programPath, length);
    return true;
}
