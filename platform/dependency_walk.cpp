#include "platform/dependency_walk.h"

#include <deque>
#include <string_view>
#include <unordered_map>
#include <utility>

#include "platform/ascii_case.h"
#include "platform/export_lookup.h"
#include "platform/path_text.h"

namespace {

bool StartsWithIgnoringCase(const std::string& text, const char* prefix) {
    return FoldAsciiCase(text.substr(0, std::string(prefix).size())) == prefix;
}

void Describe(const LocatedDll& located, std::uint16_t machine, NeededDll* needed) {
    needed->path = located.path;
    switch (located.where) {
        case LocatedDll::Where::NotFound:
            needed->path.clear();
            break;
        case LocatedDll::Where::Loaded:
            needed->state = DllState::Image;
            needed->is64Bit = machine == kMachineAmd64;
            needed->loadable = true;
            break;
        case LocatedDll::Where::File:
            if (!located.readable) {
                needed->state = DllState::Unreadable;
            } else if (!located.image.isImage) {
                needed->state = DllState::NotImage;
            } else {
                needed->state = DllState::Image;
                needed->is64Bit = located.image.is64Bit;
                needed->loadable = located.image.machine == machine;
            }
            break;
    }
    if (located.readable && located.image.hasVersion) {
        needed->hasVersion = true;
        needed->version = located.image.fileVersion;
    }
}

// What one importer takes from a DLL: the functions stay in the importer's image, which the
// walk keeps (the root's is the caller's).
struct Request {
    std::string importer;
    bool delayLoaded;
    const std::vector<ImportedFunction>* functions;
};

// The walk's own record of a needed DLL, beside the NeededDll it reports.
struct Entry {
    std::string fileName;                // what the loader searched for
    const LocatedDll* picked = nullptr;  // the DLL whose exports are checked; null: none
    std::vector<Request> requests;
    std::vector<ImportedFunction> missing;  // parallel to NeededDll::missing
    bool early = false;                     // loaded with the root
};

struct Pending {
    std::string name;
    const PeImage* image;
};

void AddOnce(std::vector<std::string>& names, const std::string& name) {
    for (const std::string& known : names) {
        if (known == name) {
            return;
        }
    }
    names.push_back(name);
}

class Walk {
public:
    Walk(std::uint16_t machine, DllLocator& locator, std::size_t maxDlls)
        : machine_(machine), locator_(locator), maxDlls_(maxDlls), lookup_(locator, machine) {}

    std::vector<NeededDll> Run(const std::string& rootName, const PeImage& root) {
        seen_.emplace(FoldAsciiCase(SearchFileName(rootName)), kRoot);
        std::deque<Pending> pending;
        pending.push_back({rootName, &root});
        while (!pending.empty() && !full_) {
            const Pending current = pending.front();
            pending.pop_front();
            for (const ImportedDll& import : current.image->imports) {
                const Pending next = Need(import, current.name);
                if (next.image != nullptr) {
                    pending.push_back(next);
                }
                if (full_) {
                    break;
                }
            }
        }
        FindLoadedWithRoot();
        for (std::size_t i = 0; i < needed_.size(); ++i) {
            CheckFunctions(entries_[i], &needed_[i]);
            if (!needed_[i].missing.empty() && !entries_[i].fileName.empty()) {
                ListOtherCopies(entries_[i], &needed_[i]);
            }
        }
        return std::move(needed_);
    }

private:
    static constexpr std::size_t kRoot = static_cast<std::size_t>(-1);

    // Records the need; returns the DLL's image when its own imports are to be walked.
    Pending Need(const ImportedDll& import, const std::string& importer) {
        const bool apiSet = IsApiSetName(import.name);
        const std::string fileName = SearchFileName(import.name);
        const auto known = seen_.find(FoldAsciiCase(fileName));
        if (known != seen_.end()) {
            if (known->second != kRoot) {
                NeededDll& dll = needed_[known->second];
                // Needed at load time after all: that need is the one to report.
                if (dll.delayLoaded && !import.delayLoaded) {
                    dll.delayLoaded = false;
                    dll.neededBy = importer;
                }
                entries_[known->second].requests.push_back(
                    {importer, import.delayLoaded, &import.functions});
            }
            return {std::string(), nullptr};
        }
        if (needed_.size() >= maxDlls_) {
            full_ = true;
            return {std::string(), nullptr};
        }
        seen_.emplace(FoldAsciiCase(fileName), needed_.size());
        NeededDll dll;
        dll.name = import.name;
        dll.neededBy = importer;
        dll.delayLoaded = import.delayLoaded;
        dll.apiSet = apiSet;
        Entry entry;
        entry.requests.push_back({importer, import.delayLoaded, &import.functions});
        Pending next{import.name, nullptr};
        const ApiSetHost host =
            apiSet ? locator_.ResolveApiSet(import.name, FileNameOfPath(importer)) : ApiSetHost();
        if (host.known) {
            // The schema names the DLL that stands behind the set; the loader loads that one
            // (a system DLL, loaded or in the system folder), and the functions are its.
            if (!host.host.empty()) {
                const LocatedDll& picked = lookup_.Picked(SearchFileName(host.host));
                Describe(picked, machine_, &dll);
                dll.path = host.host;
                entry.picked = lookup_.Checkable(picked) ? &picked : nullptr;
                dll.checkedPath = picked.path;
            }
        } else {
            const LocatedDll& picked = lookup_.Picked(fileName);
            Describe(picked, machine_, &dll);
            entry.fileName = fileName;
            entry.picked = lookup_.Checkable(picked) ? &picked : nullptr;
            dll.checkedPath = picked.path;
            if (picked.where == LocatedDll::Where::File && dll.loadable) {
                next.image = &picked.image;
            }
        }
        needed_.push_back(std::move(dll));
        entries_.push_back(std::move(entry));
        return next;
    }

