// The launcher's start as the behaviour asks for it, and nothing else: the
// system's command interpreter started with "/c" and the program, in a new
// hidden console, waited for.
//   floor_launch PROGRAM
#include <windows.h>

#include <string>
#include <vector>

int main(int argc, char **argv) {
    if (argc < 2) return 1;
    char system[MAX_PATH + 1];
    GetSystemDirectoryA(system, MAX_PATH);
    std::string interpreter = std::string(system) + "\\cmd.exe";
    std::string command = interpreter + " /c " + argv[1] + " ";
    std::vector<char> line(command.begin(), command.end());
    line.push_back('\0');
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_HIDE;
    PROCESS_INFORMATION process = {};
    if (!CreateProcessA(interpreter.c_str(), line.data(), nullptr, nullptr, FALSE, CREATE_NEW_CONSOLE, nullptr,
                        nullptr, &startup, &process))
        return 1;
    WaitForSingleObject(process.hProcess, INFINITE);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return 1;
}
