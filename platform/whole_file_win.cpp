#include "platform/whole_file_win.h"

#include "platform/file_identity_win.h"
#include "platform/handles_win.h"
#include "platform/path_text.h"

WholeFileFailure WriteWholeFile(const std::string& path, const std::string& bytes) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY)) {
        return {"CreateFile", ERROR_ACCESS_DENIED};
    }
    // The new file goes beside the old one, so that moving it is a rename on one volume.
    const std::string folder = FolderOfPath(FullLongPath(path));
    char temporary[MAX_PATH];
    if (!GetTempFileNameA(folder.empty() ? "." : JoinFolderAndName(folder, "").c_str(), "vlx", 0,
                          temporary)) {
        return {"CreateFile", GetLastError()};
    }
    UniqueFile file(CreateFileA(temporary, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        const DWORD error = GetLastError();
        DeleteFileA(temporary);
        return {"CreateFile", error};
    }
    DWORD written = 0;
    const BOOL ok =
        WriteFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    // A short write without an error code means the disk is full.
    const DWORD error = !ok ? GetLastError() : written != bytes.size() ? ERROR_DISK_FULL : 0;
    const DWORD flushError = error == 0 && !FlushFileBuffers(file.Get()) ? GetLastError() : 0;
    file.Reset();
    if (error != 0 || flushError != 0) {
        DeleteFileA(temporary);
        return {"WriteFile", error != 0 ? error : flushError};
    }
    if (!MoveFileExA(temporary, path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        const DWORD moveError = GetLastError();
        DeleteFileA(temporary);
        return {"MoveFileEx", moveError};
    }
    return {};
}
