// The files the analysis probes for: the plug-in DLL and the OpenCV runtime that the plug-in
// loads from its own folder below the program files folder.
#pragma once

#include <cstddef>
#include <string>

// Number of entries in kOpenCvFiles (the table itself ends with a null pointer).
constexpr std::size_t kOpenCvFileCount = 41;

// Paths relative to the program files folder, in the order in which they are checked;
// the last element is nullptr.
extern const char* const kOpenCvFiles[kOpenCvFileCount + 1];

// The plug-in DLL as the analysis checks it.
extern const char kPluginDllPath[];

// Size of the buffer that receives a joined path (MAX_PATH).
constexpr std::size_t kJoinedPathSize = 260;

// Forms "<folder>\<entry>" into out. Returns false, and leaves out empty, when the joined path
// (with its terminating zero) does not fit outSize or an argument is null. A cut path could
// name a different file that happens to exist, so nothing is ever truncated: the caller then
// checks the untruncated path from ProgramFilesPathText() instead, so the row and the log show
// the real path, and the ANSI existence test, which fails beyond MAX_PATH, reports "Not found".
bool JoinProgramFilesPath(const char* folder, const char* entry, char* out, std::size_t outSize);

// The same "<folder>\<entry>" join without any length limit, for showing an over-long path.
std::string ProgramFilesPathText(const char* folder, const char* entry);
