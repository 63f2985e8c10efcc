// Reading DLLs from disk and finding the DLLs a DLL needs, as the loader of this program
// would find them.
#pragma once

#include <vector>

#include "platform/dependency_walk.h"
#include "platform/pe_image.h"

// Files larger than this are not read: no DLL comes near it, and a 32-bit process may not
// find room to map more.
constexpr unsigned long long kMaxImageFileSize = 512ull * 1024 * 1024;

// Reads the file's image information; false when it cannot be opened, sized or mapped (a
// folder, a locked or an over-large file). An empty file is read: it is no image.
bool ReadImageFile(const char* path, PeImage* image);

// The walk from the DLL at `path`; empty when it cannot be read or is no image of this
// program's machine (the loader would stop at the DLL itself).
std::vector<NeededDll> FindNeededDlls(const char* path);
