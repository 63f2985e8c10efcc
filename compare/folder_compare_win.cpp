#include "compare/folder_compare_win.h"

#include <windows.h>

#include <cstdint>

#include "platform/error_text_win.h"
#include "platform/handles_win.h"
#include "platform/message_box_win.h"
#include "report/collect_manifest_win.h"
#include "report/log_file_win.h"

namespace {

struct FindTraits {
    using Type = HANDLE;
    static Type Invalid() { return INVALID_HANDLE_VALUE; }
    static void Close(Type value) { FindClose(value); }
};
using UniqueFind = UniqueHandle<FindTraits>;

// The collected log names in the folder; false after telling the user when
// the folder cannot be listed.
bool ListCollectedLogs(const std::string& folder, std::vector<FolderFile>& files) {
    const std::string pattern = PathInFolder(folder, "Lensora_Brenhold.log*");
    WIN32_FIND_DATAA entry;
    UniqueFind search(FindFirstFileA(pattern.c_str(), &entry));
    if (!search) {
        const DWORD error = GetLastError();
        if (error == ERROR_FILE_NOT_FOUND || error == ERROR_NO_MORE_FILES) {
            return true;  // a folder without logs
        }
        const SystemErrorText reason(error);
        ShowMessageBox(nullptr, (folder + "  " + reason.Text()).c_str(), "Vorlix   FindFirstFile",
                       kErrorBoxStyle);
        return false;
    }
    do {
        if (!(entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) &&
            IsCollectedLogName(entry.cFileName)) {
            FolderFile file;
            file.name = entry.cFileName;
            file.size =
                (static_cast<std::uint64_t>(entry.nFileSizeHigh) << 32) | entry.nFileSizeLow;
            files.push_back(file);
        }
    } while (FindNextFileA(search.Get(), &entry));
    return true;
}

}  // namespace

bool ReadLogFile(const std::string& path, LogLines& lines) {
    UniqueFile file;
    if (!OpenLogForReading(path.c_str(), file.Put())) {
        return false;
    }
    std::string bytes;
    const bool read = ReadWholeLog(file.Get(), path.c_str(), bytes) != 0;
    lines = ReadLogLines(bytes.data(), bytes.size());
    return read;
}

std::string PathInFolder(const std::string& folder, const std::string& name) {
    std::string path = folder;
    if (!path.empty() && path.back() != '\\' && path.back() != '/' && path.back() != ':') {
        path += '\\';
    }
    return path + name;
}

bool CompareFolders(const std::string& first, const std::string& second, FolderComparison& result) {
    result = FolderComparison();
    result.firstFolder = first;
    result.secondFolder = second;
    std::vector<FolderFile> firstFiles, secondFiles;
    if (!ListCollectedLogs(first, firstFiles) || !ListCollectedLogs(second, secondFiles)) {
        return false;
    }
    result.hasFirstManifest = ReadManifestFile(first, &result.firstManifest);
    result.hasSecondManifest = ReadManifestFile(second, &result.secondManifest);
    result.logs = PairFolderLogs(firstFiles, secondFiles);
    if (result.logs.empty()) {
        const std::string text = "Neither " + first + " nor " + second +
                                 " holds a log of Vorlix (Lensora_Brenhold.log...).";
        ShowMessageBox(nullptr, text.c_str(), "Vorlix", MB_TASKMODAL | MB_ICONINFORMATION);
        return false;
    }
    for (const FolderLog& log : result.logs) {
        LogLines firstLines, secondLines;
        if (log.inFirst && !ReadLogFile(PathInFolder(first, log.name), firstLines)) {
            result.readFailed = true;
        }
        if (log.inSecond && !ReadLogFile(PathInFolder(second, log.name), secondLines)) {
            result.readFailed = true;
        }
        result.compared.push_back(
            CompareLogLines(FolderLogCompareKind(log.name), firstLines, secondLines));
        // What changed on the way, against what the collect run placed there.
        std::string notes =
            ManifestNote(result.FirstManifest(), "first", log.inFirst, log.firstSize, log.name);
        const std::string second =
            ManifestNote(result.SecondManifest(), "second", log.inSecond, log.secondSize, log.name);
        notes += (notes.empty() || second.empty() ? "" : "; ") + second;
        result.summary.push_back(SummarizeFolderLog(
            log, result.compared.back(), firstLines.lines.size(), secondLines.lines.size(), notes));
    }
    return true;
}
