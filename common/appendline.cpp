#include "appendline.h"

#include <windows.h>

#include "linetext.h"

namespace {

// How long a writer waits for another's lock before it writes all the same:
// a line is never dropped for a lock that is not given back (a writer that
// hangs while holding it).
constexpr DWORD kLockWaitMs = 5000;

bool lockWhole(HANDLE file, OVERLAPPED *at) {
    DWORD waited = 0;
    for (DWORD pause = 1;; pause = pause < 16 ? pause * 2 : 16) {
        if (LockFileEx(file, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, MAXDWORD, MAXDWORD, at))
            return true;
        // Only another writer's lock is waited for; a file that cannot be
        // locked at all (a device) is written at once.
        if (GetLastError() != ERROR_LOCK_VIOLATION || waited >= kLockWaitMs) return false;
        Sleep(pause);
        waited += pause;
    }
}

}  // namespace

AppendOutcome appendLine(const char *path, const std::string &text, bool create) {
    HANDLE file = CreateFileA(path, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, create ? OPEN_ALWAYS : OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return AppendOutcome::NotOpened;
    std::string bytes = textModeBytes(text);
    OVERLAPPED whole = {};
    bool locked = lockWhole(file, &whole);
    AppendOutcome outcome = AppendOutcome::Failed;
    LARGE_INTEGER end = {}, zero = {};
    if (SetFilePointerEx(file, zero, &end, FILE_END)) {
        DWORD written = 0;
        if (WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
            written == bytes.size()) {
            outcome = AppendOutcome::Written;
        } else if (SetFilePointerEx(file, end, nullptr, FILE_BEGIN)) {
            SetEndOfFile(file);  // no piece of the line stays behind
        }
    }
    if (locked) UnlockFileEx(file, 0, MAXDWORD, MAXDWORD, &whole);
    if (!CloseHandle(file) && outcome == AppendOutcome::Written) outcome = AppendOutcome::Failed;
    return outcome;
}
