// The parts of the PE reader that the import, export and version readers share: bounded
// reads of the file's bytes and the mapping of RVAs to file offsets through the section
// table. Offsets and sizes as Microsoft documents PE/COFF images.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/pe_image.h"

namespace pe {

constexpr std::uint32_t kExportDirectory = 0;
constexpr std::uint32_t kImportDirectory = 1;
constexpr std::uint32_t kResourceDirectory = 2;
constexpr std::uint32_t kDelayImportDirectory = 13;

// Bounds-checked little-endian reads; an offset past the end only fails the read.
class Bytes {
public:
    Bytes(const unsigned char* data, std::size_t size) : data_(data), size_(size) {}

    std::uint64_t Size() const { return size_; }
    bool Has(std::uint64_t offset, std::uint64_t count) const {
        return offset <= size_ && count <= size_ - offset;
    }
    bool U16(std::uint64_t offset, std::uint16_t* value) const;
    bool U32(std::uint64_t offset, std::uint32_t* value) const;
    bool U64(std::uint64_t offset, std::uint64_t* value) const;
    // The bytes from `offset` on; only for an offset that Has() accepted.
    const unsigned char* From(std::uint64_t offset) const { return data_ + offset; }

private:
    const unsigned char* data_;
    std::uint64_t size_;
};

// Where the bytes at an RVA lie in the file, and how many follow them in the same section
// (never past the end of the file).
struct FileSpan {
    std::uint64_t offset = 0;
    std::uint64_t length = 0;
};

struct Directory {
    std::uint32_t rva = 0;
    std::uint32_t size = 0;
};

class ImageReader {
public:
    explicit ImageReader(const Bytes& bytes) : bytes_(bytes) {}

    // The headers and the section table; false when they are not whole, or when a section's
    // raw data does not lie within the bytes.
    bool ReadHeaders(PeImage* image);

    // An absent entry (beyond the directory count or the optional header) reads as zeros.
    Directory DirectoryEntry(std::uint32_t index) const;
    // A directory the loader reads: absent, or at least `minimum` bytes of it in the file.
    bool DirectoryWhole(std::uint32_t index, std::uint64_t minimum) const;

    bool Map(std::uint64_t rva, FileSpan* span) const;
    // An address of the old delay-import form: the image base taken off; false below it.
    bool RvaOfAddress(std::uint64_t address, std::uint64_t* rva) const;

    // A NUL-ended text at an RVA, cut at the end of its section, of the file or at
    // `maxLength` characters; control characters become '?'.
    std::string TextAt(std::uint64_t rva, std::size_t maxLength) const;
    // As TextAt, counted against the image's budget of name characters: empty once spent.
    std::string FunctionNameAt(std::uint64_t rva);

    bool Is64Bit() const { return is64Bit_; }
    const Bytes& ByteSource() const { return bytes_; }

private:
    struct Section {
        std::uint32_t virtualAddress;
        std::uint32_t span;  // bytes of the section that come from the file
        std::uint32_t rawOffset;
    };

    bool ReadWithin(std::uint64_t offset, std::uint32_t* value) const;
    bool ReadWithin64(std::uint64_t offset, std::uint64_t* value) const;
    bool ReadSections(std::uint64_t table, std::uint16_t count);
    bool Clip(std::uint64_t offset, std::uint64_t length, FileSpan* span) const;

    const Bytes& bytes_;
    bool is64Bit_ = false;
    std::uint64_t optionalEnd_ = 0;
    std::uint64_t directories_ = 0;
    std::uint32_t directoryCount_ = 0;
    std::uint64_t imageBase_ = 0;
    std::uint32_t headersSize_ = 0;
    std::uint32_t lowestSection_ = 0xFFFFFFFFu;
    std::vector<Section> sections_;
    std::size_t nameCharactersLeft_ = kMaxNameCharacters;
};

// The import and delay-import tables: DLL names and the functions taken from each.
void ReadImports(ImageReader& reader, PeImage* image);
// The export directory; false when its tables do not lie within the bytes.
bool ReadExports(ImageReader& reader, ExportTable* exports);
// The file version of the first version resource; false when there is none.
bool ReadFileVersion(const ImageReader& reader, std::string* version);

}  // namespace pe
