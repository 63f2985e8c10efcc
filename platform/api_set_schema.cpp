#include "platform/api_set_schema.h"

#include <cstdint>

#include "platform/ascii_case.h"

namespace {

constexpr std::size_t kMaxNameBytes = 2 * 260;

class SchemaBytes {
public:
    SchemaBytes(const unsigned char* data, std::size_t size) : data_(data), size_(size) {}

    bool U32(std::uint64_t offset, std::uint32_t* value) const {
        if (offset > size_ || size_ - offset < 4) {
            return false;
        }
        *value = static_cast<std::uint32_t>(data_[offset]) |
                 static_cast<std::uint32_t>(data_[offset + 1]) << 8 |
                 static_cast<std::uint32_t>(data_[offset + 2]) << 16 |
                 static_cast<std::uint32_t>(data_[offset + 3]) << 24;
        return true;
    }
    bool Has(std::uint64_t offset, std::uint64_t count) const {
        return offset <= size_ && count <= size_ - offset;
    }
    // A UTF-16 name of `bytes` bytes, lower-cased ASCII ('?' for anything else); false when
    // it lies outside the schema, is of odd length or longer than any file name.
    bool Name(std::uint32_t offset, std::uint32_t bytes, std::string* name) const {
        if (bytes % 2 != 0 || bytes > kMaxNameBytes || !Has(offset, bytes)) {
            return false;
        }
        name->clear();
        for (std::uint32_t i = 0; i < bytes; i += 2) {
            const unsigned c = data_[offset + i] | data_[offset + i + 1] << 8;
            const unsigned char ascii = c >= 0x20 && c < 0x7F ? static_cast<unsigned char>(c) : '?';
            *name += static_cast<char>(FoldAsciiLetter(ascii));
        }
        return true;
    }

private:
    const unsigned char* data_;
    std::size_t size_;
};

// The field offsets of one schema version.
struct Layout {
    std::uint32_t version;
    std::uint64_t countOffset;
    std::uint64_t entrySize;
    std::uint64_t entryNameOffset;  // then its length at +4
    std::uint64_t entryValuesOffset;
    std::uint64_t valueSize;
    std::uint64_t valueNameOffset;  // the importer's name, then its length at +4
    std::uint64_t valueHostOffset;  // the host's name, then its length at +4
};

// Version 2 and 4 entries point at a value array (a count, then the values); version 6
// entries hold a value offset and count of their own, and a hashed length.
constexpr Layout kLayouts[] = {
    {2, 4, 12, 0, 8, 16, 0, 8},
    {4, 12, 24, 4, 20, 20, 4, 12},
    {6, 12, 24, 4, 16, 20, 4, 12},
};

class Lookup {
public:
    Lookup(const SchemaBytes& bytes, const Layout& layout, const std::string& name,
           const std::string& importer)
        : bytes_(bytes), layout_(layout), importer_(FoldAsciiCase(importer)) {
        std::string lowered = FoldAsciiCase(name);
        if (lowered.size() > 4 && lowered.compare(lowered.size() - 4, 4, ".dll") == 0) {
            lowered.resize(lowered.size() - 4);
        }
        full_ = lowered;
        // Versions 2 and 4 keep names without their "api-" or "ext-" prefix; version 6
        // compares the name up to its last hyphen, so that any minor version matches.
        withoutPrefix_ = lowered.size() > 4 ? lowered.substr(4) : std::string();
        const std::size_t hyphen = lowered.rfind('-');
        upToLastHyphen_ = hyphen == std::string::npos ? lowered : lowered.substr(0, hyphen);
    }

