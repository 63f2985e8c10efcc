// End-to-end: the reports of real bundles in every form, from the command line and from the
// "Save report..." button of each view, which must write the same bytes. The reports written
// here are read back by tests/scripts/report_formats_test.py --real as their readers would.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "tests/e2e/machine_state.h"
#include "tests/e2e/vorlix_session.h"
#include "tests/win/file_support.h"

namespace {

constexpr int kSaveReportButton = 1019;
constexpr int kExitMenuCommand = 105;

// A product name with umlauts (Windows-1252, as the program writes them), a comma and
// quotes, and one that is markup: each must stay one cell of text in every form.
const char kUmlautProduct[] = "Ger\xE4t, \"Kamera\" f\xFCr K\xF6ln";
const char kMarkupProduct[] = "<script>alert(\"x\")</script>";

std::string Padded(const std::string& name, const std::string& value) {
    return name + std::string(name.size() < 88 ? 90 - name.size() : 2, ' ') + value + "\r\n";
}

// A line of the diagnosis log: each field but the last padded to its width.
std::string VerdictLine(const std::vector<std::string>& fields) {
    const std::size_t widths[] = {20, 12, 120, 120};
    std::string line;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        line += fields[i];
        if (i + 1 < fields.size()) {
            line.append(fields[i].size() + 2 < widths[i] ? widths[i] - fields[i].size() : 2, ' ');
        }
    }
    return line + "\r\n";
}

// A small bundle: system data, installed products, services, the verdicts of a bad one and
// its manifest.
void WriteBundle(const TemporaryFolder& folder, bool withUmlauts, const std::string& faxState,
                 int minute) {
    const std::string stamp = "09.12.2026 10:00 00\r\n";
    std::string products =
        stamp + Padded("Microsoft Visual C++ 2010  x86 Redistributable", "found");
    if (withUmlauts) {
        products += Padded(kUmlautProduct, "found") + Padded(kMarkupProduct, "found");
    }
    std::string verdicts =
        stamp +
        VerdictLine({"PLUGIN-FILE", "pass", "C:\\Mach3\\Plugins\\lensora.dll is there", "", ""});
    if (withUmlauts) {
        verdicts += VerdictLine({"OPENCV-FILES", "fail", "opencv_core248.dll is missing",
                                 "logAnalyzeElement: Not found", "Reinstall the Lensora plug-in"});
    }
    const std::pair<std::string, std::string> files[] = {
        {"Lensora_Brenhold.logDiagnosis", verdicts},
        {"Lensora_Brenhold.logAnalyzeSystemData", stamp + Padded("Windows version", "Windows 7")},
        {"Lensora_Brenhold.logAnalyzeInstalledProgs", products},
        {"Lensora_Brenhold.logServices", stamp + "Fax" + std::string(87, ' ') + "Fax" +
                                             std::string(57, ' ') + "Win32_OWN_PROCESS" +
                                             std::string(8, ' ') + "Service " + faxState + "\r\n"},
    };
    std::string manifest = "Vorlix manifest\r\nProgram\tVorlix V1.05\r\nRun\t09.12.2026 10:" +
                           std::to_string(10 + minute) +
                           " 00\r\nWindows\tWindows 7\r\nExit code\t0\r\n";
    for (const auto& file : files) {
        WriteFileBytes(folder / file.first, file.second);
        manifest += "File\t" + file.first + "\t" + std::to_string(file.second.size()) + "\r\n";
    }
    WriteFileBytes(folder / "manifest.txt", manifest);
}

struct Bundles {
    Bundles() {
        WriteBundle(good, false, "Stopped", 1);
        WriteBundle(bad, true, "Running", 2);
        WriteBundle(other, true, "Stopped", 3);
    }
    TemporaryFolder good{"C:\\vorlix_saved_good"};
    TemporaryFolder bad{"C:\\vorlix_saved_bad"};
    TemporaryFolder other{"C:\\vorlix_saved_other"};
    TemporaryFolder out{"C:\\vorlix_saved_out"};
};

// Each kind of report: its command line without "/report FILE", the caption of its view.
struct ReportKind {
    const char* name;  // as report_formats_test.py names it
    std::string arguments;
    const char* caption;
};

