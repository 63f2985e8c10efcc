// The Mach3 plug-in entry points that the export check looks up, and the files it uses.
#pragma once

#include <cstddef>

constexpr std::size_t kEntryPointCount = 21;

// Export names in probing order (a name's list row is its position); ends with nullptr.
extern const char* const kEntryPointNames[kEntryPointCount + 1];

// The plug-in DLL as the export check loads it (same file as the analysis checks).
extern const char kExportCheckPluginPath[];

// Result cell of a row: whether the DLL exports the name.
const char* ExportResultText(bool exported);
