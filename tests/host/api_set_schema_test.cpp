// The API-set schema in its three layouts, built here from the layouts as documented for
// Windows 7 (version 2), 8.1 (version 4) and 10/11 (version 6), and every bound of it.
#include "platform/api_set_schema.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<unsigned char>;

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

    Bytes Build(const std::vector<Entry>& entries) {
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
    Bytes bytes_;
};

std::string Host(const Bytes& schema, const std::string& name, const std::string& importer = "") {
    const Bytes exact(schema);
    const ApiSetHost host = LookUpApiSet(exact.data(), exact.size(), name, importer);
    if (!host.schemaRead) {
        return "<no schema>";
    }
    return host.known ? host.host : "<unknown>";
}

// Versions 2 and 4 store names without "api-"; version 6 stores them whole and compares up
// to the last hyphen.
std::vector<Entry> EntriesFor(int version) {
    const std::string prefix = version == 6 ? "api-" : "";
    return {
        {prefix + "ms-win-core-synch-l1-2-0", {{"", "kernel32.dll"}}},
        {prefix + "ms-win-core-heap-l1-1-0",
         {{"", "kernelbase.dll"}, {"kernel32.dll", "ntdll.dll"}}},
        {prefix + "ms-win-crt-runtime-l1-1-0", {{"", "ucrtbase.dll"}}},
        {prefix + "ms-win-core-empty-l1-1-0", {}},
        {"ext-ms-win-ntuser-window-l1-1-0", {{"", ""}}},
    };
}

TEST(ApiSetSchema, EachVersionNamesTheHostForTheImporter) {
    for (const int version : {2, 4, 6}) {
        SCOPED_TRACE("version " + std::to_string(version));
        const Bytes schema = SchemaBuilder(version).Build(EntriesFor(version));
        EXPECT_EQ(Host(schema, "api-ms-win-core-synch-l1-2-0.dll"), "kernel32.dll");
        EXPECT_EQ(Host(schema, "API-MS-Win-Core-Synch-L1-2-0.DLL"), "kernel32.dll");
        EXPECT_EQ(Host(schema, "api-ms-win-core-synch-l1-2-0"), "kernel32.dll");
        EXPECT_EQ(Host(schema, "api-ms-win-core-heap-l1-1-0.dll", "lensora.dll"), "kernelbase.dll");
        EXPECT_EQ(Host(schema, "api-ms-win-core-heap-l1-1-0.dll", "KERNEL32.dll"), "ntdll.dll");
        EXPECT_EQ(Host(schema, "api-ms-win-crt-runtime-l1-1-0.dll"), "ucrtbase.dll");
        EXPECT_EQ(Host(schema, "api-ms-win-core-empty-l1-1-0.dll"), "");
        EXPECT_EQ(Host(schema, "ext-ms-win-ntuser-window-l1-1-0.dll"), "");
        EXPECT_EQ(Host(schema, "api-ms-win-core-missing-l1-1-0.dll"), "<unknown>");
        EXPECT_EQ(Host(schema, "api-ms-win-core-synch-l1-3-0.dll"), "<unknown>");
    }
    // Version 6 matches any last number: a newer minor version of the same set.
    const Bytes v6 = SchemaBuilder(6).Build(EntriesFor(6));
    EXPECT_EQ(Host(v6, "api-ms-win-core-synch-l1-2-1.dll"), "kernel32.dll");
}

TEST(ApiSetSchema, BytesThatAreNoWholeSchemaAnswerNothingFalse) {
    const Bytes v6 = SchemaBuilder(6).Build(EntriesFor(6));
    const Bytes v2 = SchemaBuilder(2).Build(EntriesFor(2));
    const struct {
        const char* what;
        Bytes schema;
        std::function<void(Bytes&)> spoil;
        const char* host;
    } cases[] = {
        {"unknown version", v6, [](Bytes& b) { b[0] = 5; }, "<no schema>"},
        {"empty", v6, [](Bytes& b) { b.clear(); }, "<no schema>"},
        {"count beyond the bytes", v6, [](Bytes& b) { b[12] = 200; }, "<no schema>"},
        {"count beyond the bound", v2,
         [](Bytes& b) {
             b[4] = 0;
             b[5] = 0;
             b[6] = 2;
         },
         "<no schema>"},
        {"entry offset beyond the bytes", v6, [](Bytes& b) { b[17] = 0x7F; }, "<no schema>"},
        // A spoiled entry before the one asked for is passed over.
        {"another entry's name offset beyond the bytes", v6, [](Bytes& b) { b[28 + 4 + 2] = 0x7F; },
         "ucrtbase.dll"},
        {"another entry's name of odd length", v2, [](Bytes& b) { b[8 + 4] = 3; }, "ucrtbase.dll"},
        {"the matching entry's name cut off: the set is unknown", v6,
         [](Bytes& b) { b[28 + 24 * 2 + 4 + 2] = 0x7F; }, "<unknown>"},
        {"a value list beyond the bytes: no host", v6,
         [](Bytes& b) { b[28 + 24 * 2 + 16 + 2] = 0x7F; }, ""},
        {"a value count beyond the bytes: no host", v6,
         [](Bytes& b) { b[28 + 24 * 2 + 20 + 2] = 0x7F; }, ""},
        {"a hashed length longer than the name", v6, [](Bytes& b) { b[28 + 24 * 2 + 12] = 0xFE; },
         "<unknown>"},
    };
    for (const auto& c : cases) {
        Bytes schema = c.schema;
        c.spoil(schema);
        EXPECT_EQ(Host(schema, "api-ms-win-crt-runtime-l1-1-0.dll"), c.host) << c.what;
    }
    EXPECT_EQ(LookUpApiSet(nullptr, 100, "api-ms-win-crt-runtime-l1-1-0.dll", "").schemaRead,
              false);
}

}  // namespace
