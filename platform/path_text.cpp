#include "platform/path_text.h"

#include "platform/ascii_case.h"

bool IsPathSeparator(char c) {
    return c == '\\' || c == '/';
}

std::string FileNameOfPath(const std::string& path) {
    const std::size_t separator = path.find_last_of("\\/:");
    return separator == std::string::npos ? path : path.substr(separator + 1);
}

std::string FolderOfPath(const std::string& path) {
    const std::size_t separator = path.find_last_of("\\/");
    return separator == std::string::npos ? std::string() : path.substr(0, separator);
}

std::string ExtensionOfPath(const std::string& path) {
    const std::string name = FileNameOfPath(path);
    const std::size_t dot = name.rfind('.');
    return dot == std::string::npos ? std::string() : name.substr(dot);
}

// "C:" joins as the drive's root, not as Windows' current folder of drive C: the folder
// part of "C:\a.dll" is "C:" and must lead back to C:\a.dll, and the bundle's manifest and
// its logs must be read from one folder whichever helper builds their paths.
std::string JoinFolderAndName(const std::string& folder, const std::string& name) {
    if (folder.empty()) {
        return name;
    }
    std::size_t end = folder.size();
    while (end > 0 && IsPathSeparator(folder[end - 1])) {
        --end;
    }
    return folder.substr(0, end) + "\\" + name;
}

bool IsPlainFileName(const std::string& name) {
    if (name.empty() || name == "." || name == "..") {
        return false;
    }
    for (const char c : name) {
        const unsigned char byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || IsPathSeparator(c) || c == ':' || c == '?' || c == '*') {
            return false;
        }
    }
    return true;
}

// The prefix alone is no log: the program never writes a log without a kind, and the
// collect run must not remove a user's file of that name.
bool IsCollectedLogName(const std::string& name) {
    const std::size_t length = sizeof kLogNamePrefix - 1;
    return name.size() > length &&
           FoldAsciiCase(name.substr(0, length)) == FoldAsciiCase(kLogNamePrefix);
}
