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

// The paths of the files of the folder that make a bundle: the program's logs
// and manifest.txt; none when the folder cannot be listed.
std::vector<std::string> BundleFiles(const std::string& folder);

// Lists the collected logs of both folders and compares the logs of each name;
// where a folder has a manifest, only the logs it lists. False after telling
// the user when a folder cannot be listed or neither holds a collected log.
bool CompareFolders(const std::string& first, const std::string& second, FolderComparison& result);
