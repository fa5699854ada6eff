// The floor of a registry script of add or query lines: per line only the
// calls the behaviour needs (create or open the key, read the value, set it
// when absent, close it; append the results line with open, write, close)
// and the log's existence tests (four log calls per line, five at start).
//   floor_registry SCRIPT
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "floorlog.h"

int main(int argc, char **argv) {
    LogProbe log(argv[0]);
    for (int i = 0; i < 5; ++i) log.call();
    if (argc < 2) return 1;
    std::string script = argv[1];
    std::string results = script.substr(0, script.find_last_of('\\')) + "\\regstats.txt";
    FILE *in = fopen(script.c_str(), "rt");
    if (!in) return 1;
    char line[10000];
    while (fgets(line, sizeof line, in)) {
        std::string text = line;
        if (!text.empty() && text.back() == '\n') text.pop_back();
        std::vector<std::string> field;
        size_t start = 0;
        for (size_t tab; (tab = text.find('\t', start)) != std::string::npos; start = tab + 1)
            field.push_back(text.substr(start, tab - start));
        field.push_back(text.substr(start));
        for (int i = 0; i < 4; ++i) log.call();
        if (field.size() < 3) continue;
        bool add = field[0] == "add";
        std::string root = field[1].substr(0, field[1].find('\\')), key = field[1].substr(field[1].find('\\') + 1);
        HKEY handle;
        std::string status = "error", type = add && field.size() > 3 ? field[3] : "", data = field.size() > 4 ? field[4] : "";
        if (add) {
            if (RegCreateKeyExA(HKEY_CURRENT_USER, key.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &handle,
                                nullptr) == ERROR_SUCCESS) {
                char current[10000];
                DWORD size = sizeof current;
                if (RegQueryValueExA(handle, field[2].c_str(), nullptr, nullptr, reinterpret_cast<BYTE *>(current),
                                     &size) == ERROR_SUCCESS) {
                    status = "exists";
                } else {
                    RegSetValueExA(handle, field[2].c_str(), 0, REG_SZ, reinterpret_cast<const BYTE *>(data.c_str()),
                                   static_cast<DWORD>(data.size() + 1));
                    status = "ok";
                }
                RegCloseKey(handle);
            }
        } else if (RegOpenKeyExA(HKEY_CURRENT_USER, key.c_str(), 0, KEY_QUERY_VALUE, &handle) == ERROR_SUCCESS) {
            char current[10000];
            DWORD size = sizeof current, kind = 0;
            if (RegQueryValueExA(handle, field[2].c_str(), nullptr, &kind, reinterpret_cast<BYTE *>(current), &size) ==
                ERROR_SUCCESS) {
                status = "ok";
                type = "string";
                data.assign(current, size ? size - 1 : 0);
            }
            RegCloseKey(handle);
        }
        std::string out = field[0] + "\t\t" + status + "\t" + root + "\\" + key + "\t" + field[2] + "\t" + type +
                          "\t" + data + "\r\n";
        HANDLE file = CreateFileA(results.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                  OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        DWORD written;
        WriteFile(file, out.data(), static_cast<DWORD>(out.size()), &written, nullptr);
        CloseHandle(file);
    }
    fclose(in);
    return 1;
}
