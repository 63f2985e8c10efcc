#include "platform/pe_image.h"

#include "platform/pe_layout.h"

namespace {

constexpr std::uint64_t kImportDescriptorSize = 20;

}  // namespace

PeImage ReadPeImage(const unsigned char* bytes, std::size_t size) {
    PeImage image;
    if (bytes == nullptr) {
        return image;
    }
    const pe::Bytes source(bytes, size);
    pe::ImageReader reader(source);
    // The loader reads the import and export directories while it maps the image: a DLL
    // whose directories lie beyond its bytes is cut short or corrupt, not an image.
    if (!reader.ReadHeaders(&image) ||
        !reader.DirectoryWhole(pe::kImportDirectory, kImportDescriptorSize) ||
        !pe::ReadExports(reader, &image.exports)) {
        return PeImage();
    }
    image.isImage = true;
    pe::ReadImports(reader, &image);
    image.hasVersion = pe::ReadFileVersion(reader, &image.fileVersion);
    return image;
}

std::uint16_t ThisProgramMachine() {
    return sizeof(void*) == 8 ? kMachineAmd64 : kMachineI386;
}

int ThisProgramBits() {
    return static_cast<int>(sizeof(void*) * 8);
}
