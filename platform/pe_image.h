// What a file's bytes tell about it as a Windows image: whether it is one, for which machine,
// which DLLs it needs and its file version. The bytes are untrusted: every offset, size and
// count is checked before use, and nothing is read outside the bytes given.
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

struct ImportedDll {
    // As the image names it; control characters are shown as '?'.
    std::string name;
    // Only in the delay-import directory: loaded at its first call, not with the image.
    bool delayLoaded = false;
};

struct PeImage {
    // "MZ", a PE header at e_lfanew and an optional header of a known kind.
    bool isImage = false;
    std::uint16_t machine = 0;
    // The optional header is the 64-bit kind (PE32+).
    bool is64Bit = false;
    // Import directory first, then delay imports, each name once (ASCII case ignored); a name
    // in both counts as a plain import.
    std::vector<ImportedDll> imports;
    // From VS_FIXEDFILEINFO of the first version resource: "a.b.c.d".
    bool hasVersion = false;
    std::string fileVersion;
};

PeImage ReadPeImage(const unsigned char* bytes, std::size_t size);

// The machine of the running program, asked of the program itself.
std::uint16_t ThisProgramMachine();
int ThisProgramBits();
