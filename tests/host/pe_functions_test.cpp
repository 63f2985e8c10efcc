// The functions an image imports and exports, read from images built in memory
// (tests/host/pe_builder.h), and every bound of those tables.
#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/pe_image.h"
#include "tests/host/pe_builder.h"

namespace {

using Bytes = std::vector<unsigned char>;

void Put32(Bytes& bytes, std::size_t at, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) {
        bytes[at + i] = static_cast<unsigned char>(value >> (8 * i) & 0xFF);
    }
}

std::uint32_t Get32(const Bytes& bytes, std::size_t at) {
    return bytes[at] | bytes[at + 1] << 8 | bytes[at + 2] << 16 |
           static_cast<std::uint32_t>(bytes[at + 3]) << 24;
}

// The builder puts the export directory first in its section: at file offset 0x200.
constexpr std::size_t kExportHeader = 0x200;
std::size_t FileOffsetOfRva(std::uint32_t rva) {
    return rva - PeBuilder::kSectionRva + PeBuilder::kRawOffset;
}

PeImage Read(const Bytes& bytes) {
    // A buffer of exactly the file's size, so that a read past its end is caught.
    const Bytes exact(bytes);
    return ReadPeImage(exact.data(), exact.size());
}

// "name@ordinal" per named export, "#ordinal" per address, "->forwarder" after forwarders.
std::vector<std::string> ExportTexts(const PeImage& image) {
    std::vector<std::string> texts;
    for (const ExportedFunction& f : image.exports.functions) {
        texts.push_back("#" + std::to_string(f.ordinal) +
                        (f.forwarded ? "->" + f.forwarder : std::string()));
    }
    for (const ExportedName& n : image.exports.names) {
        texts.push_back(n.name + "@" + std::to_string(n.ordinal));
    }
    return texts;
}

// "dll: f1 #7 f2(delay)" per imported DLL.
std::vector<std::string> ImportTexts(const PeImage& image) {
    std::vector<std::string> texts;
    for (const ImportedDll& dll : image.imports) {
        std::string text = dll.name + (dll.delayLoaded ? " (delay):" : ":");
        for (const ImportedFunction& f : dll.functions) {
            text += " " + (f.byOrdinal ? "#" + std::to_string(f.ordinal) : f.name) +
                    (f.delayLoaded ? "(delay)" : "");
        }
        texts.push_back(text);
    }
    return texts;
}

TEST(PeExports, NamesOrdinalsAndForwardersAsTheDirectoryHasThem) {
    const struct {
        const char* what;
        std::vector<PeBuilder::Export> exports;
        std::vector<std::string> read;
    } cases[] = {
        {"by name", {{"cvAlpha", 1, ""}, {"cvBeta", 2, ""}}, {"#1", "#2", "cvAlpha@1", "cvBeta@2"}},
        {"by ordinal only, with the ordinal base of the lowest",
         {{"", 7, ""}, {"named", 9, ""}},
         {"#7", "#9", "named@9"}},
        {"a gap in the ordinals has no address",
         {{"a", 3, ""}, {"b", 6, ""}},
         {"#3", "#6", "a@3", "b@6"}},
        {"forwarders by name and by ordinal",
         {{"HeapAlloc", 1, "NTDLL.RtlAllocateHeap"}, {"Twelve", 2, "NTDLL.#12"}, {"own", 3, ""}},
         {"#1->NTDLL.RtlAllocateHeap", "#2->NTDLL.#12", "#3", "HeapAlloc@1", "Twelve@2", "own@3"}},
    };
    for (const auto& c : cases) {
        for (const bool is64Bit : {false, true}) {
            const PeImage image = Read(PeBuilder(is64Bit).Exports(c.exports).Build());
            EXPECT_TRUE(image.isImage) << c.what;
            EXPECT_EQ(ExportTexts(image), c.read) << c.what << (is64Bit ? " PE32+" : " PE32");
        }
    }
}

