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
#include "strutil.h"

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

char *copySlot(const volatile char *slot) {
    std::string text = slotText(slot);
    return strdup(text.c_str());
}

}  // namespace

GetParameters::GetParameters()
    : propertyFilename(copySlot(propertiesFilenameSlot)), altDir(copySlot(propertiesAltDirSlot)) {}

GetParameters::~GetParameters() {
    free(propertyFilename);
    free(altDir);
}

size_t GetParameters::trimTrailingSpace(char *text) { return ::trimTrailingSpace(text); }

void GetParameters::getPropertyFilename(char *out) {
    copyText(out, 301, propertyFilename ? propertyFilename : "");  // both hold at most 300 characters
}

bool GetParameters::getParameters(char *programName, char *execFilename, char *args, char *startDir) {
    if (!propertyFilename || !altDir) return false;
    if (slotUnconfigured(propertyFilename)) {
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
        // The program runs in startDir: an alternate directory too long to
        // enter is refused rather than cut to some other directory.
        std::string joined;
        if (alternatePropertiesPath(altDir, path, &joined)) {
            copyText(startDir, kPathSize, altDir);
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
        std::string original, unescaped;
        Setting matched;
        LineOutcome outcome = readPropertyLine(line.data(), &original, &unescaped, &settings, &matched);
        trace("original line", original.c_str());
        trace("unescaped line", unescaped.c_str());
        // A value longer than its setting refuses the launch: ignored, it
        // would start the program without it or from another executable.
        if (outcome == LineOutcome::TooLong) {
            fclose(file);
            logAndTraceMessage(kErrorFile, kTraceFile, "Value too long:", settingKey(matched));
            return false;
        }
    }
    fclose(file);

    // Each fits: a value longer than its setting was refused above.
    copyText(programName, kPathSize, settings.programName.c_str());
    copyText(execFilename, kPathSize, settings.execFilename.c_str());
    copyText(args, kArgsSize, settings.args.c_str());
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
    std::string replacement = replacementPath(home, execFilename);
    if (_access(replacement.c_str(), 0) != 0 && _access((replacement + ".exe").c_str(), 0) == 0)
        replacement += ".exe";
    // A replacement path too long for the setting leaves the setting alone.
    if (replacement.size() >= kPathSize) return;
    copyText(execFilename, kPathSize, replacement.c_str());
    trace("new exec:", execFilename);
}
