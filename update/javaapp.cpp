#include "javaapp.h"

#include <direct.h>
#include <io.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <windows.h>

#include "getparam.h"
#include "launchtext.h"

namespace {
constexpr size_t kPathSize = 261, kArgsSize = 5001;

char *emptyText(size_t size) { return static_cast<char *>(calloc(size, 1)); }
}  // namespace

JavaApp::JavaApp()
    : programName(emptyText(kPathSize)),
      execFilename(emptyText(kPathSize)),
      args(emptyText(kArgsSize)),
      startDir(emptyText(kPathSize)),
      initialDir(emptyText(kPathSize)) {
    if (initialDir && _getcwd(initialDir, kPathSize - 1) == nullptr) initialDir[0] = '\0';
    if (startDir && initialDir) strcpy(startDir, initialDir);
}

JavaApp::~JavaApp() {
    free(programName);
    free(execFilename);
    free(args);
    free(startDir);
    free(initialDir);
}

bool JavaApp::javaApp(const char *commandLine) {
    trace("");
    trace("Starting app");
    if (!programName || !execFilename || !args || !startDir || !initialDir) return false;
    if (!getParams(commandLine)) return false;
    if (_access(execFilename, 0) != 0) {
        const char *slash = strrchr(execFilename, '\\');
        if (slash) {
            memmove(execFilename, slash + 1, strlen(slash + 1) + 1);
            trace("original executable not found");
        }
    }
    if (_access(execFilename, 0) == 0) return runApp(execFilename, args, initialDir, startDir);

    std::string text = std::string("Unable to start ") + programName + "\n\n" + execFilename +
                       "\nis no longer on your system\n\nChange the execFilename property in\n" + propertiesPath;
    trace(text.c_str());
    MessageBoxA(nullptr, text.c_str(), "Startup Error", MB_OK | MB_ICONERROR | MB_SYSTEMMODAL);
    return true;
}

bool JavaApp::getParams(const char *commandLine) {
    trace("Getting command line settings");
    GetParameters parameters;
    if (!parameters.getParameters(programName, execFilename, args, startDir)) return false;
    char name[301];
    parameters.getPropertyFilename(name);
    propertiesPath = std::string(startDir) + "\\" + name;
    if (commandLine[0] != '\0') {
        // Arguments that would not fit are refused whole: cut, they would
        // hand the program something nobody wrote.
        size_t length = strlen(args) + (args[0] ? 1 : 0) + strlen(commandLine);
        if (length >= kArgsSize) {
            logAndTraceMessage(kErrorFile, kTraceFile, "Arguments too long:", commandLine);
            return false;
        }
        if (args[0]) strcat(args, " ");
        strcat(args, commandLine);
    }
    return true;
}

size_t JavaApp::countParameters(const char *text) {
    std::vector<std::string> tokens = splitParameters(text);
    for (const std::string &token : tokens) trace("Next argument:", token.c_str());
    return tokens.size();
}

bool JavaApp::runApp(char *execFilename, const char *args, const char *initialDir, const char *startDir) {
    trace("Setting up command line");
    countParameters(args);
    // Quoted in a text of its own: a long path needs no room in the buffer.
    std::string exe = execFilename;
    if (exe.find(' ') != std::string::npos && exe[0] != '"') exe = "\"" + exe + "\"";
    std::vector<std::string> argv;
    for (const std::string &token : splitParameters(args)) argv.push_back(quoteIfNeeded(token));
    _chdir(startDir);
    bool result = _runApp(exe, argv);
    _chdir(initialDir);
    return result;
}

bool JavaApp::_runApp(const std::string &exe, const std::vector<std::string> &argv) {
    std::string joined = argsString(argv);
    std::string line = "\"" + exe + "\" " + joined;
    trace("launch command:", line.c_str());
    _putenv("CLASSPATH=");
    runSilent(exe, joined);
    trace("app launched", static_cast<unsigned char>(1));
    return true;
}

bool JavaApp::runSilent(const std::string &exe, const std::string &argText) {
    const char *comspec = getenv("COMSPEC");
    std::string tail = exe + " " + argText;
    // The command interpreter removes the first and the last double quote of
    // a command that begins with one (unless it is a lone quoted program
    // name), which breaks a quoted program path followed by quoted
    // arguments. An outer pair of quotes is what it removes then.
    if (tail[0] == '"') tail = "\"" + tail + "\"";
    std::string command = std::string(comspec ? comspec : "CMD.EXE") + " /c " + tail;
    trace("launch command:", command.c_str());
    STARTUPINFOA startup;
    memset(&startup, 0, sizeof startup);
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_HIDE;
    PROCESS_INFORMATION process;
    memset(&process, 0, sizeof process);
    std::vector<char> commandLine(command.begin(), command.end());
    commandLine.push_back('\0');
    DWORD code;
    if (CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, CREATE_NEW_CONSOLE, nullptr, nullptr,
                       &startup, &process)) {
        WaitForSingleObject(process.hProcess, INFINITE);
        if (!GetExitCodeProcess(process.hProcess, &code)) code = 0;
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    } else {
        code = GetLastError();
    }
    char text[32];
    snprintf(text, sizeof text, "%lu", static_cast<unsigned long>(code));
    trace("started app silently", text);
    return true;
}

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR commandLine, int) {
    char *copy = strdup(commandLine ? commandLine : "");
    if (!copy) return 0;
    JavaApp *app = new JavaApp();
    int code = app->javaApp(copy) ? 1 : 0;
    delete app;
    free(copy);
    return code;
}
