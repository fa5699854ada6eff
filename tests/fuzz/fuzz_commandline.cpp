// Fuzzes the dispatcher's text logic: the command table, the argument
// limits, the scope default and the program directory. The input is split
// at NUL bytes into the argument vector.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "commandtext.h"
#include "strutil.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    std::string text(reinterpret_cast<const char *>(data), size);
    std::vector<std::string> words;
    size_t start = 0;
    for (size_t nul = text.find('\0'); words.size() < 6; nul = text.find('\0', start)) {
        words.push_back(text.substr(start, nul == std::string::npos ? std::string::npos : nul - start));
        if (nul == std::string::npos) break;
        start = nul + 1;
    }
    std::vector<const char *> argv;
    for (const std::string &word : words) argv.push_back(word.c_str());
    CommandLine line = commandLineFrom(static_cast<int>(argv.size()), argv.data());
    if (line.command.size() > kArgChars || line.arg1.size() > kArgChars || line.arg2.size() > kArgChars) abort();
    if (const CommandRow *row = findCommand(line.command.c_str())) {
        if (row->scoped) {
            std::string first = line.arg1, second = line.arg2;
            applyScopeDefault(&first, &second);
            if (second.empty() && !line.arg1.empty()) abort();  // the one argument is the result directory
        }
    }
    std::string dir;
    if (programDirectory(argv[0], 261, &dir) && dir.size() > 260) abort();
    // The bounded text helpers every module writes its buffers through: one
    // byte short, exactly enough and one more than the text needs.
    size_t need = words[0].size() + 1;
    for (size_t room : {need - 1, need, need + 1}) {
        std::vector<char> buffer(room + 1, '#');
        bool whole = copyText(buffer.data(), room, words[0].c_str());
        if (whole != (room >= need) || buffer[room] != '#') abort();
        if (room && strlen(buffer.data()) >= room) abort();
        appendText(buffer.data(), room, line.arg1.c_str());
        if (buffer[room] != '#') abort();
        formatText(buffer.data(), room, "%s\\%s", line.command.c_str(), line.arg2.c_str());
        if (buffer[room] != '#') abort();
    }
    compareNoCaseN(line.command.c_str(), line.arg1.c_str(), line.arg2.size());
    return 0;
}
