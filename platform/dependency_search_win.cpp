#include "platform/dependency_search_win.h"

#include <windows.h>

#include "platform/api_set_map_win.h"
#include "platform/file_kind_win.h"
#include "platform/handles_win.h"
#include "platform/path_text.h"

namespace {

template <typename Query>
std::string QueriedPath(Query query) {
    char path[MAX_PATH];
    const UINT length = query(path, MAX_PATH);
    return length > 0 && length < MAX_PATH ? std::string(path, length) : std::string();
}

std::string PathVariable() {
    const DWORD needed = GetEnvironmentVariableA("PATH", nullptr, 0);
    if (needed == 0) {
        return std::string();
    }
    std::string value(needed, '\0');
    const DWORD length = GetEnvironmentVariableA("PATH", &value[0], needed);
    value.resize(length < needed ? length : 0);
    return value;
}

LocatedDll ReadLocated(LocatedDll::Where where, const std::string& path) {
    LocatedDll located;
    located.where = where;
    located.path = path;
    located.readable = ReadImageFile(path.c_str(), &located.image);
    return located;
}

}  // namespace

LoaderSearch::LoaderSearch(const std::string& pluginPath) {
    Add(FolderOfPath(FolderOfPath(pluginPath)), SearchRole::ProgramFolder);
    Add(QueriedPath(GetSystemDirectoryA), SearchRole::SystemFolder);
    const std::string windows = QueriedPath(GetSystemWindowsDirectoryA);
    if (!windows.empty()) {
        Add(JoinFolderAndName(windows, "System"), SearchRole::System16Folder);
    }
    Add(windows, SearchRole::WindowsFolder);
    Add(QueriedPath([](char* path, UINT size) { return GetCurrentDirectoryA(size, path); }),
        SearchRole::CurrentFolder);
    for (const std::string& folder : SplitSearchPath(PathVariable())) {
        Add(folder, SearchRole::Path);
    }
    if (!ProcessApiSetSchema(&schema_, &schemaSize_)) {
        schema_ = nullptr;
        schemaSize_ = 0;
    }
}

// A module of the name loaded here already, else the first file in the search order:
// Windows' loader stops there too, so a copy of the wrong machine ahead of a good one is
// what breaks the load. A loaded module's file is read for its exports.
LocatedDll LoaderSearch::Locate(const std::string& fileName) {
    if (const HMODULE loaded = GetModuleHandleA(fileName.c_str())) {
        char path[MAX_PATH];
        const DWORD length = GetModuleFileNameA(loaded, path, MAX_PATH);
        if (length > 0 && length < MAX_PATH) {
            return ReadLocated(LocatedDll::Where::Loaded, std::string(path, length));
        }
        LocatedDll located;
        located.where = LocatedDll::Where::Loaded;
        located.path = fileName;
        return located;
    }
    std::vector<LocatedDll> files = Files(fileName, true);
    return files.empty() ? LocatedDll() : std::move(files.front());
}

std::vector<LocatedDll> LoaderSearch::LocateAll(const std::string& fileName) {
    return Files(fileName, false);
}

ApiSetHost LoaderSearch::ResolveApiSet(const std::string& name, const std::string& importer) {
    return LookUpApiSet(schema_, schemaSize_, name, importer);
}

void LoaderSearch::Add(const std::string& folder, SearchRole role) {
    if (!folder.empty()) {
        folders_.push_back({folder, role, !IsFolder(folder)});
    }
}

// Whatever answers to the name and is no folder counts, as it does for the loader.
std::vector<LocatedDll> LoaderSearch::Files(const std::string& fileName, bool firstOnly) const {
    std::vector<LocatedDll> files;
    for (const SearchFolder& folder : folders_) {
        const std::string candidate = JoinFolderAndName(folder.folder, fileName);
        if (candidate.size() >= MAX_PATH) {
            continue;
        }
        if (!IsFile(candidate)) {
            continue;
        }
        files.push_back(ReadLocated(LocatedDll::Where::File, candidate));
        if (firstOnly) {
            break;
        }
    }
    return files;
}

bool ReadImageFile(const char* path, PeImage* image) {
    *image = PeImage();
    // Shared with readers only: nobody can change the file while it is mapped.
    const UniqueFile file(CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
    LARGE_INTEGER size;
    if (!file || !GetFileSizeEx(file.Get(), &size) || size.QuadPart < 0 ||
        static_cast<unsigned long long>(size.QuadPart) > kMaxImageFileSize) {
        return false;
    }
    // An empty file cannot be mapped; it holds no image.
    if (size.QuadPart == 0) {
        return true;
    }
    const UniqueFileMapping mapping(
        CreateFileMappingA(file.Get(), nullptr, PAGE_READONLY, 0, 0, nullptr));
    if (!mapping) {
        return false;
    }
    const UniqueMappedView view(MapViewOfFile(mapping.Get(), FILE_MAP_READ, 0, 0, 0));
    if (!view) {
        return false;
    }
    *image = ReadPeImage(static_cast<const unsigned char*>(view.Get()),
                         static_cast<std::size_t>(size.QuadPart));
    return true;
}

DependencyFindings FindDependencies(const char* pluginPath) {
    DependencyFindings findings;
    PeImage root;
    if (!ReadImageFile(pluginPath, &root) || !root.isImage ||
        root.machine != ThisProgramMachine()) {
        return findings;
    }
    LoaderSearch search(pluginPath);
    findings.walked = true;
    findings.folders = search.Folders();
    findings.needed =
        WalkDependencies(FileNameOfPath(pluginPath), root, ThisProgramMachine(), search);
    return findings;
}
