#include "diagnosis/bundle_folder_win.h"

#include <windows.h>

#include <utility>

#include "platform/error_text_win.h"
#include "platform/file_kind_win.h"
#include "platform/handles_win.h"
#include "platform/path_text.h"
#include "report/collect_manifest_win.h"
#include "report/log_file_win.h"

namespace {

std::string ReasonText(DWORD error) {
    const SystemErrorText reason(error);
    std::string text = reason.Text();
    while (!text.empty() && (text.back() == '\r' || text.back() == '\n' || text.back() == ' ')) {
        text.pop_back();
    }
    return text;
}

// A file that is not there is no file of the bundle; one that is there but cannot be read is,
// with the reason. Nothing is said here and nothing taken from the C runtime's heap.
RawFile ReadFileRaw(const std::string& path, HANDLE heap, int64_t largest = kMaxComparedLogSize) {
    RawFile file;
    // Opened at once rather than looked at first: a folder of a hundred bundles is read
    // through some fourteen hundred opens, and each call costs.
    const UniqueFile handle(CreateFileA(path.c_str(), GENERIC_READ,
                                        FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                        FILE_ATTRIBUTE_NORMAL, nullptr));
    file.openError = handle ? 0 : GetLastError();
    if (file.openError == ERROR_FILE_NOT_FOUND || file.openError == ERROR_PATH_NOT_FOUND ||
        (file.openError != 0 && !IsFile(path))) {
        return file;
    }
    file.there = true;
    if (handle) {
        file.read = ReadWholeLogRaw(handle.Get(), heap, largest);
    }
    return file;
}

// The file said and kept: a box for a log that could not be read whole, as everywhere.
void AddLogFile(const std::string& path, RawFile& raw, std::vector<BundleFile>& files) {
    if (!raw.there) {
        return;
    }
    BundleFile file;
    file.name = FileNameOfPath(path);
    if (raw.openError != 0) {
        file.problem = ReasonText(raw.openError);
    } else if (TakeWholeLogRead(raw.read, path.c_str(), file.bytes) != 0) {
        file.read = true;
    } else {
        file.bytes.clear();
        file.problem = "it could not be read whole (see the message about it)";
    }
    files.push_back(std::move(file));
}

}  // namespace

BundleFolderPaths PathsOfBundleFolder(const std::string& folder) {
    BundleFolderPaths paths;
    for (int i = 0; i < kBundleLogCount; ++i) {
        paths.logs[i] = JoinFolderAndName(folder, BundleLogFileName(static_cast<BundleLog>(i)));
    }
    paths.manifest = JoinFolderAndName(folder, kManifestFileName);
    return paths;
}

void ReadBundleFolderRaw(const BundleFolderPaths& paths, HANDLE heap, RawBundleFolder& read) {
    for (int i = 0; i < kBundleLogCount; ++i) {
        read.logs[i] = ReadFileRaw(paths.logs[i], heap);
    }
    read.manifest = ReadFileRaw(paths.manifest, heap, kMaxManifestSize);
}

GatheredBundle GatheredBundleOf(const BundleFolderPaths& paths, RawBundleFolder& read) {
    GatheredBundle bundle;
    for (int i = 0; i < kBundleLogCount; ++i) {
        AddLogFile(paths.logs[i], read.logs[i], bundle.files);
    }
    const RawLogRead& manifest = read.manifest.read;
    bundle.hasManifest =
        read.manifest.there && read.manifest.openError == 0 && manifest.Whole() &&
        ManifestFromBytes(manifest.bytes.Data(), manifest.bytes.size, &bundle.manifest);
    read.manifest.read.bytes.Reset();
    if (bundle.hasManifest) {
        bundle.knowsWritten = true;
        for (const ManifestFile& file : bundle.manifest.files) {
            bundle.written.push_back(file.name);
        }
    }
    return bundle;
}

GatheredBundle GatherBundleFolder(const std::string& folder) {
    const BundleFolderPaths paths = PathsOfBundleFolder(folder);
    RawBundleFolder read;
    ReadBundleFolderRaw(paths, GetProcessHeap(), read);
    return GatheredBundleOf(paths, read);
}

GatheredBundle GatherRunLogs(const std::vector<std::string>& writtenPaths) {
    GatheredBundle bundle;
    bundle.knowsWritten = true;
    for (const std::string& path : writtenPaths) {
        RawFile raw = ReadFileRaw(path, GetProcessHeap());
        AddLogFile(path, raw, bundle.files);
        bundle.written.push_back(FileNameOfPath(path));
    }
    return bundle;
}
