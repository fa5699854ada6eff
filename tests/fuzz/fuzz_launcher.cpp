// Fuzzes the properties reader (unescaping and key matching), the version
// test and the command-line tokenizer.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "launchtext.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    FILE *file = fmemopen(const_cast<uint8_t *>(data), size, "r");
    if (!file) return 0;
    Settings settings;
    std::vector<char> line(10000);
    while (fgets(line.data(), 9999, file)) {
        std::string text, unescaped;
        Setting matched;
        if (readPropertyLine(line.data(), &text, &unescaped, &settings, &matched) == LineOutcome::TooLong &&
            unescaped.size() <= strlen(settingKey(matched)) + settingCapacity(matched))
            abort();  // refused, yet it fits
        std::vector<std::string> tokens = splitParameters(unescaped);
        std::vector<std::string> quoted;
        for (const std::string &token : tokens) quoted.push_back(quoteIfNeeded(token));
        std::string joined = argsString(quoted);
        quotesBalanced(joined);
        launchTrace(quoteExecutable(unescaped), joined);
    }
    fclose(file);
    verifyVersion(settings.jvmRequired, settings.jvmMin, settings.jvmMax, settings.programName);
    verifyVersion(settings.jvmRequired, settings.jvmMin, settings.jvmMax,
                  runtimeVersion(settings.programName, settings.jvmMax));
    if (replacementPath(settings.args, settings.execFilename).find("\\bin\\") == std::string::npos) abort();
    verifyVersion("", settings.jvmMin, settings.jvmMax, settings.args);
    std::string empty, token = "x";
    getNextParameter(empty, token);
    if (!token.empty()) abort();
    std::string copy(reinterpret_cast<const char *>(data), size);
    trimTrailingSpace(&copy[0]);
    return 0;
}
