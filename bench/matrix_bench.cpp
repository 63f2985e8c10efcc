// Times the matrix of many bundles as `/compare folders PARENT /report` makes it: 100 bundles
// of a real machine's size (every log of /collect with 300 services, 100 products, 70
// settings, 30 PATH entries and 60 needed DLLs; a tenth of the machines lack one DLL) written
// under C:\vorlix_bench_bundles, then gathered, diagnosed, laid out and reported from disk.
// It prints the seconds (best of the runs), the bytes of the files it read and the peak of
// the heap it held, for bench/run.sh to set beside `cat` of the same files.
// Usage: vorlix_matrix_bench [bundles] [runs]
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <new>
#include <string>
#include <vector>

#include "app/many_bundles_win.h"
#include "diagnosis/bundle_folder_win.h"
#include "compare/bundle_matrix.h"
#include "report/collect_manifest.h"
#include "report/opencv_files.h"

namespace {

// Every allocation of the program counted, so the peak is what the matrix held, whatever
// the heap beneath does with it.
std::size_t g_liveBytes = 0;
std::size_t g_peakBytes = 0;
constexpr std::size_t kHeader = 16;  // keeps the blocks as aligned as malloc's

double Now() {
    LARGE_INTEGER frequency, counter;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&counter);
    return static_cast<double>(counter.QuadPart) / frequency.QuadPart;
}

std::string Line(const std::vector<std::string>& fields) {
    static const std::size_t widths[] = {90, 80, 30, 20};
    std::string line;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        line += fields[i];
        if (i + 1 < fields.size()) {
            line.append(std::max(widths[i], fields[i].size() + 2) - fields[i].size(), ' ');
        }
    }
    return line + "\r\n";
}

const char kParent[] = "C:\\vorlix_bench_bundles";
const std::string kBin = "C:\\Program Files\\Lensora_Brenhold\\build\\x86\\vc10\\bin";

std::string Number(int n) {
    return std::to_string(n);
}

struct Bundle {
    std::string folder;
    CollectManifest manifest;
    std::uint64_t bytes = 0;
};

void Write(Bundle& bundle, const std::string& name, const std::string& text, bool listed = true) {
    const std::string path = bundle.folder + "\\" + name;
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD written = 0;
    WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    CloseHandle(file);
    bundle.bytes += text.size();
    if (listed) {
        bundle.manifest.files.push_back(ManifestFile{name, text.size()});
    }
}

// One machine: most of it as on every other machine, some of it its own (memory, a few
// products, settings, services and PATH entries), as real machines differ.
std::uint64_t g_largestBundle = 0;

