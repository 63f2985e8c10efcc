// Reading DLLs from disk and finding the DLLs a plug-in needs, as the loader of the program
// that hosts the plug-in would find them.
#pragma once

#include <string>
#include <vector>

#include "platform/dependency_walk.h"
#include "platform/pe_image.h"

// Files larger than this are not read: no DLL comes near it, and a 32-bit process may not
// find room to map more.
constexpr unsigned long long kMaxImageFileSize = 512ull * 1024 * 1024;

// Reads the file's image information; false when it cannot be opened, sized or mapped (a
// folder, a locked or an over-large file). An empty file is read: it is no image.
bool ReadImageFile(const char* path, PeImage* image);

// The standard search order for the DLLs that a DLL loaded by full path needs (safe DLL
// search mode, the default since Windows XP SP2), seen from the host: the host's folder
// (the one above the plug-in's folder: C:\Mach3 for C:\Mach3\plugins\lensora.dll), the
// system folder (a 32-bit program on 64-bit Windows sees SysWOW64 there through the file
// system redirection), the 16-bit system folder, the Windows folder, the current folder,
// then PATH. The plug-in's own folder is not among them: the loader does not look there.
//
// Known DLLs are not looked up by name: every one stands in the system folder, which the
// search reaches right after the host's folder, and that folder holds no system DLLs.
class LoaderSearch : public DllLocator {
public:
    explicit LoaderSearch(const std::string& pluginPath);

    const std::vector<SearchFolder>& Folders() const { return folders_; }
    LocatedDll Locate(const std::string& fileName) override;
    std::vector<LocatedDll> LocateAll(const std::string& fileName) override;
    ApiSetHost ResolveApiSet(const std::string& name, const std::string& importer) override;

private:
    void Add(const std::string& folder, SearchRole role);
    // Every file of the name in the folders, in order; `firstOnly` stops at the first.
    std::vector<LocatedDll> Files(const std::string& fileName, bool firstOnly) const;

    std::vector<SearchFolder> folders_;
    const unsigned char* schema_ = nullptr;
    std::size_t schemaSize_ = 0;
};

struct DependencyFindings {
    // False when the plug-in cannot be read or is no image of this program's machine (the
    // loader would stop at the plug-in itself): nothing was walked.
    bool walked = false;
    std::vector<SearchFolder> folders;
    std::vector<NeededDll> needed;
};

DependencyFindings FindDependencies(const char* pluginPath);
