#include "log.h"

#include <stdio.h>
#include <string.h>
#include <time.h>

#include <string>

#include "appendline.h"

void Log::logMessage(const char *file, const char *text) {
    time_t now = time(nullptr);
    const struct tm *local = localtime(&now);
    const char *stamp = local ? asctime(local) : nullptr;
    std::string line = stamp ? stamp : "";
    size_t end = line.find('\n');
    if (end != std::string::npos) line.resize(end);
    // A file that cannot be opened loses the entry silently.
    appendLine(file, line + " " + text + "\n", true);
}

void Log::logMessage(const char *file, const char *text, unsigned char flag) {
    std::string message = std::string(text) + (flag ? ": true" : ": false");
    logMessage(file, message.c_str());
}

void Log::logMessage(const char *file, const char *text, const char *value) {
    std::string message = std::string(text) + " " + value;
    logMessage(file, message.c_str());
}
