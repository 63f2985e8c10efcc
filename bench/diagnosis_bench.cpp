// Times the diagnosis of a bundle of a real machine's size against reading the same logs:
// every log of /collect with 300 services, 100 products, 70 settings, 30 PATH entries and
// 60 needed DLLs, written to C:\ and read back from disk. Usage: vorlix_diagnosis_bench [runs]
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "diagnosis/bundle_folder_win.h"
#include "diagnosis/rules.h"
#include "report/log_format.h"
#include "report/opencv_files.h"

namespace {

double Now() {
    LARGE_INTEGER frequency, counter;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&counter);
    return static_cast<double>(counter.QuadPart) / frequency.QuadPart;
}

std::string Line(const std::vector<std::string>& fields) {
    static const int widths[] = {90, 80, 30, 20};
    std::string line;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        line += fields[i];
        if (i + 1 < fields.size()) {
            line.append(std::max<std::size_t>(widths[i], fields[i].size() + 2) - fields[i].size(), ' ');
        }
    }
    return line + "\r\n";
}

const char kFolder[] = "C:\\vorlix_bench_bundle";
const std::string kBin = "C:\\Program Files\\Lensora_Brenhold\\build\\x86\\vc10\\bin";

void Write(const char* name, const std::string& text) {
    const std::string path = std::string(kFolder) + "\\" + name;
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD written = 0;
    WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    CloseHandle(file);
}

void WriteBundle() {
    CreateDirectoryA(kFolder, nullptr);
    const std::string stamp = "09.12.2026 14:03 27\r\n";
    std::string element = stamp + Line({"C:\\Mach3\\Plugins\\lensora.dll", "found"});
    std::string versions = stamp + Line({"C:\\Mach3\\Plugins\\lensora.dll", "2.1.0.0", "32-bit"});
    for (const char* const* entry = kOpenCvFiles; *entry != nullptr; ++entry) {
        const std::string path = "C:\\Program Files\\" + std::string(*entry);
        element += Line({path, "found"});
        versions += Line({path, "2.4.8.0", "32-bit"});
    }
    Write("Lensora_Brenhold.logAnalyzeElement", element);
    Write("Lensora_Brenhold.logAnalyzeFileVersions", versions);
    std::string system = stamp;
    for (int i = 0; i < 40; ++i) {
        system += Line({"System row " + std::to_string(i), "value " + std::to_string(i)});
    }
    Write("Lensora_Brenhold.logAnalyzeSystemData", system);
    Write("Lensora_Brenhold.logAnalyzePluginVersion", stamp + Line({"Version", "Mach3 Lensora 2.1"}));
    Write("Lensora_Brenhold.logAnalyzePlugins", stamp + Line({"Installed Plugin", "lensora.dll"}));
    std::string settings = stamp, products = stamp, path = stamp + "C:\\x\r\n", services = stamp;
    for (int i = 0; i < 70; ++i) {
        settings += Line({"Setting" + std::to_string(i), std::to_string(i * 7)});
    }
    for (int i = 0; i < 100; ++i) {
        products += Line({"Product number " + std::to_string(i), "found"});
    }
    std::string dependencies = stamp;
    for (int i = 0; i < 30; ++i) {
        const std::string folder = i == 29 ? kBin : "C:\\Tools\\Folder" + std::to_string(i);
        path += Line({folder, "PATH"});
        dependencies += Line({"Search folder " + std::to_string(i + 1), folder, "PATH"});
    }
    for (int i = 0; i < 60; ++i) {
        const std::string name = "needed" + std::to_string(i) + ".dll";
        dependencies += Line({name, kBin + "\\" + name, "32-bit (needed by lensora.dll)"});
    }
    for (int i = 0; i < 300; ++i) {
        services += Line({"Service" + std::to_string(i), "Display name " + std::to_string(i),
                          "Own Process", "Running"});
    }
    Write("Lensora_Brenhold.logAnalyzeSettings", settings);
    Write("Lensora_Brenhold.logAnalyzeInstalledProgs", products);
    Write("Lensora_Brenhold.logAnalyzePATH", path);
    Write("Lensora_Brenhold.logAnalyzeDependencies", dependencies);
    Write("Lensora_Brenhold.logServices", services);
    Write("Lensora_Brenhold.logAnalyzeRedist",
          stamp + Line({"Microsoft Visual C++ 2010  x86 Redistributable", "found"}));
    std::string exports = stamp;
    for (int i = 0; i < 21; ++i) {
        exports += Line({"Entry" + std::to_string(i), "found"});
    }
    Write("Lensora_Brenhold.logDlls", exports);
    Write("Lensora_Brenhold.logMessages", "");
}

}  // namespace

int main(int argc, char** argv) {
    const int runs = argc > 1 ? std::atoi(argv[1]) : 200;
    FillBlankBuffer();
    WriteBundle();
    // Baseline: the logs read from disk and split into lines of fields.
    double read = 0, diagnose = 0;
    int failures = 0;
    for (int run = 0; run < runs; ++run) {
        const double start = Now();
        const GatheredBundle bundle = GatherBundleFolder(kFolder);
        const BundleView view = bundle.View();
        const double between = Now();
        const std::vector<Verdict> verdicts = Diagnose(view);
        const double end = Now();
        read += between - start;
        diagnose += end - between;
        for (const Verdict& verdict : verdicts) {
            failures += verdict.outcome == Outcome::Fail ? 1 : 0;
        }
    }
    std::printf("Diagnosis of a bundle of a real machine's size (%d runs, mean seconds):\n", runs);
    std::printf("  reading its logs from disk: %.5f  the rules over them: %.5f  ratio %.2f%s\n",
                read / runs, diagnose / runs, diagnose / read,
                failures == 0 ? "" : "  ! a rule failed on the healthy bundle");
    return 0;
}
