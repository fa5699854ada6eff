// Appends one time-stamped entry to a log file, opening and closing it for
// every entry.
#pragma once

class Log {
public:
    void logMessage(const char *file, const char *text);
    // "text: true" or "text: false".
    void logMessage(const char *file, const char *text, unsigned char flag);
    // "text value".
    void logMessage(const char *file, const char *text, const char *value);
};
