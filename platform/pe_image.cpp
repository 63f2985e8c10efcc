#include "platform/pe_image.h"

#include <cstdio>
#include <unordered_set>

namespace {

// Offsets and sizes of the PE format, as Microsoft documents PE/COFF images.
constexpr std::uint64_t kDosHeaderSize = 64;
constexpr std::uint64_t kLfanewOffset = 0x3C;
constexpr std::uint64_t kFileHeaderSize = 20;
constexpr std::uint16_t kOptionalMagic32 = 0x10B;
constexpr std::uint16_t kOptionalMagic64 = 0x20B;
constexpr std::uint64_t kSectionHeaderSize = 40;
constexpr std::uint64_t kImportDescriptorSize = 20;
constexpr std::uint64_t kDelayDescriptorSize = 32;
constexpr std::uint32_t kImportDirectory = 1;
constexpr std::uint32_t kResourceDirectory = 2;
constexpr std::uint32_t kDelayImportDirectory = 13;
constexpr std::uint32_t kVersionResourceType = 16;
constexpr std::uint32_t kResourceSubdirectoryFlag = 0x80000000u;
constexpr std::uint32_t kMaxResourceEntries = 4096;
constexpr std::uint32_t kFixedFileInfoSignature = 0xFEEF04BDu;

// Bounds-checked little-endian reads; an offset past the end only fails the read.
class Bytes {
public:
    Bytes(const unsigned char* data, std::size_t size) : data_(data), size_(size) {}

    std::uint64_t Size() const { return size_; }
    bool Has(std::uint64_t offset, std::uint64_t count) const {
        return offset <= size_ && count <= size_ - offset;
    }
    bool U16(std::uint64_t offset, std::uint16_t* value) const {
        if (!Has(offset, 2)) {
            return false;
        }
        *value = static_cast<std::uint16_t>(data_[offset] | data_[offset + 1] << 8);
        return true;
    }
    bool U32(std::uint64_t offset, std::uint32_t* value) const {
        std::uint16_t low = 0;
        std::uint16_t high = 0;
        if (!U16(offset, &low) || !U16(offset + 2, &high)) {
            return false;
        }
        *value = static_cast<std::uint32_t>(low) | static_cast<std::uint32_t>(high) << 16;
        return true;
    }
    bool U64(std::uint64_t offset, std::uint64_t* value) const {
        std::uint32_t low = 0;
        std::uint32_t high = 0;
        if (!U32(offset, &low) || !U32(offset + 4, &high)) {
            return false;
        }
        *value = static_cast<std::uint64_t>(low) | static_cast<std::uint64_t>(high) << 32;
        return true;
    }
    unsigned char At(std::uint64_t offset) const { return data_[offset]; }

private:
    const unsigned char* data_;
    std::uint64_t size_;
};

struct Section {
    std::uint32_t virtualAddress;
    std::uint32_t span;  // bytes of the section that come from the file
    std::uint32_t rawOffset;
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

    bool ReadHeaders(PeImage* image) {
        std::uint32_t lfanew = 0;
        std::uint32_t signature = 0;
        std::uint16_t mz = 0;
        if (!bytes_.Has(0, kDosHeaderSize) || !bytes_.U16(0, &mz) || mz != 0x5A4D ||
            !bytes_.U32(kLfanewOffset, &lfanew) || !bytes_.U32(lfanew, &signature) ||
            signature != 0x00004550) {
            return false;
        }
        const std::uint64_t fileHeader = static_cast<std::uint64_t>(lfanew) + 4;
        std::uint16_t sectionCount = 0;
        std::uint16_t optionalSize = 0;
        if (!bytes_.U16(fileHeader, &image->machine) ||
            !bytes_.U16(fileHeader + 2, &sectionCount) ||
            !bytes_.U16(fileHeader + 16, &optionalSize)) {
            return false;
        }
        const std::uint64_t optional = fileHeader + kFileHeaderSize;
        std::uint16_t magic = 0;
        if (optionalSize < 2 || !bytes_.Has(optional, optionalSize) ||
            !bytes_.U16(optional, &magic)) {
            return false;
        }
        if (magic != kOptionalMagic32 && magic != kOptionalMagic64) {
            return false;
        }
        image->is64Bit = magic == kOptionalMagic64;
        optionalEnd_ = optional + optionalSize;
        const std::uint64_t countOffset = optional + (image->is64Bit ? 108 : 92);
        directories_ = optional + (image->is64Bit ? 112 : 96);
        if (directories_ > optionalEnd_ || !ReadWithin(countOffset, &directoryCount_)) {
            directoryCount_ = 0;
        }
        if (image->is64Bit) {
            ReadWithin64(optional + 24, &imageBase_);
        } else {
            std::uint32_t base = 0;
            ReadWithin(optional + 28, &base);
            imageBase_ = base;
        }
        ReadWithin(optional + 60, &headersSize_);
        ReadSections(optionalEnd_, sectionCount);
        return true;
    }

