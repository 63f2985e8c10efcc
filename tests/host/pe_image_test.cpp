#include "platform/pe_image.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace {

// A small image laid out as Microsoft documents PE/COFF images: the DOS header with
// e_lfanew 0x40, "PE\0\0", the file header, a PE32 (224 bytes) or PE32+ (240 bytes)
// optional header with 16 data directories, and one section at RVA 0x1000 whose raw data
// starts at file offset 0x200.
class TestImage {
public:
    static constexpr std::uint32_t kSectionRva = 0x1000;
    static constexpr std::uint32_t kRawOffset = 0x200;
    static constexpr std::uint32_t kImageBase = 0x10000000;

    explicit TestImage(bool is64Bit = false, std::uint32_t sectionSize = 0x800)
        : is64Bit_(is64Bit), bytes_(kRawOffset + sectionSize, 0) {
        Put16(0, 0x5A4D);
        Put32(0x3C, 0x40);
        Put32(0x40, 0x00004550);
        Put16(0x44, is64Bit ? 0x8664 : 0x014C);
        Put16(0x46, 1);
        Put16(0x54, is64Bit ? 240 : 224);
        Put16(0x58, is64Bit ? 0x20B : 0x10B);
        if (is64Bit) {
            Put32(0x58 + 24, kImageBase);
        } else {
            Put32(0x58 + 28, kImageBase);
        }
        Put32(0x58 + 60, kRawOffset);
        Put32(0x58 + (is64Bit ? 108 : 92), 16);
        const std::uint32_t section = 0x58 + (is64Bit ? 240 : 224);
        bytes_.replace(section, 5, ".data");
        Put32(section + 8, sectionSize);
        Put32(section + 12, kSectionRva);
        Put32(section + 16, sectionSize);
        Put32(section + 20, kRawOffset);
    }

    void Put16(std::size_t offset, std::uint32_t value) {
        bytes_[offset] = static_cast<char>(value & 0xFF);
        bytes_[offset + 1] = static_cast<char>(value >> 8 & 0xFF);
    }
    void Put32(std::size_t offset, std::uint32_t value) {
        Put16(offset, value & 0xFFFF);
        Put16(offset + 2, value >> 16);
    }
    // Offsets from here on are RVAs inside the section.
    void At16(std::uint32_t rva, std::uint32_t value) { Put16(Offset(rva), value); }
    void At32(std::uint32_t rva, std::uint32_t value) { Put32(Offset(rva), value); }
    void Text(std::uint32_t rva, const std::string& text) {
        bytes_.replace(Offset(rva), text.size(), text);
    }
    void Directory(int index, std::uint32_t rva, std::uint32_t size = 0x100) {
        const std::size_t entry = 0x58 + (is64Bit_ ? 112 : 96) + 8 * index;
        Put32(entry, rva);
        Put32(entry + 4, size);
    }
    // An import descriptor: its name RVA at +12, a first thunk at +16.
    void Import(std::uint32_t table, int index, std::uint32_t nameRva) {
        At32(table + 20 * index + 12, nameRva);
        At32(table + 20 * index + 16, 0x1FF0);
    }
    void Cut(std::size_t size) { bytes_.resize(size); }
    // The section header's fields.
    void VirtualSize(std::uint32_t size) { Put32(SectionHeader() + 8, size); }
    void RawSize(std::uint32_t size) { Put32(SectionHeader() + 16, size); }
    std::size_t SectionHeader() const { return 0x58 + (is64Bit_ ? 240 : 224) - shortenedBy_; }
    // A smaller optional header, with the section table moved up behind it.
    void ShortenOptionalHeader(std::uint16_t size) {
        const std::size_t from = SectionHeader();
        shortenedBy_ = (is64Bit_ ? 240 : 224) - size;
        Put16(0x54, size);
        const std::string header = bytes_.substr(from, 40);
        bytes_.replace(SectionHeader(), 40, header);
    }
    // Bytes after the section's raw data, which belong to no section.
    void Append(const std::string& bytes) { bytes_ += bytes; }
    // From a buffer of exactly the file's size, so that a read past its end is caught.
    PeImage Read() const {
        const std::vector<unsigned char> file(bytes_.begin(), bytes_.end());
        return ReadPeImage(file.data(), file.size());
    }

private:
    std::size_t Offset(std::uint32_t rva) const { return rva - kSectionRva + kRawOffset; }

