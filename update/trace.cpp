#include "trace.h"

#include <io.h>

namespace {
bool exists(const char *file) { return _access(file, 0) == 0; }
}  // namespace

void Trace::traceMessage(const char *file, const char *text) {
    if (exists(file)) logMessage(file, text);
}

void Trace::traceMessage(const char *file, const char *text, unsigned char flag) {
    if (exists(file)) logMessage(file, text, flag);
}

void Trace::traceMessage(const char *file, const char *text, const char *value) {
    if (exists(file)) logMessage(file, text, value);
}

void Trace::logAndTraceMessage(const char *logFile, const char *traceFile, const char *text) {
    logMessage(logFile, text);
    traceMessage(traceFile, text);
}

void Trace::logAndTraceMessage(const char *logFile, const char *traceFile, const char *text, unsigned char flag) {
    logMessage(logFile, text, flag);
    traceMessage(traceFile, text, flag);
}

void Trace::logAndTraceMessage(const char *logFile, const char *traceFile, const char *text, const char *value) {
    logMessage(logFile, text, value);
    traceMessage(traceFile, text, value);
}
