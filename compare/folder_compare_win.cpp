#include "compare/folder_compare_win.h"

#include <windows.h>

#include <cstdint>

#include "platform/error_text_win.h"
#include "platform/file_kind_win.h"
#include "platform/handles_win.h"
#include "platform/message_box_win.h"
#include "platform/path_text.h"
#include "report/collect_manifest_win.h"
#include "report/log_file_win.h"

namespace {

// The collected log names in the folder; false after telling the user when
// the folder cannot be listed.
bool ListCollectedLogs(const std::string& folder, std::vector<FolderFile>& files) {
    // Every file is looked at and the program's log names kept, those of later
    // versions too (IsCollectedLogName).
    const std::string pattern = JoinFolderAndName(folder, "*");
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

// The folder's manifest, when it has one that reads as a manifest; `found`
// tells whether the folder holds a file of that name at all.
bool ReadManifest(const std::string& folder, CollectManifest* manifest, bool* found) {
    *found = IsFile(JoinFolderAndName(folder, kManifestFileName));
    return ReadManifestFile(folder, manifest);
}

// A folder with a manifest holds of this run only what it lists.
void MarkLeftOvers(const FolderComparison& comparison, FolderLog& log) {
    const CollectManifest* first = comparison.FirstManifest();
    const CollectManifest* second = comparison.SecondManifest();
    log.firstLeftOver = log.inFirst && first != nullptr && !ManifestLists(*first, log.name);
    log.secondLeftOver = log.inSecond && second != nullptr && !ManifestLists(*second, log.name);
}

}  // namespace

bool ReadLogBytes(const std::string& path, std::string& bytes, std::string* reason) {
    bytes.clear();
    UniqueFile file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        const std::string text = OneLineSystemText(GetLastError());
        ShowMessageBox(nullptr, (path + "  " + text).c_str(), "Vorlix   CreateFile",
                       kErrorBoxStyle);
        if (reason != nullptr) {
            *reason = text;
        }
        return false;
    }
    return ReadWholeLog(file.Get(), path.c_str(), bytes, reason) != 0;
}

std::vector<std::string> BundleFiles(const std::string& folder) {
    std::vector<std::string> paths;
    const std::string manifest = JoinFolderAndName(folder, kManifestFileName);
    if (IsFile(manifest)) {
        paths.push_back(manifest);
    }
    WIN32_FIND_DATAA entry;
    UniqueFind search(FindFirstFileA(JoinFolderAndName(folder, "*").c_str(), &entry));
    if (!search) {
        return paths;
    }
    do {
        if (!(entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) &&
            IsCollectedLogName(entry.cFileName)) {
            paths.push_back(JoinFolderAndName(folder, entry.cFileName));
        }
    } while (FindNextFileA(search.Get(), &entry));
    return paths;
}

bool CompareFolders(const std::string& first, const std::string& second, FolderComparison& result) {
    result = FolderComparison();
    result.firstFolder = first;
    result.secondFolder = second;
    std::vector<FolderFile> firstFiles, secondFiles;
    if (!ListCollectedLogs(first, firstFiles) || !ListCollectedLogs(second, secondFiles)) {
        return false;
    }
    result.hasFirstManifest =
        ReadManifest(first, &result.firstManifest, &result.firstManifestFound);
    result.hasSecondManifest =
        ReadManifest(second, &result.secondManifest, &result.secondManifestFound);
    result.logs = PairFolderLogs(firstFiles, secondFiles);
    if (result.logs.empty()) {
        const std::string text = "Neither " + first + " nor " + second +
                                 " holds a log of Vorlix (Lensora_Brenhold.log...).";
        ShowMessageBox(nullptr, text.c_str(), "Vorlix", MB_TASKMODAL | MB_ICONINFORMATION);
        return false;
    }
    for (FolderLog& log : result.logs) {
        MarkLeftOvers(result, log);
        std::string firstBytes, secondBytes;
        if (log.FirstCompared()) {
            ReadLogBytes(JoinFolderAndName(first, log.name), firstBytes, &log.firstReadFailure);
        }
        if (log.SecondCompared()) {
            ReadLogBytes(JoinFolderAndName(second, log.name), secondBytes, &log.secondReadFailure);
        }
        LogLines firstLines, secondLines;
        const CompareKind kind = FolderLogCompareKind(log.name);
        if (log.firstReadFailure.empty() && log.secondReadFailure.empty()) {
            ReadComparedLogs(kind, {firstBytes.data(), firstBytes.size(), log.name},
                             {secondBytes.data(), secondBytes.size(), log.name}, firstLines,
                             secondLines);
            // A side not compared is no empty log: it says nothing.
            if (!log.FirstCompared()) {
                firstLines = LogLines();
            }
            if (!log.SecondCompared()) {
                secondLines = LogLines();
            }
        } else {
            result.readFailed = true;
        }
        if (IsDiagnosisLogName(log.name)) {
            result.firstDiagnosed = log.FirstCompared();
            result.secondDiagnosed = log.SecondCompared();
            result.firstFailures = FailedRules(firstLines);
            result.secondFailures = FailedRules(secondLines);
            result.firstVerdicts = LoggedVerdicts(firstLines);
            result.secondVerdicts = LoggedVerdicts(secondLines);
        }
        result.compared.push_back(CompareLogLines(kind, firstLines, secondLines));
        // What changed on the way, against what the collect run placed there.
        std::string notes =
            ManifestNote(result.FirstManifest(), "first", log.inFirst, log.firstSize, log.name);
        const std::string secondNote =
            ManifestNote(result.SecondManifest(), "second", log.inSecond, log.secondSize, log.name);
        notes += (notes.empty() || secondNote.empty() ? "" : "; ") + secondNote;
        result.summary.push_back(SummarizeFolderLog(
            log, result.compared.back(), firstLines.lines.size(), secondLines.lines.size(), notes));
    }
    return true;
}
