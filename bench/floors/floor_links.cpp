// The floor of a shortcut script of add blocks: per block the same link
// calls (COM initialised and released, the link object, path, arguments,
// save) and the same two starts of the attribute tool as the writability
// probe of the menu folder makes.
//   floor_links MENUFOLDER COUNT TARGET
#include <windows.h>

#include <objbase.h>
#include <process.h>
#include <shlobj.h>

#include <cstdlib>
#include <string>

int main(int argc, char **argv) {
    if (argc < 4) return 1;
    std::string menu = argv[1];
    int count = atoi(argv[2]);
    char system[MAX_PATH + 1];
    GetSystemDirectoryA(system, MAX_PATH);
    std::string attrib = std::string(system) + "\\attrib.exe";
    for (int i = 0; i < count; ++i) {
        std::string probe = "\"" + menu + "\\__testVemFolder\"";
        const char *const args[] = {"attrib.exe", "-r", probe.c_str(), nullptr};
        _spawnv(_P_WAIT, attrib.c_str(), args);
        _spawnv(_P_WAIT, attrib.c_str(), args);
        if (CoInitialize(nullptr) != S_OK) continue;
        IShellLinkA *link = nullptr;
        if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                       reinterpret_cast<void **>(&link)))) {
            link->SetPath(argv[3]);
            link->SetArguments("-n");
            IPersistFile *persist = nullptr;
            if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void **>(&persist)))) {
                std::wstring path;
                std::string name = menu + "\\Link" + std::to_string(i) + ".lnk";
                path.assign(name.begin(), name.end());
                persist->Save(path.c_str(), TRUE);
                persist->Release();
            }
            link->Release();
        }
        CoUninitialize();
    }
    return 1;
}
