// Builds an API-set schema in memory, in the layouts documented for Windows 7 (version 2),
// 8.1 (version 4) and 10/11 (version 6). Used by the host tests and the making of fuzz
// seeds; written apart from the reader.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct Value {
    std::string importer;  // empty: the default host
    std::string host;
};

struct Entry {
    std::string name;  // as the schema stores it
    std::vector<Value> values;
};

class SchemaBuilder {
public:
    explicit SchemaBuilder(int version) : version_(version) {}

    std::vector<unsigned char> Build(const std::vector<Entry>& entries) {
        bytes_.clear();
        const std::uint32_t headerSize = version_ == 2 ? 8 : version_ == 4 ? 16 : 28;
        const std::uint32_t entrySize = version_ == 2 ? 12 : 24;
        Reserve(headerSize + entrySize * static_cast<std::uint32_t>(entries.size()));
        Put32(0, static_cast<std::uint32_t>(version_));
        Put32(version_ == 2 ? 4 : 12, static_cast<std::uint32_t>(entries.size()));
        if (version_ == 6) {
            Put32(16, headerSize);
        }
        for (std::size_t i = 0; i < entries.size(); ++i) {
            const std::uint32_t entry = headerSize + entrySize * static_cast<std::uint32_t>(i);
            const std::uint32_t name = Utf16(entries[i].name);
            const std::uint32_t nameBytes = 2 * static_cast<std::uint32_t>(entries[i].name.size());
            if (version_ == 2) {
                Put32(entry, name);
                Put32(entry + 4, nameBytes);
                Put32(entry + 8, Values(entries[i].values, 0, 16));
            } else if (version_ == 4) {
                Put32(entry + 4, name);
                Put32(entry + 8, nameBytes);
                Put32(entry + 20, Values(entries[i].values, 4, 20));
            } else {
                Put32(entry + 4, name);
                Put32(entry + 8, nameBytes);
                const std::size_t hyphen = entries[i].name.rfind('-');
                Put32(entry + 12, 2 * static_cast<std::uint32_t>(hyphen));
                Put32(entry + 16, ValueList(entries[i].values, 20));
                Put32(entry + 20, static_cast<std::uint32_t>(entries[i].values.size()));
            }
        }
        return bytes_;
    }

private:
    std::uint32_t Reserve(std::uint32_t size) {
        const std::uint32_t at = static_cast<std::uint32_t>(bytes_.size());
        bytes_.resize(bytes_.size() + size, 0);
        return at;
    }
    void Put32(std::uint32_t at, std::uint32_t value) {
        for (int i = 0; i < 4; ++i) {
            bytes_[at + i] = static_cast<unsigned char>(value >> (8 * i));
        }
    }
    std::uint32_t Utf16(const std::string& text) {
        const std::uint32_t at = Reserve(2 * static_cast<std::uint32_t>(text.size()));
        for (std::size_t i = 0; i < text.size(); ++i) {
            bytes_[at + 2 * i] = static_cast<unsigned char>(text[i]);
        }
        return at;
    }
    // Versions 2 and 4: an array with (flags and) a count before its values.
    std::uint32_t Values(const std::vector<Value>& values, std::uint32_t countOffset,
                         std::uint32_t valueSize) {
        const std::uint32_t array =
            Reserve(countOffset + 4 + valueSize * static_cast<std::uint32_t>(values.size()));
        Put32(array + countOffset, static_cast<std::uint32_t>(values.size()));
        PutValues(array + countOffset + 4, values, valueSize);
        return array;
    }
    std::uint32_t ValueList(const std::vector<Value>& values, std::uint32_t valueSize) {
        const std::uint32_t list = Reserve(valueSize * static_cast<std::uint32_t>(values.size()));
        PutValues(list, values, valueSize);
        return list;
    }
    void PutValues(std::uint32_t at, const std::vector<Value>& values, std::uint32_t valueSize) {
        // Name offset and length, then host offset and length; version 4 and 6 values
        // start with flags.
        const std::uint32_t first = valueSize == 16 ? 0 : 4;
        for (std::size_t i = 0; i < values.size(); ++i) {
            const std::uint32_t value = at + valueSize * static_cast<std::uint32_t>(i);
            const std::uint32_t importer = Utf16(values[i].importer);
            const std::uint32_t host = Utf16(values[i].host);
            Put32(value + first, importer);
            Put32(value + first + 4, 2 * static_cast<std::uint32_t>(values[i].importer.size()));
            Put32(value + first + 8, host);
            Put32(value + first + 12, 2 * static_cast<std::uint32_t>(values[i].host.size()));
        }
    }

    int version_;
    std::vector<unsigned char> bytes_;
};