    ApiSetHost Run() const {
        ApiSetHost result;
        std::uint32_t count = 0;
        std::uint32_t entries =
            layout_.version == 6 ? 0 : static_cast<std::uint32_t>(layout_.countOffset + 4);
        if (!bytes_.U32(layout_.countOffset, &count) ||
            (layout_.version == 6 && !bytes_.U32(16, &entries)) || count > kMaxApiSetEntries ||
            !bytes_.Has(entries, count * layout_.entrySize)) {
            return result;
        }
        result.schemaRead = true;
        for (std::uint32_t i = 0; i < count; ++i) {
            const std::uint64_t entry = entries + i * layout_.entrySize;
            if (Matches(entry)) {
                result.known = true;
                result.host = HostOf(entry);
                return result;
            }
        }
        return result;
    }

private:
    bool Matches(std::uint64_t entry) const {
        std::uint32_t offset = 0;
        std::uint32_t length = 0;
        std::string name;
        if (!bytes_.U32(entry + layout_.entryNameOffset, &offset) ||
            !bytes_.U32(entry + layout_.entryNameOffset + 4, &length) ||
            !bytes_.Name(offset, length, &name)) {
            return false;
        }
        if (layout_.version != 6) {
            return name == withoutPrefix_ || name == full_;
        }
        std::uint32_t hashed = 0;
        if (!bytes_.U32(entry + 12, &hashed) || hashed > length || hashed % 2 != 0) {
            return false;
        }
        return name.compare(0, hashed / 2, upToLastHyphen_) == 0 &&
               hashed / 2 == upToLastHyphen_.size();
    }

    // The value for this importer, else the default (the one without an importer name).
    std::string HostOf(std::uint64_t entry) const {
        std::uint32_t values = 0;
        std::uint32_t count = 0;
        if (!bytes_.U32(entry + layout_.entryValuesOffset, &values)) {
            return std::string();
        }
        if (layout_.version == 6) {
            if (!bytes_.U32(entry + layout_.entryValuesOffset + 4, &count)) {
                return std::string();
            }
        } else {
            // The value array: (flags in version 4,) count, then the values.
            const std::uint64_t countAt = values + (layout_.version == 4 ? 4 : 0);
            if (!bytes_.U32(countAt, &count)) {
                return std::string();
            }
            values = static_cast<std::uint32_t>(countAt + 4);
        }
        if (count > kMaxApiSetEntries || !bytes_.Has(values, count * layout_.valueSize)) {
            return std::string();
        }
        std::string fallback;
        bool haveFallback = false;
        for (std::uint32_t i = 0; i < count; ++i) {
            const std::uint64_t value = values + i * layout_.valueSize;
            std::string forImporter;
            std::string host;
            if (!Text(value + layout_.valueNameOffset, &forImporter) ||
                !Text(value + layout_.valueHostOffset, &host)) {
                continue;
            }
            if (!forImporter.empty() && forImporter == importer_) {
                return host;
            }
            if (forImporter.empty() && !haveFallback) {
                fallback = host;
                haveFallback = true;
            }
        }
        return fallback;
    }

    bool Text(std::uint64_t field, std::string* text) const {
        std::uint32_t offset = 0;
        std::uint32_t length = 0;
        text->clear();
        if (!bytes_.U32(field, &offset) || !bytes_.U32(field + 4, &length)) {
            return false;
        }
        return length == 0 || bytes_.Name(offset, length, text);
    }

    const SchemaBytes& bytes_;
    const Layout& layout_;
    std::string importer_;
    std::string full_;
    std::string withoutPrefix_;
    std::string upToLastHyphen_;
};

}  // namespace

ApiSetHost LookUpApiSet(const unsigned char* schema, std::size_t size, const std::string& name,
                        const std::string& importer) {
    if (schema == nullptr) {
        return ApiSetHost();
    }
    const SchemaBytes bytes(schema, size);
    std::uint32_t version = 0;
    if (!bytes.U32(0, &version)) {
        return ApiSetHost();
    }
    for (const Layout& layout : kLayouts) {
        if (layout.version == version) {
            return Lookup(bytes, layout, name, importer).Run();
        }
    }
    return ApiSetHost();
}
