#include "findjvm.h"

#include <windows.h>

#include <string.h>

#include <string>

#include "launchtext.h"
#include "strutil.h"

namespace {

const char kBaseKey[] = "SOFTWARE\\JavaSoft\\Java Runtime Environment";
constexpr DWORD kNameSize = 260;

// Reads a value as text into buffer (kNameSize + 1 bytes, kNameSize
// offered, always terminated). Empty when it cannot be read.
void readText(HKEY key, const char *name, char *buffer) {
    buffer[0] = '\0';
    DWORD size = kNameSize;
    if (RegQueryValueExA(key, name, nullptr, nullptr, reinterpret_cast<BYTE *>(buffer), &size) != ERROR_SUCCESS)
        size = 0;
    buffer[size < kNameSize ? size : kNameSize] = '\0';
}

}  // namespace

bool FindJvm::searchForJvm(const char *jvmRequired, const char *jvmMin, const char *jvmMax, char *javaHome) {
    HKEY base;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kBaseKey, 0, KEY_READ, &base) != ERROR_SUCCESS) {
        trace("unable to find a compatible Jvm");
        return false;
    }
    trace("searching registry entry", kBaseKey);
    for (DWORD index = 0;; ++index) {
        char name[kNameSize] = "";
        DWORD size = kNameSize;
        LONG status = RegEnumKeyExA(base, index, name, &size, nullptr, nullptr, nullptr, nullptr);
        if (status == ERROR_NO_MORE_ITEMS) break;
        // A name that was not delivered (too long for the buffer) is skipped;
        // any other failure ends the enumeration rather than repeating it.
        if (status == ERROR_MORE_DATA) continue;
        if (status != ERROR_SUCCESS) break;
        trace("                 version", name);
        if (lookUpRegistryEntryForJvm(kBaseKey, jvmRequired, jvmMin, jvmMax, name, javaHome)) {
            RegCloseKey(base);
            trace("JRE registry entry had correct jvm info", static_cast<unsigned char>(1));
            return true;
        }
    }
    RegCloseKey(base);
    trace("unable to find a compatible Jvm");
    return false;
}

bool FindJvm::lookUpRegistryEntryForJvm(const char *baseKey, const char *jvmRequired, const char *jvmMin,
                                        const char *jvmMax, char *versionName, char *javaHome) {
    javaHome[0] = '\0';
    std::string path = std::string(baseKey) + "\\" + versionName;
    HKEY key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) {
        trace("no such registry entry", path.c_str());
        return false;
    }
    char buffer[kNameSize + 1];
    readText(key, "MicroVersion", buffer);
    // The version text goes on in its own room; the name buffer keeps what
    // fits of it.
    std::string version = runtimeVersion(versionName, buffer);
    copyText(versionName, kNameSize, version.c_str());

    readText(key, "JavaHome", buffer);
    if (buffer[0] == '\0') readText(key, "Home", buffer);
    RegCloseKey(key);
    // A home directory that does not fit javaHome is no home directory.
    if (buffer[0] == '\0' || strlen(buffer) >= kNameSize) {
        trace("no home directory for jvm", "");
        return false;
    }
    copyText(javaHome, kNameSize, buffer);
    return verifyVersion(jvmRequired, jvmMin, jvmMax, version.substr(0, 999).c_str());
}

bool FindJvm::verifyVersion(const char *jvmRequired, const char *jvmMin, const char *jvmMax, const char *version) {
    bool result = ::verifyVersion(jvmRequired, jvmMin, jvmMax, version);
    trace("found jvm version:", version);
    return result;
}
