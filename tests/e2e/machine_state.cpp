#include "tests/e2e/machine_state.h"

#include <utility>

#include "platform/handles_win.h"
#include "tests/win/file_support.h"

const char* const kLogs[12] = {
    "C:\\Lensora_Brenhold.logAnalyzeSystemData",
    "C:\\Lensora_Brenhold.logAnalyzeElement",
    "C:\\Lensora_Brenhold.logAnalyzePluginVersion",
    "C:\\Lensora_Brenhold.logAnalyzePlugins",
    "C:\\Lensora_Brenhold.logAnalyzeSettings",
    "C:\\Lensora_Brenhold.logAnalyzeInstalledProgs",
    "C:\\Lensora_Brenhold.logAnalyzeRedist",
    "C:\\Lensora_Brenhold.logAnalyzePATH",
    "C:\\Lensora_Brenhold.logAnalyzeFileVersions",
    "C:\\Lensora_Brenhold.logAnalyzeDependencies",
    "C:\\Lensora_Brenhold.logDlls",
    "C:\\Lensora_Brenhold.logServices",
};
const char kMessagesLog[] = "C:\\Lensora_Brenhold.logMessages";
const char kSettingsKey[] = "Software\\Brenhold-Soft\\Mach3Lensora";

namespace {

const char kPlugin[] = "C:\\mach3\\plugIns\\lensora.dll";

void DeleteKeyTree(HKEY root, const std::string& path) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(root, path.c_str(), 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS) {
        return;
    }
    char name[256];
    // Always the first: each one is deleted before the next is asked for.
    while (RegEnumKeyA(key, 0, name, sizeof name) == ERROR_SUCCESS) {
        DeleteKeyTree(root, path + "\\" + name);
    }
    RegCloseKey(key);
    RegDeleteKeyA(root, path.c_str());
}

}  // namespace

std::vector<std::string> Lines(const std::string& bytes) {
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t end = bytes.find("\r\n"); end != std::string::npos;
         end = bytes.find("\r\n", start)) {
        lines.push_back(bytes.substr(start, end - start));
        start = end + 2;
    }
    if (start < bytes.size()) {
        lines.push_back(bytes.substr(start));
    }
    return lines;
}

std::string TrimmedSystemText(DWORD code) {
    std::string result = SystemText(code);
    while (!result.empty() &&
           (result.back() == '\r' || result.back() == '\n' || result.back() == ' ')) {
        result.pop_back();
    }
    return result;
}

std::string ExeFolder() {
    char path[MAX_PATH];
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder = path;
    return folder.substr(0, folder.find_last_of('\\') + 1);
}

LogsSetAside::LogsSetAside() {
    for (const char* log : kLogs) {
        saved_.push_back({FileExistsAt(log), ReadFileBytes(log)});
    }
    Clear();
}

LogsSetAside::~LogsSetAside() {
    for (size_t i = 0; i < saved_.size(); ++i) {
        SetFileAttributesA(kLogs[i], FILE_ATTRIBUTE_NORMAL);
        if (saved_[i].first) {
            WriteFileBytes(kLogs[i], saved_[i].second);
        } else {
            DeleteFileA(kLogs[i]);
        }
    }
}

void LogsSetAside::Clear() {
    for (const char* log : kLogs) {
        SetFileAttributesA(log, FILE_ATTRIBUTE_NORMAL);
        DeleteFileA(log);
    }
}

PluginFolder::PluginFolder(const char* fixture) {
    for (const char* folder : {"C:\\mach3", "C:\\mach3\\plugIns"}) {
        if (CreateDirectoryA(folder, nullptr)) {
            made_.insert(made_.begin(), folder);
        }
    }
    if (fixture != nullptr) {
        const std::string source = ExeFolder() + "fixtures\\" + fixture;
        copied_ = CopyFileA(source.c_str(), kPlugin, FALSE) != 0;
    }
}

PluginFolder::~PluginFolder() {
    if (copied_) {
        DeleteFileA(kPlugin);
    }
    for (const std::string& folder : made_) {
        RemoveDirectoryA(folder.c_str());
    }
}

bool KeyExists(HKEY root, const std::string& path) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(root, path.c_str(), 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) {
        return false;
    }
    RegCloseKey(key);
    return true;
}

TemporaryKey::TemporaryKey(HKEY root, const std::string& path) : root_(root) {
    if (KeyExists(root, path)) {
        return;
    }
    // The outermost key on the way that is missing is the one to delete at the end.
    for (size_t at = path.find('\\');; at = path.find('\\', at + 1)) {
        const std::string step = path.substr(0, at);
        if (!KeyExists(root, step)) {
            madeTop_ = step;
            break;
        }
        if (at == std::string::npos) {
            break;
        }
    }
    HKEY key = nullptr;
    if (RegCreateKeyExA(root, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                        nullptr) != ERROR_SUCCESS) {
        madeTop_.clear();
        return;
    }
    RegCloseKey(key);
}

TemporaryKey::~TemporaryKey() {
    if (!madeTop_.empty()) {
        DeleteKeyTree(root_, madeTop_);
    }
}

std::string WithoutDiagnosisHeadline(const std::string& line) {
    const std::string start = "Vorlix: ";
    const std::size_t counts = line.find(" not judged)");
    if (line.compare(0, start.size(), start) != 0 || counts == std::string::npos) {
        return std::string();
    }
    std::size_t rest = counts + 12;
    if (line.compare(rest, 1, ".") == 0) {
        ++rest;
    }
    return line.compare(rest, 1, " ") == 0 ? start + line.substr(rest + 1) : std::string();
}

ScopedPath::ScopedPath(const std::string& value) {
    char saved[32768];
    const DWORD length = GetEnvironmentVariableA("PATH", saved, sizeof saved);
    saved_.assign(saved, length < sizeof saved ? length : 0);
    SetEnvironmentVariableA("PATH", value.c_str());
}

ScopedPath::~ScopedPath() {
    SetEnvironmentVariableA("PATH", saved_.c_str());
}

TemporaryFolder::TemporaryFolder(std::string path) : path_(std::move(path)) {
    Remove();
    CreateDirectoryA(path_.c_str(), nullptr);
}

TemporaryFolder::~TemporaryFolder() {
    Remove();
}

std::vector<std::string> TemporaryFolder::Files() const {
    std::vector<std::string> names;
    WIN32_FIND_DATAA entry;
    const UniqueFind search(FindFirstFileA((path_ + "\\*").c_str(), &entry));
    if (!search) {
        return names;
    }
    do {
        if (!(entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
            names.push_back(entry.cFileName);
        }
    } while (FindNextFileA(search.Get(), &entry));
    return names;
}

void TemporaryFolder::Remove() {
    for (const std::string& name : Files()) {
        SetFileAttributesA((*this / name).c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileA((*this / name).c_str());
    }
    RemoveDirectoryA(path_.c_str());
}