    bool LoadedWithRoot(const std::string& importer) const {
        const auto known = seen_.find(FoldAsciiCase(SearchFileName(importer)));
        return known != seen_.end() && (known->second == kRoot || entries_[known->second].early);
    }

    // The DLLs that a chain of load-time imports leads to from the root; the others load
    // only when a delay-loaded function is first called.
    void FindLoadedWithRoot() {
        for (bool changed = true; changed;) {
            changed = false;
            for (Entry& entry : entries_) {
                for (const Request& request : entry.requests) {
                    if (!entry.early && !request.delayLoaded && LoadedWithRoot(request.importer)) {
                        entry.early = true;
                        changed = true;
                    }
                }
            }
        }
    }

    void CheckFunctions(Entry& entry, NeededDll* dll) {
        if (entry.picked == nullptr) {
            return;
        }
        // Each function is looked up once, however many importers take it: by name (a view
        // of the name in its importer's image) or by ordinal. Outcome 0: not looked up yet;
        // kFound; else the place in `missing` plus one.
        constexpr std::size_t kFound = static_cast<std::size_t>(-1);
        std::unordered_map<std::string_view, std::size_t> byName;
        std::unordered_map<std::uint16_t, std::size_t> byOrdinal;
        const std::string checkedFile = FileNameOfPath(entry.picked->path);
        for (const Request& request : entry.requests) {
            for (const ImportedFunction& function : *request.functions) {
                auto& outcome =
                    function.byOrdinal ? byOrdinal[function.ordinal] : byName[function.name];
                if (outcome == 0) {
                    const ExportLookup::Result result =
                        lookup_.Find(*entry.picked, checkedFile, function);
                    if (result.found) {
                        outcome = kFound;
                        continue;
                    }
                    outcome = dll->missing.size() + 1;
                    dll->missing.push_back({FunctionText(function), result.forwardedTo, {}, {}});
                    entry.missing.push_back(function);
                }
                if (outcome == kFound) {
                    continue;
                }
                MissingFunction& missing = dll->missing[outcome - 1];
                AddOnce(function.delayLoaded ? missing.delayLoadedBy : missing.neededBy,
                        request.importer);
                if (!function.delayLoaded && LoadedWithRoot(request.importer)) {
                    missing.failsLoad = true;
                }
            }
        }
    }

    void ListOtherCopies(const Entry& entry, NeededDll* dll) {
        const std::string pickedPath = FoldAsciiCase(entry.picked->path);
        for (LocatedDll& file : locator_.LocateAll(entry.fileName)) {
            if (FoldAsciiCase(file.path) == pickedPath) {
                continue;
            }
            NeededDll described;
            Describe(file, machine_, &described);
            DllCopy copy;
            copy.path = file.path;
            copy.state = described.state;
            copy.is64Bit = described.is64Bit;
            copy.loadable = described.loadable;
            copy.hasVersion = described.hasVersion;
            copy.version = described.version;
            const LocatedDll& kept = lookup_.Keep(std::move(file), entry.fileName, false);
            if (lookup_.Checkable(kept)) {
                for (const ImportedFunction& function : entry.missing) {
                    if (!lookup_.Find(kept, entry.fileName, function).found) {
                        copy.lacks.push_back(FunctionText(function));
                    }
                }
            }
            dll->otherCopies.push_back(std::move(copy));
        }
    }

    std::uint16_t machine_;
    DllLocator& locator_;
    std::size_t maxDlls_;
    ExportLookup lookup_;
    bool full_ = false;
    std::vector<NeededDll> needed_;
    std::vector<Entry> entries_;
    // Lower-cased search names, to the entry in `needed_` (the root has none).
    std::unordered_map<std::string, std::size_t> seen_;
};

}  // namespace

std::vector<NeededDll> WalkDependencies(const std::string& rootName, const PeImage& root,
                                        std::uint16_t machine, DllLocator& locator,
                                        std::size_t maxDlls) {
    return Walk(machine, locator, maxDlls).Run(rootName, root);
}

bool MissingAtLoadTime(const std::vector<NeededDll>& needed) {
    for (const NeededDll& dll : needed) {
        for (const MissingFunction& function : dll.missing) {
            if (function.failsLoad) {
                return true;
            }
        }
    }
    return false;
}

bool IsApiSetName(const std::string& name) {
    return StartsWithIgnoringCase(name, "api-ms-win-") || StartsWithIgnoringCase(name, "ext-ms-");
}

std::string SearchFileName(const std::string& name) {
    return name.find('.') == std::string::npos ? name + ".dll" : name;
}

std::vector<std::string> SplitSearchPath(const std::string& value) {
    std::vector<std::string> folders;
    std::size_t start = 0;
    while (start <= value.size()) {
        std::size_t end = value.find(';', start);
        if (end == std::string::npos) {
            end = value.size();
        }
        if (end > start) {
            folders.push_back(value.substr(start, end - start));
        }
        start = end + 1;
    }
    return folders;
}
