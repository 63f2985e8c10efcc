#include "tests/win/analysis_test_support.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "report/opencv_files.h"

TemporaryTree::~TemporaryTree() {
    for (auto made = made_.rbegin(); made != made_.rend(); ++made) {
        if (made->folder) {
            if (!made->existed) {
                RemoveDirectoryA(made->path.c_str());
            }
        } else if (made->existed) {
            WriteFileBytes(made->path, made->oldBytes);
        } else {
            RemoveFile(made->path);
        }
    }
}

bool TemporaryTree::Folder(const std::string& path) {
    const std::string::size_type slash = path.find_last_of('\\');
    if (slash != std::string::npos && slash > 2 && !Folder(path.substr(0, slash))) {
        return false;
    }
    const bool existed = FileExistsAt(path);
    if (!existed && !CreateDirectoryA(path.c_str(), nullptr)) {
        return false;
    }
    made_.push_back({path, true, existed, ""});
    return true;
}

bool TemporaryTree::File(const std::string& path, const std::string& bytes, DWORD attributes) {
    const bool existed = FileExistsAt(path);
    made_.push_back({path, false, existed, existed ? ReadFileBytes(path) : ""});
    WriteFileBytes(path, bytes);
    return ReadFileBytes(path) == bytes && SetFileAttributesA(path.c_str(), attributes) != FALSE;
}

std::string CurrentDirectory() {
    char path[MAX_PATH] = {};
    GetCurrentDirectoryA(sizeof path, path);
    return path;
}

ScopedCurrentDirectory::ScopedCurrentDirectory() : saved_(CurrentDirectory()) {}

ScopedCurrentDirectory::~ScopedCurrentDirectory() {
    SetCurrentDirectoryA(saved_.c_str());
}

ScopedRegistryText::ScopedRegistryText(HKEY root, const char* keyPath, const char* name,
                                       const std::string& text)
    : name_(name) {
    if (RegOpenKeyExA(root, keyPath, 0, KEY_QUERY_VALUE | KEY_SET_VALUE, &key_) != ERROR_SUCCESS) {
        key_ = nullptr;
        return;
    }
    DWORD size = 0;
    if (RegQueryValueExA(key_, name, nullptr, &oldType_, nullptr, &size) == ERROR_SUCCESS) {
        oldBytes_.assign(size, '\0');
        existed_ = RegQueryValueExA(key_, name, nullptr, &oldType_,
                                    reinterpret_cast<BYTE*>(&oldBytes_[0]), &size) == ERROR_SUCCESS;
        oldBytes_.resize(size);
    }
    applied_ = RegSetValueExA(key_, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                              static_cast<DWORD>(text.size() + 1)) == ERROR_SUCCESS;
}

ScopedRegistryText::~ScopedRegistryText() {
    if (key_ == nullptr) {
        return;
    }
    if (existed_) {
        RegSetValueExA(key_, name_.c_str(), 0, oldType_,
                       reinterpret_cast<const BYTE*>(oldBytes_.data()),
                       static_cast<DWORD>(oldBytes_.size()));
    } else {
        RegDeleteValueA(key_, name_.c_str());
    }
    RegCloseKey(key_);
}

VersionedCopy::VersionedCopy(const std::string& stem, const std::string& wineVersion)
    : path_("C:\\" + stem + "_" + wineVersion + ".exe"),
      appDefaults_(HKEY_CURRENT_USER,
                   "Software\\Wine\\AppDefaults\\" + stem + "_" + wineVersion + ".exe") {
    copied_ = CopyFileA(ThisProgram().c_str(), path_.c_str(), FALSE) != FALSE;
    appDefaults_.SetText("Version", wineVersion);
}

VersionedCopy::~VersionedCopy() {
    RemoveFile(path_);
}

ChildRun VersionedCopy::Run(const std::string& filter, DWORD timeoutMs) const {
    return RunTestProgram(path_, "--gtest_filter=" + filter, timeoutMs, "C:\\");
}

std::vector<RecordedBox> RunBoxes(const std::vector<RecordedBox>& boxes) {
    static const char* const captions[] = {
        "CreateFile",         "Vorlix   CreateFile",      "Vorlix   SetFilePointer",
        "Vorlix   WriteFile", "Vorlix   RegQueryValueEx", "Vorlix   GetVersionInfoEx ",
    };
    std::vector<RecordedBox> found;
    for (const RecordedBox& box : boxes) {
        bool ours = box.text == "BLANK_TAB < len";
        for (const char* caption : captions) {
            ours = ours || box.caption == caption;
        }
        if (ours) {
            found.push_back(box);
        }
    }
    return found;
}

std::string ProgramFilesFromEnvironment() {
    char path[MAX_PATH] = {};
    GetEnvironmentVariableA("ProgramFiles", path, sizeof path);
    return path;
}

std::vector<std::string> OpenCvPaths(const std::string& programFiles) {
    std::vector<std::string> paths;
    for (std::size_t i = 0; i < kOpenCvFileCount; ++i) {
        const char* entry = kOpenCvFiles[i];
        // The table's entries are checked on the host against the file names one by one;
        // here only their folder is taken apart from the name.
        const char* name = std::strrchr(entry, '\\');
        paths.push_back(programFiles + "\\" + kOpenCvFolderBelowProgramFiles +
                        (name != nullptr ? name : "\\?"));
    }
    return paths;
}

std::int64_t TimestampSeconds(const std::string& text) {
    SYSTEMTIME time = {};
    int day = 0, month = 0, year = 0, hour = 0, minute = 0, second = 0;
    char end = 0;
    if (!LooksLikeTimestamp(text) ||
        std::sscanf(text.c_str(), "%2d.%2d.%4d %2d:%2d %2d%c", &day, &month, &year, &hour, &minute,
                    &second, &end) != 6) {
        return -1;
    }
    time.wDay = static_cast<WORD>(day);
    time.wMonth = static_cast<WORD>(month);
    time.wYear = static_cast<WORD>(year);
    time.wHour = static_cast<WORD>(hour);
    time.wMinute = static_cast<WORD>(minute);
    time.wSecond = static_cast<WORD>(second);
    FILETIME file;
    if (!SystemTimeToFileTime(&time, &file)) {
        return -1;
    }
    ULARGE_INTEGER ticks;
    ticks.LowPart = file.dwLowDateTime;
    ticks.HighPart = file.dwHighDateTime;
    return static_cast<std::int64_t>(ticks.QuadPart / 10000000u);
}

std::int64_t LocalNowSeconds() {
    SYSTEMTIME now;
    GetLocalTime(&now);
    return TimestampSeconds(Formatted("%02d.%02d.%4d %02d:%02d %02d", now.wDay, now.wMonth,
                                      now.wYear, now.wHour, now.wMinute, now.wSecond));
}

std::string Formatted(const char* format, ...) {
    char text[128];
    va_list arguments;
    va_start(arguments, format);
    std::vsnprintf(text, sizeof text, format, arguments);
    va_end(arguments);
    return text;
}
