#include "diagnosis/bundle_folder_win.h"

#include <windows.h>

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

// A log that is not there is no file of the bundle; one that is there but cannot be read is,
// with the reason.
void AddLogFile(const std::string& path, std::vector<BundleFile>& files) {
    // Opened at once rather than looked at first: a folder of a hundred bundles is read
    // through some fourteen hundred opens, and each call costs.
    const UniqueFile handle(CreateFileA(path.c_str(), GENERIC_READ,
                                        FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                        FILE_ATTRIBUTE_NORMAL, nullptr));
    const DWORD openError = handle ? 0 : GetLastError();
    if (openError == ERROR_FILE_NOT_FOUND || openError == ERROR_PATH_NOT_FOUND ||
        (openError != 0 && !IsFile(path))) {
        return;
    }
    BundleFile file;
    file.name = FileNameOfPath(path);
    if (!handle) {
        file.problem = ReasonText(openError);
    } else if (ReadWholeLog(handle.Get(), path.c_str(), file.bytes) != 0) {
        file.read = true;
    } else {
        file.bytes.clear();
        file.problem = "it could not be read whole (see the message about it)";
    }
    files.push_back(file);
}

}  // namespace

GatheredBundle GatherBundleFolder(const std::string& folder) {
    GatheredBundle bundle;
    for (int i = 0; i < kBundleLogCount; ++i) {
        AddLogFile(JoinFolderAndName(folder, BundleLogFileName(static_cast<BundleLog>(i))),
                   bundle.files);
    }
    bundle.hasManifest = ReadManifestFile(folder, &bundle.manifest);
    if (bundle.hasManifest) {
        bundle.knowsWritten = true;
        for (const ManifestFile& file : bundle.manifest.files) {
            bundle.written.push_back(file.name);
        }
    }
    return bundle;
}

GatheredBundle GatherRunLogs(const std::vector<std::string>& writtenPaths) {
    GatheredBundle bundle;
    bundle.knowsWritten = true;
    for (const std::string& path : writtenPaths) {
        AddLogFile(path, bundle.files);
        bundle.written.push_back(FileNameOfPath(path));
    }
    return bundle;
}
