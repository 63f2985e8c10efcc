#include "platform/export_lookup.h"

#include "platform/ascii_case.h"
#include "platform/path_text.h"

namespace {

// "DLL.function" or "DLL.#ordinal": the DLL part ends at the last dot, since a DLL name may
// hold dots and a function name does not.
bool SplitForwarder(const std::string& forwarder, std::string* dll, ImportedFunction* function) {
    const std::size_t dot = forwarder.rfind('.');
    if (dot == std::string::npos || dot == 0 || dot + 1 == forwarder.size()) {
        return false;
    }
    *dll = forwarder.substr(0, dot);
    const std::string part = forwarder.substr(dot + 1);
    if (part[0] != '#') {
        function->name = part;
        return true;
    }
    if (part.size() < 2 || part.size() > 6) {
        return false;
    }
    std::uint32_t ordinal = 0;
    for (std::size_t i = 1; i < part.size(); ++i) {
        if (part[i] < '0' || part[i] > '9') {
            return false;
        }
        ordinal = ordinal * 10 + static_cast<std::uint32_t>(part[i] - '0');
    }
    if (ordinal > 0xFFFF) {
        return false;
    }
    function->byOrdinal = true;
    function->ordinal = static_cast<std::uint16_t>(ordinal);
    return true;
}

}  // namespace

const LocatedDll& ExportLookup::Keep(LocatedDll located, const std::string& fileName, bool picked) {
    kept_.push_back(std::move(located));
    if (picked) {
        picked_.emplace(FoldAsciiCase(fileName), &kept_.back());
    }
    return kept_.back();
}

const LocatedDll& ExportLookup::Picked(const std::string& fileName) {
    const auto known = picked_.find(FoldAsciiCase(fileName));
    if (known != picked_.end()) {
        return *known->second;
    }
    LocatedDll located;
    if (IsPlainFileName(fileName)) {
        located = locator_.Locate(fileName);
    }
    return Keep(std::move(located), fileName, true);
}

bool ExportLookup::Checkable(const LocatedDll& dll) const {
    if (dll.where == LocatedDll::Where::NotFound || !dll.readable || !dll.image.isImage ||
        dll.image.machine != machine_) {
        return false;
    }
    return dll.where != LocatedDll::Where::Loaded || !dll.image.exports.functions.empty();
}

ExportLookup::Result ExportLookup::Find(const LocatedDll& dll, const std::string& fileName,
                                        const ImportedFunction& function) {
    Result result;
    const ExportedFunction* exported = Export(dll, function);
    if (exported == nullptr) {
        return result;
    }
    if (!exported->forwarded) {
        result.found = true;
        return result;
    }
    std::set<std::string> visited;
    result.found = Follow(exported->forwarder, fileName, 1, visited);
    if (!result.found) {
        result.forwardedTo = exported->forwarder.empty() ? "?" : exported->forwarder;
    }
    return result;
}

const ExportLookup::Index& ExportLookup::IndexOf(const LocatedDll& dll) {
    const auto known = indexes_.find(&dll);
    if (known != indexes_.end()) {
        return known->second;
    }
    Index& index = indexes_[&dll];
    index.byOrdinal.reserve(dll.image.exports.functions.size());
    index.ordinalOfName.reserve(dll.image.exports.names.size());
    for (const ExportedFunction& function : dll.image.exports.functions) {
        index.byOrdinal.emplace(function.ordinal, &function);
    }
    for (const ExportedName& name : dll.image.exports.names) {
        index.ordinalOfName.emplace(name.name, name.ordinal);
    }
    return index;
}

const ExportedFunction* ExportLookup::Export(const LocatedDll& dll,
                                             const ImportedFunction& function) {
    const Index& index = IndexOf(dll);
    std::uint32_t ordinal = function.ordinal;
    if (!function.byOrdinal) {
        const auto named = index.ordinalOfName.find(function.name);
        if (named == index.ordinalOfName.end()) {
            return nullptr;
        }
        ordinal = named->second;
    }
    const auto found = index.byOrdinal.find(ordinal);
    return found == index.byOrdinal.end() ? nullptr : found->second;
}

// Each DLL and function once on one chain, at most kMaxForwarderDepth steps: forwarders
// that point at each other lead nowhere, as they do for the loader.
bool ExportLookup::Follow(const std::string& forwarder, const std::string& fromFile, int depth,
                          std::set<std::string>& visited) {
    std::string dll;
    ImportedFunction function;
    if (depth > kMaxForwarderDepth || !SplitForwarder(forwarder, &dll, &function)) {
        return false;
    }
    if (!visited.insert(FoldAsciiCase(dll) + "!" + FunctionText(function)).second) {
        return false;
    }
    std::string target = SearchFileName(dll);
    if (IsApiSetName(dll)) {
        const ApiSetHost host = locator_.ResolveApiSet(dll, fromFile);
        if (host.known) {
            if (host.host.empty()) {
                return false;
            }
            target = host.host;
        }
    }
    const LocatedDll& located = Picked(target);
    if (!Checkable(located)) {
        return false;
    }
    const ExportedFunction* exported = Export(located, function);
    if (exported == nullptr) {
        return false;
    }
    return !exported->forwarded ||
           Follow(exported->forwarder, FileNameOfPath(target), depth + 1, visited);
}

std::string FunctionText(const ImportedFunction& function) {
    return function.byOrdinal ? kOrdinalMark + std::to_string(function.ordinal) : function.name;
}
