// The facts that several rules read, taken out of the logs of a bundle once: the rows of
// the dependencies log by what they say, the plug-in's and the OpenCV files' rows, the
// messages of the run. Nothing here judges; the rules do.
#pragma once

#include <string>
#include <vector>

#include "diagnosis/bundle_view.h"

// A needed DLL's row of the dependencies log: "name  path  state (needed by X)".
struct NeededDllFact {
    LogRow row;
    std::string name;
    std::string path;   // empty when not found
    std::string state;  // "32-bit", "64-bit", "no image", "not readable", "Not found", "API set"
    std::string neededBy;
    bool delayLoaded = false;
};

// Another copy of a DLL that lacks a function, further down the search order.
struct DllCopyFact {
    LogRow row;
    std::string path;
    std::string result;  // "2.4.8.0, has every missing function", "2.4.6.0, lacks f", "64-bit"
    bool hasEveryMissingFunction = false;
};

// A function that an importer needs and the picked DLL does not export.
struct MissingFunctionFact {
    LogRow row;
    std::string dll;
    std::string function;
    std::string path;     // the copy the loader picks
    std::string result;   // "Missing in 2.4.6.0 (needed by lensora.dll)"
    std::string version;  // "2.4.6.0" or "no version"
    std::string neededBy;
    bool delayLoaded = false;
    std::vector<DllCopyFact> copies;
};

struct SearchFolderFact {
    LogRow row;
    std::string folder;
    std::string role;  // "program folder", ..., "PATH"
    bool missing = false;
};

struct DependencyFacts {
    std::vector<SearchFolderFact> searchFolders;
    std::vector<NeededDllFact> needed;
    std::vector<MissingFunctionFact> missingFunctions;
};

DependencyFacts ReadDependencyFacts(const BundleView& view);

// Splits "state (needed by X)" or "state (delay-loaded by X)"; false for any other text.
bool SplitNeededResult(const std::string& result, std::string* state, std::string* neededBy,
                       bool* delayLoaded);

// The element and file-version rows of one file of the plug-in's installation.
struct InstalledFileFact {
    std::string relativePath;  // as the list of OpenCV files names it; the plug-in's full path
    bool checked = false;      // the element log has its row
    bool found = false;
    LogRow elementRow;
    std::string fullPath;  // as the element log names it
    bool hasVersionRow = false;
    LogRow versionRow;
    std::string version;  // "2.4.8.0", "no version"
    std::string kind;     // "32-bit", "64-bit", "no image", "not readable"
};

InstalledFileFact ReadPluginFileFact(const BundleView& view);
// Every file of the OpenCV list, in the list's order.
std::vector<InstalledFileFact> ReadOpenCvFileFacts(const BundleView& view);
// The folder that holds the OpenCV DLLs, as the element log names it; empty when unknown.
std::string OpenCvFolder(const std::vector<InstalledFileFact>& files);

// A message of the run: its caption, subject and text, as the messages log holds them.
struct MessageFact {
    LogRow row;
    std::string caption;  // "Vorlix   LoadLibrary"
    std::string rest;     // subject and text, two blanks between fields
};
std::vector<MessageFact> ReadMessageFacts(const BundleView& view);

// Every fact above, read once for all rules.
struct BundleFacts {
    explicit BundleFacts(const BundleView& bundle);
    const BundleView& view;
    DependencyFacts dependencies;
    InstalledFileFact plugin;
    std::vector<InstalledFileFact> openCv;
    std::vector<MessageFact> messages;
};

// ASCII case ignored; a trailing backslash or slash does not count.
bool SameFolder(const std::string& a, const std::string& b);
bool EndsWithFolded(const std::string& text, const std::string& end);
