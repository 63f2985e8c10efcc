// Which DLLs a DLL needs, followed through the DLLs it needs in turn: each needed name is
// looked up once, through a locator that searches the way the system loader does.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

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
    bool readable = false;  // File only: its bytes could be read
    PeImage image;          // File only, when readable
};

class DllLocator {
public:
    virtual ~DllLocator() = default;
    virtual LocatedDll Locate(const std::string& fileName) = 0;
};

enum class DllState { NotFound, Unreadable, NotImage, Image };

struct NeededDll {
    std::string name;      // as the DLL that needs it names it
    std::string neededBy;  // the file name of that DLL
    bool delayLoaded = false;
    std::string path;  // empty when not found
    DllState state = DllState::NotFound;
    bool is64Bit = false;   // an image with a 64-bit optional header
    bool loadable = false;  // an image of this program's machine, or a loaded module
};

constexpr std::size_t kMaxWalkedDlls = 512;

// Breadth first from the root's imports, so that a DLL the root needs itself is always
// reported as needed by the root. API-set names are left out (they name no file). A DLL is
// followed into its own imports only when it is a loadable file; a loaded module's needs
// are loaded already. At most `maxDlls` entries.
std::vector<NeededDll> WalkDependencies(const std::string& rootName, const PeImage& root,
                                        std::uint16_t machine, DllLocator& locator,
                                        std::size_t maxDlls = kMaxWalkedDlls);

// "api-ms-win-..." and "ext-ms-...": resolved by the system's schema, not a file.
bool IsApiSetName(const std::string& name);
// A name that can only be a file inside a folder: no folder part, drive or control character.
bool IsPlainFileName(const std::string& name);
// The file the loader looks for: a name without an extension gets ".dll".
std::string SearchFileName(const std::string& name);
std::string JoinFolderAndName(const std::string& folder, const std::string& name);
// The folders of a PATH value in order, empty entries left out.
std::vector<std::string> SplitSearchPath(const std::string& value);
// What follows the last backslash, slash or colon.
std::string FileNameOfPath(const std::string& path);