    bool is64Bit_;
    std::string bytes_;
    std::size_t shortenedBy_ = 0;
};

constexpr std::uint32_t kImports = 0x1000;  // the import descriptors
constexpr std::uint32_t kNames = 0x1100;    // the names they point at
constexpr std::uint32_t kDelays = 0x1300;   // the delay-import descriptors

std::vector<std::string> Names(const PeImage& image) {
    std::vector<std::string> names;
    for (const ImportedDll& dll : image.imports) {
        names.push_back(dll.name + (dll.delayLoaded ? " (delay)" : ""));
    }
    return names;
}

TEST(PeImage, TheHeadersTellTheMachineAndTheKindOfOptionalHeader) {
    for (const bool is64Bit : {false, true}) {
        const PeImage image = TestImage(is64Bit).Read();
        EXPECT_TRUE(image.isImage);
        EXPECT_EQ(image.machine, is64Bit ? 0x8664 : 0x14C);
        EXPECT_EQ(image.is64Bit, is64Bit);
        EXPECT_TRUE(image.imports.empty());
        EXPECT_FALSE(image.hasVersion);
    }
}

TEST(PeImage, BytesThatAreNoWholeImageAreNone) {
    const struct {
        const char* what;
        std::function<void(TestImage&)> spoil;
    } cases[] = {
        {"empty", [](TestImage& i) { i.Cut(0); }},
        {"MZ alone", [](TestImage& i) { i.Cut(2); }},
        {"cut before e_lfanew ends", [](TestImage& i) { i.Cut(0x3E); }},
        {"cut in the PE signature", [](TestImage& i) { i.Cut(0x42); }},
        {"cut in the file header", [](TestImage& i) { i.Cut(0x50); }},
        {"cut in the optional header", [](TestImage& i) { i.Cut(0x100); }},
        {"a text file", [](TestImage& i) { i.Put16(0, 0x6568); }},
        {"no PE signature", [](TestImage& i) { i.Put32(0x40, 0x00004551); }},
        {"e_lfanew far past the end", [](TestImage& i) { i.Put32(0x3C, 0xFFFFFFFC); }},
        {"unknown optional header", [](TestImage& i) { i.Put16(0x58, 0x107); }},
        {"optional header size past the end", [](TestImage& i) { i.Put16(0x54, 0xFFFF); }},
        // Headers whole, but not what the loader maps after them.
        {"cut inside the section's raw data", [](TestImage& i) { i.Cut(0x200 + 0x7FF); }},
        {"cut inside the section table", [](TestImage& i) { i.Cut(0x138 + 39); }},
        {"more section headers than the file holds", [](TestImage& i) { i.Put16(0x46, 200); }},
        {"raw data past the end", [](TestImage& i) { i.Put32(0x138 + 20, 0x300); }},
        {"headers larger than the file", [](TestImage& i) { i.Put32(0x58 + 60, 0x1000); }},
        {"import directory outside every section", [](TestImage& i) { i.Directory(1, 0x9000); }},
        {"import directory in the last bytes of its section",
         [](TestImage& i) { i.Directory(1, 0x17F0); }},
        {"export directory outside every section", [](TestImage& i) { i.Directory(0, 0x9000); }},
        {"export directory header cut by its section's end",
         [](TestImage& i) { i.Directory(0, 0x17E0); }},
    };
    for (const auto& c : cases) {
        TestImage image;
        c.spoil(image);
        EXPECT_FALSE(image.Read().isImage) << c.what;
    }
    EXPECT_FALSE(ReadPeImage(nullptr, 100).isImage);
}

