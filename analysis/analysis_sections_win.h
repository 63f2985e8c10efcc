// The sections of the analysis run, in the order the run calls them. Each
// section opens its own log, appends its rows after the last row emitted so
// far (the row cursor's index names that row) and leaves the cursor on its
// own last row. Results are 1 or 0; the run ignores them.
#pragma once

#include "report/log_paths.h"

int RunSystemDataSection();
// The Value of the system data section's "Windows version" row, from a fresh query (which
// refills the version record); kUnknownWindowsVersion when the version is not known.
const char* QueryWindowsVersionText();
// Appends one element row (the path and whether it exists) and its log line.
int CheckElement(const char* path);
int RunPluginVersionSection();
int RunPluginFolderSection();
int RunSettingsSection();
int RunInstalledProductsSection();
int RunRuntimeSection();
int RunPathSection();
int RunFileVersionsSection();
int RunDependenciesSection();
