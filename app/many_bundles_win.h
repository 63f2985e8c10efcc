// Many bundles at once: "/compare folders F1 F2 F3 ... [/bad ...]", a folder of bundles, a
// drop or a choice of more than two folders. Each bundle is diagnosed to tell the bad from
// the good; the matrix shows what separates them.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "app/command_line.h"

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