    Directory DirectoryEntry(std::uint32_t index) const {
        Directory entry;
        const std::uint64_t offset = directories_ + static_cast<std::uint64_t>(index) * 8;
        if (index >= directoryCount_ || offset + 8 > optionalEnd_ ||
            !bytes_.U32(offset, &entry.rva) || !bytes_.U32(offset + 4, &entry.size)) {
            return Directory();
        }
        return entry;
    }

    bool Map(std::uint64_t rva, FileSpan* span) const {
        if (rva > 0xFFFFFFFFu) {
            return false;
        }
        for (const Section& section : sections_) {
            if (rva >= section.virtualAddress && rva - section.virtualAddress < section.span) {
                const std::uint64_t into = rva - section.virtualAddress;
                return Clip(static_cast<std::uint64_t>(section.rawOffset) + into,
                            section.span - into, span);
            }
        }
        // The headers are mapped as they stand in the file, up to the first section.
        if (rva < headersSize_ && rva < lowestSection_) {
            return Clip(rva, headersSize_ - rva, span);
        }
        return false;
    }

    // A NUL-ended name at an RVA, cut at the end of its section, of the file or at
    // kMaxDllNameLength characters.
    std::string NameAt(std::uint64_t rva) const {
        FileSpan span;
        if (!Map(rva, &span)) {
            return std::string();
        }
        std::string name;
        for (std::uint64_t i = 0; i < span.length && name.size() < kMaxDllNameLength; ++i) {
            const unsigned char c = bytes_.At(span.offset + i);
            if (c == 0) {
                break;
            }
            name += c < 0x20 || c == 0x7F ? '?' : static_cast<char>(c);
        }
        return name;
    }

    std::uint64_t ImageBase() const { return imageBase_; }
    const Bytes& ByteSource() const { return bytes_; }

private:
    bool ReadWithin(std::uint64_t offset, std::uint32_t* value) const {
        return offset + 4 <= optionalEnd_ && bytes_.U32(offset, value);
    }
    bool ReadWithin64(std::uint64_t offset, std::uint64_t* value) const {
        return offset + 8 <= optionalEnd_ && bytes_.U64(offset, value);
    }

    void ReadSections(std::uint64_t table, std::uint16_t count) {
        for (std::uint64_t i = 0; i < count; ++i) {
            const std::uint64_t entry = table + i * kSectionHeaderSize;
            if (!bytes_.Has(entry, kSectionHeaderSize)) {
                break;
            }
            std::uint32_t virtualSize = 0;
            Section section{};
            bytes_.U32(entry + 8, &virtualSize);
            bytes_.U32(entry + 12, &section.virtualAddress);
            bytes_.U32(entry + 16, &section.span);
            bytes_.U32(entry + 20, &section.rawOffset);
            // Bytes past the virtual size are not the file's in memory.
            if (virtualSize != 0 && virtualSize < section.span) {
                section.span = virtualSize;
            }
            if (section.virtualAddress < lowestSection_) {
                lowestSection_ = section.virtualAddress;
            }
            sections_.push_back(section);
        }
    }

    bool Clip(std::uint64_t offset, std::uint64_t length, FileSpan* span) const {
        if (offset >= bytes_.Size()) {
            return false;
        }
        span->offset = offset;
        span->length = length < bytes_.Size() - offset ? length : bytes_.Size() - offset;
        return true;
    }