std::vector<ReportKind> Kinds(const Bundles& bundles) {
    const std::string products = "\\Lensora_Brenhold.logAnalyzeInstalledProgs";
    return {
        {"two_logs",
         "/compare analysis " + bundles.good.Path() + products + " " + bundles.bad.Path() +
             products,
         "Vorlix"},
        {"two_folders", "/compare folders " + bundles.good.Path() + " " + bundles.bad.Path(),
         "Vorlix"},
        {"many_bundles",
         "/compare folders " + bundles.good.Path() + " " + bundles.bad.Path() + " " +
             bundles.other.Path(),
         "Vorlix   Many bundles"},
        {"diagnosis", "/diagnose " + bundles.bad.Path(), "Vorlix   Diagnosis"},
    };
}

// Where the reports go for the readers' check: the folder the build names, as a Windows path.
std::string RealReportsFolder() {
    const char* folder = std::getenv("VORLIX_REAL_REPORTS");
    if (folder == nullptr) {
        return std::string();
    }
    std::string path = folder;
    for (char& c : path) {
        c = c == '/' ? '\\' : c;
    }
    CreateDirectoryA(path.c_str(), nullptr);
    return path;
}

TEST(SavedReports, EveryKindOfReportIsWrittenInEveryFormFromRealBundles) {
    const Bundles bundles;
    const std::string realReports = RealReportsFolder();
    ASSERT_FALSE(realReports.empty())
        << "VORLIX_REAL_REPORTS is not set: the build names the folder the forms' check reads";
    const struct {
        const char* extension;
        const char* start;
    } forms[] = {{"html", "<!DOCTYPE html>"}, {"json", "{"}, {"csv", "\xEF\xBB\xBF"}};
    for (const ReportKind& kind : Kinds(bundles)) {
        for (const auto& form : forms) {
            const std::string report =
                bundles.out / (std::string(kind.name) + "." + form.extension);
            const FinishedRun run = RunToEnd(kind.arguments + " /report " + report);
            EXPECT_NE(run.exitCode, 2u) << kind.name << "." << form.extension << ": " << run.output;
            const std::string bytes = ReadFileBytes(report);
            EXPECT_EQ(bytes.substr(0, std::string(form.start).size()), form.start)
                << kind.name << "." << form.extension << ": exit code " << run.exitCode << ", "
                << run.output;
            WriteFileBytes(realReports + "\\" + kind.name + "." + form.extension, bytes);
        }
    }
}

// The button asks for a file in the system's save dialog and writes there exactly what
// /report writes for the same input and file name.
TEST(SavedReports, TheSaveButtonOfEveryViewWritesWhatReportWrites) {
    const Bundles bundles;
    const char* extensions[] = {"html", "json", "csv", "txt"};
    int next = 0;
    for (const ReportKind& kind : Kinds(bundles)) {
        const std::string extension = extensions[next++ % 4];
        const std::string byCommand =
            bundles.out / (std::string(kind.name) + "-command." + extension);
        const std::string byButton =
            bundles.out / (std::string(kind.name) + "-button." + extension);
        const FinishedRun run = RunToEnd(kind.arguments + " /report " + byCommand);
        ASSERT_NE(run.exitCode, 2u) << kind.name << ": " << run.output;

        VorlixSession session(kind.arguments);
        ASSERT_TRUE(session.Started()) << kind.name;
        HWND view = session.WaitForDialog(kind.caption);
        ASSERT_NE(view, nullptr) << kind.name;
        HWND button = GetDlgItem(view, kSaveReportButton);
        ASSERT_NE(button, nullptr) << kind.name << ": no Save report button";
        EXPECT_EQ(WindowText(button), "Save report...") << kind.name;
        PostMessageA(view, WM_COMMAND, MAKEWPARAM(kSaveReportButton, BN_CLICKED),
                     reinterpret_cast<LPARAM>(button));
        HWND save = session.WaitForDialog("Save report");
        ASSERT_NE(save, nullptr) << kind.name << ": no save dialog";
        session.ChooseFile(save, byButton);
        EXPECT_TRUE(session.WaitUntilClosed(save)) << kind.name;
        EXPECT_TRUE(WaitUntil([&] { return FileExistsAt(byButton); })) << kind.name;
        session.WaitUntilIdle();
        // The same bytes, whether or not a log's name would make the file name differ.
        const std::string written = ReadFileBytes(byButton);
        EXPECT_FALSE(written.empty()) << kind.name;
        EXPECT_TRUE(written == ReadFileBytes(byCommand))
            << kind.name << "." << extension << ": the button wrote other bytes than /report";
        PostMessageA(view, WM_COMMAND, IDCANCEL, 0);
        EXPECT_TRUE(session.WaitUntilClosed(view)) << kind.name;
        session.Command(kExitMenuCommand);
        EXPECT_EQ(session.ExitCode(20000), 0u) << kind.name;
    }
}

