// Reading logs by their paths, and two folders of collected logs compared log
// by log, with or without a window.
#pragma once

#include <string>
#include <vector>

#include "compare/compare_logs.h"
#include "compare/folder_compare.h"
#include "report/log_lines.h"

// Reads a whole log for a comparison (read access, shared with other readers).
// False after telling the user why not in a box that names the file; `reason`,
// when given, then gets the why in one line.
bool ReadLogBytes(const std::string& path, std::string& bytes, std::string* reason = nullptr);

struct FolderComparison {
    std::string firstFolder, secondFolder;
    std::vector<FolderLog> logs;
    std::vector<ComparedLogs> compared;             // one per log
    std::vector<SummaryRow> summary;                // one per log
    bool readFailed = false;                        // a log could not be read (the user was told)
    CollectManifest firstManifest, secondManifest;  // where the folder has one
    bool hasFirstManifest = false;
    bool hasSecondManifest = false;
    // The folder holds a manifest.txt, whether or not it reads as a manifest.
    bool firstManifestFound = false;
    bool secondManifestFound = false;
    // What each bundle's diagnosis log says failed; told only where the bundle has one.
    bool firstDiagnosed = false, secondDiagnosed = false;
    std::vector<std::string> firstFailures, secondFailures;

    const CollectManifest* FirstManifest() const {
        return hasFirstManifest ? &firstManifest : nullptr;
    }
    const CollectManifest* SecondManifest() const {
        return hasSecondManifest ? &secondManifest : nullptr;
    }
    // Each folder as the user reads it: with its manifest, or why it is not a whole bundle.
    std::string FirstFolderText() const {
        return FolderWithManifest(firstFolder, FirstManifest(), firstManifestFound) +
               FailedCountText(firstDiagnosed, firstFailures.size());
    }
    std::string SecondFolderText() const {
        return FolderWithManifest(secondFolder, SecondManifest(), secondManifestFound) +
               FailedCountText(secondDiagnosed, secondFailures.size());
    }
    static std::string FailedCountText(bool diagnosed, std::size_t failed) {
        if (!diagnosed) {
            return std::string();
        }
        return failed == 0 ? ", no rule failed"
                           : ", " + std::to_string(failed) + (failed == 1 ? " rule failed" : " rules failed");
    }
};

// The paths of the files of the folder that make a bundle: the program's logs
// and manifest.txt; none when the folder cannot be listed.
std::vector<std::string> BundleFiles(const std::string& folder);

// Lists the collected logs of both folders and compares the logs of each name;
// where a folder has a manifest, only the logs it lists. False after telling
// the user when a folder cannot be listed or neither holds a collected log.
bool CompareFolders(const std::string& first, const std::string& second, FolderComparison& result);
