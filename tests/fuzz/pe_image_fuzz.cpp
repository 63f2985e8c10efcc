// Reads arbitrary bytes as a PE image and walks its dependencies as if every DLL it needs
// were the same file (a second copy of it no image), with the same bytes as the API-set
// schema: no read outside the bytes, no endless table or forwarder chain, and what comes
// out keeps the reader's bounds.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <set>
#include <string>
#include <vector>

#include "platform/api_set_schema.h"
#include "platform/dependency_walk.h"
#include "platform/pe_image.h"
#include "report/dependency_texts.h"

namespace {

class SameFileEverywhere : public DllLocator {
public:
    SameFileEverywhere(const PeImage& image, const std::vector<unsigned char>& bytes)
        : image_(image), bytes_(bytes) {}
    LocatedDll Locate(const std::string& fileName) override {
        LocatedDll located;
        located.where = LocatedDll::Where::File;
        located.path = "C:\\fuzz\\" + fileName;
        located.readable = true;
        located.image = image_;
        return located;
    }
    std::vector<LocatedDll> LocateAll(const std::string& fileName) override {
        LocatedDll other;
        other.where = LocatedDll::Where::File;
        other.path = "C:\\later\\" + fileName;
        other.readable = true;
        return {Locate(fileName), other};
    }
    ApiSetHost ResolveApiSet(const std::string& name, const std::string& importer) override {
        return LookUpApiSet(bytes_.data(), bytes_.size(), name, importer);
    }

private:
    const PeImage& image_;
    const std::vector<unsigned char>& bytes_;
};

void Check(bool condition) {
    if (!condition) {
        std::abort();
    }
}

void CheckName(const std::string& name, std::size_t maxLength) {
    Check(name.size() <= maxLength);
    for (const char c : name) {
        Check(static_cast<unsigned char>(c) >= 0x20 && c != 0x7F);
    }
}

void CheckImage(const PeImage& image) {
    Check(image.isImage || (image.imports.empty() && !image.hasVersion &&
                            image.exports.functions.empty() && image.exports.names.empty()));
    Check(image.imports.size() <= kMaxImportedDlls);
    std::size_t functions = 0;
    for (const ImportedDll& dll : image.imports) {
        Check(!dll.name.empty());
        CheckName(dll.name, kMaxDllNameLength);
        for (const ImportedFunction& f : dll.functions) {
            Check(f.byOrdinal ? f.name.empty() : !f.name.empty());
            CheckName(f.name, kMaxFunctionNameLength);
        }
        functions += dll.functions.size();
    }
    Check(functions <= kMaxImportedFunctions);
    Check(image.exports.functions.size() <= kMaxExports);
    Check(image.exports.names.size() <= kMaxExports);
    std::set<std::uint32_t> ordinals;
    for (const ExportedFunction& f : image.exports.functions) {
        Check(ordinals.insert(f.ordinal).second);
        Check(f.forwarded || f.forwarder.empty());
        CheckName(f.forwarder, kMaxFunctionNameLength);
    }
    for (const ExportedName& n : image.exports.names) {
        Check(!n.name.empty() && ordinals.count(n.ordinal) == 1);
        CheckName(n.name, kMaxFunctionNameLength);
    }
    Check(image.hasVersion == !image.fileVersion.empty());
    Check(image.fileVersion.find_first_not_of("0123456789.") == std::string::npos);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // A buffer of exactly the input's size, so that a read past its end is caught.
    const std::vector<unsigned char> bytes(data, data + size);
    const PeImage image = ReadPeImage(bytes.data(), bytes.size());
    CheckImage(image);

    SameFileEverywhere locator(image, bytes);
    const std::vector<NeededDll> needed =
        WalkDependencies("root.dll", image, image.machine, locator, 64);
    Check(needed.size() <= 64);
    for (const NeededDll& dll : needed) {
        Check(dll.missing.empty() || dll.state == DllState::Image);
        Check(dll.otherCopies.empty() || !dll.missing.empty());
        for (const MissingFunction& f : dll.missing) {
            Check(!f.neededBy.empty() || !f.delayLoadedBy.empty());
        }
    }
    DependencyProblemsText(needed, 32);
    DependencyRows({{"C:\\fuzz", SearchRole::ProgramFolder}}, needed);
    return 0;
}
