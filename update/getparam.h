// Reads the launch settings from the properties file that the two
// configuration slots of this executable name.
#pragma once
#include <cstddef>

#include "trace.h"

// The slots an installer fills in (see tools/update-config): 300 characters
// and a NUL each, found in the executable file by their marker and blanks.
extern const volatile char propertiesFilenameSlot[301];
extern const volatile char propertiesAltDirSlot[301];

class GetParameters : public Trace {
public:
    GetParameters();
    ~GetParameters();
    GetParameters(const GetParameters &) = delete;
    GetParameters &operator=(const GetParameters &) = delete;

    // Buffers: programName, execFilename and startDir 261 bytes, args 5001.
    bool getParameters(char *programName, char *execFilename, char *args, char *startDir);
    bool parseParameters(char *programName, char *execFilename, char *args, char *startDir, const char *path);
    void getGoodExec(char *execFilename, const char *jvmRequired, const char *jvmMin, const char *jvmMax);
    // Copies the properties file name into out (301 bytes).
    void getPropertyFilename(char *out);
    static size_t trimTrailingSpace(char *text);

private:
    char *propertyFilename;
    char *altDir;
};
