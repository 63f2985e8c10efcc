// Gathers a bundle's logs for the diagnosis: from a bundle folder, or from the logs that a
// run has just written under C:\. Either way the rules get the same view.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "diagnosis/bundle_view.h"
#include "report/collect_manifest.h"
#include "report/log_file_win.h"

struct GatheredBundle {
    std::vector<BundleFile> files;
    bool knowsWritten = false;         // `written` names every log the run wrote
    std::vector<std::string> written;  // file names
    bool hasManifest = false;
    CollectManifest manifest;

    BundleView View() const { return BundleView(files, knowsWritten ? &written : nullptr); }
    // Whether any log of Vorlix was found.
    bool HoldsLogs() const { return !files.empty(); }
};

// Every log of the collect run that the folder holds, and its manifest's list of what the
// run wrote.
GatheredBundle GatherBundleFolder(const std::string& folder);

// The logs a run wrote (full paths under C:\) and the messages log.
GatheredBundle GatherRunLogs(const std::vector<std::string>& writtenPaths);

// GatherBundleFolder in two halves, for reading many bundles on a second thread: the paths
// made first (by the program's thread), the files read by any thread into a heap of its own
// with nothing said, then told and turned into the bundle on the program's thread.
struct BundleFolderPaths {
    std::string logs[kBundleLogCount];
    std::string manifest;
};
struct RawFile {
    bool there = false;  // neither missing nor a folder
    DWORD openError = 0;
    RawLogRead read;
};
struct RawBundleFolder {
    RawFile logs[kBundleLogCount];
    RawFile manifest;
};
BundleFolderPaths PathsOfBundleFolder(const std::string& folder);
void ReadBundleFolderRaw(const BundleFolderPaths& paths, HANDLE heap, RawBundleFolder& read);
GatheredBundle GatheredBundleOf(const BundleFolderPaths& paths, RawBundleFolder& read);
