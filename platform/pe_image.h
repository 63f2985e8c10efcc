// What a file's bytes tell about it as a Windows image: whether it is one, for which machine,
// which DLLs and functions it needs, which functions it exports and its file version. The
// bytes are untrusted: every offset, size and count is checked before use, and nothing is
// read outside the bytes given.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

constexpr std::uint16_t kMachineI386 = 0x014C;
constexpr std::uint16_t kMachineAmd64 = 0x8664;

// Upper bounds that keep a hostile file from costing more than a real one ever needs.
constexpr std::size_t kMaxDllNameLength = 260;
constexpr std::size_t kMaxImportedDlls = 1024;
constexpr std::size_t kMaxImportDescriptors = 8192;
// Decorated C++ names reach a few thousand characters; none is longer than this.
constexpr std::size_t kMaxFunctionNameLength = 4096;
// Imported functions of one image, all DLLs together.
constexpr std::size_t kMaxImportedFunctions = 65536;
// Ordinals are 16 bits wide: no export table holds more entries than that.
constexpr std::uint32_t kMaxExports = 65536;
// All function names of one image together (imports, exports, forwarders), in characters:
// many entries pointing at one long name would otherwise cost far more than the file.
constexpr std::size_t kMaxNameCharacters = 32u * 1024 * 1024;

struct ImportedFunction {
    // Empty for an import by ordinal; control characters are shown as '?'.
    std::string name;
    bool byOrdinal = false;
    std::uint16_t ordinal = 0;  // for an import by ordinal
    // Only through the delay-import directory: bound at its first call.
    bool delayLoaded = false;
};

struct ImportedDll {
    // As the image names it; control characters are shown as '?'.
    std::string name;
    // Only in the delay-import directory: loaded at its first call, not with the image.
    bool delayLoaded = false;
    // Every descriptor of the name together, in table order.
    std::vector<ImportedFunction> functions;
};

struct ExportedFunction {
    std::uint32_t ordinal = 0;  // as importers give it: the ordinal base already added
    // An address inside the export directory: the text there names where the function is,
    // "DLL.function" or "DLL.#ordinal" (empty when it cannot be read).
    bool forwarded = false;
    std::string forwarder;
};

struct ExportedName {
    std::string name;
    std::uint32_t ordinal = 0;
};

struct ExportTable {
    std::uint32_t ordinalBase = 0;
    // Every entry with an address, in ordinal order.
    std::vector<ExportedFunction> functions;
    // Every name whose ordinal is one of `functions`, in the table's order.
    std::vector<ExportedName> names;
};

struct PeImage {
    // "MZ", a PE header at e_lfanew and an optional header of a known kind; the section
    // table, each section's raw data and the import and export directories within the bytes.
    bool isImage = false;
    std::uint16_t machine = 0;
    // The optional header is the 64-bit kind (PE32+).
    bool is64Bit = false;
    // Import directory first, then delay imports, each name once (ASCII case ignored); a name
    // in both counts as a plain import, and its delay-loaded functions keep their mark.
    std::vector<ImportedDll> imports;
    ExportTable exports;
    // From VS_FIXEDFILEINFO of the first version resource: "a.b.c.d".
    bool hasVersion = false;
    std::string fileVersion;
};

PeImage ReadPeImage(const unsigned char* bytes, std::size_t size);

// The machine of the running program, asked of the program itself.
std::uint16_t ThisProgramMachine();
int ThisProgramBits();
