// tarvex-check: shows, line by line, how setup.exe or update.exe will read a
// shortcut script, a registry script or a launcher properties file, and
// warns about every silent pitfall.
//
//   tarvex-check [--shortcuts | --registry | --properties] [--predict] FILE
//
// Without a kind option the kind is guessed from the content. --predict
// prints, as tab-separated lines, what the programs will store (registry
// values and their bytes, link fields) instead of the report.
// Exit code: 0 clean, 1 with warnings, 2 when a line cannot run at all,
// 3 when the file cannot be read or the call is wrong.
#include <cstdio>
#include <cstring>
#include <string>

#include "checktext.h"

namespace {

int usage() {
    fprintf(stderr, "usage: tarvex-check [--shortcuts | --registry | --properties] [--predict] FILE\n");
    return 3;
}

bool readAll(const char *path, std::string *content) {
    FILE *file = fopen(path, "rb");
    if (!file) return false;
    char chunk[65536];
    size_t n;
    while ((n = fread(chunk, 1, sizeof chunk, file)) > 0) content->append(chunk, n);
    bool whole = !ferror(file);
    fclose(file);
    return whole;
}

// The programs read their files in the Windows C runtime's text mode: a
// carriage return before a line feed is dropped and Ctrl-Z ends the file.
std::string asTextMode(const std::string &bytes) {
    std::string text;
    for (size_t i = 0; i < bytes.size(); ++i) {
        if (bytes[i] == '\x1a') break;
        if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') continue;
        text += bytes[i];
    }
    return text;
}

}  // namespace

int main(int argc, char **argv) {
    bool predict = false, kindGiven = false;
    ScriptKind kind = ScriptKind::Registry;
    const char *path = nullptr;
    for (int i = 1; i < argc; ++i) {
        if (strcmp(argv[i], "--shortcuts") == 0) kind = ScriptKind::Shortcuts, kindGiven = true;
        else if (strcmp(argv[i], "--registry") == 0) kind = ScriptKind::Registry, kindGiven = true;
        else if (strcmp(argv[i], "--properties") == 0) kind = ScriptKind::Properties, kindGiven = true;
        else if (strcmp(argv[i], "--predict") == 0) predict = true;
        else if (!path && argv[i][0] != '-') path = argv[i];
        else return usage();
    }
    if (!path) return usage();
    std::string content;
    if (!readAll(path, &content)) {
        fprintf(stderr, "tarvex-check: cannot read %s\n", path);
        return 3;
    }
    std::string text = asTextMode(content);
    if (!kindGiven) kind = guessKind(text);
#ifdef _WIN32
    // The very reading the programs do.
    FILE *file = fopen(path, "rt");
    if (!file) {
        fprintf(stderr, "tarvex-check: cannot read %s\n", path);
        return 3;
    }
#else
    FILE *file = tmpfile();
    if (!file || fwrite(text.data(), 1, text.size(), file) != text.size()) {
        fprintf(stderr, "tarvex-check: no room for a working copy of %s\n", path);
        return 3;
    }
    rewind(file);
#endif
    Report report = checkScript(kind, file);
    fclose(file);
    std::string out = predict ? formatPredictions(report) : std::string(kindName(kind)) + " " + path + "\n" + formatReport(report);
    fwrite(out.data(), 1, out.size(), stdout);
    return report.exitCode();
}
