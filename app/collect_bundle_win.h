// The folder that "/collect FOLDER" fills: one run's files and, last, their manifest.
#pragma once

#include <string>
#include <vector>

#include "app/messages_log_win.h"
#include "report/collect_manifest.h"

// Every step that fails is a line of the messages log naming the folder or file it failed
// on; the bundle goes on with what it can still do.
class CollectBundle {
public:
    CollectBundle(const std::string& folder, MessagesLog& messages);

    // Creates the folder and the folders above it that are missing; false when it is not
    // there afterwards.
    bool MakeFolder();
    // Removes what an earlier run placed here; any file of another name stays.
    void RemoveEarlierFiles();
    // Copies the file in under its own name and notes it for the manifest.
    void Place(const char* source);
    int PlacedCount() const { return static_cast<int>(placed_.size()); }
    bool Holds(const char* source) const;
    // Writes the manifest with the files placed so far.
    void WriteManifest(CollectManifest manifest);

private:
    std::string OutermostMissingStep() const;
    std::vector<std::string> EarlierFileNames() const;
    void Remove(const std::string& path);

    std::string folder_;
    MessagesLog& messages_;
    std::vector<ManifestFile> placed_;
};
