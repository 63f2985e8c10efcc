// Portable parts of the collect run: its message lines and its target folders.
#pragma once

#include <string>
#include <vector>

// One message as exactly one line: caption, tab, text, CR LF. Inner line breaks and
// tabs become blanks; the trailing blanks of system error texts are dropped.
std::string MessageLine(const char* caption, const char* text);

// The folders to create, outermost first, for a full path to exist; neither a drive
// root nor a UNC server or share is among them. A trailing backslash is ignored.
std::vector<std::string> FolderChain(const std::string& fullPath);

// The part of a path after its last backslash.
std::string FileNameOf(const std::string& path);