TEST(PeImage, ImportsComeFirstThenDelayImportsEachNameOnce) {
    for (const bool is64Bit : {false, true}) {
        TestImage image(is64Bit);
        image.Directory(1, kImports);
        image.Import(kImports, 0, kNames);
        image.Import(kImports, 1, kNames + 0x20);
        image.Text(kNames, "opencv_core248.dll");
        image.Text(kNames + 0x20, "KERNEL32.dll");
        image.Directory(13, kDelays);
        // Attribute bit 0: RVAs; without it, old linkers' addresses (image base added).
        image.At32(kDelays, 1);
        image.At32(kDelays + 4, kNames + 0x40);
        image.At32(kDelays + 32 + 4, TestImage::kImageBase + kNames + 0x60);
        image.At32(kDelays + 64, 1);
        image.At32(kDelays + 64 + 4, kNames + 0x80);
        image.Text(kNames + 0x40, "late.dll");
        image.Text(kNames + 0x60, "old_style.dll");
        image.Text(kNames + 0x80, "kernel32.DLL");
        EXPECT_EQ(Names(image.Read()),
                  (std::vector<std::string>{"opencv_core248.dll", "KERNEL32.dll",
                                            "late.dll (delay)", "old_style.dll (delay)"}))
            << (is64Bit ? "PE32+" : "PE32");
    }
}

TEST(PeImage, ImportTablesAreReadWithinTheirBounds) {
    const std::string longName(300, 'n');
    const struct {
        const char* what;
        std::function<void(TestImage&)> make;
        std::vector<std::string> names;
    } cases[] = {
        {"no import directory", [](TestImage&) {}, {}},
        {"a name outside every section is left out, the next one is read",
         [](TestImage& i) {
             i.Directory(1, kImports);
             i.Import(kImports, 0, 0x7000);
             i.Import(kImports, 1, kNames);
             i.Text(kNames, "b.dll");
         },
         {"b.dll"}},
        {"a name without NUL at the end of the file, where its section's raw data ends",
         [](TestImage& i) {
             i.Directory(1, kImports);
             i.Import(kImports, 0, 0x1400);
             i.Text(0x1400, "tail.dl");
             i.RawSize(0x407);
             i.Cut(TestImage::kRawOffset + 0x407);
         },
         {"tail.dl"}},
        {"a name without NUL at the end of its section, more bytes in the file",
         [](TestImage& i) {
             i.Directory(1, kImports);
             i.Import(kImports, 0, 0x17F9);
             i.Text(0x17F9, "tail.dl");
             i.Append("l and more");
         },
         {"tail.dl"}},
        {"descriptors without an end, up to the end of the section",
         [](TestImage& i) {
             i.Directory(1, kImports);
             for (int d = 0; d < 0x800 / 20; ++d) {
                 i.Import(kImports, d, kImports + 0x7F0);
             }
             i.Text(kImports + 0x7F0, "same.dll");
         },
         {"same.dll"}},
        {"a name longer than 260 characters is cut",
         [&](TestImage& i) {
             i.Directory(1, kImports);
             i.Import(kImports, 0, kNames);
             i.Text(kNames, longName);
         },
         {std::string(260, 'n')}},
        {"control characters are shown as '?'",
         [](TestImage& i) {
             i.Directory(1, kImports);
             i.Import(kImports, 0, kNames);
             i.Text(kNames, "a\r\nb.dll");
         },
         {"a??b.dll"}},
        {"a delay address below the image base is left out",
         [](TestImage& i) {
             i.Directory(13, kDelays);
             i.At32(kDelays + 4, kNames);
             i.Text(kNames, "low.dll");
         },
         {}},
    };
    for (const auto& c : cases) {
        TestImage image;
        c.make(image);
        const PeImage read = image.Read();
        EXPECT_TRUE(read.isImage) << c.what;
        EXPECT_EQ(Names(read), c.names) << c.what;
    }
}

// A version resource at RVA 0x1400: root, name and language directories, a data entry and
// the VS_VERSIONINFO block, with file version 2.4.8.0.
constexpr std::uint32_t kResources = 0x1400;
constexpr std::uint32_t kVersionInfo = kResources + 0x60;

