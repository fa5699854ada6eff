// The floor of the "windir" and "freespace" queries: the five start-up log
// calls, the one registry value or free-space call the query answers from,
// and the result file written; nothing else.
//   floor_query windir RESULTDIR | floor_query freespace DRIVE RESULTDIR
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "floorlog.h"

int main(int argc, char **argv) {
    LogProbe log(argv[0]);
    for (int i = 0; i < 5; ++i) log.call();
    if (argc < 3) return 1;
    std::string value, file;
    if (strcmp(argv[1], "windir") == 0) {
        HKEY key;
        char data[MAX_PATH + 1] = "";
        DWORD size = MAX_PATH;
        if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion", 0, KEY_QUERY_VALUE,
                          &key) == ERROR_SUCCESS) {
            RegQueryValueExA(key, "SystemRoot", nullptr, nullptr, reinterpret_cast<BYTE *>(data), &size);
            RegCloseKey(key);
        }
        log.call();
        value = data;
        file = std::string(argv[2]) + "\\windir.txt";
    } else if (argc >= 4) {
        ULARGE_INTEGER available, total, free;
        std::string root = std::string(argv[2]).substr(0, 1) + ":\\";
        GetDiskFreeSpaceExA(root.c_str(), &available, &total, &free);
        value = std::to_string(available.QuadPart);
        file = std::string(argv[3]) + "\\winspace.txt";
    }
    FILE *out = fopen(file.c_str(), "wt");
    if (out) {
        fprintf(out, "%s\n", value.c_str());
        fclose(out);
    }
    return 1;
}
