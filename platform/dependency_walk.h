// Which DLLs a DLL needs, followed through the DLLs it needs in turn: each needed name is
// looked up once, through a locator that searches the way the system loader does, and every
// function an importer takes from a DLL is looked for among that DLL's exports.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/api_set_schema.h"
#include "platform/pe_image.h"

// What a locator found for one file name.
struct LocatedDll {
    enum class Where {
        NotFound,
        // A module of that name is loaded in this process already: the loader takes it.
        Loaded,
        File,
    };
    Where where = Where::NotFound;
    std::string path;
    // Its bytes could be read (for a loaded module: the file it was loaded from).
    bool readable = false;
    PeImage image;  // when readable
};

class DllLocator {
public:
    virtual ~DllLocator() = default;
    // What the loader would take for the name: a loaded module, else the first file in the
    // search order.
    virtual LocatedDll Locate(const std::string& fileName) = 0;
    // Every file of that name in the search order, read.
    virtual std::vector<LocatedDll> LocateAll(const std::string& fileName) = 0;
    // The system's API-set schema on the name; the default is a system without one.
    virtual ApiSetHost ResolveApiSet(const std::string& /*name*/, const std::string& /*importer*/) {
        return ApiSetHost();
    }
};

enum class DllState { NotFound, Unreadable, NotImage, Image };

// The folders a locator searches, in its order, each with the part it plays there.
enum class SearchRole {
    ProgramFolder,
    SystemFolder,
    System16Folder,
    WindowsFolder,
    CurrentFolder,
    Path
};
struct SearchFolder {
    std::string folder;
    SearchRole role;
    // No folder of that name exists: a PATH entry left behind by an uninstalled program.
    bool missing = false;
};

// Before the ordinal of a function imported by ordinal: "#12".
constexpr char kOrdinalMark[] = "#";

struct MissingFunction {
    // The imported name, or kOrdinalMark and the ordinal for an import by ordinal.
    std::string function;
    // The forwarder ("DLL.function") of the DLL that led nowhere; empty for an export that
    // is not there at all.
    std::string forwardedTo;
    // The file names of the importers, in walk order: those that need it when they are
    // loaded, and those that take it delay-loaded only.
    std::vector<std::string> neededBy;
    std::vector<std::string> delayLoadedBy;
    // One of `neededBy` is loaded with the root (the root itself, or a DLL that a chain of
    // load-time imports leads to): the root's load fails on it.
    bool failsLoad = false;
};

// Another file of the same name further down the search order.
struct DllCopy {
    std::string path;
    DllState state = DllState::NotFound;
    bool is64Bit = false;
    bool loadable = false;
    bool hasVersion = false;
    std::string version;
    // Of the DLL's missing functions, those this copy lacks too (as in MissingFunction).
    std::vector<std::string> lacks;
};

struct NeededDll {
    std::string name;      // as the DLL that needs it names it
    std::string neededBy;  // the file name of that DLL
    bool delayLoaded = false;
    // Where found; for an API set that the schema resolves, the host DLL it names. Empty
    // when not found.
    std::string path;
    DllState state = DllState::NotFound;
    bool is64Bit = false;   // an image with a 64-bit optional header
    bool loadable = false;  // an image of this program's machine, or a loaded module
    // "api-ms-win-..." or "ext-ms-...", resolved by the schema or found as a file.
    bool apiSet = false;
    // The file version of the file whose exports were checked (the host of an API set).
    bool hasVersion = false;
    std::string version;
    // Where the exports were checked: the path of the picked file (the host's for an API set).
    std::string checkedPath;
    // Functions its importers take from it that it does not export, in walk order.
    std::vector<MissingFunction> missing;
    // Set only when something is missing.
    std::vector<DllCopy> otherCopies;
};

constexpr std::size_t kMaxWalkedDlls = 512;
// Forwarders followed from one export before it counts as leading nowhere.
constexpr int kMaxForwarderDepth = 16;

// Breadth first from the root's imports, so that a DLL the root needs itself is always
// reported as needed by the root. A DLL is followed into its own imports only when it is a
// loadable file; a loaded module's needs are loaded already, but its file is read to check
// its exports. At most `maxDlls` entries.
std::vector<NeededDll> WalkDependencies(const std::string& rootName, const PeImage& root,
                                        std::uint16_t machine, DllLocator& locator,
                                        std::size_t maxDlls = kMaxWalkedDlls);

// A function missing that the root's load needs: Windows would refuse to load the plug-in
// (Wine binds a stub instead). A function that only delay loads need fails later, if at all.
bool MissingAtLoadTime(const std::vector<NeededDll>& needed);

// "api-ms-win-..." and "ext-ms-...": resolved by the system's schema, not a file.
bool IsApiSetName(const std::string& name);
// The file the loader looks for: a name without an extension gets ".dll".
std::string SearchFileName(const std::string& name);
// The folders of a PATH value in order, empty entries left out.
std::vector<std::string> SplitSearchPath(const std::string& value);