void PutVersionResource(TestImage& i) {
    i.Directory(2, kResources);
    i.At16(kResources + 14, 1);
    i.At32(kResources + 16, 16);
    i.At32(kResources + 20, 0x80000000u | 0x18);
    i.At16(kResources + 0x18 + 14, 1);
    i.At32(kResources + 0x18 + 16, 1);
    i.At32(kResources + 0x18 + 20, 0x80000000u | 0x30);
    i.At16(kResources + 0x30 + 14, 1);
    i.At32(kResources + 0x30 + 16, 0x409);
    i.At32(kResources + 0x30 + 20, 0x48);
    i.At32(kResources + 0x48, kVersionInfo);
    i.At32(kResources + 0x48 + 4, 92);
    i.At16(kVersionInfo, 92);
    i.At16(kVersionInfo + 2, 52);
    const std::string key = "VS_VERSION_INFO";
    for (std::size_t c = 0; c < key.size(); ++c) {
        i.At16(kVersionInfo + 6 + 2 * static_cast<std::uint32_t>(c), key[c]);
    }
    i.At32(kVersionInfo + 40, 0xFEEF04BDu);
    i.At32(kVersionInfo + 48, 0x00020004);
    i.At32(kVersionInfo + 52, 0x00080000);
}

TEST(PeImage, TheFileVersionComesFromTheFirstVersionResource) {
    const struct {
        const char* what;
        std::function<void(TestImage&)> spoil;
        const char* version;  // nullptr: none
    } cases[] = {
        {"whole", [](TestImage&) {}, "2.4.8.0"},
        {"other version numbers",
         [](TestImage& i) {
             i.At32(kVersionInfo + 48, 0xFFFF000A);
             i.At32(kVersionInfo + 52, 0x00300001);
         },
         "65535.10.48.1"},
        {"no version type", [](TestImage& i) { i.At32(kResources + 16, 3); }, nullptr},
        {"wrong signature", [](TestImage& i) { i.At32(kVersionInfo + 40, 0xFEEF04BC); }, nullptr},
        {"another key", [](TestImage& i) { i.At16(kVersionInfo + 6, 'X'); }, nullptr},
        {"data smaller than the fixed info",
         [](TestImage& i) { i.At32(kResources + 0x48 + 4, 60); }, nullptr},
        {"data outside every section", [](TestImage& i) { i.At32(kResources + 0x48, 0x8000); },
         nullptr},
        {"a directory that points back at the root",
         [](TestImage& i) { i.At32(kResources + 20, 0x80000000u); }, nullptr},
        {"a directory offset past the section",
         [](TestImage& i) { i.At32(kResources + 0x18 + 20, 0xFFFFFFF0u); }, nullptr},
        {"entry counts far beyond the section, none of them the version",
         [](TestImage& i) {
             i.At16(kResources + 12, 0xFFFF);
             i.At16(kResources + 14, 0xFFFF);
             i.At32(kResources + 16, 3);
         },
         nullptr},
    };
    for (const auto& c : cases) {
        TestImage image;
        PutVersionResource(image);
        c.spoil(image);
        const PeImage read = image.Read();
        EXPECT_EQ(read.hasVersion, c.version != nullptr) << c.what;
        EXPECT_EQ(read.fileVersion, c.version ? c.version : "") << c.what;
    }
}

