// The launcher's trace: written only to a trace file that already exists,
// and paired with an unconditional log for the errors a user must see.
#pragma once
#include "log.h"

// Throughout the launcher: the trace file and the log that is always written.
constexpr const char *kTraceFile = "pellix.log";
constexpr const char *kErrorFile = "errors.log";

class Trace : public Log {
public:
    void traceMessage(const char *file, const char *text);
    void traceMessage(const char *file, const char *text, unsigned char flag);
    void traceMessage(const char *file, const char *text, const char *value);
    void logAndTraceMessage(const char *logFile, const char *traceFile, const char *text);
    void logAndTraceMessage(const char *logFile, const char *traceFile, const char *text, unsigned char flag);
    void logAndTraceMessage(const char *logFile, const char *traceFile, const char *text, const char *value);

protected:
    // Shorthands for the launcher's own trace file.
    void trace(const char *text) { traceMessage(kTraceFile, text); }
    void trace(const char *text, const char *value) { traceMessage(kTraceFile, text, value); }
    void trace(const char *text, unsigned char flag) { traceMessage(kTraceFile, text, flag); }
};
