// One run of the launcher, from its command line to its exit code.
#pragma once
#include <string>
#include <vector>

#include "trace.h"

class JavaApp : public Trace {
public:
    JavaApp();
    ~JavaApp();
    JavaApp(const JavaApp &) = delete;
    JavaApp &operator=(const JavaApp &) = delete;

    bool javaApp(const char *commandLine);
    bool getParams(const char *commandLine);
    bool runApp(char *exePath, const char *authorArgs, const char *returnDir, const char *runDir);
    bool _runApp(const std::string &exe, const std::string &joined);
    bool runSilent(const std::string &exe, const std::string &argText);

private:
    char *programName;
    char *execFilename;
    char *args;
    char *startDir;
    char *initialDir;
    std::string propertiesPath;
    // The words of the launcher's own command line, kept apart from the
    // properties file's args: they are data, never interpreter syntax.
    std::vector<std::string> ownWords;
};
