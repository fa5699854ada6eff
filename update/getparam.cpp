#include "getparam.h"

#include <direct.h>
#include <io.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <string>
#include <vector>

#include "findjvm.h"
#include "launchtext.h"

#define BLANKS_10 "          "
#define BLANKS_100 BLANKS_10 BLANKS_10 BLANKS_10 BLANKS_10 BLANKS_10 BLANKS_10 BLANKS_10 BLANKS_10 BLANKS_10 BLANKS_10

// Each slot is one run of bytes in the file: marker, blanks to 300
// characters, NUL. volatile keeps the compiler from reading the marker
// instead of what an installer wrote over it.
extern const volatile char propertiesFilenameSlot[301] =
    "QzjQzjJavaAppPropertiesFilename" BLANKS_100 BLANKS_100 BLANKS_10 BLANKS_10 BLANKS_10 BLANKS_10 BLANKS_10
    BLANKS_10 "         ";
extern const volatile char propertiesAltDirSlot[301] =
    "QzyQzyJavaAppPropertiesAltDir" BLANKS_100 BLANKS_100 BLANKS_10 BLANKS_10 BLANKS_10 BLANKS_10 BLANKS_10
    BLANKS_10 BLANKS_10 " ";

namespace {

// The unfilled slot's marker, kept apart from the slot itself.
const char kMarker[] = "QzjQzjJavaAppPropertiesFilename";

char *copySlot(const volatile char *slot) {
    char *text = static_cast<char *>(malloc(301));
    if (!text) return nullptr;
    size_t i = 0;
    for (; i < 300 && slot[i] != '\0'; ++i) text[i] = slot[i];
    text[i] = '\0';
    GetParameters::trimTrailingSpace(text);
    return text;
}

}  // namespace

static_assert(sizeof(kMarker) == 32, "marker length");

GetParameters::GetParameters()
    : propertyFilename(copySlot(propertiesFilenameSlot)), altDir(copySlot(propertiesAltDirSlot)) {}

GetParameters::~GetParameters() {
    free(propertyFilename);
    free(altDir);
}

size_t GetParameters::trimTrailingSpace(char *text) { return ::trimTrailingSpace(text); }

void GetParameters::getPropertyFilename(char *out) {
    strcpy(out, propertyFilename ? propertyFilename : "");  // both hold at most 300 characters
}

bool GetParameters::getParameters(char *programName, char *execFilename, char *args, char *startDir) {
    if (!propertyFilename || !altDir) return false;
    if (strncmp(propertyFilename, kMarker, strlen(kMarker)) == 0) {
        logAndTraceMessage(kErrorFile, kTraceFile, "The program has not been properly configured.");
        return false;
    }
    if (!parseParameters(programName, execFilename, args, startDir, propertyFilename)) return false;
    trace("Program name", programName);
    trace("Executable", execFilename);
    trace("Arguments", args);
    trace("Start dir", startDir);
    return true;
}

bool GetParameters::parseParameters(char *programName, char *execFilename, char *args, char *startDir,
                                    const char *path) {
    programName[0] = execFilename[0] = args[0] = startDir[0] = '\0';
    FILE *file = fopen(path, "rt");
    if (file) {
        if (_getcwd(startDir, kPathSize - 1) == nullptr) startDir[0] = '\0';
    } else {
        std::string joined = std::string(altDir) + "\\" + path;
        // The program runs in startDir: an alternate directory too long for
        // it is refused rather than cut to some other directory.
        if (strlen(altDir) <= kAltDirChars) {
            strcpy(startDir, altDir);
            file = fopen(joined.c_str(), "rt");
        }
    }
    if (!file) {
        logAndTraceMessage(kErrorFile, kTraceFile, "Unable to open file", path);
        return false;
    }

    Settings settings;
    std::vector<char> line(10000);
    // fgets ends the loop at the end of the file and on a read error alike.
    while (fgets(line.data(), 9999, file)) {
        char *end = strchr(line.data(), '\n');
        if (end) *end = '\0';
        trace("original line", line.data());
        std::string unescaped = unescapeLine(line.data());
        trace("unescaped line", unescaped.c_str());
        // A value longer than its setting refuses the launch: ignored, it
        // would start the program without it or from another executable.
        Setting matched;
        if (applyPropertyLine(unescaped, &settings, &matched) == LineOutcome::TooLong) {
            fclose(file);
            logAndTraceMessage(kErrorFile, kTraceFile, "Value too long:", settingKey(matched));
            return false;
        }
    }
    fclose(file);

    strcpy(programName, settings.programName.c_str());  // each fits: capacities checked
    strcpy(execFilename, settings.execFilename.c_str());
    strcpy(args, settings.args.c_str());
    if (_access(execFilename, 0) != 0)
        getGoodExec(execFilename, settings.jvmRequired.c_str(), settings.jvmMin.c_str(), settings.jvmMax.c_str());
    return true;
}

void GetParameters::getGoodExec(char *execFilename, const char *jvmRequired, const char *jvmMin,
                                const char *jvmMax) {
    trace("exec doesn\xb4t exist:", execFilename);
    char home[kPathSize - 1];
    FindJvm finder;
    if (!finder.searchForJvm(jvmRequired, jvmMin, jvmMax, home) || _access(home, 0) != 0) return;
    const char *slash = strrchr(execFilename, '\\');
    std::string name = slash ? slash + 1 : execFilename;
    std::string replacement = std::string(home) + "\\bin\\" + name;
    if (_access(replacement.c_str(), 0) != 0 && _access((replacement + ".exe").c_str(), 0) == 0)
        replacement += ".exe";
    // A replacement path too long for the setting leaves the setting alone.
    if (replacement.size() >= kPathSize) return;
    strcpy(execFilename, replacement.c_str());
    trace("new exec:", execFilename);
}
