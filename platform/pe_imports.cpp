// The import and delay-import directories: which DLLs an image needs and which functions it
// takes from each, by name or by ordinal.
#include <unordered_map>

#include "platform/ascii_case.h"
#include "platform/pe_layout.h"

namespace pe {

namespace {

constexpr std::uint64_t kImportDescriptorSize = 20;
constexpr std::uint64_t kDelayDescriptorSize = 32;

// The DLLs in the order first named, the functions of every descriptor of a name together.
class ImportList {
public:
    explicit ImportList(std::vector<ImportedDll>* imports) : imports_(imports) {}

    // The entry of that name, made when new; nullptr for no name or too many DLLs.
    ImportedDll* Dll(const std::string& name, bool delayLoaded) {
        if (name.empty()) {
            return nullptr;
        }
        const std::string key = FoldAsciiCase(name);
        const auto known = index_.find(key);
        if (known != index_.end()) {
            return &(*imports_)[known->second];
        }
        if (imports_->size() >= kMaxImportedDlls) {
            return nullptr;
        }
        index_.emplace(key, imports_->size());
        ImportedDll dll;
        dll.name = name;
        dll.delayLoaded = delayLoaded;
        imports_->push_back(std::move(dll));
        return &imports_->back();
    }

    bool RoomForFunction() const { return functions_ < kMaxImportedFunctions; }
    void AddFunction(ImportedDll* dll, ImportedFunction function) {
        dll->functions.push_back(std::move(function));
        ++functions_;
    }

private:
    std::vector<ImportedDll>* imports_;
    std::unordered_map<std::string, std::size_t> index_;
    std::size_t functions_ = 0;
};

// Walks a descriptor array from its directory's RVA until its all-zero end, the end of its
// section, or kMaxImportDescriptors entries: a table without an end cannot run on.
template <typename ReadDescriptor>
void ReadDescriptors(const ImageReader& reader, const Directory& directory,
                     std::uint64_t descriptorSize, ReadDescriptor read) {
    FileSpan span;
    if (directory.rva == 0 || !reader.Map(directory.rva, &span)) {
        return;
    }
    const std::uint64_t count = span.length / descriptorSize;
    for (std::uint64_t i = 0; i < count && i < kMaxImportDescriptors; ++i) {
        if (!read(span.offset + i * descriptorSize)) {
            return;
        }
    }
}

// A lookup table of 32- or 64-bit entries up to its zero entry or the end of its section:
// the top bit marks an import by ordinal (the low 16 bits), else the entry is the RVA (in
// the old delay form, the address) of a 16-bit hint and the name.
void ReadThunks(ImageReader& reader, std::uint64_t tableRva, bool addresses, ImportedDll* dll,
                bool delayLoaded, ImportList& list) {
    FileSpan span;
    if (tableRva == 0 || !reader.Map(tableRva, &span)) {
        return;
    }
    const Bytes& bytes = reader.ByteSource();
    const std::uint64_t entrySize = reader.Is64Bit() ? 8 : 4;
    const std::uint64_t ordinalFlag = reader.Is64Bit() ? 1ull << 63 : 1ull << 31;
    for (std::uint64_t at = 0; at + entrySize <= span.length && list.RoomForFunction();
         at += entrySize) {
        std::uint64_t entry = 0;
        if (reader.Is64Bit()) {
            bytes.U64(span.offset + at, &entry);
        } else {
            std::uint32_t entry32 = 0;
            bytes.U32(span.offset + at, &entry32);
            entry = entry32;
        }
        if (entry == 0) {
            return;
        }
        ImportedFunction function;
        function.delayLoaded = delayLoaded;
        if (entry & ordinalFlag) {
            function.byOrdinal = true;
            function.ordinal = static_cast<std::uint16_t>(entry & 0xFFFF);
        } else {
            std::uint64_t hintRva = entry & 0x7FFFFFFFu;
            if (addresses && !reader.RvaOfAddress(entry, &hintRva)) {
                continue;
            }
            function.name = reader.FunctionNameAt(hintRva + 2);
            if (function.name.empty()) {
                continue;
            }
        }
        list.AddFunction(dll, std::move(function));
    }
}

void ReadPlainImports(ImageReader& reader, ImportList& list) {
    const Bytes& bytes = reader.ByteSource();
    ReadDescriptors(reader, reader.DirectoryEntry(kImportDirectory), kImportDescriptorSize,
                    [&](std::uint64_t descriptor) {
                        std::uint32_t lookupRva = 0;
                        std::uint32_t nameRva = 0;
                        std::uint32_t addressRva = 0;
                        bytes.U32(descriptor, &lookupRva);
                        bytes.U32(descriptor + 12, &nameRva);
                        bytes.U32(descriptor + 16, &addressRva);
                        if (nameRva == 0) {
                            return false;
                        }
                        ImportedDll* dll =
                            list.Dll(reader.TextAt(nameRva, kMaxDllNameLength), false);
                        // Old linkers left out the lookup table; the address table then
                        // holds the same entries until the image is bound.
                        if (dll != nullptr) {
                            ReadThunks(reader, lookupRva != 0 ? lookupRva : addressRva, false, dll,
                                       false, list);
                        }
                        return true;
                    });
}

void ReadDelayImports(ImageReader& reader, ImportList& list) {
    const Bytes& bytes = reader.ByteSource();
    ReadDescriptors(
        reader, reader.DirectoryEntry(kDelayImportDirectory), kDelayDescriptorSize,
        [&](std::uint64_t descriptor) {
            std::uint32_t attributes = 0;
            std::uint32_t name = 0;
            std::uint32_t nameTable = 0;
            bytes.U32(descriptor, &attributes);
            bytes.U32(descriptor + 4, &name);
            bytes.U32(descriptor + 16, &nameTable);
            if (name == 0) {
                return false;
            }
            // Old linkers wrote addresses instead of RVAs (attribute bit 0 clear).
            const bool addresses = (attributes & 1) == 0;
            std::uint64_t nameRva = name;
            std::uint64_t tableRva = nameTable;
            if (addresses && (!reader.RvaOfAddress(name, &nameRva) ||
                              (nameTable != 0 && !reader.RvaOfAddress(nameTable, &tableRva)))) {
                return true;
            }
            ImportedDll* dll = list.Dll(reader.TextAt(nameRva, kMaxDllNameLength), true);
            if (dll != nullptr) {
                ReadThunks(reader, tableRva, addresses, dll, true, list);
            }
            return true;
        });
}

}  // namespace

void ReadImports(ImageReader& reader, PeImage* image) {
    ImportList list(&image->imports);
    ReadPlainImports(reader, list);
    ReadDelayImports(reader, list);
}

}  // namespace pe