    const Bytes& bytes_;
    std::uint64_t optionalEnd_ = 0;
    std::uint64_t directories_ = 0;
    std::uint32_t directoryCount_ = 0;
    std::uint64_t imageBase_ = 0;
    std::uint32_t headersSize_ = 0;
    std::uint32_t lowestSection_ = 0xFFFFFFFFu;
    std::vector<Section> sections_;
};

std::string AsciiLowered(const std::string& text) {
    std::string lowered = text;
    for (char& c : lowered) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return lowered;
}

class ImportList {
public:
    explicit ImportList(std::vector<ImportedDll>* imports) : imports_(imports) {}
    void Add(const std::string& name, bool delayLoaded) {
        if (name.empty() || imports_->size() >= kMaxImportedDlls) {
            return;
        }
        if (seen_.insert(AsciiLowered(name)).second) {
            imports_->push_back({name, delayLoaded});
        }
    }

private:
    std::vector<ImportedDll>* imports_;
    std::unordered_set<std::string> seen_;
};

// Walks a descriptor array from its directory's RVA until its all-zero end, the end of its
// section, or kMaxImportDescriptors entries: a table without an end cannot run on.
template <typename NameOfDescriptor>
void ReadDescriptors(const ImageReader& reader, const Directory& directory,
                     std::uint64_t descriptorSize, NameOfDescriptor nameOf) {
    FileSpan span;
    if (directory.rva == 0 || !reader.Map(directory.rva, &span)) {
        return;
    }
    const std::uint64_t count = span.length / descriptorSize;
    for (std::uint64_t i = 0; i < count && i < kMaxImportDescriptors; ++i) {
        if (!nameOf(span.offset + i * descriptorSize)) {
            return;
        }
    }
}

void ReadImports(const ImageReader& reader, ImportList& list) {
    const Bytes& bytes = reader.ByteSource();
    ReadDescriptors(reader, reader.DirectoryEntry(kImportDirectory), kImportDescriptorSize,
                    [&](std::uint64_t descriptor) {
                        std::uint32_t nameRva = 0;
                        bytes.U32(descriptor + 12, &nameRva);
                        if (nameRva == 0) {
                            return false;
                        }
                        list.Add(reader.NameAt(nameRva), false);
                        return true;
                    });
}

void ReadDelayImports(const ImageReader& reader, ImportList& list) {
    const Bytes& bytes = reader.ByteSource();
    ReadDescriptors(reader, reader.DirectoryEntry(kDelayImportDirectory), kDelayDescriptorSize,
                    [&](std::uint64_t descriptor) {
                        std::uint32_t attributes = 0;
                        std::uint32_t name = 0;
                        bytes.U32(descriptor, &attributes);
                        bytes.U32(descriptor + 4, &name);
                        if (name == 0) {
                            return false;
                        }
                        // Old linkers wrote addresses instead of RVAs (attribute bit 0 clear).
                        std::uint64_t nameRva = name;
                        if ((attributes & 1) == 0) {
                            if (name < reader.ImageBase()) {
                                return true;
                            }
                            nameRva = name - reader.ImageBase();
                        }
                        list.Add(reader.NameAt(nameRva), true);
                        return true;
                    });
}

// One resource directory: the entries that follow its 16-byte header, at an offset from the
// start of the resource section.
class ResourceReader {
public:
    ResourceReader(const ImageReader& reader, const FileSpan& section)
        : bytes_(reader.ByteSource()), section_(section) {}

    // The OffsetToData of the first entry of the directory at `offset` that passes `accept`
    // (for its Name and OffsetToData); false when there is none.
    template <typename Accept>
    bool FindEntry(std::uint32_t offset, Accept accept, std::uint32_t* found) const {
        std::uint16_t named = 0;
        std::uint16_t ids = 0;
        if (!Read16(offset + 12ull, &named) || !Read16(offset + 14ull, &ids)) {
            return false;
        }
        const std::uint32_t count = static_cast<std::uint32_t>(named) + ids;
        for (std::uint32_t i = 0; i < count && i < kMaxResourceEntries; ++i) {
            const std::uint64_t entry = offset + 16ull + i * 8ull;
            std::uint32_t name = 0;
            std::uint32_t data = 0;
            if (!Read32(entry, &name) || !Read32(entry + 4, &data)) {
                return false;
            }
            if (accept(name, data)) {
                *found = data;
                return true;
            }
        }
        return false;
    }

    bool Read32(std::uint64_t offset, std::uint32_t* value) const {
        return offset + 4 <= section_.length && bytes_.U32(section_.offset + offset, value);
    }

private:
    bool Read16(std::uint64_t offset, std::uint16_t* value) const {
        return offset + 2 <= section_.length && bytes_.U16(section_.offset + offset, value);
    }

