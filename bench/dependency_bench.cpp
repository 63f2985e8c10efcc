// Times the dependency walk with its check of every imported function against the exports
// of the DLL the loader picks, over a synthetic closure of DLLs built in memory and found by
// a locator in memory, next to a baseline measured in the same run: reading the same images
// once each. Every DLL imports from the next three, one in ten of its exports is a forwarder
// to a plain export of the next DLL, and each DLL lacks one function that its importers
// need (a second copy has it), so every part of the walk runs.
// Usage: vorlix_dependency_bench [dlls] [imported functions]   (default 60 5000)
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include "platform/dependency_walk.h"
#include "platform/pe_image.h"
#include "tests/host/pe_builder.h"

namespace {

using Clock = std::chrono::steady_clock;

std::string DllName(int i) {
    return "bench" + std::to_string(i) + ".dll";
}

std::string Function(int dll, int k) {
    return "?benchFunction" + std::to_string(k) + "@@YAHPAUbench" + std::to_string(dll) + "@@H@Z";
}

// Images by file name, each read again whenever the walk asks, as the real locator reads
// files.
class MemoryLocator : public DllLocator {
public:
    std::map<std::string, std::vector<std::vector<unsigned char>>> files;

    LocatedDll Locate(const std::string& fileName) override {
        const auto found = files.find(fileName);
        return found == files.end() ? LocatedDll() : Read(fileName, found->second.front());
    }
    std::vector<LocatedDll> LocateAll(const std::string& fileName) override {
        std::vector<LocatedDll> all;
        const auto found = files.find(fileName);
        if (found != files.end()) {
            for (const std::vector<unsigned char>& bytes : found->second) {
                all.push_back(Read(fileName, bytes));
                all.back().path += std::to_string(all.size());
            }
        }
        return all;
    }

private:
    static LocatedDll Read(const std::string& fileName, const std::vector<unsigned char>& bytes) {
        LocatedDll located;
        located.where = LocatedDll::Where::File;
        located.path = "C:\\bench\\" + fileName;
        located.readable = true;
        located.image = ReadPeImage(bytes.data(), bytes.size());
        return located;
    }
};

struct Closure {
    std::vector<unsigned char> root;
    MemoryLocator locator;
    int missing = 0;  // imported functions that no picked DLL has
};

Closure MakeClosure(int dlls, int functions) {
    Closure closure;
    const int importers = dlls + 1;
    const int perImporter = functions / importers;
    const int perDll = perImporter / 3 + 1;
    const int exported = perDll * 2;
    for (int i = 0; i <= dlls; ++i) {
        const bool root = i == dlls;
        PeBuilder builder;
        // The root needs the first three DLLs, every DLL the next three (the last ones none).
        const int first = root ? 0 : i + 1;
        for (int d = first; d < first + 3 && d < dlls; ++d) {
            std::vector<PeBuilder::Function> wanted;
            for (int k = 0; k < perDll; ++k) {
                wanted.push_back({Function(d, (k * 2 + i) % exported), 0});
            }
            // One function in each needed DLL that its first copy lacks.
            wanted.push_back({Function(d, exported), 0});
            builder.Import(DllName(d), wanted);
        }
        if (root) {
            closure.root = builder.Build();
            break;
        }
        std::vector<PeBuilder::Export> exports;
        for (int k = 0; k < exported; ++k) {
            const bool forwarded = k % 10 == 9 && i + 1 < dlls;
            exports.push_back(
                {Function(i, k), static_cast<std::uint16_t>(k + 1),
                 forwarded ? "bench" + std::to_string(i + 1) + "." + Function(i + 1, k - 1) : ""});
        }
        builder.Exports(exports);
        std::vector<std::vector<unsigned char>>& copies = closure.locator.files[DllName(i)];
        copies.push_back(builder.Build());
        exports.push_back({Function(i, exported), static_cast<std::uint16_t>(exported + 1), ""});
        copies.push_back(builder.Exports(exports).Build());
    }
    // Each DLL lacks one function, however many of its importers need it.
    closure.missing = dlls;
    return closure;
}

template <typename Work>
double BestOf(int runs, Work work) {
    double best = 1e9;
    for (int run = 0; run < runs; ++run) {
        const Clock::time_point start = Clock::now();
        work();
        best = std::min(best, std::chrono::duration<double>(Clock::now() - start).count());
    }
    return best;
}

}  // namespace

int main(int argc, char** argv) {
    const int dlls = argc > 1 ? std::atoi(argv[1]) : 60;
    const int functions = argc > 2 ? std::atoi(argv[2]) : 5000;
    if (dlls < 1 || dlls > 1000 || functions < dlls || functions > 60000) {
        std::fprintf(stderr, "usage: vorlix_dependency_bench [dlls 1-1000] [functions]\n");
        return 2;
    }
    Closure closure = MakeClosure(dlls, functions);
    const PeImage root = ReadPeImage(closure.root.data(), closure.root.size());
    std::size_t imported = 0;
    std::size_t walked = 0;
    int missing = 0;
    const double walk = BestOf(5, [&] {
        const std::vector<NeededDll> needed =
            WalkDependencies("lensora.dll", root, kMachineI386, closure.locator);
        walked = needed.size();
        missing = 0;
        for (const NeededDll& dll : needed) {
            missing += static_cast<int>(dll.missing.size());
        }
    });
    const double reading = BestOf(5, [&] {
        imported = 0;
        for (const auto& file : closure.locator.files) {
            const PeImage image =
                ReadPeImage(file.second.front().data(), file.second.front().size());
            for (const ImportedDll& dll : image.imports) {
                imported += dll.functions.size();
            }
        }
    });
    for (const ImportedDll& dll : root.imports) {
        imported += dll.functions.size();
    }
    const bool whole = static_cast<int>(walked) == dlls && missing == closure.missing;
    std::printf("Dependency walk with exports: %d DLLs in memory, %zu imported functions\n", dlls,
                imported);
    std::printf("  walk, every import checked:   %.4f s%s\n", walk, whole ? "" : " !");
    std::printf("  reading the images once each: %.4f s (baseline)\n", reading);
    std::printf("  ratio %.2f; goal 0.1 s: %s\n", walk / reading, walk <= 0.1 ? "met" : "MISSED");
    if (!whole) {
        std::printf("  ! %zu DLLs walked, %d functions missing (expected %d and %d)\n", walked,
                    missing, dlls, closure.missing);
    }
    return whole ? 0 : 1;
}
