// Files and the Wine check, shared by the Wine tests and the end-to-end driver (which links no
// part of the program).
#pragma once

#include <windows.h>

#include <string>

// Files under C:\ of the private test prefix.
std::string ReadFileBytes(const std::string& path);
void WriteFileBytes(const std::string& path, const std::string& bytes);
void RemoveFile(const std::string& path);
bool FileExistsAt(const std::string& path);
// The folder and everything in it, read-only files too; nothing when it is not there.
void RemoveTree(const std::string& folder);

// The system's message text for an error code, as the program shows it.
std::string SystemText(DWORD code);

// Whether the tests run under Wine, for the few checks where Wine differs.
bool RunningUnderWine();
