#include "tests/win/checks_test_support.h"

#include <cstring>

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
    char program[MAX_PATH];
    const DWORD length = GetModuleFileNameA(nullptr, program, sizeof program);
    std::string folder(program, length);
    folder.erase(folder.find_last_of('\\') + 1);
    return folder + "fixtures\\" + relativePath;
}

namespace {

void** FindImportSlot(const char* dll, const char* function) {
    auto* base = reinterpret_cast<BYTE*>(GetModuleHandleA(nullptr));
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& imports =
        nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    auto* descriptor = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + imports.VirtualAddress);
    for (; descriptor->Name != 0; ++descriptor) {
        if (lstrcmpiA(reinterpret_cast<const char*>(base + descriptor->Name), dll) != 0) {
            continue;
        }
        const DWORD nameTable = descriptor->OriginalFirstThunk != 0 ? descriptor->OriginalFirstThunk
                                                                    : descriptor->FirstThunk;
        auto* names = reinterpret_cast<IMAGE_THUNK_DATA*>(base + nameTable);
        auto* slots = reinterpret_cast<IMAGE_THUNK_DATA*>(base + descriptor->FirstThunk);
        for (; names->u1.AddressOfData != 0; ++names, ++slots) {
            if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal)) {
                continue;
            }
            const auto* byName =
                reinterpret_cast<const IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData);
            if (std::strcmp(reinterpret_cast<const char*>(byName->Name), function) == 0) {
                return reinterpret_cast<void**>(&slots->u1.Function);
            }
        }
    }
    return nullptr;
}

void WriteSlot(void** slot, void* value) {
    DWORD protection = 0;
    VirtualProtect(slot, sizeof *slot, PAGE_READWRITE, &protection);
    *slot = value;
    VirtualProtect(slot, sizeof *slot, protection, &protection);
}

// Sets an environment variable for the scope, restoring the earlier value.
class ScopedVariable {
public:
    ScopedVariable(const char* name, const char* value)
        : name_(name),
          had_(GetEnvironmentVariableA(name, nullptr, 0) != 0),
          old_(EnvironmentValue(name)) {
        SetEnvironmentVariableA(name, value);
    }
    ~ScopedVariable() { SetEnvironmentVariableA(name_, had_ ? old_.c_str() : nullptr); }

private:
    const char* name_;
    bool had_;
    std::string old_;
};

}  // namespace

ImportPatch::ImportPatch(const char* dll, const char* function, void* replacement)
    : slot_(FindImportSlot(dll, function)), original_(slot_ ? *slot_ : nullptr) {
    if (slot_) {
        WriteSlot(slot_, replacement);
    }
}

ImportPatch::~ImportPatch() {
    if (slot_) {
        WriteSlot(slot_, original_);
    }
}

std::string EnvironmentValue(const char* variable) {
    char value[4096];
    const DWORD length = GetEnvironmentVariableA(variable, value, sizeof value);
    return length > 0 && length < sizeof value ? std::string(value, length) : std::string();
}

ChildRun RunTestsInChild(const std::string& filter, const char* variable, const std::string& value,
                         DWORD timeoutMs) {
    ChildRun run{static_cast<DWORD>(-1), std::string(), false};
    char program[MAX_PATH];
    GetModuleFileNameA(nullptr, program, sizeof program);
    char outputPath[MAX_PATH];
    char folder[MAX_PATH];
    GetTempPathA(sizeof folder, folder);
    GetTempFileNameA(folder, "vlx", 0, outputPath);

    SECURITY_ATTRIBUTES inheritable = {sizeof inheritable, nullptr, TRUE};
    HANDLE output = CreateFileA(outputPath, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                &inheritable, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    std::string commandLine = std::string("\"") + program + "\" --gtest_filter=" + filter +
                              " --gtest_also_run_disabled_tests";
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = output;
    startup.hStdError = output;
    PROCESS_INFORMATION process = {};
    BOOL started = FALSE;
    {
        ScopedVariable caseName(variable, value.c_str());
        // The child must not overwrite the report of the run that started it.
        ScopedVariable noReport("GTEST_OUTPUT", nullptr);
        started = CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, TRUE, 0, nullptr,
                                 nullptr, &startup, &process);
    }
    CloseHandle(output);
    if (started) {
        if (WaitForSingleObject(process.hProcess, timeoutMs) != WAIT_OBJECT_0) {
            TerminateProcess(process.hProcess, 3);
            WaitForSingleObject(process.hProcess, INFINITE);
            run.output = "child ended after the time-out\n";
        }
        GetExitCodeProcess(process.hProcess, &run.exitCode);
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    } else {
        run.output = "child not started: " + SystemText(GetLastError());
    }
    run.output += ReadFileBytes(outputPath);
    DeleteFileA(outputPath);
    run.passed = run.exitCode == 0 && run.output.find("[       OK ]") != std::string::npos &&
                 run.output.find("[  FAILED  ]") == std::string::npos;
    return run;
}

std::string PaddedField(const std::string& text, size_t width) {
    return text.size() < width ? text + std::string(width - text.size(), ' ') : text;
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
