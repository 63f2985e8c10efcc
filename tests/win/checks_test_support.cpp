#include "tests/win/checks_test_support.h"

#include "tests/win/test_support.h"

PreservedFile::PreservedFile(std::string path)
    : path_(std::move(path)),
      existed_(FileExistsAt(path_)),
      bytes_(existed_ ? ReadFileBytes(path_) : std::string()),
      attributes_(GetFileAttributesA(path_.c_str())) {}

PreservedFile::~PreservedFile() {
    RemoveFile(path_);
    if (existed_) {
        WriteFileBytes(path_, bytes_);
        SetFileAttributesA(path_.c_str(), attributes_);
    }
}

ScopedDirectory::ScopedDirectory(const std::string& path) {
    for (size_t end = path.find('\\', 3);; end = path.find('\\', end + 1)) {
        const std::string part = path.substr(0, end);
        if (!FileExistsAt(part) && CreateDirectoryA(part.c_str(), nullptr)) {
            created_.push_back(part);
        }
        if (end == std::string::npos) {
            break;
        }
    }
}

ScopedDirectory::~ScopedDirectory() {
    for (auto part = created_.rbegin(); part != created_.rend(); ++part) {
        RemoveDirectoryA(part->c_str());
    }
}

std::string FixturePath(const std::string& relativePath) {
    std::string folder = ThisProgram();
    folder.erase(folder.find_last_of('\\') + 1);
    return folder + "fixtures\\" + relativePath;
}

std::string EnvironmentValue(const char* variable) {
    char value[4096];
    const DWORD length = GetEnvironmentVariableA(variable, value, sizeof value);
    return length > 0 && length < sizeof value ? std::string(value, length) : std::string();
}

ChildRun RunTestsInChild(const std::string& filter, const char* variable, const std::string& value,
                         DWORD timeoutMs) {
    ScopedEnvironmentVariable caseName(variable, value.c_str());
    return RunTestProgram(
        ThisProgram(), "--gtest_filter=" + filter + " --gtest_also_run_disabled_tests", timeoutMs);
}

namespace {
LogOpenWatch* g_logOpenWatch = nullptr;
}  // namespace

LogOpenWatch::LogOpenWatch(std::string path)
    : path_(std::move(path)),
      create_("kernel32.dll", "CreateFileA", reinterpret_cast<void*>(CreateFileHook)),
      seek_("kernel32.dll", "SetFilePointerEx", reinterpret_cast<void*>(SeekHook)) {
    g_logOpenWatch = this;
}

LogOpenWatch::~LogOpenWatch() {
    g_logOpenWatch = nullptr;
}

void LogOpenWatch::FailOpen(DWORD disposition, DWORD error) {
    failingDisposition_ = disposition;
    openError_ = error;
}

void LogOpenWatch::FailSeek(DWORD error) {
    seekError_ = error;
}

HANDLE WINAPI LogOpenWatch::CreateFileHook(LPCSTR name, DWORD access, DWORD share,
                                           LPSECURITY_ATTRIBUTES security, DWORD disposition,
                                           DWORD attributes, HANDLE templateFile) {
    LogOpenWatch& watch = *g_logOpenWatch;
    using CreateFileFunction = decltype(&CreateFileA);
    const auto original = watch.create_.Original<CreateFileFunction>();
    if (lstrcmpiA(name, watch.path_.c_str()) != 0) {
        return original(name, access, share, security, disposition, attributes, templateFile);
    }
    watch.opens_.push_back(
        {access, share, security == nullptr, disposition, attributes, templateFile == nullptr});
    if (watch.openError_ != 0 && disposition == watch.failingDisposition_) {
        SetLastError(watch.openError_);
        return INVALID_HANDLE_VALUE;
    }
    watch.handle_ = original(name, access, share, security, disposition, attributes, templateFile);
    return watch.handle_;
}

BOOL WINAPI LogOpenWatch::SeekHook(HANDLE file, LARGE_INTEGER distance, PLARGE_INTEGER position,
                                   DWORD method) {
    LogOpenWatch& watch = *g_logOpenWatch;
    if (file == watch.handle_) {
        ++watch.seeks_;
        if (watch.seekError_ != 0) {
            SetLastError(watch.seekError_);
            return FALSE;
        }
    }
    using SeekFunction = decltype(&SetFilePointerEx);
    return watch.seek_.Original<SeekFunction>()(file, distance, position, method);
}
