// The API-set schema in its three layouts (tests/host/api_set_builder.h), and every bound
// of it.
#include "platform/api_set_schema.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "tests/host/api_set_builder.h"

namespace {

using Bytes = std::vector<unsigned char>;

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
