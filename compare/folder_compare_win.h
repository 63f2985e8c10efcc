// Reading logs by their paths, and two folders of collected logs compared log
// by log, with or without a window.
#pragma once

#include <string>
#include <vector>

#include "compare/compare_logs.h"
#include "compare/folder_compare.h"
#include "report/log_lines.h"

// Reads a log for a comparison (read access, shared with other readers).
// False after telling the user why not.
bool ReadLogFile(const std::string& path, LogLines& lines);

struct FolderComparison {
    std::string firstFolder, secondFolder;
    std::vector<FolderLog> logs;
    std::vector<ComparedLogs> compared;             // one per log
    std::vector<SummaryRow> summary;                // one per log
    bool readFailed = false;                        // a log could not be read (the user was told)
    CollectManifest firstManifest, secondManifest;  // where the folder has one
    bool hasFirstManifest = false;
    bool hasSecondManifest = false;

    const CollectManifest* FirstManifest() const {
        return hasFirstManifest ? &firstManifest : nullptr;
    }
    const CollectManifest* SecondManifest() const {
        return hasSecondManifest ? &secondManifest : nullptr;
    }
};

// The path of a log of the folder.
std::string PathInFolder(const std::string& folder, const std::string& name);

// Lists the collected logs of both folders and compares the logs of each name.
// False after telling the user when a folder cannot be listed or neither
// holds a collected log.
bool CompareFolders(const std::string& first, const std::string& second, FolderComparison& result);
