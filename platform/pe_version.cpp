// The file version: VS_FIXEDFILEINFO of the first version resource.
#include <cstdio>

#include "platform/pe_layout.h"

namespace pe {

namespace {

constexpr std::uint32_t kVersionResourceType = 16;
constexpr std::uint32_t kResourceSubdirectoryFlag = 0x80000000u;
constexpr std::uint32_t kMaxResourceEntries = 4096;
constexpr std::uint32_t kFixedFileInfoSignature = 0xFEEF04BDu;

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

bool ReadFileVersion(const ImageReader& reader, std::string* version) {
    FileSpan data;
    return FindVersionData(reader, &data) &&
           ReadFixedFileVersion(reader.ByteSource(), data, version);
}

}  // namespace pe
