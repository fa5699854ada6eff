// The script checker's logic: reads a shortcut script, a registry script or
// a launcher properties file with the very parsing code of the programs, and
// says line by line how they will read it, with a warning for every silent
// pitfall. No Windows API, so it builds on any compiler.
#pragma once
#include <cstdio>
#include <string>
#include <vector>

enum class ScriptKind { Shortcuts, Registry, Properties };

// The kind a file's content looks like: a registry operation keyword with
// its tab, a block keyword line, or else a properties file.
ScriptKind guessKind(const std::string &content);
const char *kindName(ScriptKind kind);

enum class Severity { Reading, Note, Warning, Error };

struct Finding {
    size_t line;  // 1-based line of the file; 0 for the file as a whole
    Severity severity;
    std::string text;
};

// One registry operation as setup will carry it out, for comparing the
// checker with the program: what is stored, in which kind, as bytes.
struct RegistryPrediction {
    size_t line;
    std::string operation;  // the keyword without its tab
    std::string root, keyPath, valueName;
    // REG_SZ, REG_EXPAND_SZ, REG_DWORD, REG_BINARY; "key" (the key only),
    // "unchanged" (an add of a value an earlier line stored), "none".
    std::string storedType;
    std::string storedBytes; // the bytes written, terminators included
};

// One add block as setup will make its link.
struct LinkPrediction {
    size_t line;
    std::string folderKind;  // programs, startup, desktop
    std::string folder, name, target, arguments, workDir, scope;
    int showCommand = 0;  // 0: not set
    std::string iconLine;  // as written; setup applies the short-path rule to it whole
    std::string iconPath;
    int iconIndex = 0;
    bool hasIcon = false;
};

struct Report {
    ScriptKind kind = ScriptKind::Registry;
    // The settings a properties file gives the launcher, after every line.
    std::string programName, execFilename, args, jvmRequired, jvmMin, jvmMax;
    std::vector<Finding> findings;
    std::vector<RegistryPrediction> registry;
    std::vector<LinkPrediction> links;
    // 0 clean, 1 with warnings, 2 when a line cannot run at all.
    int exitCode() const;
};

Report checkScript(ScriptKind kind, FILE *file);
// The report as text: each reading, note, warning and error on a line of
// its own, "line N: ...".
std::string formatReport(const Report &report);
// The predictions as tab-separated lines, binary data in hex.
std::string formatPredictions(const Report &report);
