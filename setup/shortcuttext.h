// Text logic of the shortcut script and of the shell folder lookup: reading
// and trimming script lines, absent values, folder levels, the show and icon
// rules, and the expansion of environment references. No Windows API.
#pragma once
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

// A block line holds at most this many bytes once its trailing white space
// is removed.
constexpr size_t kBlockLineChars = 4999;
// Reads one whole physical line, removes trailing white space and returns a
// new copy that the caller frees with free(); null at the end of the file.
// A line is never read in pieces: one longer than kBlockLineChars is
// consumed whole, comes back cut, and sets tooLong when it is given.
char *getline(FILE *file, bool *tooLong = nullptr);

// True when the attribute tool may be started on a quoted path: one that
// could exist (fewer than 260 characters inside the quotes) and holds no
// further double quote, which would reach the tool as extra switches.
bool attribArgumentSafe(const char *quotedPath);

// True when a block line is absent: missing, empty, or starting with "NULL".
bool isnull(const char *text);

// The folders an add block creates for its folder line, each relative to the
// menu folder, in the order they are created: one per backslash (the text
// before it), then the rest of the line unless it is absent.
std::vector<std::string> folderLevels(const char *folderLine);

// Show command for a show line: 2 when it holds "min", else 3 when it holds
// "max", else 0 (leave the link's show command untouched).
int showCommand(const char *line);

// Splits an icon text at its first comma: the path before it and the index
// after it (read as atoi reads it); without a comma the index is 0.
void splitIcon(const std::string &text, std::string *path, int *index);

// Replaces each %NAME% reference from left to right with the variable's
// value. lookup returns false for a variable that is not set: such a
// reference stays as written and the scan goes on after it. The scan always
// goes on after an inserted value, so a value holding references cannot make
// it run for ever. log receives the name, then the value and the rebuilt
// candidate for every variable that is set.
std::string expandReferences(const std::string &candidate,
                             const std::function<bool(const std::string &, std::string *)> &lookup,
                             const std::function<void(const std::string &)> &log);

// ---- blocks ----
enum class MenuFolder { Programs, Startup, Desktop };
enum class BlockAction { Add, Delete };
struct BlockKind {
    const char *word;  // the keyword line, matched whole in any letter case
    BlockAction action;
    MenuFolder folder;
    int lines;         // lines that follow the keyword: 8 for add, 3 for delete
};
// The block a line opens, or null for any other line.
const BlockKind *findBlock(const char *line);

// Reads the lines of a block. Incomplete: the script ended first; TooLong:
// a line is longer than a block line holds. Either way every line the block
// owns is consumed, so the next block is read from its own keyword.
enum class BlockRead { Whole, Incomplete, TooLong };
BlockRead readBlockLines(FILE *file, int count, std::vector<std::string> *lines);

// The lines of an add block and of a delete block, by name.
struct AddBlock {
    std::string folder, name, target, arguments, workDir, show, icon, scope;
};
struct DeleteBlock {
    std::string folder, name, scope;
};
AddBlock addBlockFrom(const std::vector<std::string> &lines);
DeleteBlock deleteBlockFrom(const std::vector<std::string> &lines);

// ---- link paths ----
// Joins a name to a path: a backslash first when the path is not empty and
// does not end in one; the name unchanged.
void joinName(std::string *path, const std::string &name);
// The link file of a block: the menu folder, the folder line unless it is
// absent, the name and ".lnk", each joined as joinName does.
std::string linkPathFor(const std::string &menuFolder, const std::string &folderLine, const std::string &name);
// What a writability probe makes in a candidate folder.
std::string probeFolderPath(const std::string &candidate);
std::string probeFilePath(const std::string &candidate);

// The short-path rule: the short (8.3) form is used when one was obtained
// for the text, is not empty, and is strictly shorter than the text.
bool preferShortForm(const std::string &text, const std::string &shortForm);
