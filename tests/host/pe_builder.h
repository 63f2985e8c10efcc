// Builds whole PE images in memory, laid out as Microsoft documents PE/COFF images: the DOS
// header with e_lfanew 0x40, "PE\0\0", the file header, a PE32 or PE32+ optional header with
// 16 data directories, and one section at RVA 0x1000 (raw data at 0x200) that holds the
// export directory, the import and delay-import tables and every name. Used by the host
// tests, the benchmark and the making of fuzz seeds; written apart from the reader.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

class PeBuilder {
public:
    struct Function {
        std::string name;  // empty: by ordinal
        std::uint16_t ordinal = 0;
    };
    struct Export {
        std::string name;  // empty: by ordinal only
        std::uint16_t ordinal = 0;
        std::string forwarder;  // "DLL.function": a forwarder
    };

    static constexpr std::uint32_t kSectionRva = 0x1000;
    static constexpr std::uint32_t kRawOffset = 0x200;
    static constexpr std::uint32_t kImageBase = 0x10000000;

    explicit PeBuilder(bool is64Bit = false) : is64Bit_(is64Bit) {}

    PeBuilder& Import(const std::string& dll, std::vector<Function> functions) {
        imports_.push_back({dll, std::move(functions)});
        return *this;
    }
    PeBuilder& DelayImport(const std::string& dll, std::vector<Function> functions) {
        delayImports_.push_back({dll, std::move(functions)});
        return *this;
    }
    // Ordinals are given as importers see them; the table starts at the lowest one.
    PeBuilder& Exports(std::vector<Export> exports) {
        exports_ = std::move(exports);
        return *this;
    }

    std::vector<unsigned char> Build() const {
        section_.clear();
        const std::uint32_t exportDirectory = PutExports();
        const std::uint32_t exportSize = Rva() - exportDirectory;
        const std::uint32_t importDirectory = PutImports(imports_, false);
        const std::uint32_t delayDirectory = PutImports(delayImports_, true);
        Align(16);

        std::vector<unsigned char> file(kRawOffset + section_.size(), 0);
        Put16(file, 0, 0x5A4D);
        Put32(file, 0x3C, 0x40);
        Put32(file, 0x40, 0x00004550);
        Put16(file, 0x44, is64Bit_ ? 0x8664 : 0x014C);
        Put16(file, 0x46, 1);
        Put16(file, 0x54, is64Bit_ ? 240 : 224);
        const std::uint32_t optional = 0x58;
        Put16(file, optional, is64Bit_ ? 0x20B : 0x10B);
        Put32(file, optional + (is64Bit_ ? 24 : 28), kImageBase);
        Put32(file, optional + 60, kRawOffset);
        Put32(file, optional + (is64Bit_ ? 108 : 92), 16);
        const std::uint32_t directories = optional + (is64Bit_ ? 112 : 96);
        if (!exports_.empty()) {
            Put32(file, directories, exportDirectory);
            Put32(file, directories + 4, exportSize);
        }
        if (!imports_.empty()) {
            Put32(file, directories + 8, importDirectory);
            Put32(file, directories + 12, 20 * static_cast<std::uint32_t>(imports_.size() + 1));
        }
        if (!delayImports_.empty()) {
            Put32(file, directories + 13 * 8, delayDirectory);
            Put32(file, directories + 13 * 8 + 4,
                  32 * static_cast<std::uint32_t>(delayImports_.size() + 1));
        }
        const std::uint32_t header = optional + (is64Bit_ ? 240 : 224);
        for (std::size_t i = 0; i < 5; ++i) {
            file[header + i] = static_cast<unsigned char>(".data"[i]);
        }
        const std::uint32_t size = static_cast<std::uint32_t>(section_.size());
        Put32(file, header + 8, size);
        Put32(file, header + 12, kSectionRva);
        Put32(file, header + 16, size);
        Put32(file, header + 20, kRawOffset);
        for (std::size_t i = 0; i < section_.size(); ++i) {
            file[kRawOffset + i] = section_[i];
        }
        return file;
    }

private:
    struct Dll {
        std::string name;
        std::vector<Function> functions;
    };

