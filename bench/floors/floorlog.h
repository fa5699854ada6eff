// What the tool log costs when it is off: each log call looks for the log
// file in the current folder and then beside the program.
#pragma once
#include <io.h>

#include <string>

struct LogProbe {
    std::string here, beside;
    explicit LogProbe(const char *programPath) : here(".\\tarvex2.log") {
        std::string dir = programPath;
        beside = dir.substr(0, dir.find_last_of('\\')) + "\\tarvex2.log";
    }
    void call() const {
        if (_access(here.c_str(), 0) != 0) _access(beside.c_str(), 0);
    }
};