    const Bytes& bytes_;
    FileSpan section_;
};

bool IsSubdirectory(std::uint32_t data) {
    return (data & kResourceSubdirectoryFlag) != 0;
}

// The data of the first version resource: type 16, its first name, its first language.
bool FindVersionData(const ImageReader& reader, FileSpan* data) {
    const Directory directory = reader.DirectoryEntry(kResourceDirectory);
    FileSpan section;
    if (directory.rva == 0 || !reader.Map(directory.rva, &section)) {
        return false;
    }
    const ResourceReader resources(reader, section);
    std::uint32_t names = 0;
    std::uint32_t languages = 0;
    std::uint32_t leaf = 0;
    const auto subdirectory = [](std::uint32_t, std::uint32_t entry) {
        return IsSubdirectory(entry);
    };
    // Each level is looked up once, so a directory that points back at itself ends here.
    if (!resources.FindEntry(
            0,
            [](std::uint32_t name, std::uint32_t entry) {
                return name == kVersionResourceType && IsSubdirectory(entry);
            },
            &names) ||
        !resources.FindEntry(names & ~kResourceSubdirectoryFlag, subdirectory, &languages) ||
        !resources.FindEntry(
            languages & ~kResourceSubdirectoryFlag,
            [](std::uint32_t, std::uint32_t entry) { return !IsSubdirectory(entry); }, &leaf)) {
        return false;
    }
    std::uint32_t dataRva = 0;
    std::uint32_t dataSize = 0;
    if (!resources.Read32(leaf, &dataRva) || !resources.Read32(leaf + 4ull, &dataSize) ||
        !reader.Map(dataRva, data)) {
        return false;
    }
    if (dataSize < data->length) {
        data->length = dataSize;
    }
    return true;
}

// VS_VERSIONINFO: length, value length, type, the key "VS_VERSION_INFO" in UTF-16 with its
// zero, padding to 32 bits, then VS_FIXEDFILEINFO.
bool ReadFixedFileVersion(const Bytes& bytes, const FileSpan& data, std::string* version) {
    static const char kKey[] = "VS_VERSION_INFO";
    constexpr std::uint64_t kKeyOffset = 6;
    constexpr std::uint64_t kKeyBytes = sizeof kKey * 2;
    constexpr std::uint64_t kFixedOffset = (kKeyOffset + kKeyBytes + 3) / 4 * 4;
    constexpr std::uint64_t kFixedSize = 52;
    std::uint16_t valueLength = 0;
    if (data.length < kFixedOffset + kFixedSize || !bytes.U16(data.offset + 2, &valueLength) ||
        valueLength < kFixedSize) {
        return false;
    }
    for (std::uint64_t i = 0; i < sizeof kKey; ++i) {
        std::uint16_t c = 0;
        if (!bytes.U16(data.offset + kKeyOffset + 2 * i, &c) ||
            c != static_cast<unsigned char>(kKey[i])) {
            return false;
        }
    }
    std::uint32_t signature = 0;
    std::uint32_t high = 0;
    std::uint32_t low = 0;
    const std::uint64_t fixed = data.offset + kFixedOffset;
    if (!bytes.U32(fixed, &signature) || signature != kFixedFileInfoSignature ||
        !bytes.U32(fixed + 8, &high) || !bytes.U32(fixed + 12, &low)) {
        return false;
    }
    char text[48];
    std::snprintf(text, sizeof text, "%u.%u.%u.%u", static_cast<unsigned>(high >> 16),
                  static_cast<unsigned>(high & 0xFFFF), static_cast<unsigned>(low >> 16),
                  static_cast<unsigned>(low & 0xFFFF));
    *version = text;
    return true;
}

}  // namespace

PeImage ReadPeImage(const unsigned char* bytes, std::size_t size) {
    PeImage image;
    if (bytes == nullptr) {
        return image;
    }
    const Bytes source(bytes, size);
    ImageReader reader(source);
    if (!reader.ReadHeaders(&image)) {
        return PeImage();
    }
    image.isImage = true;
    ImportList imports(&image.imports);
    ReadImports(reader, imports);
    ReadDelayImports(reader, imports);
    FileSpan versionData;
    if (FindVersionData(reader, &versionData)) {
        image.hasVersion = ReadFixedFileVersion(source, versionData, &image.fileVersion);
    }
    return image;
}

std::uint16_t ThisProgramMachine() {
    return sizeof(void*) == 8 ? kMachineAmd64 : kMachineI386;
}

int ThisProgramBits() {
    return static_cast<int>(sizeof(void*) * 8);
}