    static void Put16(std::vector<unsigned char>& bytes, std::size_t at, std::uint32_t value) {
        bytes[at] = static_cast<unsigned char>(value & 0xFF);
        bytes[at + 1] = static_cast<unsigned char>(value >> 8 & 0xFF);
    }
    static void Put32(std::vector<unsigned char>& bytes, std::size_t at, std::uint32_t value) {
        Put16(bytes, at, value & 0xFFFF);
        Put16(bytes, at + 2, value >> 16);
    }
    std::uint32_t Rva() const { return kSectionRva + static_cast<std::uint32_t>(section_.size()); }
    void Align(std::size_t to) const {
        while (section_.size() % to != 0) {
            section_.push_back(0);
        }
    }
    // Room for `size` zero bytes; their RVA.
    std::uint32_t Reserve(std::size_t size) const {
        const std::uint32_t rva = Rva();
        section_.resize(section_.size() + size, 0);
        return rva;
    }
    void At32(std::uint32_t rva, std::uint32_t value) const {
        std::vector<unsigned char>& s = section_;
        Put32(s, rva - kSectionRva, value);
    }
    void At16(std::uint32_t rva, std::uint32_t value) const {
        std::vector<unsigned char>& s = section_;
        Put16(s, rva - kSectionRva, value);
    }
    std::uint32_t Text(const std::string& text) const {
        const std::uint32_t rva = Rva();
        section_.insert(section_.end(), text.begin(), text.end());
        section_.push_back(0);
        return rva;
    }

    std::uint32_t PutExports() const {
        if (exports_.empty()) {
            return 0;
        }
        std::uint16_t low = 0xFFFF;
        std::uint16_t high = 0;
        std::vector<const Export*> named;
        for (const Export& e : exports_) {
            low = e.ordinal < low ? e.ordinal : low;
            high = e.ordinal > high ? e.ordinal : high;
            if (!e.name.empty()) {
                named.push_back(&e);
            }
        }
        const std::uint32_t count = high - low + 1u;
        const std::uint32_t directory = Reserve(40);
        const std::uint32_t functions = Reserve(4 * count);
        const std::uint32_t names = Reserve(4 * named.size());
        const std::uint32_t ordinals = Reserve(2 * named.size());
        At32(directory + 12, Text("built.dll"));
        At32(directory + 16, low);
        At32(directory + 20, count);
        At32(directory + 24, static_cast<std::uint32_t>(named.size()));
        At32(directory + 28, functions);
        At32(directory + 32, names);
        At32(directory + 36, ordinals);
        // Code addresses lie past the section: the reader never follows them.
        const std::uint32_t code = 0x100000;
        for (const Export& e : exports_) {
            const std::uint32_t address =
                e.forwarder.empty() ? code + e.ordinal : Text(e.forwarder);
            At32(functions + 4 * (e.ordinal - low), address);
        }
        for (std::size_t i = 0; i < named.size(); ++i) {
            At32(names + 4 * static_cast<std::uint32_t>(i), Text(named[i]->name));
            At16(ordinals + 2 * static_cast<std::uint32_t>(i), named[i]->ordinal - low);
        }
        Align(4);
        return directory;
    }

    std::uint32_t PutImports(const std::vector<Dll>& dlls, bool delay) const {
        if (dlls.empty()) {
            return 0;
        }
        const std::uint32_t descriptorSize = delay ? 32 : 20;
        const std::uint32_t entrySize = is64Bit_ ? 8 : 4;
        const std::uint32_t descriptors =
            Reserve(descriptorSize * static_cast<std::uint32_t>(dlls.size() + 1));
        for (std::size_t d = 0; d < dlls.size(); ++d) {
            const std::uint32_t descriptor =
                descriptors + descriptorSize * static_cast<std::uint32_t>(d);
            const std::uint32_t count = static_cast<std::uint32_t>(dlls[d].functions.size() + 1);
            const std::uint32_t lookup = Reserve(entrySize * count);
            const std::uint32_t addresses = Reserve(entrySize * count);
            for (std::size_t f = 0; f < dlls[d].functions.size(); ++f) {
                const Function& function = dlls[d].functions[f];
                const std::uint32_t entry = lookup + entrySize * static_cast<std::uint32_t>(f);
                if (function.name.empty()) {
                    At32(entry, function.ordinal);
                    At32(entry + entrySize - 4, (is64Bit_ ? 0 : function.ordinal) | 0x80000000u);
                } else {
                    Align(2);
                    const std::uint32_t hint = Reserve(2);
                    Text(function.name);
                    At32(entry, hint);
                }
            }
            const std::uint32_t name = Text(dlls[d].name);
            if (delay) {
                At32(descriptor, 1);
                At32(descriptor + 4, name);
                At32(descriptor + 12, addresses);
                At32(descriptor + 16, lookup);
            } else {
                At32(descriptor, lookup);
                At32(descriptor + 12, name);
                At32(descriptor + 16, addresses);
            }
            Align(8);
        }
        return descriptors;
    }

    bool is64Bit_;
    std::vector<Dll> imports_;
    std::vector<Dll> delayImports_;
    std::vector<Export> exports_;
    mutable std::vector<unsigned char> section_;
};
