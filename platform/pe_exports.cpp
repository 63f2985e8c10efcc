// The export directory: every exported address by ordinal, the names that lead to them, and
// the forwarders (an address inside the export directory is the text "DLL.function").
#include "platform/pe_layout.h"

namespace pe {

namespace {

constexpr std::uint64_t kExportHeaderSize = 40;

// A table of `count` entries of `entrySize` bytes at an RVA, whole within one section.
bool TableSpan(const ImageReader& reader, std::uint32_t rva, std::uint64_t count,
               std::uint64_t entrySize, FileSpan* span) {
    if (count == 0) {
        return true;
    }
    return rva != 0 && reader.Map(rva, span) && span->length / entrySize >= count;
}

}  // namespace

bool ReadExports(ImageReader& reader, ExportTable* exports) {
    const Directory directory = reader.DirectoryEntry(kExportDirectory);
    FileSpan header;
    if (directory.rva == 0) {
        return true;
    }
    if (!reader.Map(directory.rva, &header) || header.length < kExportHeaderSize) {
        return false;
    }
    const Bytes& bytes = reader.ByteSource();
    std::uint32_t base = 0;
    std::uint32_t functionCount = 0;
    std::uint32_t nameCount = 0;
    std::uint32_t functionsRva = 0;
    std::uint32_t namesRva = 0;
    std::uint32_t ordinalsRva = 0;
    bytes.U32(header.offset + 16, &base);
    bytes.U32(header.offset + 20, &functionCount);
    bytes.U32(header.offset + 24, &nameCount);
    bytes.U32(header.offset + 28, &functionsRva);
    bytes.U32(header.offset + 32, &namesRva);
    bytes.U32(header.offset + 36, &ordinalsRva);
    FileSpan functions;
    FileSpan names;
    FileSpan ordinals;
    // More entries than ordinals exist, or tables that run out of their section, are no
    // table the loader could have built.
    if (functionCount > kMaxExports || nameCount > kMaxExports ||
        !TableSpan(reader, functionsRva, functionCount, 4, &functions) ||
        !TableSpan(reader, namesRva, nameCount, 4, &names) ||
        !TableSpan(reader, ordinalsRva, nameCount, 2, &ordinals)) {
        return false;
    }
    exports->ordinalBase = base;
    // Index of each function entry in `exports->functions`; -1 for an entry without address.
    std::vector<int> entryOf(functionCount, -1);
    for (std::uint32_t i = 0; i < functionCount; ++i) {
        std::uint32_t address = 0;
        bytes.U32(functions.offset + 4ull * i, &address);
        if (address == 0) {
            continue;
        }
        ExportedFunction function;
        function.ordinal = base + i;
        if (address >= directory.rva && address - directory.rva < directory.size) {
            function.forwarded = true;
            function.forwarder = reader.FunctionNameAt(address);
        }
        entryOf[i] = static_cast<int>(exports->functions.size());
        exports->functions.push_back(std::move(function));
    }
    for (std::uint32_t i = 0; i < nameCount; ++i) {
        std::uint32_t nameRva = 0;
        std::uint16_t index = 0;
        bytes.U32(names.offset + 4ull * i, &nameRva);
        bytes.U16(ordinals.offset + 2ull * i, &index);
        // A name pointer outside the image, or an index past the function table, names
        // nothing the loader could find.
        if (index >= functionCount || entryOf[index] < 0) {
            continue;
        }
        std::string name = reader.FunctionNameAt(nameRva);
        if (!name.empty()) {
            exports->names.push_back({std::move(name), base + index});
        }
    }
    return true;
}

}  // namespace pe
