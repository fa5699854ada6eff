#include "harness.h"

#include <atomic>
#include <cstdio>

std::string exeDir() {
    char path[MAX_PATH * 2];
    DWORD n = GetModuleFileNameA(nullptr, path, sizeof path);
    std::string text(path, n);
    return text.substr(0, text.find_last_of('\\'));
}

std::string programsDir() {
    const char *dist = getenv("TARVEX_PROGRAMS");
    return dist && *dist ? dist : exeDir();
}

std::string setupExe() { return programsDir() + "\\setup.exe"; }
std::string updateExe() { return programsDir() + "\\update.exe"; }
std::string updateConfigExe() { return programsDir() + "\\update-config.exe"; }
std::string checkerExe() { return programsDir() + "\\tarvex-check.exe"; }
// Quotes one argument by the rules that split a Windows command line:
// backslashes are doubled where they come before a quote.
std::string quote(const std::string &text) {
    std::string quoted = "\"";
    size_t backslashes = 0;
    for (char c : text) {
        if (c == '\\') {
            ++backslashes;
            continue;
        }
        quoted.append(c == '"' ? backslashes * 2 + 1 : backslashes, '\\');
        backslashes = 0;
        quoted += c;
    }
    quoted.append(backslashes * 2, '\\');
    return quoted + "\"";
}

