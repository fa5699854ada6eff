// Times two command lines in pairs under the same conditions and prints the
// median wall time of each in milliseconds:
//   benchrun RUNS CWD RESET "COMMAND A" "COMMAND B"
// RESET names what is put back before every run (not timed): "-" for
// nothing, or a list joined by ";" of "key:HKCU\path" (the key is deleted
// with all it holds) and "file:PATH" (the file or folder is removed). The
// two commands alternate, A first in even pairs and B first in odd ones.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

void removeTree(const std::string &path) {
    DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return;
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    if (!(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        DeleteFileA(path.c_str());
        return;
    }
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((path + "\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            std::string name = found.cFileName;
            if (name != "." && name != "..") removeTree(path + "\\" + name);
        } while (FindNextFileA(search, &found));
        FindClose(search);
    }
    RemoveDirectoryA(path.c_str());
}

void reset(const std::string &list) {
    size_t start = 0;
    while (start < list.size()) {
        size_t end = list.find(';', start);
        std::string item = list.substr(start, end == std::string::npos ? std::string::npos : end - start);
        if (item.rfind("key:HKCU\\", 0) == 0) RegDeleteTreeA(HKEY_CURRENT_USER, item.substr(9).c_str());
        if (item.rfind("key:HKCU\\", 0) == 0) RegDeleteKeyA(HKEY_CURRENT_USER, item.substr(9).c_str());
        if (item.rfind("file:", 0) == 0) removeTree(item.substr(5));
        if (item.rfind("dir:", 0) == 0) {  // an empty folder
            removeTree(item.substr(4));
            CreateDirectoryA(item.substr(4).c_str(), nullptr);
        }
        if (end == std::string::npos) break;
        start = end + 1;
    }
}

double runOnce(const std::string &command, const std::string &cwd) {
    std::vector<char> line(command.begin(), command.end());
    line.push_back('\0');
    // The children's output goes nowhere: only the figures are printed.
    SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
    HANDLE nul = CreateFileA("NUL", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit,
                             OPEN_EXISTING, 0, nullptr);
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = startup.hStdOutput = startup.hStdError = nul;
    PROCESS_INFORMATION process = {};
    LARGE_INTEGER frequency, begin, end;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&begin);
    BOOL started =
        CreateProcessA(nullptr, line.data(), nullptr, nullptr, TRUE, 0, nullptr, cwd.c_str(), &startup, &process);
    if (started) WaitForSingleObject(process.hProcess, INFINITE);
    QueryPerformanceCounter(&end);
    CloseHandle(nul);
    if (!started) return -1;
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return 1000.0 * static_cast<double>(end.QuadPart - begin.QuadPart) / static_cast<double>(frequency.QuadPart);
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

}  // namespace

int main(int argc, char **argv) {
    if (argc != 6) {
        fprintf(stderr, "usage: benchrun RUNS CWD RESET \"COMMAND A\" \"COMMAND B\"\n");
        return 2;
    }
    int runs = atoi(argv[1]);
    std::string cwd = argv[2], resets = strcmp(argv[3], "-") == 0 ? "" : argv[3];
    std::vector<double> a, b;
    for (int i = 0; i < runs; ++i) {
        bool aFirst = i % 2 == 0;
        for (int k = 0; k < 2; ++k) {
            bool runA = (k == 0) == aFirst;
            reset(resets);
            double ms = runOnce(runA ? argv[4] : argv[5], cwd);
            if (ms < 0) {
                fprintf(stderr, "benchrun: cannot start %s\n", runA ? argv[4] : argv[5]);
                return 1;
            }
            (runA ? a : b).push_back(ms);
        }
    }
    reset(resets);
    printf("%.1f %.1f\n", median(a), median(b));
    return 0;
}