// Two named exports at ordinals 1 and 2; the tables follow the 40-byte header: functions
// (2 entries), name pointers (2), name ordinals (2).
Bytes TwoExports() {
    return PeBuilder().Exports({{"first", 1, ""}, {"second", 2, ""}}).Build();
}

TEST(PeExports, EveryBoundOfTheDirectoryIsChecked) {
    const std::uint32_t functions = Get32(TwoExports(), kExportHeader + 28);
    const std::uint32_t names = Get32(TwoExports(), kExportHeader + 32);
    const std::uint32_t ordinals = Get32(TwoExports(), kExportHeader + 36);
    const struct {
        const char* what;
        std::function<void(Bytes&)> spoil;
        bool isImage;
        std::vector<std::string> read;
    } cases[] = {
        {"whole", [](Bytes&) {}, true, {"#1", "#2", "first@1", "second@2"}},
        {"a name pointer outside every section",
         [&](Bytes& b) { Put32(b, FileOffsetOfRva(names), 0x900000); },
         true,
         {"#1", "#2", "second@2"}},
        {"a name ordinal past the function table",
         [&](Bytes& b) { b[FileOffsetOfRva(ordinals)] = 5; },
         true,
         {"#1", "#2", "second@2"}},
        {"an entry without address is no export, nor its name",
         [&](Bytes& b) { Put32(b, FileOffsetOfRva(functions), 0); },
         true,
         {"#2", "second@2"}},
        {"more functions than ordinals exist",
         [](Bytes& b) { Put32(b, kExportHeader + 20, 65537); },
         false,
         {}},
        {"more functions than the section holds",
         [](Bytes& b) { Put32(b, kExportHeader + 20, 5000); },
         false,
         {}},
        {"more names than the section holds",
         [](Bytes& b) { Put32(b, kExportHeader + 24, 5000); },
         false,
         {}},
        {"function table outside every section",
         [](Bytes& b) { Put32(b, kExportHeader + 28, 0x900000); },
         false,
         {}},
        {"name table outside every section",
         [](Bytes& b) { Put32(b, kExportHeader + 32, 0x900000); },
         false,
         {}},
        {"ordinal table outside every section",
         [](Bytes& b) { Put32(b, kExportHeader + 36, 0x900000); },
         false,
         {}},
        {"no names at all", [](Bytes& b) { Put32(b, kExportHeader + 24, 0); }, true, {"#1", "#2"}},
        {"the whole file cut in the section", [](Bytes& b) { b.resize(b.size() - 1); }, false, {}},
    };
    for (const auto& c : cases) {
        Bytes bytes = TwoExports();
        c.spoil(bytes);
        const PeImage image = Read(bytes);
        EXPECT_EQ(image.isImage, c.isImage) << c.what;
        EXPECT_EQ(ExportTexts(image), c.read) << c.what;
    }
}

TEST(PeImports, FunctionsByNameAndOrdinalPlainAndDelayLoaded) {
    for (const bool is64Bit : {false, true}) {
        const PeImage image = Read(PeBuilder(is64Bit)
                                       .Import("opencv_core248.dll", {{"cvAlpha", 0}, {"", 7}})
                                       .Import("KERNEL32.dll", {{"GetTickCount", 0}})
                                       .DelayImport("late.dll", {{"cvShow", 0}, {"", 3}})
                                       .DelayImport("kernel32.DLL", {{"Sleep", 0}})
                                       .Build());
        EXPECT_EQ(ImportTexts(image), (std::vector<std::string>{
                                          "opencv_core248.dll: cvAlpha #7",
                                          "KERNEL32.dll: GetTickCount Sleep(delay)",
                                          "late.dll (delay): cvShow(delay) #3(delay)",
                                      }))
            << (is64Bit ? "PE32+" : "PE32");
    }
}

// One import descriptor (at the start of the import directory) of one DLL with two names;
// its lookup table and address table follow the descriptors.
Bytes TwoImports(bool delay) {
    PeBuilder builder;
    if (delay) {
        builder.DelayImport("a.dll", {{"one", 0}, {"two", 0}});
    } else {
        builder.Import("a.dll", {{"one", 0}, {"two", 0}});
    }
    return builder.Build();
}