// The limits of the header fields that say where things are: the directory count and the
// optional header's size, a section's virtual size, and RVAs in the headers, between them
// and the first section, and past the section.
TEST(PeImage, DirectoriesAndSectionsAreReadOnlyWhereTheHeadersReach) {
    const struct {
        const char* what;
        std::function<void(TestImage&)> make;
        std::vector<std::string> names;
    } cases[] = {
        {"a directory count of 2 leaves out the delay imports",
         [](TestImage& i) {
             i.Put32(0x58 + 92, 2);
             i.Directory(13, kDelays);
             i.At32(kDelays, 1);
             i.At32(kDelays + 4, kNames + 0x20);
             i.Text(kNames + 0x20, "late.dll");
             i.Directory(1, kImports);
             i.Import(kImports, 0, kNames);
             i.Text(kNames, "a.dll");
         },
         {"a.dll"}},
        {"a directory count of 1 leaves out the imports",
         [](TestImage& i) {
             i.Put32(0x58 + 92, 1);
             i.Directory(1, kImports);
             i.Import(kImports, 0, kNames);
             i.Text(kNames, "a.dll");
         },
         {}},
        {"a count beyond the optional header: only the entries inside it",
         [](TestImage& i) {
             i.Put32(0x58 + 92, 0xFFFFFFFF);
             i.Directory(1, kImports);
             i.Import(kImports, 0, kNames);
             i.Text(kNames, "a.dll");
         },
         {"a.dll"}},
        {"an optional header too short for the delay entry",
         [](TestImage& i) {
             i.Directory(1, kImports);
             i.Import(kImports, 0, kNames);
             i.Text(kNames, "a.dll");
             i.Directory(13, kDelays);
             i.At32(kDelays, 1);
             i.At32(kDelays + 4, kNames + 0x20);
             i.Text(kNames + 0x20, "late.dll");
             i.ShortenOptionalHeader(96 + 8 * 13);
         },
         {"a.dll"}},
        {"an optional header that just holds the delay entry",
         [](TestImage& i) {
             i.Directory(13, kDelays);
             i.At32(kDelays, 1);
             i.At32(kDelays + 4, kNames + 0x20);
             i.Text(kNames + 0x20, "late.dll");
             i.ShortenOptionalHeader(96 + 8 * 14);
         },
         {"late.dll (delay)"}},
        {"a name past the virtual size is not the file's",
         [](TestImage& i) {
             i.VirtualSize(0x300);
             i.Directory(1, kImports);
             i.Import(kImports, 0, 0x1300);
             i.Import(kImports, 1, 0x12F0);
             i.Text(0x1300, "beyond.dll");
             i.Text(0x12F0, "inside");
         },
         {"inside"}},
        {"a name in the headers before the first section",
         [](TestImage& i) {
             i.Directory(1, kImports);
             i.Import(kImports, 0, 0x1C0);
             i.Put32(0x1C0, 0x2E726468);  // "hdr."
             i.Put32(0x1C4, 0x006C6C64);  // "dll"
         },
         {"hdr.dll"}},
        {"a name between the headers and the first section",
         [](TestImage& i) {
             i.Directory(1, kImports);
             i.Import(kImports, 0, 0x800);
             i.Import(kImports, 1, kNames);
             i.Text(kNames, "b.dll");
         },
         {"b.dll"}},
        {"a name right past the section's end",
         [](TestImage& i) {
             i.Directory(1, kImports);
             i.Import(kImports, 0, 0x1800);
             i.Import(kImports, 1, 0x17FA);
             i.Text(0x17FA, "c.dll");
         },
         {"c.dll"}},
    };
    for (const auto& c : cases) {
        TestImage image;
        c.make(image);
        const PeImage read = image.Read();
        EXPECT_TRUE(read.isImage) << c.what;
        EXPECT_EQ(Names(read), c.names) << c.what;
    }
}

// Named entries come before the numbered ones in a resource directory; a name is an offset
// with the top bit set and is never the version type.
TEST(PeImage, NamedResourcesAreNoVersionType) {
    const struct {
        const char* what;
        std::function<void(TestImage&)> make;
        const char* version;
    } cases[] = {
        {"a named type before the version type",
         [](TestImage& i) {
             // The root: one named entry, then the version type.
             i.At16(kResources + 12, 1);
             i.At32(kResources + 16, 0x80000000u | 0x200);
             i.At32(kResources + 20, 0x80000000u | 0x18);
             i.At32(kResources + 24, 16);
             i.At32(kResources + 28, 0x80000000u | 0x18);
         },
         "2.4.8.0"},
        {"a named type whose offset reads as 16",
         [](TestImage& i) { i.At32(kResources + 16, 0x80000000u | 16); }, nullptr},
        {"the version type's entry is data, not a directory",
         [](TestImage& i) { i.At32(kResources + 20, 0x18); }, nullptr},
        {"the language entry is a directory, not data",
         [](TestImage& i) { i.At32(kResources + 0x30 + 20, 0x80000000u | 0x48); }, nullptr},
    };
    for (const auto& c : cases) {
        TestImage image;
        PutVersionResource(image);
        c.make(image);
        const PeImage read = image.Read();
        EXPECT_EQ(read.hasVersion, c.version != nullptr) << c.what;
        EXPECT_EQ(read.fileVersion, c.version ? c.version : "") << c.what;
    }
}

}  // namespace
