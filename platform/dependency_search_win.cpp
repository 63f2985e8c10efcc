#include "platform/dependency_search_win.h"

#include <windows.h>

#include <string>

#include "platform/handles_win.h"

namespace {

std::string FolderOf(const std::string& path) {
    const std::size_t separator = path.find_last_of('\\');
    return separator == std::string::npos ? std::string() : path.substr(0, separator);
}

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

// The folders of the standard search order for a DLL that a DLL loaded by full path needs
// (safe DLL search mode, the default since Windows XP SP2): the program's folder, the
// system folder (a 32-bit program on 64-bit Windows sees SysWOW64 there through the file
// system redirection), the 16-bit system folder, the Windows folder, the current folder,
// then PATH. The plug-in's own folder is not among them: the loader does not look there.
//
// Known DLLs are not looked up by name: every one stands in the system folder, which the
// search reaches right after the program's folder, and that folder holds no system DLLs.
class LoaderSearch : public DllLocator {
public:
    LoaderSearch() {
        char program[MAX_PATH];
        const DWORD length = GetModuleFileNameA(nullptr, program, MAX_PATH);
        if (length > 0 && length < MAX_PATH) {
            Add(FolderOf(std::string(program, length)));
        }
        Add(QueriedPath(GetSystemDirectoryA));
        const std::string windows = QueriedPath(GetSystemWindowsDirectoryA);
        if (!windows.empty()) {
            Add(JoinFolderAndName(windows, "System"));
        }
        Add(windows);
        Add(QueriedPath([](char* path, UINT size) { return GetCurrentDirectoryA(size, path); }));
        for (const std::string& folder : SplitSearchPath(PathVariable())) {
            Add(folder);
        }
    }

    // The first file of that name in the search order: Windows' loader stops there too, so a
    // copy of the wrong machine ahead of a good one is what breaks the load.
    LocatedDll Locate(const std::string& fileName) override {
        LocatedDll located;
        if (const HMODULE loaded = GetModuleHandleA(fileName.c_str())) {
            char path[MAX_PATH];
            const DWORD length = GetModuleFileNameA(loaded, path, MAX_PATH);
            located.where = LocatedDll::Where::Loaded;
            located.path = length > 0 && length < MAX_PATH ? std::string(path, length) : fileName;
            return located;
        }
        for (const std::string& folder : folders_) {
            const std::string candidate = JoinFolderAndName(folder, fileName);
            if (candidate.size() >= MAX_PATH) {
                continue;
            }
            const DWORD attributes = GetFileAttributesA(candidate.c_str());
            if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
                continue;
            }
            located.where = LocatedDll::Where::File;
            located.path = candidate;
            located.readable = ReadImageFile(candidate.c_str(), &located.image);
            return located;
        }
        return located;
    }

private:
    void Add(const std::string& folder) {
        if (!folder.empty()) {
            folders_.push_back(folder);
        }
    }

    std::vector<std::string> folders_;
};

}  // namespace

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

std::vector<NeededDll> FindNeededDlls(const char* path) {
    PeImage root;
    if (!ReadImageFile(path, &root) || !root.isImage || root.machine != ThisProgramMachine()) {
        return {};
    }
    LoaderSearch search;
    return WalkDependencies(FileNameOfPath(path), root, ThisProgramMachine(), search);
}
