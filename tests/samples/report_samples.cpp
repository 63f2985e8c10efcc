// Writes each report kind in each form into a folder, with cells that try every way a log's
// text could break out of its cell: markup, quotes, separators, line breaks, the high half of
// Windows-1252 (0x81 included), NUL, formulas. tests/scripts/report_formats_test.py reads
// them with a strict HTML5 parser, a JSON Schema validator and Python's csv module.
// Usage: vorlix_report_samples FOLDER
#include <cstdio>
#include <string>
#include <vector>

#include "report/report_documents.h"
#include "report/report_form.h"

namespace {

const std::string kScript = "<script>alert(\"x\")</script>";
const std::string kQuotes = "Ger\xE4t, \"Kamera\" & 'Objektiv'";
const std::string kUmlauts = "K\xF6ln D\xFCsseldorf M\xE4rz";
const std::string kBreaks = "Line\r\nbreak\tand tab";
const std::string kLoneBreaks = "lone\rCR lone\nLF";
const std::string kNul = std::string("a\0b", 3);
const std::string kFormula = "=1+2";

std::string HighBytes() {
    std::string text;
    for (int byte = 0x80; byte <= 0xFF; ++byte) {
        text.push_back(static_cast<char>(byte));
    }
    return text;
}

std::string LongCell() {
    std::string text;
    for (int i = 0; i < 60; ++i) {
        text += "C:\\Program Files\\OpenCV\\bin\\opencv_core248.dll;";
    }
    return text;
}

std::vector<DifferenceEntry> HostileRows() {
    return {
        {Mark::OnlyInFirst, kScript, "svc<b>", "Win32_OWN_PROCESS", "Service Running", ""},
        {Mark::OnlyInSecond, kQuotes, "", "Kernel Driver", "", "Service Stopped"},
        {Mark::OtherValues, kUmlauts, kBreaks, "", kLoneBreaks, "X"},
        {Mark::OtherValues, "high bytes", "", "", HighBytes(), kNul},
        {Mark::OtherValues, kFormula, "@SUM(A1)", "", "-3", "+4"},
        {Mark::OtherValues, "PATH", "", "", LongCell(), "C:\\Windows"},
    };
}

CollectManifest GoodManifest() {
    CollectManifest manifest;
    manifest.program = "Vorlix V1.05";
    manifest.run = "09.12.2026 10:15 02";
    manifest.windows = "Windows 7";
    return manifest;
}

std::vector<VerdictEntry> HostileVerdicts() {
    return {
        {"PASS-ONE", Mark::Pass, "Fine.", {}, ""},
        {"PLUGIN-FILE",
         Mark::Fail,
         "The plug-in " + kScript + " is no image.",
         {{"Lensora_Brenhold.logAnalyzeFileVersions", kQuotes, kUmlauts, "32-bit"},
          {"Lensora_Brenhold.logMessages", "", kBreaks, HighBytes()}},
         "Reinstall it; " + kFormula},
        {"NOT-JUDGED", Mark::NotJudged, "The log " + kNul + " is missing.", {}, ""},
        {"OPENCV-VERSIONS", Mark::Warn, kLoneBreaks, {{"log", "row", "2.4.6.0", "2.4.8.0"}}, ""},
    };
}

Document TwoLogs() {
    LogHeading first = {"first", "C:\\Lensora_Brenhold.logServices", "09.12.2026 10:15 02", ""};
    LogHeading second = {"second", "D:\\M\xFCller\\" + kQuotes + ".logServices", "",
                         "LF line ends, " + kScript};
    return TwoLogsDocument(first, second, "services", {512, 6, 1, 1}, HostileRows());
}

Document TwoFolders(const std::vector<DifferenceEntry>& rows) {
    static const CollectManifest manifest = GoodManifest();
    const std::vector<BundleHeading> bundles = {
        {"first", "C:\\good", &manifest, {}},
        {"second",
         "D:\\Kunde M\xFCller " + kScript,
         nullptr,
         {"not a whole bundle: no manifest.txt", kQuotes}},
    };
    const std::vector<BundleVerdicts> verdicts = {{"first", {}}, {"second", HostileVerdicts()}};
    std::vector<FolderLogEntry> logs = {
        {"Lensora_Brenhold.logServices", "services", {512, 6, 1, 1}, kUmlauts, true, &rows},
        {"Lensora_Brenhold.logAnalyzeSystemData",
         "analysis: system data",
         {40, 0, 0, 0},
         "",
         false,
         nullptr},
        {"Lensora_Brenhold.logMessages",
         "messages",
         {3, 3, 3, 0},
         "only in the first folder",
         true,
         nullptr},
        {"Lensora_Brenhold.log" + kScript, "analysis", {2, 2, 0, 0}, kBreaks, true, &rows},
    };
    return TwoFoldersDocument(bundles, verdicts, logs);
}

Document ManyBundles() {
    static const CollectManifest manifest = GoodManifest();
    const std::vector<BundleHeading> bundles = {
        {"1", "C:\\good", &manifest, {}},
        {"2", "D:\\K\xF6ln", &manifest, {}},
        {"3", "E:\\" + kQuotes, nullptr, {"not a whole bundle: no manifest.txt"}},
    };
    const std::vector<MatrixFact> facts = {
        {"Windows",
         {std::string("Windows 7"), std::string("Windows 7"), std::string("Windows 10")},
         Mark::ExpectedToVary},
        {"Plug-in version",
         {std::string("1.2"), std::string("1.2"), std::nullopt},
         Mark::Separating},
        {kScript, {kQuotes, kUmlauts, HighBytes()}, Mark::None},
        {"Breaks", {kBreaks, kNul, kFormula}, Mark::None},
    };
    return ManyBundlesDocument(bundles, facts);
}

Document Diagnosis() {
    static const CollectManifest manifest = GoodManifest();
    return DiagnosisDocument({"bundle", "D:\\Kunde M\xFCller", &manifest, {kUmlauts}},
                             HostileVerdicts());
}

bool WriteFile(const std::string& path, const std::string& bytes) {
    FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) {
        std::perror(path.c_str());
        return false;
    }
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    return std::fclose(file) == 0 && written;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: vorlix_report_samples FOLDER\n");
        return 2;
    }
    const std::vector<DifferenceEntry> rows = HostileRows();
    const struct {
        const char* name;
        Document document;
    } samples[] = {
        {"two_logs", TwoLogs()},
        {"two_folders", TwoFolders(rows)},
        {"many_bundles", ManyBundles()},
        {"diagnosis", Diagnosis()},
    };
    const char* extensions[] = {".html", ".json", ".csv", ".tsv"};
    for (const auto& sample : samples) {
        for (const char* extension : extensions) {
            const std::string path = std::string(argv[1]) + "/" + sample.name + extension;
            if (!WriteFile(path, ReportBytes(sample.document, ReportFormOfFileName(path)))) {
                return 1;
            }
        }
    }
    return 0;
}