std::uint64_t WriteBundle(int machine) {
    char name[16];
    std::snprintf(name, sizeof name, "pc%03d", machine);
    Bundle bundle;
    bundle.folder = std::string(kParent) + "\\" + name;
    CreateDirectoryA(bundle.folder.c_str(), nullptr);
    char stamp[32];
    std::snprintf(stamp, sizeof stamp, "09.12.2026 %02d:%02d 27", 10 + machine / 60, machine % 60);
    const std::string head = std::string(stamp) + "\r\n";
    const bool bad = machine % 10 == 9;  // lacks opencv_core248.dll

    std::string system = head;
    for (int i = 0; i < 40; ++i) {
        const std::string value = i == 3   ? Number(4 << (machine % 4)) + " GB"
                                  : i == 7 ? std::string("PC-") + name
                                           : "value " + Number(i);
        system += Line({"System row " + Number(i), value});
    }
    Write(bundle, "Lensora_Brenhold.logAnalyzeSystemData", system);
    std::string element = head + Line({"C:\\Mach3\\Plugins\\lensora.dll", "found"});
    std::string versions = head + Line({"C:\\Mach3\\Plugins\\lensora.dll", "2.1.0.0", "32-bit"});
    for (const char* const* entry = kOpenCvFiles; *entry != nullptr; ++entry) {
        const std::string path = kBin + "\\" + *entry;
        const bool missing = bad && path.find("opencv_core") != std::string::npos;
        element += Line({path, missing ? "Not found" : "found"});
        if (!missing) {
            versions += Line({path, "2.4.8.0", "32-bit"});
        }
    }
    Write(bundle, "Lensora_Brenhold.logAnalyzeElement", element);
    Write(bundle, "Lensora_Brenhold.logAnalyzePluginVersion",
          head + Line({"Version", "Mach3 Lensora 2.1"}));
    Write(bundle, "Lensora_Brenhold.logAnalyzePlugins",
          head + Line({"Installed Plugin", "lensora.dll"}));
    std::string settings = head, products = head, services = head;
    for (int i = 0; i < 70; ++i) {
        settings += Line({"Setting" + Number(i), Number(i < 65 ? i * 7 : machine * i)});
    }
    Write(bundle, "Lensora_Brenhold.logAnalyzeSettings", settings);
    for (int i = 0; i < 100; ++i) {
        products +=
            Line({i < 90 ? "Product number " + Number(i) : "Product " + Number(i) + " of " + name,
                  "found"});
    }
    Write(bundle, "Lensora_Brenhold.logAnalyzeInstalledProgs", products);
    Write(bundle, "Lensora_Brenhold.logAnalyzeRedist",
          head + Line({"Microsoft Visual C++ 2010  x86 Redistributable", "found"}));
    std::string dependencies = head, joined, entries;
    for (int i = 0; i < 30; ++i) {
        const std::string folder = i == 29   ? kBin
                                   : i >= 27 ? "C:\\Tools\\" + std::string(name) + "\\" + Number(i)
                                             : "C:\\Tools\\Folder" + Number(i);
        joined += (joined.empty() ? "" : ";") + folder;
        entries += Line({folder, "PATH"});
        dependencies += Line({"Search folder " + Number(i + 1), folder, "PATH"});
    }
    const std::string path = head + joined + "\r\n" + entries;
    Write(bundle, "Lensora_Brenhold.logAnalyzePATH", path);
    for (int i = 0; i < 60; ++i) {
        const std::string dll = i == 0 ? "opencv_core248.dll" : "needed" + Number(i) + ".dll";
        dependencies += bad && i == 0
                            ? Line({dll, "Not found (needed by lensora.dll)"})
                            : Line({dll, kBin + "\\" + dll, "32-bit (needed by lensora.dll)"});
        versions += Line({kBin + "\\" + dll, "1.0." + Number(i) + ".0", "32-bit"});
    }
    Write(bundle, "Lensora_Brenhold.logAnalyzeFileVersions", versions);
    Write(bundle, "Lensora_Brenhold.logAnalyzeDependencies", dependencies);
    std::string exports = head;
    for (int i = 0; i < 21 && !bad; ++i) {
        exports += Line({"Entry" + Number(i), "found"});
    }
    Write(bundle, "Lensora_Brenhold.logDlls", exports);
    for (int i = 0; i < 300; ++i) {
        const char* state = i >= 280 && (i + machine) % 3 == 0 ? "Stopped" : "Running";
        services +=
            Line({"Service" + Number(i), "Display name " + Number(i), "Own Process", state});
    }
    Write(bundle, "Lensora_Brenhold.logServices", services);
    Write(bundle, "Lensora_Brenhold.logMessages",
          bad ? "Vorlix   LoadLibrary\tC:\\Mach3\\Plugins\\lensora.dll  The specified module could "
                "not be found.\r\n"
              : "");
    // The diagnosis log is placed too, though the matrix diagnoses anew and reads it not.
    const std::uint64_t read = bundle.bytes;
    Write(bundle, "Lensora_Brenhold.logDiagnosis", head + Line({"PLUGIN-FILE", "pass", "found"}));
    bundle.manifest.program = "Vorlix V1.05";
    bundle.manifest.run = stamp;
    bundle.manifest.windows = "Windows 7";
    bundle.manifest.exitCode = bad ? 1 : 0;
    const std::string manifest = FormatManifest(bundle.manifest);
    Write(bundle, kManifestFileName, manifest, false);
    g_largestBundle = std::max(g_largestBundle, read + manifest.size());
    return read + manifest.size();
}

}  // namespace

