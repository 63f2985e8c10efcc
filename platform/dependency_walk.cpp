#include "platform/dependency_walk.h"

#include <deque>
#include <unordered_map>
#include <utility>

namespace {

std::string AsciiLowered(std::string text) {
    for (char& c : text) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return text;
}

bool StartsWithIgnoringCase(const std::string& text, const char* prefix) {
    return AsciiLowered(text.substr(0, std::string(prefix).size())) == prefix;
}

NeededDll Describe(const ImportedDll& import, const std::string& neededBy,
                   const LocatedDll& located, std::uint16_t machine) {
    NeededDll needed;
    needed.name = import.name;
    needed.neededBy = neededBy;
    needed.delayLoaded = import.delayLoaded;
    needed.path = located.path;
    switch (located.where) {
        case LocatedDll::Where::NotFound:
            needed.path.clear();
            break;
        case LocatedDll::Where::Loaded:
            needed.state = DllState::Image;
            needed.is64Bit = machine == kMachineAmd64;
            needed.loadable = true;
            break;
        case LocatedDll::Where::File:
            if (!located.readable) {
                needed.state = DllState::Unreadable;
            } else if (!located.image.isImage) {
                needed.state = DllState::NotImage;
            } else {
                needed.state = DllState::Image;
                needed.is64Bit = located.image.is64Bit;
                needed.loadable = located.image.machine == machine;
            }
            break;
    }
    return needed;
}

struct Pending {
    std::string name;
    std::vector<ImportedDll> imports;
};

}  // namespace

std::vector<NeededDll> WalkDependencies(const std::string& rootName, const PeImage& root,
                                        std::uint16_t machine, DllLocator& locator,
                                        std::size_t maxDlls) {
    std::vector<NeededDll> needed;
    // Lower-cased search names, to the entry in `needed` (the root has none).
    std::unordered_map<std::string, std::size_t> seen;
    constexpr std::size_t kRoot = static_cast<std::size_t>(-1);
    seen.emplace(AsciiLowered(SearchFileName(rootName)), kRoot);
    std::deque<Pending> pending;
    pending.push_back({rootName, root.imports});
    while (!pending.empty()) {
        const Pending current = std::move(pending.front());
        pending.pop_front();
        for (const ImportedDll& import : current.imports) {
            if (IsApiSetName(import.name)) {
                continue;
            }
            const std::string fileName = SearchFileName(import.name);
            const auto known = seen.find(AsciiLowered(fileName));
            if (known != seen.end()) {
                // Needed at load time after all: that need is the one to report.
                if (known->second != kRoot && needed[known->second].delayLoaded &&
                    !import.delayLoaded) {
                    needed[known->second].delayLoaded = false;
                    needed[known->second].neededBy = current.name;
                }
                continue;
            }
            if (needed.size() >= maxDlls) {
                return needed;
            }
            LocatedDll located;
            if (IsPlainFileName(fileName)) {
                located = locator.Locate(fileName);
            }
            seen.emplace(AsciiLowered(fileName), needed.size());
            needed.push_back(Describe(import, current.name, located, machine));
            if (located.where == LocatedDll::Where::File && needed.back().loadable) {
                pending.push_back({import.name, std::move(located.image.imports)});
            }
        }
    }
    return needed;
}

bool IsApiSetName(const std::string& name) {
    return StartsWithIgnoringCase(name, "api-ms-win-") || StartsWithIgnoringCase(name, "ext-ms-");
}

bool IsPlainFileName(const std::string& name) {
    if (name.empty() || name == "." || name == "..") {
        return false;
    }
    for (const char c : name) {
        const unsigned char byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || c == '\\' || c == '/' || c == ':' || c == '?' || c == '*') {
            return false;
        }
    }
    return true;
}

std::string SearchFileName(const std::string& name) {
    return name.find('.') == std::string::npos ? name + ".dll" : name;
}

std::string JoinFolderAndName(const std::string& folder, const std::string& name) {
    if (folder.empty() || folder.back() == '\\' || folder.back() == '/') {
        return folder + name;
    }
    return folder + "\\" + name;
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

std::string FileNameOfPath(const std::string& path) {
    const std::size_t separator = path.find_last_of("\\/:");
    return separator == std::string::npos ? path : path.substr(separator + 1);
}
