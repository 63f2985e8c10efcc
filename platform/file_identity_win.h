// Whether two paths name one file, as Windows resolves them: letter case,
// '/' for '\', relative paths, "." and "..", short 8.3 names, and two names
// of one file (a hard link, a drive letter made with subst) all come to one.
#pragma once

#include <string>

// The full path with its long names, for comparing and for showing: "/" read
// as "\", relative to the current folder, "." and ".." resolved, each 8.3
// name of an existing folder or file replaced by its long one. The path as
// given where the system cannot make it full.
std::string FullLongPath(const std::string& path);

// Whether the paths name the same file: where both exist, by the file itself
// (its volume serial number and file index); otherwise by their full long
// paths, letter case ignored.
bool SameFile(const std::string& a, const std::string& b);
