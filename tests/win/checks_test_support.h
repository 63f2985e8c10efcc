// Helpers for the tests of the export check and the service listing: files
// put back as they were, failures of single system calls, and test runs in a
// child process (a loaded plug-in stays loaded for the rest of a process).
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "tests/win/test_support.h"

// Keeps a file's bytes and attributes, or its absence, and puts them back at
// the end of the scope.
class PreservedFile {
public:
    explicit PreservedFile(std::string path);
    ~PreservedFile();
    PreservedFile(const PreservedFile&) = delete;
    PreservedFile& operator=(const PreservedFile&) = delete;

private:
    std::string path_;
    bool existed_;
    std::string bytes_;
    DWORD attributes_;
};

// Makes a directory (and its parents) if missing; removes what it made at
// the end of the scope, provided it is empty again.
class ScopedDirectory {
public:
    explicit ScopedDirectory(const std::string& path);
    ~ScopedDirectory();
    ScopedDirectory(const ScopedDirectory&) = delete;
    ScopedDirectory& operator=(const ScopedDirectory&) = delete;

private:
    std::vector<std::string> created_;
};

// A fixture DLL built beside this test program (see tests/win/fixtures).
std::string FixturePath(const std::string& relativePath);

// Watches the program's CreateFileA and SetFilePointerEx calls on one file
// while it lives, and makes them fail on request. Only one at a time.
class LogOpenWatch {
public:
    struct Open {
        DWORD access;
        DWORD share;
        bool defaultSecurity;
        DWORD disposition;
        DWORD attributes;
        bool noTemplate;
    };

    explicit LogOpenWatch(std::string path);
    ~LogOpenWatch();
    LogOpenWatch(const LogOpenWatch&) = delete;
    LogOpenWatch& operator=(const LogOpenWatch&) = delete;

    // Opens of the file with this disposition fail with `error`.
    void FailOpen(DWORD disposition, DWORD error);
    // Moving the position of the file's handle fails with `error`.
    void FailSeek(DWORD error);

    const std::vector<Open>& Opens() const { return opens_; }
    int Seeks() const { return seeks_; }
    bool Active() const { return create_.Active() && seek_.Active(); }

private:
    static HANDLE WINAPI CreateFileHook(LPCSTR name, DWORD access, DWORD share,
                                        LPSECURITY_ATTRIBUTES security, DWORD disposition,
                                        DWORD attributes, HANDLE templateFile);
    static BOOL WINAPI SeekHook(HANDLE file, LARGE_INTEGER distance, PLARGE_INTEGER position,
                                DWORD method);

    std::string path_;
    DWORD failingDisposition_ = 0;
    DWORD openError_ = 0;
    DWORD seekError_ = 0;
    HANDLE handle_ = INVALID_HANDLE_VALUE;
    std::vector<Open> opens_;
    int seeks_ = 0;
    ImportPatch create_;
    ImportPatch seek_;
};

// Runs this test program again with only the tests that `filter` names
// (disabled ones included) and with `variable` set to `value`; ends it after
// `timeoutMs`.
ChildRun RunTestsInChild(const std::string& filter, const char* variable, const std::string& value,
                         DWORD timeoutMs = 60000);

// The value of an environment variable, empty when unset.
std::string EnvironmentValue(const char* variable);
