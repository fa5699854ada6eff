#include "javaapp.h"

#include <direct.h>
#include <io.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <windows.h>

#include "getparam.h"
#include "launchtext.h"
#include "strutil.h"
#include "systemdir.h"

namespace {

char *emptyText(size_t size) { return static_cast<char *>(calloc(size, 1)); }

// The one message box. user32 is loaded for it alone (by its full path in
// the system directory), so a launch that shows none starts without it.
void showError(const char *text) {
    std::string path = systemFile("user32.dll");
    HMODULE user = path.empty() ? nullptr : LoadLibraryA(path.c_str());
    typedef int(WINAPI * MessageBoxFunction)(HWND, LPCSTR, LPCSTR, UINT);
    MessageBoxFunction box =
        user ? reinterpret_cast<MessageBoxFunction>(reinterpret_cast<void *>(GetProcAddress(user, "MessageBoxA")))
             : nullptr;
    if (box) box(nullptr, text, "Startup Error", MB_OK | MB_ICONERROR | MB_SYSTEMMODAL);
    if (user) FreeLibrary(user);
}
}  // namespace

JavaApp::JavaApp()
    : programName(emptyText(kPathSize)),
      execFilename(emptyText(kPathSize)),
      args(emptyText(kArgsSize)),
      startDir(emptyText(kPathSize)),
      initialDir(emptyText(kPathSize)) {
    if (initialDir && _getcwd(initialDir, kPathSize - 1) == nullptr) initialDir[0] = '\0';
    if (startDir && initialDir) copyText(startDir, kPathSize, initialDir);
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
    if (_access(execFilename, 0) != 0 && strchr(execFilename, '\\')) {
        copyText(execFilename, kPathSize, executableName(execFilename).c_str());
        trace("original executable not found");
    }
    if (_access(execFilename, 0) == 0) return runApp(execFilename, args, initialDir, startDir);

    std::string text = std::string("Unable to start ") + programName + "\n\n" + execFilename +
                       "\nis no longer on your system\n\nChange the execFilename property in\n" + propertiesPath;
    trace(text.c_str());
    showError(text.c_str());
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
        // The launcher's own words come from whoever starts it and must reach
        // the program as the same words: one that cannot is refused, and so
        // is an args setting that leaves a quote open, which would turn the
        // interpreter's view of every word after it inside out.
        std::vector<std::string> words = splitParameters(commandLine);
        for (const std::string &word : words) {
            if (!ownWordPassable(word)) {
                logAndTraceMessage(kErrorFile, kTraceFile, "Argument refused:", word.c_str());
                return false;
            }
        }
        if (!quotesBalanced(argsString(splitParameters(args)))) {
            logAndTraceMessage(kErrorFile, kTraceFile, "Quote left open in args:", args);
            return false;
        }
        ownWords = words;
    }
    return true;
}

bool JavaApp::runApp(char *exePath, const char *authorArgs, const char *returnDir, const char *runDir) {
    trace("Setting up command line");
    std::vector<std::string> tokens = splitParameters(authorArgs);
    for (const std::string &token : tokens) trace("Next argument:", token.c_str());
    for (const std::string &word : ownWords) trace("Next argument:", word.c_str());
    // Quoted in a text of its own: a long path needs no room in the buffer.
    std::string exe = quoteExecutable(exePath);
    std::string joined = joinArguments(tokens, ownWords);
    _chdir(runDir);
    bool result = _runApp(exe, joined);
    _chdir(returnDir);
    return result;
}

bool JavaApp::_runApp(const std::string &exe, const std::string &joined) {
    trace("launch command:", launchTrace(exe, joined).c_str());
    _putenv("CLASSPATH=");
    runSilent(exe, joined);
    trace("app launched", static_cast<unsigned char>(1));
    return true;
}

bool JavaApp::runSilent(const std::string &exe, const std::string &argText) {
    // Never by a bare name: that would start whatever CMD.EXE lies in the
    // current directory or beside the launcher, with its rights.
    std::string interpreter = chooseInterpreter(getenv("COMSPEC"), systemDirectory());
    std::string command = launchCommand(interpreter, exe, argText);
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
    if (interpreter.empty()) {
        code = ERROR_FILE_NOT_FOUND;  // no system directory: nothing to start by its full path
    } else if (CreateProcessA(interpreter.c_str(), commandLine.data(), nullptr, nullptr, FALSE, CREATE_NEW_CONSOLE,
                              nullptr, nullptr, &startup, &process)) {
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
