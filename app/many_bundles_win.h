// Many bundles at once: "/compare folders F1 F2 F3 ... [/bad ...]", a folder of bundles, a
// drop or a choice of more than two folders. Each bundle is diagnosed to tell the bad from
// the good; the matrix shows what separates them.
#pragma once

#include <windows.h>

#include <cstddef>
#include <string>
#include <vector>

#include "app/command_line.h"
#include "compare/matrix_view_win.h"

// Whether the folder holds bundles as its folders and is itself no bundle: what a drop of one
// folder or the first folder chosen needs to open the matrix rather than two folders' summary.
bool IsFolderOfBundles(const std::string& folder);

// How many bundles a second thread reads ahead of the one laid out: enough to keep it busy,
// few enough not to hold many bundles' bytes.
constexpr std::size_t kBundlesReadAhead = 4;

// Reads every bundle (one folder alone: the bundles in its folders), tells bad from good by
// its diagnosis or the bad list, and lays out the matrix; each problem of the input goes to
// `notes` once, by name. What `/compare folders ... /report` and the window both read.
void GatherManyBundles(const std::vector<std::string>& folders,
                       const std::vector<std::string>& badFolders, MatrixShown& shown,
                       std::vector<std::string>& notes);

// Opens the matrix over the owner; when no two bundles are left to compare, a box says why.
void OpenManyBundles(const std::vector<std::string>& folders,
                     const std::vector<std::string>& badFolders, HWND owner);

// The matrix as a report without a window. kExitNoMessage when nothing separates or differs,
// kExitMessages when something does, kExitBadArguments when fewer than two bundles can be
// read or the report cannot be written. What was said of the input goes to standard output.
int RunManyBundlesReport(const StartRequest& request);

// Posted to the main window; lParam points at the StartRequest (which lives as long as the
// message loop).
constexpr UINT kOpenManyBundlesMessage = WM_APP + 4;
