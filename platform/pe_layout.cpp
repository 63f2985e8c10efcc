#include "platform/pe_layout.h"

#include <cstring>

namespace pe {

namespace {

constexpr std::uint64_t kDosHeaderSize = 64;
constexpr std::uint64_t kLfanewOffset = 0x3C;
constexpr std::uint64_t kFileHeaderSize = 20;
constexpr std::uint16_t kOptionalMagic32 = 0x10B;
constexpr std::uint16_t kOptionalMagic64 = 0x20B;
constexpr std::uint64_t kSectionHeaderSize = 40;

}  // namespace

bool Bytes::U16(std::uint64_t offset, std::uint16_t* value) const {
    if (!Has(offset, 2)) {
        return false;
    }
    *value = static_cast<std::uint16_t>(data_[offset] | data_[offset + 1] << 8);
    return true;
}

bool Bytes::U32(std::uint64_t offset, std::uint32_t* value) const {
    std::uint16_t low = 0;
    std::uint16_t high = 0;
    if (!U16(offset, &low) || !U16(offset + 2, &high)) {
        return false;
    }
    *value = static_cast<std::uint32_t>(low) | static_cast<std::uint32_t>(high) << 16;
    return true;
}

bool Bytes::U64(std::uint64_t offset, std::uint64_t* value) const {
    std::uint32_t low = 0;
    std::uint32_t high = 0;
    if (!U32(offset, &low) || !U32(offset + 4, &high)) {
        return false;
    }
    *value = static_cast<std::uint64_t>(low) | static_cast<std::uint64_t>(high) << 32;
    return true;
}

bool ImageReader::ReadHeaders(PeImage* image) {
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
    if (!bytes_.U16(fileHeader, &image->machine) || !bytes_.U16(fileHeader + 2, &sectionCount) ||
        !bytes_.U16(fileHeader + 16, &optionalSize)) {
        return false;
    }
    const std::uint64_t optional = fileHeader + kFileHeaderSize;
    std::uint16_t magic = 0;
    if (optionalSize < 2 || !bytes_.Has(optional, optionalSize) || !bytes_.U16(optional, &magic)) {
        return false;
    }
    if (magic != kOptionalMagic32 && magic != kOptionalMagic64) {
        return false;
    }
    is64Bit_ = magic == kOptionalMagic64;
    image->is64Bit = is64Bit_;
    optionalEnd_ = optional + optionalSize;
    const std::uint64_t countOffset = optional + (is64Bit_ ? 108 : 92);
    directories_ = optional + (is64Bit_ ? 112 : 96);
    if (directories_ > optionalEnd_ || !ReadWithin(countOffset, &directoryCount_)) {
        directoryCount_ = 0;
    }
    if (is64Bit_) {
        ReadWithin64(optional + 24, &imageBase_);
    } else {
        std::uint32_t base = 0;
        ReadWithin(optional + 28, &base);
        imageBase_ = base;
    }
    ReadWithin(optional + 60, &headersSize_);
    // The loader maps the headers whole.
    return headersSize_ <= bytes_.Size() && ReadSections(optionalEnd_, sectionCount);
}

Directory ImageReader::DirectoryEntry(std::uint32_t index) const {
    Directory entry;
    const std::uint64_t offset = directories_ + static_cast<std::uint64_t>(index) * 8;
    if (index >= directoryCount_ || offset + 8 > optionalEnd_ || !bytes_.U32(offset, &entry.rva) ||
        !bytes_.U32(offset + 4, &entry.size)) {
        return Directory();
    }
    return entry;
}

bool ImageReader::DirectoryWhole(std::uint32_t index, std::uint64_t minimum) const {
    const Directory directory = DirectoryEntry(index);
    FileSpan span;
    return directory.rva == 0 || (Map(directory.rva, &span) && span.length >= minimum);
}

bool ImageReader::Map(std::uint64_t rva, FileSpan* span) const {
    if (rva > 0xFFFFFFFFu) {
        return false;
    }
    for (const Section& section : sections_) {
        if (rva >= section.virtualAddress && rva - section.virtualAddress < section.span) {
            const std::uint64_t into = rva - section.virtualAddress;
            return Clip(static_cast<std::uint64_t>(section.rawOffset) + into, section.span - into,
                        span);
        }
    }
    // The headers are mapped as they stand in the file, up to the first section.
    if (rva < headersSize_ && rva < lowestSection_) {
        return Clip(rva, headersSize_ - rva, span);
    }
    return false;
}

bool ImageReader::RvaOfAddress(std::uint64_t address, std::uint64_t* rva) const {
    if (address < imageBase_) {
        return false;
    }
    *rva = address - imageBase_;
    return true;
}

std::string ImageReader::TextAt(std::uint64_t rva, std::size_t maxLength) const {
    FileSpan span;
    if (!Map(rva, &span)) {
        return std::string();
    }
    const std::uint64_t limit = span.length < maxLength ? span.length : maxLength;
    const unsigned char* start = bytes_.From(span.offset);
    const void* end = std::memchr(start, 0, static_cast<std::size_t>(limit));
    std::string text(reinterpret_cast<const char*>(start),
                     end == nullptr ? static_cast<std::size_t>(limit)
                                    : static_cast<const unsigned char*>(end) - start);
    for (char& c : text) {
        const unsigned char byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F) {
            c = '?';
        }
    }
    return text;
}

std::string ImageReader::FunctionNameAt(std::uint64_t rva) {
    if (nameCharactersLeft_ == 0) {
        return std::string();
    }
    const std::size_t limit =
        nameCharactersLeft_ < kMaxFunctionNameLength ? nameCharactersLeft_ : kMaxFunctionNameLength;
    std::string name = TextAt(rva, limit);
    nameCharactersLeft_ -= name.size();
    return name;
}

bool ImageReader::ReadWithin(std::uint64_t offset, std::uint32_t* value) const {
    return offset + 4 <= optionalEnd_ && bytes_.U32(offset, value);
}

bool ImageReader::ReadWithin64(std::uint64_t offset, std::uint64_t* value) const {
    return offset + 8 <= optionalEnd_ && bytes_.U64(offset, value);
}

// The whole table must be in the file, and each section's raw data too: a DLL cut short
// is no image the loader could map.
bool ImageReader::ReadSections(std::uint64_t table, std::uint16_t count) {
    if (!bytes_.Has(table, count * kSectionHeaderSize)) {
        return false;
    }
    for (std::uint64_t i = 0; i < count; ++i) {
        const std::uint64_t entry = table + i * kSectionHeaderSize;
        std::uint32_t virtualSize = 0;
        Section section{};
        bytes_.U32(entry + 8, &virtualSize);
        bytes_.U32(entry + 12, &section.virtualAddress);
        bytes_.U32(entry + 16, &section.span);
        bytes_.U32(entry + 20, &section.rawOffset);
        if (section.span != 0 && !bytes_.Has(section.rawOffset, section.span)) {
            return false;
        }
        // Bytes past the virtual size are not the file's in memory.
        if (virtualSize != 0 && virtualSize < section.span) {
            section.span = virtualSize;
        }
        if (section.virtualAddress < lowestSection_) {
            lowestSection_ = section.virtualAddress;
        }
        sections_.push_back(section);
    }
    return true;
}

bool ImageReader::Clip(std::uint64_t offset, std::uint64_t length, FileSpan* span) const {
    if (offset >= bytes_.Size()) {
        return false;
    }
    span->offset = offset;
    span->length = length < bytes_.Size() - offset ? length : bytes_.Size() - offset;
    return true;
}

}  // namespace pe
