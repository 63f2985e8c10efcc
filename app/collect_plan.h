// What "/collect" gathers and how it records the messages of the run.
#pragma once

#include <string>
#include <vector>

// One message as one line: the caption, a tab, the text, CR LF. Line breaks
// and tabs inside either become blanks, and the blanks that the system's
// error texts end with are dropped, so a line is exactly one message.
std::string MessageLine(const char* caption, const char* text);

// The folders to create, outermost first, so that a full path exists: for
// "D:\a\b" these are "D:\a" and "D:\a\b"; for "\\server\share\a" only
// "\\server\share\a". A trailing backslash is ignored.
std::vector<std::string> FolderChain(const std::string& fullPath);

// The part of a path after its last backslash.
std::string FileNameOf(const std::string& path);
