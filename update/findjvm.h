// Finds a registered Java runtime whose version lies within given bounds.
#pragma once
#include "trace.h"

class FindJvm : public Trace {
public:
    // True when a qualifying runtime was found; javaHome (260 bytes) then
    // holds its home directory.
    bool searchForJvm(const char *jvmRequired, const char *jvmMin, const char *jvmMax, char *javaHome);
    // Checks the subkey versionName (260 bytes, extended in place by the
    // micro version) below baseKey; leaves its home directory in javaHome.
    bool lookUpRegistryEntryForJvm(const char *baseKey, const char *jvmRequired, const char *jvmMin,
                                   const char *jvmMax, char *versionName, char *javaHome);
    bool verifyVersion(const char *jvmRequired, const char *jvmMin, const char *jvmMax, const char *version);
};
