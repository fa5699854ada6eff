// Fuzzes the interpreter's command line with an oracle: every word of the
// launcher's own command line that is let through must reach the program as
// the same word (read by the rules of a program's C runtime), and none of the
// interpreter's operator characters may stand outside quotes, where it would
// run as a command. Also fuzzes the slot text and the interpreter choice.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "launchtext.h"

namespace {

// The words a C runtime reads from a command line (the program's name is
// the first word and is read as a path).
std::vector<std::string> runtimeWords(const std::string &line) {
    std::vector<std::string> words;
    size_t i = 0, n = line.size();
    // The program name: up to a blank, quotes grouping, no escapes.
    bool quoted = false;
    for (; i < n && (quoted || (line[i] != ' ' && line[i] != '\t')); ++i)
        if (line[i] == '"') quoted = !quoted;
    for (;;) {
        while (i < n && (line[i] == ' ' || line[i] == '\t')) ++i;
        if (i >= n) break;
        std::string word;
        quoted = false;
        while (i < n && (quoted || (line[i] != ' ' && line[i] != '\t'))) {
            size_t backslashes = 0;
            while (i < n && line[i] == '\\') ++backslashes, ++i;
            if (i < n && line[i] == '"') {
                word.append(backslashes / 2, '\\');
                if (backslashes % 2) {
                    word += '"';
                } else if (quoted && i + 1 < n && line[i + 1] == '"') {
                    word += '"';
                    ++i;
                } else {
                    quoted = !quoted;
                }
                ++i;
            } else {
                word.append(backslashes, '\\');
                if (i < n && (quoted || (line[i] != ' ' && line[i] != '\t'))) word += line[i++];
            }
        }
        words.push_back(word);
    }
    return words;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    std::string text(reinterpret_cast<const char *>(data), size);
    text = text.c_str();  // a command line holds no NUL
    std::vector<std::string> words = splitParameters(text);
    bool passable = true;
    for (const std::string &word : words) passable = passable && ownWordPassable(word);
    std::string exe = quoteExecutable("C:\\Program Files\\Java (x86)\\bin\\java.exe");
    std::string joined = joinArguments(splitParameters("-cp \"lib dir\" Main"), words);
    std::string command = launchCommand("C:\\windows\\system32\\cmd.exe", exe, joined);
    if (passable) {
        // What the interpreter runs: the text after "/c ", its first and last
        // quote removed when it begins with one.
        std::string tail = command.substr(command.find(" /c ") + 4);
        if (!tail.empty() && tail[0] == '"') tail = tail.substr(1, tail.rfind('"') - 1);
        bool inQuotes = false;
        for (char c : tail) {
            if (c == '"') inQuotes = !inQuotes;
            else if (!inQuotes && strchr("&|<>^()", c)) abort();  // would run as the interpreter's syntax
        }
        // Empty words leave no word behind; every other word arrives as given.
        std::vector<std::string> expected = {"-cp", "lib dir", "Main"};
        for (const std::string &word : words)
            if (!word.empty()) expected.push_back(word);
        if (runtimeWords(tail) != expected) abort();
    }
    char slot[301];
    memset(slot, ' ', sizeof slot);
    memcpy(slot, text.data(), text.size() < 300 ? text.size() : 300);
    slot[300] = '\0';
    std::string value = slotText(slot);
    if (value.size() > 300 || (!value.empty() && value.back() == ' ')) abort();
    slotUnconfigured(value);
    std::string path;
    alternatePropertiesPath(value, "a.properties", &path);
    std::string interpreter = chooseInterpreter(text.c_str(), "C:\\windows\\system32");
    if (interpreter.find('"') != std::string::npos) abort();
    return 0;
}