void* operator new(std::size_t size) {
    char* block = static_cast<char*>(std::malloc(size + kHeader));
    if (block == nullptr) {
        throw std::bad_alloc();
    }
    *reinterpret_cast<std::size_t*>(block) = size;
    g_liveBytes += size;
    g_peakBytes = std::max(g_peakBytes, g_liveBytes);
    return block + kHeader;
}

void operator delete(void* pointer) noexcept {
    if (pointer != nullptr) {
        char* block = static_cast<char*>(pointer) - kHeader;
        g_liveBytes -= *reinterpret_cast<std::size_t*>(block);
        std::free(block);
    }
}

void operator delete(void* pointer, std::size_t) noexcept {
    operator delete(pointer);
}

int main(int argc, char** argv) {
    const int count = argc > 1 ? std::atoi(argv[1]) : 100;
    const int runs = argc > 2 ? std::atoi(argv[2]) : 3;
    CreateDirectoryA(kParent, nullptr);
    std::uint64_t total = 0;
    for (int machine = 0; machine < count; ++machine) {
        total += WriteBundle(machine);
    }
    // A second baseline beside cat: the same files opened and read whole through Wine, as the
    // gathering reads them, nothing parsed, so the share of Wine's file calls is seen.
    double readOnly = 1e9;
    for (int run = 0; run < runs; ++run) {
        const double start = Now();
        for (int machine = 0; machine < count; ++machine) {
            char folder[64];
            std::snprintf(folder, sizeof folder, "%s\\pc%03d", kParent, machine);
            const GatheredBundle bundle = GatherBundleFolder(folder);
        }
        readOnly = std::min(readOnly, Now() - start);
    }
    double best = 1e9;
    std::size_t peak = 0, rows = 0, separating = 0, bundles = 0, reportSize = 0;
    for (int run = 0; run < runs; ++run) {
        const std::size_t before = g_liveBytes;
        g_peakBytes = g_liveBytes;
        const double start = Now();
        {
            MatrixShown shown;
            std::vector<std::string> notes;
            GatherManyBundles({kParent}, {}, shown, notes);
            reportSize = MatrixReport(shown.matrix, shown.bundles).size();
            bundles = shown.bundles.size();
            rows = shown.matrix.rows.size();
            separating = shown.matrix.separating;
        }
        best = std::min(best, Now() - start);
        peak = std::max(peak, g_peakBytes - before);
    }
    std::printf(
        "The matrix of %zu bundles as /compare folders PARENT /report makes it (%zu rows, "
        "%zu separating, a report of %zu bytes)%s:\n",
        bundles, rows, separating, reportSize,
        bundles == static_cast<std::size_t>(count) && separating > 0
            ? ""
            : "  ! not every bundle read, or the missing DLL separates nothing");
    // The reading thread's blocks are in a heap of its own, not counted above: at most the
    // bundles it reads ahead and the one being taken over, counted here at the largest size.
    const std::uint64_t readAhead = (kBundlesReadAhead + 1) * g_largestBundle;
    peak += readAhead;
    std::printf(
        "  seconds %.3f (best of %d)  files read %.1f MB  peak heap %.1f MB (%.2fx the files; "
        "%.1f MB of it the files read ahead)\n",
        best, runs, total / 1e6, peak / 1e6, static_cast<double>(peak) / total, readAhead / 1e6);
    std::printf("  the same files only opened and read whole through Wine: %.3f s (%.1fx that)\n",
                readOnly, best / readOnly);
    std::printf("figures %.4f %llu %llu\n", best, static_cast<unsigned long long>(total),
                static_cast<unsigned long long>(peak));
    return 0;
}
