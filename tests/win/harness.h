// Test harness: start the real programs as child processes, each test in a
// fresh folder (and, where it needs one, its own registry key), and read
// back what they left through the Win32 API.
#pragma once
#include <windows.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

std::string exeDir();  // folder of this test program and its helpers (standin.exe)
// Folder of the programs under test: TARVEX_PROGRAMS when set (the
// deliverables in dist/), else the build's own, beside this test program.
std::string programsDir();
std::string setupExe();
std::string updateExe();
std::string updateConfigExe();
std::string checkerExe();
std::string quote(const std::string &text);

// Starts commandLine in cwd and waits. Returns the exit code, or ~0u when the
// process could not be started. environment: a Windows environment block, or
// null for this process's own.
// application: the program to start when the command line's first word is
// not its path (a test of how the program treats its own name).
// timeoutMs: a child still running then is ended and kTimedOut returned.
constexpr DWORD kTimedOut = 0xFFFFFFFEu;
DWORD runProcess(const std::string &commandLine, const std::string &cwd, const char *environment = nullptr,
                 const char *application = nullptr, DWORD timeoutMs = 120000);

// A folder of this test on a small disk of its own (TARVEX_SMALL_DISK, the
// Linux path of a tmpfs the test run mounts), or empty where none could be mounted. fillDisk
// then takes every free block, so the next write fails for want of space.
std::string smallDiskFolder(const std::string &name);

// A file of the source tree (TARVEX_SOURCE, or the tree this test program
// was built from; its Linux path), such as
// "examples/registry.txt", as a Windows path; empty when unknown.
std::string sourceFile(const std::string &relative);
void fillDisk(const std::string &folder);

std::string readFile(const std::string &path);  // whole file, bytes as stored
void writeFile(const std::string &path, const std::string &bytes);
bool exists(const std::string &path);
void removeTree(const std::string &path);
std::string currentDir();

// The messages of a tool or launcher log: each line's 24-character time
// stamp and the blank after it are checked and removed; lines that do not
// start with a stamp (continuations of a message holding line breaks) stay.
std::vector<std::string> logMessages(const std::string &logText);

// Builds a Windows environment block from "NAME=value" texts.
std::string environmentBlock(const std::vector<std::string> &variables);
// This process's environment as "NAME=value" texts, without the names given.
std::vector<std::string> environmentWithout(const std::vector<std::string> &names);

class ToolTest : public ::testing::Test {
protected:
    std::string dir;  // empty folder of this test, current directory of the child

    void SetUp() override;
    void TearDown() override;
    std::string at(const std::string &name) const { return dir + "\\" + name; }
    // Runs setup.exe (or the program given) with the arguments, each quoted.
    DWORD runSetup(const std::vector<std::string> &args);
    DWORD runIn(const std::string &cwd, const std::string &program, const std::vector<std::string> &args,
                const char *environment = nullptr);
    // Runs setup.exe with its standard output sent to a file; returns what it wrote.
    std::string runSetupCapturing(const std::vector<std::string> &args);
    // Runs program in this test's folder with its standard output sent to a
    // file; returns what it wrote (and its exit code when asked).
    std::string runCapturing(const std::string &program, const std::vector<std::string> &args,
                             DWORD *exitCode = nullptr);
    void enableLog(const std::string &name = "tarvex2.log") { writeFile(at(name), ""); }
    std::vector<std::string> log(const std::string &name = "tarvex2.log") { return logMessages(readFile(at(name))); }
};

// A registry key of one test, deleted with all it holds before and after.
class RegistrySandbox {
public:
    RegistrySandbox(HKEY root, const std::string &path);
    ~RegistrySandbox();
    HKEY root() const { return root_; }
    const std::string &path() const { return path_; }

private:
    HKEY root_;
    std::string path_;
};

// Saves one registry value on construction and puts it back (or removes it,
// when it was absent) on destruction.
class SavedValue {
public:
    SavedValue(HKEY root, const std::string &key, const std::string &name);
    ~SavedValue();

private:
    HKEY root_;
    std::string key_, name_;
    bool present_ = false;
    DWORD type_ = 0;
    std::vector<BYTE> data_;
};

// Small registry helpers for arranging and checking.
void setString(HKEY root, const std::string &key, const std::string &name, const std::string &value,
               DWORD type = REG_SZ);
void setDword(HKEY root, const std::string &key, const std::string &name, DWORD value);
void setBinary(HKEY root, const std::string &key, const std::string &name, const std::string &bytes);
void deleteValue(HKEY root, const std::string &key, const std::string &name);
bool keyExists(HKEY root, const std::string &key);
// Reads a value: false when it cannot be read.
bool readValue(HKEY root, const std::string &key, const std::string &name, DWORD *type, std::string *data);
