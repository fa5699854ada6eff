#include "shortcuttext.h"

#include <cstdlib>
#include <cstring>

#include "strutil.h"

namespace {
bool isTrailingSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f'; }
}  // namespace

char *getline(FILE *file, bool *tooLong) {
    // Lines are held up to 1 MiB while their trailing white space is judged;
    // anything longer is too long for any field whatever it ends in.
    constexpr size_t kHeld = 1u << 20;
    std::string buffer;
    bool cut = false;
    if (!readPhysicalLine(file, &buffer, kHeld, &cut)) return nullptr;
    size_t length = buffer.size();
    while (length > 0 && isTrailingSpace(buffer[length - 1])) --length;
    bool overlong = cut || length > kBlockLineChars;
    if (tooLong) *tooLong = overlong;
    if (length > kBlockLineChars) length = kBlockLineChars;
    char *line = static_cast<char *>(malloc(length + 1));
    if (line == nullptr) return nullptr;
    memcpy(line, buffer.data(), length);
    line[length] = '\0';
    return line;
}

bool attribArgumentSafe(const char *quotedPath) {
    size_t length = strlen(quotedPath);
    if (length < 2 || quotedPath[0] != '"' || quotedPath[length - 1] != '"') return false;
    std::string inner(quotedPath + 1, length - 2);
    return inner.size() < 260 && inner.find('"') == std::string::npos;
}

bool isnull(const char *text) { return text == nullptr || text[0] == '\0' || strncmp(text, "NULL", 4) == 0; }

std::vector<std::string> folderLevels(const char *folderLine) {
    std::vector<std::string> levels;
    std::string working;
    const char *rest = folderLine;
    for (const char *slash = strchr(rest, '\\'); slash; slash = strchr(rest, '\\')) {
        working.append(rest, slash);
        levels.push_back(working);
        working += '\\';
        rest = slash + 1;
    }
    if (!isnull(rest)) levels.push_back(working + rest);
    return levels;
}

int showCommand(const char *line) {
    if (strstr(line, "min")) return 2;  // SW_SHOWMINIMIZED
    if (strstr(line, "max")) return 3;  // SW_SHOWMAXIMIZED
    return 0;
}

void splitIcon(const std::string &text, std::string *path, int *index) {
    size_t comma = text.find(',');
    if (comma == std::string::npos) {
        *path = text;
        *index = 0;
        return;
    }
    *path = text.substr(0, comma);
    *index = atoi(text.c_str() + comma + 1);
}

std::string expandReferences(const std::string &candidate,
                             const std::function<bool(const std::string &, std::string *)> &lookup,
                             const std::function<void(const std::string &)> &log) {
    std::string text = candidate;
    size_t from = 0;
    for (;;) {
        size_t open = text.find('%', from);
        if (open == std::string::npos) break;
        size_t close = text.find('%', open + 1);
        if (close == std::string::npos) break;
        std::string name = text.substr(open + 1, close - open - 1);
        log(name);
        std::string value;
        if (!lookup(name, &value)) {
            from = close + 1;
            continue;
        }
        log(value);
        text = text.substr(0, open) + value + text.substr(close + 1);
        log(text);
        from = open + value.size();
    }
    return text;
}

namespace {

// Order is behaviour only in that each word is tried in turn; no two match
// the same line.
const BlockKind blockKinds[] = {
    {"addProgramsMenu", BlockAction::Add, MenuFolder::Programs, 8},
    {"addStartupMenu", BlockAction::Add, MenuFolder::Startup, 8},
    {"addDesktop", BlockAction::Add, MenuFolder::Desktop, 8},
    {"deleteProgramsMenu", BlockAction::Delete, MenuFolder::Programs, 3},
    {"deleteStartupMenu", BlockAction::Delete, MenuFolder::Startup, 3},
    {"deleteDesktop", BlockAction::Delete, MenuFolder::Desktop, 3},
};

}  // namespace

const BlockKind *findBlock(const char *line) { return findRow(blockKinds, line); }

BlockRead readBlockLines(FILE *file, int count, std::vector<std::string> *lines) {
    lines->clear();
    bool whole = true, fits = true;
    for (int i = 0; i < count; ++i) {
        bool tooLong = false;
        char *line = getline(file, &tooLong);
        whole = whole && line != nullptr;
        fits = fits && !tooLong;
        lines->push_back(line ? line : "");
        free(line);
    }
    if (!whole) return BlockRead::Incomplete;
    return fits ? BlockRead::Whole : BlockRead::TooLong;
}

AddBlock addBlockFrom(const std::vector<std::string> &lines) {
    AddBlock block;
    std::string *fields[] = {&block.folder, &block.name, &block.target, &block.arguments,
                             &block.workDir, &block.show, &block.icon,  &block.scope};
    for (size_t i = 0; i < 8 && i < lines.size(); ++i) *fields[i] = lines[i];
    return block;
}

DeleteBlock deleteBlockFrom(const std::vector<std::string> &lines) {
    DeleteBlock block;
    std::string *fields[] = {&block.folder, &block.name, &block.scope};
    for (size_t i = 0; i < 3 && i < lines.size(); ++i) *fields[i] = lines[i];
    return block;
}

void joinName(std::string *path, const std::string &name) {
    if (!path->empty() && path->back() != '\\') *path += '\\';
    *path += name;
}

std::string linkPathFor(const std::string &menuFolder, const std::string &folderLine, const std::string &name) {
    std::string path = menuFolder;
    if (!isnull(folderLine.c_str())) joinName(&path, folderLine);
    joinName(&path, name);
    return path + ".lnk";
}

std::string probeFolderPath(const std::string &candidate) { return candidate + "\\__testVemFolder"; }
std::string probeFilePath(const std::string &candidate) { return probeFolderPath(candidate) + "\\__testVemFile"; }

bool preferShortForm(const std::string &text, const std::string &shortForm) {
    return !shortForm.empty() && shortForm.size() < text.size();
}
