// Reads arbitrary bytes as a PE image and walks its dependencies as if every DLL it needs
// were the same file: no read outside the bytes, no endless table, and what comes out keeps
// the reader's bounds.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "report/dependency_texts.h"
#include "platform/dependency_walk.h"
#include "platform/pe_image.h"

namespace {

class SameFileEverywhere : public DllLocator {
public:
    explicit SameFileEverywhere(const PeImage& image) : image_(image) {}
    LocatedDll Locate(const std::string& fileName) override {
        LocatedDll located;
        located.where = LocatedDll::Where::File;
        located.path = "C:\\fuzz\\" + fileName;
        located.readable = true;
        located.image = image_;
        return located;
    }

private:
    const PeImage& image_;
};

void Check(bool condition) {
    if (!condition) {
        std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const PeImage image = ReadPeImage(data, size);
    Check(image.isImage || (image.imports.empty() && !image.hasVersion));
    Check(image.imports.size() <= kMaxImportedDlls);
    for (const ImportedDll& dll : image.imports) {
        Check(!dll.name.empty() && dll.name.size() <= kMaxDllNameLength);
        for (const char c : dll.name) {
            Check(static_cast<unsigned char>(c) >= 0x20 && c != 0x7F);
        }
    }
    Check(image.hasVersion == !image.fileVersion.empty());
    Check(image.fileVersion.find_first_not_of("0123456789.") == std::string::npos);

    SameFileEverywhere locator(image);
    const std::vector<NeededDll> needed =
        WalkDependencies("root.dll", image, image.machine, locator, 64);
    Check(needed.size() <= 64);
    DependencyProblemsText(needed, 32);
    for (const NeededDll& dll : needed) {
        NeededResultText(dll);
    }
    return 0;
}
