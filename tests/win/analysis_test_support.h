// What the tests of the analysis run, its system data and its plug-in sections share: files
// and folders under C:\ that remove themselves, the current directory and registry values
// restored, a system call replaced for the life of an object, the element paths the run
// checks, and the timestamp of the header row.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "tests/win/registry_section_support.h"
#include "tests/win/test_support.h"

constexpr char kElementLog[] = "C:\\Lensora_Brenhold.logAnalyzeElement";
constexpr char kSystemDataLog[] = "C:\\Lensora_Brenhold.logAnalyzeSystemData";
constexpr char kPluginVersionLog[] = "C:\\Lensora_Brenhold.logAnalyzePluginVersion";
constexpr char kPluginsLog[] = "C:\\Lensora_Brenhold.logAnalyzePlugins";
constexpr char kPluginDll[] = "C:\\Mach3\\Plugins\\lensora.dll";
constexpr char kPluginFolder[] = "C:\\Mach3\\plugins";
// The plug-in's uninstall keys under HKEY_LOCAL_MACHINE: the one Windows XP reads, and the
// one Windows 7 and later read.
constexpr char kNativeUninstallKey[] =
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Mach3 Lensora_is1";
constexpr char kWowUninstallKey[] =
    "SOFTWARE\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Mach3 Lensora_is1";
constexpr char kOpenCvFolderBelowProgramFiles[] = "Lensora_Brenhold\\build\\x86\\vc10\\bin";

// Rows of the finished analysis list that do not move: the header row, the 29 system data
// rows, then the plug-in DLL's element row.
constexpr int kHeaderRow = 0;
constexpr int kFirstSystemRow = 1;
constexpr int kSystemRowCount = 29;
constexpr int kPluginDllRow = kFirstSystemRow + kSystemRowCount;
constexpr int kOpenCvRowCount = 41;

// Folders and files made for one test and removed again, last made first removed. A
// folder or file that existed before is left in place (and a file keeps its old bytes).
class TemporaryTree {
public:
    TemporaryTree() = default;
    ~TemporaryTree();
    TemporaryTree(const TemporaryTree&) = delete;
    TemporaryTree& operator=(const TemporaryTree&) = delete;

    // Makes the folder and every parent it lacks; false when the system refused.
    bool Folder(const std::string& path);
    // Writes the file (its folder must exist) with the attributes; false when refused.
    bool File(const std::string& path, const std::string& bytes = "",
              DWORD attributes = FILE_ATTRIBUTE_NORMAL);

private:
    struct Made {
        std::string path;
        bool folder;
        bool existed;
        std::string oldBytes;
    };
    std::vector<Made> made_;
};

// Restores the process's current directory when it goes.
class ScopedCurrentDirectory {
public:
    ScopedCurrentDirectory();
    ~ScopedCurrentDirectory();
    ScopedCurrentDirectory(const ScopedCurrentDirectory&) = delete;
    ScopedCurrentDirectory& operator=(const ScopedCurrentDirectory&) = delete;
    const std::string& Saved() const { return saved_; }

private:
    std::string saved_;
};
std::string CurrentDirectory();

// Sets a REG_SZ value of an existing key and puts the old one (or its absence) back.
class ScopedRegistryText {
public:
    ScopedRegistryText(HKEY root, const char* keyPath, const char* name, const std::string& text);
    ~ScopedRegistryText();
    ScopedRegistryText(const ScopedRegistryText&) = delete;
    ScopedRegistryText& operator=(const ScopedRegistryText&) = delete;
    bool Applied() const { return applied_; }

private:
    HKEY key_ = nullptr;
    std::string name_;
    bool existed_ = false;
    DWORD oldType_ = REG_SZ;
    std::string oldBytes_;
    bool applied_ = false;
};

// A copy of this test program, "C:\\<stem>_<version>.exe", that Wine runs as the given Windows
// version (its AppDefaults entry); copy and entry go with the object.
class VersionedCopy {
public:
    VersionedCopy(const std::string& stem, const std::string& wineVersion);
    ~VersionedCopy();
    VersionedCopy(const VersionedCopy&) = delete;
    VersionedCopy& operator=(const VersionedCopy&) = delete;
    bool Ready() const { return copied_ && appDefaults_.Valid(); }
    // Runs the tests that `filter` names in the copy, in C:\.
    ChildRun Run(const std::string& filter, DWORD timeoutMs) const;

private:
    std::string path_;
    TemporaryKey appDefaults_;
    bool copied_ = false;
};

// The boxes that the run itself, the element checks, the system data and plug-in sections
// and the log writer can show. The later sections' own messages ("Vorlix Error") depend on
// the machine and are left to their tests.
std::vector<RecordedBox> RunBoxes(const std::vector<RecordedBox>& boxes);

// The program files folder as this 32-bit process's environment names it.
std::string ProgramFilesFromEnvironment();

// "<folder>\<OpenCV bin folder>\<name>" for each of the 41 OpenCV entries, in check order.
std::vector<std::string> OpenCvPaths(const std::string& programFiles);

// The header row and timestamp line form "dd.mm.yyyy hh:mm ss" as seconds since 1601, or -1
// when the text has another form.
std::int64_t TimestampSeconds(const std::string& text);
std::int64_t LocalNowSeconds();

// Formats with a printf format into a 128-character buffer, as the program does.
std::string Formatted(const char* format, ...);
