#include "compare/folder_compare_win.h"

#include <windows.h>

#include "platform/error_text_win.h"
#include "platform/handles_win.h"
#include "platform/message_box_win.h"
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
bool ListCollectedLogs(const std::string& folder, std::vector<std::string>& names) {
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
            names.push_back(entry.cFileName);
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
    std::vector<std::string> firstNames, secondNames;
    if (!ListCollectedLogs(first, firstNames) || !ListCollectedLogs(second, secondNames)) {
        return false;
    }
    result.logs = PairFolderLogs(firstNames, secondNames);
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
        result.summary.push_back(SummarizeFolderLog(
            log, result.compared.back(), firstLines.lines.size(), secondLines.lines.size()));
    }
    return true;
}