// A report saved over a file of a bundle it is made from would destroy the customer's file:
// the view says so and writes nothing.
TEST(SavedReports, TheButtonRefusesAFileOfTheBundlesCompared) {
    const Bundles bundles;
    const std::string manifest = bundles.bad / "manifest.txt";
    const std::string before = ReadFileBytes(manifest);
    VorlixSession session("/compare folders " + bundles.good.Path() + " " + bundles.bad.Path());
    ASSERT_TRUE(session.Started());
    HWND view = session.WaitForDialog("Vorlix");
    ASSERT_NE(view, nullptr);
    PostMessageA(view, WM_COMMAND, MAKEWPARAM(kSaveReportButton, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(view, kSaveReportButton)));
    HWND save = session.WaitForDialog("Save report");
    ASSERT_NE(save, nullptr);
    session.ChooseFile(save, manifest);
    // The save dialog itself asks first whether to replace the file.
    HWND box = nullptr;
    EXPECT_TRUE(WaitUntil([&] {
        for (HWND dialog : session.Dialogs()) {
            const std::string text = session.MessageBoxText(dialog);
            if (text.find("already exists") != std::string::npos ||
                text.find("existiert bereits") != std::string::npos) {
                PostMessageA(dialog, WM_COMMAND, IDYES, 0);
            } else if (text.find("a file this report is made from") != std::string::npos) {
                box = dialog;
                return true;
            }
        }
        return false;
    })) << "no box refused the manifest as the report file";
    ASSERT_NE(box, nullptr);
    EXPECT_NE(session.MessageBoxText(box).find(manifest), std::string::npos)
        << session.MessageBoxText(box);
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    EXPECT_TRUE(session.WaitUntilClosed(box));
    EXPECT_EQ(ReadFileBytes(manifest), before);
    PostMessageA(view, WM_COMMAND, IDCANCEL, 0);
    EXPECT_TRUE(session.WaitUntilClosed(view));
    session.Command(kExitMenuCommand);
    EXPECT_EQ(session.ExitCode(20000), 0u);
}

// The README's pictures: the folder summary with its button, and the HTML report of the same
// two folders, which scripts/screenshots.sh opens in a real browser once this test is done.
TEST(SavedReports, DISABLED_Screenshots) {
    const Bundles bundles;
    const char* exchange = std::getenv("VORLIX_SCREENSHOT_DIR");
    ASSERT_NE(exchange, nullptr) << "run by scripts/screenshots.sh, which names the folder";
    std::string page = std::string("Z:") + exchange + "/report.html";
    for (char& c : page) {
        c = c == '/' ? '\\' : c;
    }
    const std::string folders =
        "/compare folders " + bundles.good.Path() + " " + bundles.bad.Path();
    const FinishedRun run = RunToEnd(folders + " /report " + page);
    ASSERT_EQ(run.exitCode, 1u) << run.output;
    VorlixSession session(folders);
    ASSERT_TRUE(session.Started());
    HWND view = session.WaitForDialog("Vorlix");
    ASSERT_NE(view, nullptr);
    ASSERT_NE(GetDlgItem(view, kSaveReportButton), nullptr);
    TakeScreenshot("folder-summary-save");
    PostMessageA(view, WM_COMMAND, IDCANCEL, 0);
    session.WaitUntilClosed(view);
    session.Command(kExitMenuCommand);
    session.ExitCode(20000);
}

}  // namespace