DWORD runProcess(const std::string &commandLine, const std::string &cwd, const char *environment,
                 const char *application, DWORD timeoutMs) {
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    std::vector<char> line(commandLine.begin(), commandLine.end());
    line.push_back('\0');
    if (!CreateProcessA(application, line.data(), nullptr, nullptr, FALSE, 0, const_cast<char *>(environment),
                        cwd.empty() ? nullptr : cwd.c_str(), &startup, &process))
        return ~0u;
    DWORD code = ~0u;
    if (WaitForSingleObject(process.hProcess, timeoutMs) == WAIT_TIMEOUT) {
        TerminateProcess(process.hProcess, kTimedOut);
        WaitForSingleObject(process.hProcess, 10000);
        code = kTimedOut;
    } else {
        GetExitCodeProcess(process.hProcess, &code);
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return code;
}

// A Linux path as Wine shows it: Z: is the Linux root.
static std::string fromLinux(const char *unixPath) {
    std::string path = std::string("Z:") + unixPath;
    std::replace(path.begin(), path.end(), '/', '\\');
    return path;
}

std::string smallDiskFolder(const std::string &name) {
    // Given as the Linux path of the mount; Z: is the Linux root.
    const char *unixPath = getenv("TARVEX_SMALL_DISK");
    if (!unixPath || unixPath[0] != '/') return "";
    std::string disk = fromLinux(unixPath);
    if (!exists(disk + "\\.mounted")) return "";
    std::string folder = disk + "\\" + name;
    removeTree(folder);
    return CreateDirectoryA(folder.c_str(), nullptr) ? folder : "";
}

std::string sourceFile(const std::string &relative) {
    const char *root = getenv("TARVEX_SOURCE");
    if (!root || !*root) root = TARVEX_SOURCE_DIR;
    if (root[0] != '/') return "";
    std::string path = fromLinux((std::string(root) + "/" + relative).c_str());
    return path;
}

void fillDisk(const std::string &folder) {
    HANDLE file = CreateFileA((folder + "\\filler").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    static const char block[4096] = {};
    DWORD written = 0;
    while (WriteFile(file, block, sizeof block, &written, nullptr) && written == sizeof block) {
    }
    // The last blocks, smaller than a chunk.
    while (WriteFile(file, block, 1, &written, nullptr) && written == 1) {
    }
    CloseHandle(file);
}

std::string readFile(const std::string &path) {
    std::string bytes;
    FILE *file = fopen(path.c_str(), "rb");
    if (!file) return bytes;
    char chunk[4096];
    size_t n;
    while ((n = fread(chunk, 1, sizeof chunk, file)) > 0) bytes.append(chunk, n);
    fclose(file);
    return bytes;
}

void writeFile(const std::string &path, const std::string &bytes) {
    FILE *file = fopen(path.c_str(), "wb");
    ASSERT_NE(file, nullptr) << path;
    fwrite(bytes.data(), 1, bytes.size(), file);
    fclose(file);
}

bool exists(const std::string &path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// Wide and with the "\\?\" prefix, so that paths past MAX_PATH (which some
// tests make on purpose) can be removed too.
static std::wstring longPath(const std::string &path) {
    std::wstring wide(path.size(), L'\0');
    int n = MultiByteToWideChar(CP_ACP, 0, path.data(), static_cast<int>(path.size()), &wide[0],
                                static_cast<int>(wide.size()));
    wide.resize(n > 0 ? n : 0);
    if (wide.size() > 2 && wide[1] == L':' && wide[2] == L'\\') wide = L"\\\\?\\" + wide;
    return wide;
}

static void removeTreeWide(const std::wstring &path) {
    DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return;
    SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    if (!(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        DeleteFileW(path.c_str());
        return;
    }
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((path + L"\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            std::wstring name = found.cFileName;
            if (name != L"." && name != L"..") removeTreeWide(path + L"\\" + name);
        } while (FindNextFileW(search, &found));
        FindClose(search);
    }
    RemoveDirectoryW(path.c_str());
}

void removeTree(const std::string &path) { removeTreeWide(longPath(path)); }

std::string currentDir() {
    char path[MAX_PATH + 1];
    DWORD n = GetCurrentDirectoryA(sizeof path, path);
    return std::string(path, n);
}

static bool isStamp(const std::string &line) {
    // "Sun Dec 06 19:55:36 2026 "
    static const char shape[] = "Aaa Aaa 99 99:99:99 9999 ";
    if (line.size() < 25) return false;
    for (size_t i = 0; i < 25; ++i) {
        char c = line[i], s = shape[i];
        if (s == 'A' && !(c >= 'A' && c <= 'Z')) return false;
        if (s == 'a' && !(c >= 'a' && c <= 'z')) return false;
        if (s == '9' && !(c >= '0' && c <= '9')) return false;
        if ((s == ' ' || s == ':') && c != s) return false;
    }
    return true;
}

std::vector<std::string> logMessages(const std::string &logText) {
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < logText.size()) {
        size_t end = logText.find("\r\n", start);
        if (end == std::string::npos) end = logText.size();
        std::string line = logText.substr(start, end - start);
        lines.push_back(isStamp(line) ? line.substr(25) : "<no stamp>" + line);
        start = end + 2;
    }
    return lines;
}

std::string environmentBlock(const std::vector<std::string> &variables) {
    std::string block;
    for (const std::string &variable : variables) block += variable + '\0';
    block += '\0';
    return block;
}

std::vector<std::string> environmentWithout(const std::vector<std::string> &names) {
    std::vector<std::string> variables;
    char *block = GetEnvironmentStringsA();
    for (char *entry = block; *entry; entry += strlen(entry) + 1) {
        std::string text = entry;
        std::string name = text.substr(0, text.find('=', 1));
        bool drop = false;
        for (const std::string &n : names)
            if (_stricmp(n.c_str(), name.c_str()) == 0) drop = true;
        if (!drop) variables.push_back(text);
    }
    FreeEnvironmentStringsA(block);
    return variables;
}

void ToolTest::SetUp() {
    static std::atomic<int> counter{0};
    char temp[MAX_PATH + 1];
    GetTempPathA(sizeof temp, temp);
    const ::testing::TestInfo *info = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string name = std::string(info->test_suite_name()) + "." + info->name();
    for (char &c : name)
        if (!isalnum(static_cast<unsigned char>(c)) && c != '.') c = '_';
    // Wine reuses process ids from run to run: a folder of an earlier run
    // that could not be removed is passed over rather than failing the test.
    std::string base = std::string(temp) + "tvx_" + name + "_" + std::to_string(GetCurrentProcessId()) + "_";
    for (int attempt = 0; attempt < 100; ++attempt) {
        dir = base + std::to_string(counter++);
        removeTree(dir);
        if (CreateDirectoryA(dir.c_str(), nullptr)) return;
    }
    FAIL() << "no fresh folder for the test below " << base;
}

void ToolTest::TearDown() {
    // A console the launcher opened for its program may still hold the
    // folder for a moment after the program ended.
    for (int attempt = 0; attempt < 30 && (removeTree(dir), exists(dir)); ++attempt) Sleep(100);
}

DWORD ToolTest::runIn(const std::string &cwd, const std::string &program, const std::vector<std::string> &args,
                      const char *environment) {
    std::string line = quote(program);
    for (const std::string &arg : args) line += " " + quote(arg);
    return runProcess(line, cwd, environment);
}

std::string ToolTest::runSetupCapturing(const std::vector<std::string> &args) {
    return runCapturing(setupExe(), args);
}

std::string ToolTest::runCapturing(const std::string &program, const std::vector<std::string> &args,
                                   DWORD *exitCode) {
    std::string file = at("stdout.txt");
    SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
    HANDLE out = CreateFileA(file.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, &inherit,
                             CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (out == INVALID_HANDLE_VALUE) return "<no file>";
    std::string line = quote(program);
    for (const std::string &arg : args) line += " " + quote(arg);
    std::vector<char> text(line.begin(), line.end());
    text.push_back('\0');
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = INVALID_HANDLE_VALUE;
    startup.hStdOutput = out;
    startup.hStdError = out;
    PROCESS_INFORMATION process = {};
    if (CreateProcessA(nullptr, text.data(), nullptr, nullptr, TRUE, 0, nullptr, dir.c_str(), &startup, &process)) {
        WaitForSingleObject(process.hProcess, 120000);
        if (exitCode) GetExitCodeProcess(process.hProcess, exitCode);
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }
    CloseHandle(out);
    std::string written = readFile(file);
    DeleteFileA(file.c_str());
    return written;
}

DWORD ToolTest::runSetup(const std::vector<std::string> &args) { return runIn(dir, setupExe(), args); }

RegistrySandbox::RegistrySandbox(HKEY root, const std::string &path) : root_(root), path_(path) {
    RegDeleteTreeA(root_, path_.c_str());
    RegDeleteKeyA(root_, path_.c_str());
}

RegistrySandbox::~RegistrySandbox() {
    RegDeleteTreeA(root_, path_.c_str());
    RegDeleteKeyA(root_, path_.c_str());
}

SavedValue::SavedValue(HKEY root, const std::string &key, const std::string &name)
    : root_(root), key_(key), name_(name) {
    std::string data;
    present_ = readValue(root, key, name, &type_, &data);
    data_.assign(data.begin(), data.end());
}

SavedValue::~SavedValue() {
    if (!present_) {
        deleteValue(root_, key_, name_);
        return;
    }
    HKEY key;
    if (RegCreateKeyExA(root_, key_.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr) == 0) {
        RegSetValueExA(key, name_.c_str(), 0, type_, data_.data(), static_cast<DWORD>(data_.size()));
        RegCloseKey(key);
    }
}

static void setRaw(HKEY root, const std::string &key, const std::string &name, DWORD type, const void *data,
                   DWORD size) {
    HKEY handle;
    ASSERT_EQ(RegCreateKeyExA(root, key.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &handle, nullptr), 0)
        << key;
    EXPECT_EQ(RegSetValueExA(handle, name.c_str(), 0, type, static_cast<const BYTE *>(data), size), 0) << name;
    RegCloseKey(handle);
}

void setString(HKEY root, const std::string &key, const std::string &name, const std::string &value, DWORD type) {
    setRaw(root, key, name, type, value.c_str(), static_cast<DWORD>(value.size() + 1));
}

void setDword(HKEY root, const std::string &key, const std::string &name, DWORD value) {
    setRaw(root, key, name, REG_DWORD, &value, sizeof value);
}

void setBinary(HKEY root, const std::string &key, const std::string &name, const std::string &bytes) {
    setRaw(root, key, name, REG_BINARY, bytes.data(), static_cast<DWORD>(bytes.size()));
}

void deleteValue(HKEY root, const std::string &key, const std::string &name) {
    HKEY handle;
    if (RegOpenKeyExA(root, key.c_str(), 0, KEY_SET_VALUE, &handle) == 0) {
        RegDeleteValueA(handle, name.c_str());
        RegCloseKey(handle);
    }
}

bool keyExists(HKEY root, const std::string &key) {
    HKEY handle;
    if (RegOpenKeyExA(root, key.c_str(), 0, KEY_QUERY_VALUE, &handle) != 0) return false;
    RegCloseKey(handle);
    return true;
}

bool readValue(HKEY root, const std::string &key, const std::string &name, DWORD *type, std::string *data) {
    HKEY handle;
    if (RegOpenKeyExA(root, key.c_str(), 0, KEY_QUERY_VALUE, &handle) != 0) return false;
    DWORD size = 0;
    LONG status = RegQueryValueExA(handle, name.c_str(), nullptr, type, nullptr, &size);
    if (status == 0) {
        data->assign(size, '\0');
        status = RegQueryValueExA(handle, name.c_str(), nullptr, type,
                                  reinterpret_cast<BYTE *>(&(*data)[0]), &size);
        data->resize(size);
    }
    RegCloseKey(handle);
    return status == 0;
}
