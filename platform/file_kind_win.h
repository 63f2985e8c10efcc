// What a path names on disk, by its attributes: a folder, or a file (anything there that
// is no folder). A path that cannot be asked about is neither.
#pragma once

#include <string>

bool IsFolder(const std::string& path);
bool IsFile(const std::string& path);
