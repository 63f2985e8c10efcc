#include "report/collect_manifest_win.h"

#include <windows.h>

#include "platform/handles_win.h"
#include "platform/path_text.h"

bool ReadManifestFile(const std::string& folder, CollectManifest* manifest) {
    UniqueFile file(CreateFileA(JoinFolderAndName(folder, kManifestFileName).c_str(), GENERIC_READ,
                                FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                                nullptr));
    LARGE_INTEGER size;
    if (!file || !GetFileSizeEx(file.Get(), &size) ||
        size.QuadPart > static_cast<LONGLONG>(kMaxManifestSize)) {
        return false;
    }
    std::string bytes(static_cast<size_t>(size.QuadPart), '\0');
    DWORD read = 0;
    if (!bytes.empty() &&
        !ReadFile(file.Get(), &bytes[0], static_cast<DWORD>(bytes.size()), &read, nullptr)) {
        return false;
    }
    bytes.resize(read);
    return ManifestFromBytes(bytes.data(), bytes.size(), manifest);
}

bool ManifestFromBytes(const char* data, std::size_t size, CollectManifest* manifest) {
    return size <= kMaxManifestSize && ParseManifest(std::string(data, size), manifest);
}