std::size_t DirectoryOffset(const Bytes& bytes, int index) {
    return FileOffsetOfRva(Get32(bytes, 0x58 + 96 + 8 * index));
}

TEST(PeImports, EveryBoundOfTheFunctionTablesIsChecked) {
    const struct {
        const char* what;
        bool delay;
        std::function<void(Bytes&)> spoil;
        std::vector<std::string> read;
    } cases[] = {
        {"whole", false, [](Bytes&) {}, {"a.dll: one two"}},
        {"no lookup table: the address table stands in",
         false,
         [](Bytes& b) {
             const std::size_t d = DirectoryOffset(b, 1);
             Put32(b, d + 16, Get32(b, d));
             Put32(b, d, 0);
         },
         {"a.dll: one two"}},
        {"a hint/name entry outside every section is left out",
         false,
         [](Bytes& b) { Put32(b, FileOffsetOfRva(Get32(b, DirectoryOffset(b, 1))), 0x900000); },
         {"a.dll: two"}},
        {"a lookup table outside every section: the DLL without functions",
         false,
         [](Bytes& b) { Put32(b, DirectoryOffset(b, 1), 0x900000); },
         {"a.dll:"}},
        {"whole, delay-loaded", true, [](Bytes&) {}, {"a.dll (delay): one(delay) two(delay)"}},
        {"old delay form: addresses with the image base",
         true,
         [](Bytes& b) {
             const std::size_t d = DirectoryOffset(b, 13);
             Put32(b, d, 0);
             Put32(b, d + 4, Get32(b, d + 4) + PeBuilder::kImageBase);
             const std::uint32_t table = Get32(b, d + 16);
             Put32(b, d + 16, table + PeBuilder::kImageBase);
             for (int e = 0; e < 2; ++e) {
                 const std::size_t entry = FileOffsetOfRva(table) + 4 * e;
                 Put32(b, entry, Get32(b, entry) + PeBuilder::kImageBase);
             }
         },
         {"a.dll (delay): one(delay) two(delay)"}},
        {"old delay form: a name table address below the image base",
         true,
         [](Bytes& b) {
             const std::size_t d = DirectoryOffset(b, 13);
             Put32(b, d, 0);
             Put32(b, d + 4, Get32(b, d + 4) + PeBuilder::kImageBase);
             Put32(b, d + 16, 0x100);
         },
         {}},
    };
    for (const auto& c : cases) {
        Bytes bytes = TwoImports(c.delay);
        c.spoil(bytes);
        const PeImage image = Read(bytes);
        EXPECT_TRUE(image.isImage) << c.what;
        EXPECT_EQ(ImportTexts(image), c.read) << c.what;
    }
}

// A lookup table without its zero entry runs to the end of its section and no further, and
// one image never yields more than kMaxImportedFunctions.
TEST(PeImports, TablesWithoutEndStopAtTheirSectionAndTheLimit) {
    std::vector<PeBuilder::Function> many(70000, PeBuilder::Function{"", 1});
    Bytes bytes = PeBuilder().Import("many.dll", many).Build();
    PeImage image = Read(bytes);
    ASSERT_EQ(image.imports.size(), 1u);
    EXPECT_EQ(image.imports[0].functions.size(), kMaxImportedFunctions);

    bytes = PeBuilder().Import("a.dll", {{"", 1}, {"", 2}}).Build();
    // The zero entry that ends the lookup table, and the address table after it, become
    // ordinal entries up to the section's end.
    const std::uint32_t table = Get32(bytes, DirectoryOffset(bytes, 1));
    for (std::size_t at = FileOffsetOfRva(table) + 8; at + 4 <= bytes.size(); at += 4) {
        Put32(bytes, at, 0x80000009u);
    }
    image = Read(bytes);
    ASSERT_EQ(image.imports.size(), 1u);
    const std::size_t room = (bytes.size() - FileOffsetOfRva(table)) / 4;
    EXPECT_EQ(image.imports[0].functions.size(), room);
}

}  // namespace
