// Paths as texts: the file name at a path's end, its folder, joining a folder and a name,
// and the names the program gives its logs. One answer for every layer, so that the folder
// compare, the collect run, the diagnosis and the dependency search name the same file.
// Backslash and slash both separate (Windows reads both); nothing here touches a disk.
#pragma once

#include <string>

// What every log name of the program starts with: each path of report/log_paths.h is
// C:\ followed by this and the log's kind.
constexpr char kLogNamePrefix[] = "Lensora_Brenhold.log";

bool IsPathSeparator(char c);

// What follows the last backslash, slash or drive colon ("C:name" is name in the current
// folder of drive C). Empty when the path ends in a separator or is a drive alone ("C:",
// "C:\", "D:\logs\"): such a path names a folder, not a file in it.
std::string FileNameOfPath(const std::string& path);

// What comes before the last backslash or slash ("C:\a.dll" gives "C:"); empty for none.
std::string FolderOfPath(const std::string& path);

// The extension of the file name at the end of the path, from its last dot on, as spelt
// (".logServices"); empty when the name has no dot.
std::string ExtensionOfPath(const std::string& path);

// The path of a file of that name in the folder: the folder without its trailing
// separators, one backslash, the name. A drive alone stands for its root: "C:" and "C:\"
// both give C:\name. An empty folder gives the name alone.
std::string JoinFolderAndName(const std::string& folder, const std::string& name);

// A name that can only be a file inside a folder: no folder part, drive, wildcard or
// control character, and not "." or "..".
bool IsPlainFileName(const std::string& name);

// Whether a file name is one of the program's log names, the kinds of today and of later
// versions: kLogNamePrefix in any ASCII letter case, followed by a kind.
bool IsCollectedLogName(const std::string& name);
