#include "app/collect_bundle_win.h"

#include <windows.h>
#include <shlobj.h>

#include <cstdint>

#include "app/collect_plan.h"
#include "platform/file_kind_win.h"
#include "platform/handles_win.h"
#include "platform/whole_file_win.h"
#include "platform/path_text.h"

namespace {

bool Made(int error, const std::string& folder) {
    return error == ERROR_SUCCESS ||
           ((error == ERROR_ALREADY_EXISTS || error == ERROR_FILE_EXISTS) && IsFolder(folder));
}

}  // namespace

CollectBundle::CollectBundle(const std::string& folder, MessagesLog& messages)
    : folder_(folder), messages_(messages) {}

// On failure the step that could not be made is named with its own reason: the shell
// gives the error of the innermost folder it tried, which after a failed outer step is
// only "path not found", so the outermost missing step is tried alone once more.
bool CollectBundle::MakeFolder() {
    const int error = SHCreateDirectoryExA(nullptr, folder_.c_str(), nullptr);
    if (Made(error, folder_)) {
        return true;
    }
    std::string step = OutermostMissingStep();
    int reason = error;
    if (step != folder_) {
        reason = SHCreateDirectoryExA(nullptr, step.c_str(), nullptr);
        if (Made(reason, step)) {
            // Made this time after all: only the whole folder's reason is known.
            step = folder_;
            reason = error;
        }
    }
    messages_.Append("Vorlix   SHCreateDirectoryEx", step, static_cast<DWORD>(reason));
    return false;
}

// The manifest goes first, so that the folder never holds a manifest that does not
// describe it.
void CollectBundle::RemoveEarlierFiles() {
    Remove(JoinFolderAndName(folder_, kManifestFileName));
    for (const std::string& name : EarlierFileNames()) {
        Remove(JoinFolderAndName(folder_, name));
    }
}

void CollectBundle::Place(const char* source) {
    const std::string name = FileNameOfPath(source);
    const std::string target = JoinFolderAndName(folder_, name);
    if (!CopyFileA(source, target.c_str(), FALSE)) {
        messages_.Append("Vorlix   CopyFile", target, GetLastError());
        return;
    }
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA(target.c_str(), GetFileExInfoStandard, &data)) {
        messages_.Append("Vorlix   GetFileAttributesEx", target, GetLastError());
        return;
    }
    placed_.push_back(
        {name, (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow});
}

bool CollectBundle::Holds(const char* source) const {
    const std::string name = FileNameOfPath(source);
    for (const ManifestFile& file : placed_) {
        if (file.name == name) {
            return true;
        }
    }
    return false;
}

// A manifest is written whole or not at all: a cut one could still read as a manifest
// listing fewer files.
void CollectBundle::WriteManifest(CollectManifest manifest) {
    manifest.files = placed_;
    const std::string bytes = FormatManifest(manifest);
    const std::string path = JoinFolderAndName(folder_, kManifestFileName);
    const WholeFileFailure failure = WriteWholeFile(path, bytes);
    if (failure.error != 0) {
        messages_.Append(failure.Caption().c_str(), path, failure.error);
    }
}

std::string CollectBundle::OutermostMissingStep() const {
    for (const std::string& step : FolderChain(folder_)) {
        if (!IsFolder(step)) {
            return step;
        }
    }
    return folder_;
}

// Gathered first and removed afterwards, so that the search never meets its own deletions.
std::vector<std::string> CollectBundle::EarlierFileNames() const {
    std::vector<std::string> names;
    WIN32_FIND_DATAA entry;
    const UniqueFind search(FindFirstFileA(JoinFolderAndName(folder_, "*").c_str(), &entry));
    if (!search) {
        return names;
    }
    do {
        if (!(entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) &&
            IsEarlierBundleFile(entry.cFileName)) {
            names.push_back(entry.cFileName);
        }
    } while (FindNextFileA(search.Get(), &entry));
    return names;
}

void CollectBundle::Remove(const std::string& path) {
    if (GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES) {
        return;
    }
    // An earlier copy may carry the read-only attribute.
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    if (!DeleteFileA(path.c_str())) {
        messages_.Append("Vorlix   DeleteFile", path, GetLastError());
    }
}
