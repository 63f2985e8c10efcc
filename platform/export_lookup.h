// Looks for imported functions among the exports of the DLL the loader picks, following
// forwarders to the DLLs they name (through the same locator, each DLL looked up once).
#pragma once

#include <deque>
#include <set>
#include <string>
#include <string_view>
#include <unordered_map>

#include "platform/dependency_walk.h"

class ExportLookup {
public:
    ExportLookup(DllLocator& locator, std::uint16_t machine)
        : locator_(locator), machine_(machine) {}
    ExportLookup(const ExportLookup&) = delete;
    ExportLookup& operator=(const ExportLookup&) = delete;

    struct Result {
        bool found = false;
        // The forwarder of the DLL that led nowhere; empty for an export not there at all.
        std::string forwardedTo;
    };

    // Keeps a located DLL for the lookups (the reference stays valid) and, when it is the
    // loader's pick for its name, for the forwarders that name it.
    const LocatedDll& Keep(LocatedDll located, const std::string& fileName, bool picked);
    // The loader's pick for a file name, asked of the locator once.
    const LocatedDll& Picked(const std::string& fileName);
    // Whether its exports can be checked: an image of the program's machine whose bytes
    // were read. A loaded module whose file exports nothing is not the file that was
    // loaded (an importer could take nothing from it): it is left unchecked.
    bool Checkable(const LocatedDll& dll) const;
    // `dll` must be one that Keep or Picked gave out; `fileName` is its file name.
    Result Find(const LocatedDll& dll, const std::string& fileName,
                const ImportedFunction& function);

private:
    struct Index {
        // Views of the names of the image, which the kept DLL holds as long as the lookup.
        std::unordered_map<std::string_view, std::uint32_t> ordinalOfName;
        std::unordered_map<std::uint32_t, const ExportedFunction*> byOrdinal;
    };

    const Index& IndexOf(const LocatedDll& dll);
    const ExportedFunction* Export(const LocatedDll& dll, const ImportedFunction& function);
    bool Follow(const std::string& forwarder, const std::string& fromFile, int depth,
                std::set<std::string>& visited);

    DllLocator& locator_;
    std::uint16_t machine_;
    std::deque<LocatedDll> kept_;
    std::unordered_map<std::string, const LocatedDll*> picked_;
    std::unordered_map<const LocatedDll*, Index> indexes_;
};

// "#12" for an import by ordinal, else the name.
std::string FunctionText(const ImportedFunction& function);
