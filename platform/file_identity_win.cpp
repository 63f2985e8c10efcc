#include "platform/file_identity_win.h"

#include <windows.h>

#include <vector>

#include "platform/handles_win.h"

namespace {

struct FileIdentity {
    DWORD volume = 0;
    DWORD indexHigh = 0;
    DWORD indexLow = 0;
};

// Asks for no access at all, so that a file that another program holds open
// (or that is read-only) still tells who it is.
bool IdentityOf(const std::string& path, FileIdentity& identity) {
    UniqueFile file(CreateFileA(path.c_str(), 0,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    BY_HANDLE_FILE_INFORMATION information;
    if (!file || !GetFileInformationByHandle(file.Get(), &information)) {
        return false;
    }
    identity.volume = information.dwVolumeSerialNumber;
    identity.indexHigh = information.nFileIndexHigh;
    identity.indexLow = information.nFileIndexLow;
    return true;
}

std::string FullPath(const std::string& path) {
    std::string slashes = path;
    for (char& c : slashes) {
        if (c == '/') {
            c = '\\';
        }
    }
    const DWORD needed = GetFullPathNameA(slashes.c_str(), 0, nullptr, nullptr);
    if (needed == 0) {
        return slashes;
    }
    std::vector<char> full(needed + 1);
    const DWORD length = GetFullPathNameA(slashes.c_str(), needed + 1, full.data(), nullptr);
    return length == 0 || length > needed ? slashes : std::string(full.data(), length);
}

// The long form of an existing path; empty when the system has none.
std::string LongPath(const std::string& path) {
    const DWORD needed = GetLongPathNameA(path.c_str(), nullptr, 0);
    if (needed == 0) {
        return std::string();
    }
    std::vector<char> buffer(needed + 1);
    const DWORD length = GetLongPathNameA(path.c_str(), buffer.data(), needed + 1);
    return length == 0 || length > needed ? std::string() : std::string(buffer.data(), length);
}

}  // namespace

std::string FullLongPath(const std::string& path) {
    const std::string full = FullPath(path);
    // A file that does not exist yet: the long form of its folder, then its name.
    std::string rest;
    std::string existing = full;
    while (!existing.empty()) {
        const std::string longer = LongPath(existing);
        if (!longer.empty()) {
            if (rest.empty()) {
                return longer;
            }
            return longer + (longer.back() == '\\' ? "" : "\\") + rest;
        }
        const size_t separator = existing.find_last_of('\\');
        if (separator == std::string::npos || existing.size() <= 3) {
            break;
        }
        const std::string name = existing.substr(separator + 1);
        rest = rest.empty() ? name : name + "\\" + rest;
        // A drive's root keeps its backslash: "C:" alone is a folder of its own.
        existing.resize(separator == 2 && existing[1] == ':' ? 3 : separator);
    }
    return full;
}

bool SameFile(const std::string& a, const std::string& b) {
    FileIdentity first, second;
    if (IdentityOf(a, first) && IdentityOf(b, second)) {
        return first.volume == second.volume && first.indexHigh == second.indexHigh &&
               first.indexLow == second.indexLow;
    }
    return lstrcmpiA(FullLongPath(a).c_str(), FullLongPath(b).c_str()) == 0;
}
