// The files the analysis probes for: the plug-in DLL and the OpenCV runtime that the plug-in
// loads from its own folder below the program files folder.
#pragma once

#include <cstddef>
#include <string>

constexpr std::size_t kOpenCvFileCount = 41;

// Paths relative to the program files folder, in checking order, then nullptr.
extern const char* const kOpenCvFiles[kOpenCvFileCount + 1];

// The plug-in DLL as the analysis checks it.
extern const char kPluginDllPath[];

// Buffer size for a joined path: MAX_PATH, which this portable file cannot name.
constexpr std::size_t kJoinedPathSize = 260;

// Forms "<folder>\<entry>" into out; false, with out empty, when it does not fit outSize
// (zero included) or an argument is null. A cut path could name another file that exists, so
// the caller then shows and tests ProgramFilesPathText(), which the ANSI test reports missing.
bool JoinProgramFilesPath(const char* folder, const char* entry, char* out, std::size_t outSize);

// The same "<folder>\<entry>" join without any length limit, for showing an over-long path.
std::string ProgramFilesPathText(const char* folder, const char* entry);
