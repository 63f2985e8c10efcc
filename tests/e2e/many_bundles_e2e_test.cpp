// End-to-end: many bundles at once and the diagnosis of one, on bundles written here in the
// program's log format: two good machines that differ in products and services, three bad
// ones that share one cause (the OpenCV core DLL missing) among noise of their own.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/handles_win.h"
#include "tests/e2e/machine_state.h"
#include "tests/e2e/vorlix_session.h"
#include "tests/win/file_support.h"

namespace {

const std::string kBin = "C:\\Program Files\\Lensora_Brenhold\\build\\x86\\vc10\\bin";
const std::string kPlugin = "C:\\Mach3\\Plugins\\lensora.dll";
const char kParent[] = "C:\\vorlix_e2e_bundles";

// A line as the analysis writes it: Name padded to 90, Value to 80, the last field ended.
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

std::string Log(const std::vector<std::vector<std::string>>& lines) {
    std::string text = "09.12.2026 10:00 00\r\n";
    for (const auto& fields : lines) {
        text += Line(fields);
    }
    return text;
}

struct Machine {
    std::string name;
    bool coreMissing;
    std::string memory;
    std::vector<std::string> products;
    std::string faxState;
    int minute;  // of the run, so that no two manifests are alike
};

void WriteBundle(const Machine& machine) {
    const std::string folder = std::string(kParent) + "\\" + machine.name;
    CreateDirectoryA(folder.c_str(), nullptr);
    const std::string core = machine.coreMissing ? "Not found" : "found";
    std::vector<std::pair<std::string, std::string>> files = {
        {"Lensora_Brenhold.logAnalyzeSystemData",
         Log({{"Windows version", "Windows 7"}, {"Memory", machine.memory}})},
        {"Lensora_Brenhold.logAnalyzeElement", Log({{kPlugin, "found"},
                                                    {kBin + "\\opencv_core248.dll", core},
                                                    {kBin + "\\opencv_highgui248.dll", "found"}})},
        {"Lensora_Brenhold.logAnalyzePluginVersion", Log({{"Version", "Mach3 Lensora 2.1"}})},
        {"Lensora_Brenhold.logAnalyzePlugins", Log({{"Installed Plugin", "lensora.dll"}})},
        {"Lensora_Brenhold.logAnalyzeRedist",
         Log({{"Microsoft Visual C++ 2010", "x86 Redistributable", "found"}})},
        {"Lensora_Brenhold.logAnalyzePATH", Log({{"C:\\Windows\\system32;" + kBin},
                                                 {"C:\\Windows\\system32", "PATH"},
                                                 {kBin, "PATH"}})},
        {"Lensora_Brenhold.logServices",
         Log({{"Spooler", "Print Spooler", "Own Process", "Running"},
              {"Fax", "Fax", "Own Process", machine.faxState}})},
    };
    std::vector<std::vector<std::string>> versions = {
        {kPlugin, "2.1.0.0", "32-bit"}, {kBin + "\\opencv_highgui248.dll", "2.4.8.0", "32-bit"}};
    std::vector<std::vector<std::string>> dependencies = {
        {"Search folder 1", "C:\\Mach3", "program folder"},
        {"Search folder 2", "C:\\Windows\\system32", "PATH"},
        {"Search folder 3", kBin, "PATH"},
        {"KERNEL32.dll", "C:\\Windows\\system32\\KERNEL32.dll", "32-bit (needed by lensora.dll)"},
        {"opencv_highgui248.dll", kBin + "\\opencv_highgui248.dll",
         "32-bit (needed by lensora.dll)"}};
    std::vector<std::vector<std::string>> exports;
    std::string messages;
    if (machine.coreMissing) {
        dependencies.push_back({"opencv_core248.dll", "Not found (needed by lensora.dll)"});
        messages =
            "Vorlix   LoadLibrary\t" + kPlugin + "  The specified module could not be found.\r\n";
    } else {
        versions.push_back({kBin + "\\opencv_core248.dll", "2.4.8.0", "32-bit"});
        dependencies.push_back({"opencv_core248.dll", kBin + "\\opencv_core248.dll",
                                "32-bit (needed by lensora.dll)"});
        for (int i = 0; i < 21; ++i) {
            exports.push_back({"EntryPoint" + std::to_string(i), "found"});
        }
    }
    std::vector<std::vector<std::string>> products;
    for (const std::string& product : machine.products) {
        products.push_back({product, "found"});
    }
    files.push_back({"Lensora_Brenhold.logAnalyzeFileVersions", Log(versions)});
    files.push_back({"Lensora_Brenhold.logAnalyzeDependencies", Log(dependencies)});
    files.push_back({"Lensora_Brenhold.logAnalyzeInstalledProgs", Log(products)});
    files.push_back({"Lensora_Brenhold.logAnalyzeSettings", Log({{"CameraIndex", "0"}})});
    files.push_back({"Lensora_Brenhold.logDlls", Log(exports)});
    files.push_back({"Lensora_Brenhold.logMessages", messages});
    std::string manifest = "Vorlix manifest\r\nProgram\tVorlix V1.05\r\nRun\t09.12.2026 10:" +
                           std::to_string(10 + machine.minute) +
                           " 00\r\nWindows\tWindows 7\r\nExit code\t" +
                           (messages.empty() ? "0" : "1") + "\r\n";
    for (const auto& file : files) {
        WriteFileBytes(folder + "\\" + file.first, file.second);
        manifest += "File\t" + file.first + "\t" + std::to_string(file.second.size()) + "\r\n";
    }
    WriteFileBytes(folder + "\\manifest.txt", manifest);
}

// The six machines in a folder of their own, removed with everything in it afterwards: three
// good ones that differ in memory, products and a service, three bad ones sharing one cause.
class GeneratedBundles {
public:
    GeneratedBundles() {
        RemoveAll();
        CreateDirectoryA(kParent, nullptr);
        const Machine machines[] = {
            {"good1", false, "8 GB", {"Office 16"}, "Stopped", 1},
            {"good2", false, "16 GB", {"LibreOffice 7"}, "Running", 2},
            {"bad1", true, "4 GB", {"Office 16"}, "Stopped", 3},
            {"bad2", true, "8 GB", {}, "Stopped", 4},
            {"bad3", true, "32 GB", {"Printer driver"}, "Running", 5},
            {"good3", false, "4 GB", {"Office 16", "Printer driver"}, "Stopped", 6},
        };
        for (const Machine& machine : machines) {
            WriteBundle(machine);
        }
    }
    ~GeneratedBundles() { RemoveAll(); }
    GeneratedBundles(const GeneratedBundles&) = delete;
    GeneratedBundles& operator=(const GeneratedBundles&) = delete;
    static std::string Folder(const char* name) { return std::string(kParent) + "\\" + name; }

private:
    static void RemoveAll() {
        for (const char* name : {"good1", "good2", "good3", "bad1", "bad2", "bad3", "twin"}) {
            const std::string folder = Folder(name);
            WIN32_FIND_DATAA entry;
            if (const UniqueFind search{FindFirstFileA((folder + "\\*").c_str(), &entry)}) {
                do {
                    DeleteFileA((folder + "\\" + entry.cFileName).c_str());
                } while (FindNextFileA(search.Get(), &entry));
            }
            RemoveDirectoryA(folder.c_str());
        }
        DeleteFileA((std::string(kParent) + "\\matrix.txt").c_str());
        DeleteFileA((std::string(kParent) + "\\verdicts.txt").c_str());
        RemoveDirectoryA(kParent);
    }
};

std::vector<std::vector<std::string>> Table(const std::string& text) {
    std::vector<std::vector<std::string>> rows;
    for (const std::string& line : Lines(text)) {
        std::vector<std::string> cells;
        std::size_t start = 0;
        for (std::size_t tab = line.find('\t');; tab = line.find('\t', start)) {
            cells.push_back(
                line.substr(start, tab == std::string::npos ? std::string::npos : tab - start));
            if (tab == std::string::npos) {
                break;
            }
            start = tab + 1;
        }
        rows.push_back(cells);
    }
    return rows;
}

TEST(ManyBundles, TheSharedCauseSeparatesFirstAndTheNoiseOfGoodMachinesIsHidden) {
    const GeneratedBundles bundles;
    const std::string report = std::string(kParent) + "\\matrix.txt";
    // The folder of bundles given alone: its six folders, in name order.
    const FinishedRun run =
        RunToEnd(std::string("/compare folders ") + kParent + " /report " + report);
    EXPECT_EQ(run.exitCode, 1u) << run.output;
    const std::vector<std::vector<std::string>> rows = Table(ReadFileBytes(report));
    ASSERT_GE(rows.size(), 3u) << run.output;
    const std::vector<std::string> titles(rows[0].begin(), rows[0].begin() + 4);
    EXPECT_EQ(titles, (std::vector<std::string>{"Log", "Fact", "Difference", "Common value"}));
    ASSERT_EQ(rows[0].size(), 10u);
    EXPECT_EQ(rows[0][4], "bad1 (Windows 7, 09.12.2026 10:13 00) (bad)");
    EXPECT_EQ(rows[0][6], "bad3 (Windows 7, 09.12.2026 10:15 00) (bad)");
    EXPECT_EQ(rows[0][7], "good1 (Windows 7, 09.12.2026 10:11 00)");
    // The separating rows: the core DLL in the element, file versions and dependencies logs,
    // the rules that name it, and what follows from it (the entry points not looked up).
    std::vector<std::string> separating;
    std::size_t varying = 0;
    for (std::size_t i = 1; i < rows.size(); ++i) {
        ASSERT_EQ(rows[i].size(), 10u) << i;
        if (rows[i][2] == "separating") {
            EXPECT_EQ(separating.size() + 1, i) << "separating rows come first";
            separating.push_back(rows[i][0] + " " + rows[i][1]);
        }
        varying += rows[i][2] == "expected to vary" ? 1 : 0;
    }
    const auto has = [&](const std::string& row) {
        return std::find(separating.begin(), separating.end(), row) != separating.end();
    };
    EXPECT_TRUE(has("logAnalyzeElement " + kBin + "\\opencv_core248.dll"));
    EXPECT_TRUE(has("logAnalyzeDependencies opencv_core248.dll"));
    EXPECT_TRUE(has("logDiagnosis OPENCV-FILES"));
    EXPECT_FALSE(has("logServices Fax")) << "the good machines differ in it";
    // Memory, the products and the fax service differ between the two good machines.
    EXPECT_GE(varying, 3u);
    EXPECT_NE(run.output.find("expected to vary"), std::string::npos) << run.output;

    // The same bundles named one by one, with a good one declared bad: nothing separates.
    const FinishedRun named = RunToEnd("/compare folders " + GeneratedBundles::Folder("good1") +
                                       " " + GeneratedBundles::Folder("good2") + " /bad " +
                                       GeneratedBundles::Folder("good2") + " /report " + report);
    EXPECT_EQ(named.exitCode, 1u) << named.output;
    const std::vector<std::vector<std::string>> pair = Table(ReadFileBytes(report));
    for (std::size_t i = 1; i < pair.size(); ++i) {
        EXPECT_EQ(pair[i][2], "separating") << pair[i][1];
    }

    // A later run of the same machine: its logs agree in everything, nothing to report.
    WriteBundle({"twin", false, "8 GB", {"Office 16"}, "Stopped", 6});
    const FinishedRun same = RunToEnd("/compare folders " + GeneratedBundles::Folder("good1") +
                                      " " + GeneratedBundles::Folder("twin") + " /bad " +
                                      GeneratedBundles::Folder("twin") + " /report " + report);
    EXPECT_EQ(same.exitCode, 0u) << same.output;
    EXPECT_EQ(Table(ReadFileBytes(report)).size(), 1u) << "the titles alone";
}

TEST(ManyBundles, BadInputIsSaidOnceByNameAndNeverCountedAsEmpty) {
    const GeneratedBundles bundles;
    const std::string report = std::string(kParent) + "\\matrix.txt";
    const std::string empty = std::string(kParent) + "\\empty";
    CreateDirectoryA(empty.c_str(), nullptr);
    const FinishedRun run =
        RunToEnd("/compare folders " + GeneratedBundles::Folder("good1") + " " + empty + " " +
                 GeneratedBundles::Folder("good1") + " /report " + report);
    RemoveDirectoryA(empty.c_str());
    EXPECT_EQ(run.exitCode, 2u) << run.output;
    EXPECT_NE(run.output.find(empty + ": no log of Vorlix, left out"), std::string::npos)
        << run.output;
    EXPECT_NE(run.output.find(": the same bundle as "), std::string::npos) << run.output;
    EXPECT_NE(run.output.find("fewer than two bundles"), std::string::npos) << run.output;
    EXPECT_FALSE(FileExistsAt(report));

    // A log another program holds open, a bundle without its manifest, a folder without logs
    // and a bundle named twice among bundles that compare: each said once, in the folders'
    // order, however far ahead of the bundle laid out the files are read.
    const std::string held = GeneratedBundles::Folder("good2") + "\\Lensora_Brenhold.logServices";
    const UniqueFile holder(CreateFileA(held.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                        FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(holder) << "cannot hold " << held << " open: " << GetLastError();
    ASSERT_TRUE(DeleteFileA((GeneratedBundles::Folder("bad1") + "\\manifest.txt").c_str()));
    CreateDirectoryA(empty.c_str(), nullptr);
    const FinishedRun mixed =
        RunToEnd("/compare folders " + GeneratedBundles::Folder("good1") + " " +
                 GeneratedBundles::Folder("good2") + " " + GeneratedBundles::Folder("bad1") + " " +
                 empty + " " + GeneratedBundles::Folder("good1") + " " +
                 GeneratedBundles::Folder("bad2") + " /report " + report);
    RemoveDirectoryA(empty.c_str());
    EXPECT_EQ(mixed.exitCode, 1u) << mixed.output;
    const std::string said[] = {
        GeneratedBundles::Folder("good2") + ": Lensora_Brenhold.logServices unreadable (",
        GeneratedBundles::Folder("bad1") + ": not a whole bundle (no manifest.txt)",
        empty + ": no log of Vorlix, left out",
        GeneratedBundles::Folder("good1") + ": the same bundle as " +
            GeneratedBundles::Folder("good1") + ", left out",
    };
    std::size_t last = 0;
    for (const std::string& note : said) {
        const std::size_t at = mixed.output.find(note);
        ASSERT_NE(at, std::string::npos) << note << "\n" << mixed.output;
        EXPECT_EQ(mixed.output.find(note, at + 1), std::string::npos) << "twice: " << note;
        EXPECT_GT(at, last) << "out of the folders' order: " << note << "\n" << mixed.output;
        last = at;
    }
    // Four bundles compared; the held log's facts are missing there, not empty values.
    const std::vector<std::vector<std::string>> rows = Table(ReadFileBytes(report));
    ASSERT_FALSE(rows.empty()) << mixed.output;
    EXPECT_EQ(rows[0].size(), 8u) << mixed.output;
}

TEST(Diagnose, ABundleGivesItsVerdictsAndTheExitCodeSaysWhetherARuleFailed) {
    const GeneratedBundles bundles;
    const std::string report = std::string(kParent) + "\\verdicts.txt";
    const struct {
        const char* bundle;
        DWORD exitCode;
        const char* firstRow;  // code and outcome of the first row
    } cases[] = {
        {"bad1", 1, "OPENCV-FILES\tfail"},
        {"good1", 0, nullptr},
    };
    for (const auto& c : cases) {
        const FinishedRun run =
            RunToEnd("/diagnose " + GeneratedBundles::Folder(c.bundle) + " /report " + report);
        EXPECT_EQ(run.exitCode, c.exitCode) << c.bundle << ": " << run.output;
        const std::vector<std::string> lines = Lines(ReadFileBytes(report));
        ASSERT_GE(lines.size(), 15u) << c.bundle;
        EXPECT_EQ(lines[0], "Code\tOutcome\tFinding\tEvidence\tWhat to do");
        if (c.firstRow != nullptr) {
            EXPECT_EQ(lines[1].substr(0, std::string(c.firstRow).size()), c.firstRow) << lines[1];
            EXPECT_NE(lines[1].find("opencv_core248.dll"), std::string::npos) << lines[1];
        }
        for (std::size_t i = 1; i < lines.size(); ++i) {
            if (c.firstRow == nullptr) {
                EXPECT_EQ(lines[i].find("\tfail\t"), std::string::npos) << lines[i];
                EXPECT_EQ(lines[i].find("\twarn\t"), std::string::npos) << lines[i];
            }
        }
    }
    // The form follows the extension: a page for people, JSON for programs, CSV for a
    // spreadsheet; any other name keeps the tab-separated text.
    const struct {
        const char* extension;
        const char* start;
    } forms[] = {
        {".html", "<!DOCTYPE html>"}, {".json", "{"}, {".csv", "\xEF\xBB\xBF"}, {".TXT", "Code\t"}};
    for (const auto& form : forms) {
        const std::string file = std::string(kParent) + "\\verdicts" + form.extension;
        const FinishedRun run =
            RunToEnd("/diagnose " + GeneratedBundles::Folder("bad1") + " /report " + file);
        EXPECT_EQ(run.exitCode, 1u) << form.extension << ": " << run.output;
        const std::string bytes = ReadFileBytes(file);
        EXPECT_EQ(bytes.substr(0, std::string(form.start).size()), form.start) << form.extension;
        EXPECT_NE(bytes.find("OPENCV-FILES"), std::string::npos) << form.extension;
        DeleteFileA(file.c_str());
    }
    // A report named as a file of the bundle is refused, and the bundle keeps its file.
    const std::string manifest = GeneratedBundles::Folder("bad1") + "\\manifest.txt";
    const std::string before = ReadFileBytes(manifest);
    const FinishedRun refused =
        RunToEnd("/diagnose " + GeneratedBundles::Folder("bad1") + " /report " + manifest);
    EXPECT_EQ(refused.exitCode, 2u) << refused.output;
    EXPECT_NE(refused.output.find("is a file of the bundle"), std::string::npos) << refused.output;
    EXPECT_EQ(ReadFileBytes(manifest), before);
    const FinishedRun none = RunToEnd(std::string("/diagnose ") + kParent + " /report " + report);
    EXPECT_EQ(none.exitCode, 2u) << none.output;
    EXPECT_NE(none.output.find("holds no log of Vorlix"), std::string::npos) << none.output;
}

// A dialog of the program that is not one of `known`, once one shows; nullptr when none does.
HWND WaitForOtherDialog(VorlixSession& session, const std::vector<HWND>& known) {
    HWND found = nullptr;
    WaitUntil(
        [&] {
            for (HWND window : session.Dialogs()) {
                if (std::find(known.begin(), known.end(), window) == known.end()) {
                    found = window;
                }
            }
            return found != nullptr;
        },
        30000);
    return found;
}

HWND WaitForMatrix(VorlixSession& session) {
    return session.WaitForDialog("Vorlix   Many bundles");
}

void Close(VorlixSession& session, HWND dialog) {
    PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    EXPECT_TRUE(session.WaitUntilClosed(dialog));
}

// Kind, fact and difference of every row the matrix shows.
std::vector<std::string> ShownRows(VorlixSession& session, HWND matrix) {
    std::vector<std::string> rows;
    for (int row = 0; row < session.RowCount(matrix); ++row) {
        rows.push_back(session.Cell(matrix, row, 0) + " " + session.Cell(matrix, row, 1) + "|" +
                       session.Cell(matrix, row, 2));
    }
    return rows;
}

// What a user sees of the matrix and what a dialog opened over it must leave alone.
struct MatrixState {
    std::vector<std::string> titles, rows;
    int focused = -1;
    std::string counts, toggle;
    bool varyingShown = false;
    bool operator==(const MatrixState& other) const {
        return titles == other.titles && rows == other.rows && focused == other.focused &&
               counts == other.counts && toggle == other.toggle &&
               varyingShown == other.varyingShown;
    }
};

MatrixState StateOf(VorlixSession& session, HWND matrix) {
    MatrixState state;
    state.titles = session.ColumnTitles(matrix);
    state.rows = ShownRows(session, matrix);
    state.focused = static_cast<int>(SendMessageA(GetDlgItem(matrix, 1000), LVM_GETNEXTITEM,
                                                  static_cast<WPARAM>(-1), LVNI_FOCUSED));
    state.counts = WindowText(GetDlgItem(matrix, 1014));
    state.toggle = WindowText(GetDlgItem(matrix, 1018));
    state.varyingShown = SendMessageA(GetDlgItem(matrix, 1018), BM_GETCHECK, 0, 0) == BST_CHECKED;
    return state;
}

// The three ways to the matrix in the window (a drop of many folders or of a folder of
// bundles, Verify -> Compare Folders... with a folder of bundles): the shared cause first,
// the noise of the good machines counted and hidden behind the switch. Over it, the two
// folders of a row's bundles, over that a log's comparison; closing them finds the matrix
// as it was.
TEST(ManyBundlesWindow, TheCauseFirstAndTheMatrixIntactUnderTheDialogsOpenedOverIt) {
    const GeneratedBundles bundles;
    VorlixSession session;
    ASSERT_TRUE(session.Started());
    const std::string good1 = GeneratedBundles::Folder("good1");
    const struct {
        std::vector<std::string> drop;
        std::size_t bundles;  // 0: no matrix, the hint
    } drops[] = {
        {{good1, GeneratedBundles::Folder("bad1"), GeneratedBundles::Folder("bad2")}, 3},
        {{kParent}, 6},
        {{good1}, 0},
    };
    for (const auto& drop : drops) {
        session.DropFiles(drop.drop);
        if (drop.bundles == 0) {
            // One bundle alone is no folder of bundles: the hint says what may be dropped.
            HWND box = WaitForOtherDialog(session, {});
            ASSERT_NE(box, nullptr);
            EXPECT_EQ(GetDlgItem(box, 1000), nullptr) << WindowText(box);
            EXPECT_NE(session.MessageBoxText(box).find("three or more folders"), std::string::npos)
                << session.MessageBoxText(box);
            PostMessageA(box, WM_COMMAND, IDOK, 0);
            EXPECT_TRUE(session.WaitUntilClosed(box));
            continue;
        }
        HWND matrix = WaitForMatrix(session);
        ASSERT_NE(matrix, nullptr) << drop.drop.size();
        EXPECT_EQ(session.ColumnTitles(matrix).size(), 4 + drop.bundles);
        Close(session, matrix);
    }

    session.Command(32779);  // Verify -> Compare Folders...
    HWND picker = WaitForOtherDialog(session, {});
    ASSERT_NE(picker, nullptr);
    session.ChooseFolder(picker, kParent);
    HWND matrix = WaitForMatrix(session);
    ASSERT_NE(matrix, nullptr) << "the folder of bundles chosen first opens their matrix";
    const std::vector<std::string> titles = session.ColumnTitles(matrix);
    ASSERT_EQ(titles.size(), 10u);
    EXPECT_EQ(titles[4], "BAD bad1 (Windows 7, 09.12.2026 10:13 00)");
    EXPECT_EQ(titles[7], "good1 (Windows 7, 09.12.2026 10:11 00)");

    // The separating rows first, the DLL's and the verdict that names it among them; no row
    // separates after a row that does not.
    const std::vector<std::string> rows = ShownRows(session, matrix);
    std::size_t separating = 0;
    while (separating < rows.size() && rows[separating].find("|separating") != std::string::npos) {
        ++separating;
    }
    const std::vector<std::string> first(rows.begin(), rows.begin() + separating);
    for (const std::string& row : {"logAnalyzeElement " + kBin + "\\opencv_core248.dll|separating",
                                   std::string("logDiagnosis OPENCV-FILES|separating")}) {
        EXPECT_NE(std::find(first.begin(), first.end(), row), first.end()) << row;
    }
    for (std::size_t i = separating; i < rows.size(); ++i) {
        EXPECT_EQ(rows[i].find("|separating"), std::string::npos) << i << ": " << rows[i];
    }
    // What varies between the two good machines is hidden and counted; the switch shows
    // that many rows more, after the others.
    for (const std::string& row : rows) {
        EXPECT_EQ(row.find("|expected to vary"), std::string::npos) << row;
    }
    const std::string toggle = WindowText(GetDlgItem(matrix, 1018));
    const std::size_t open = toggle.rfind('(');
    ASSERT_NE(open, std::string::npos) << toggle;
    const int hidden = std::atoi(toggle.c_str() + open + 1);
    EXPECT_NE(WindowText(GetDlgItem(matrix, 1014))
                  .find(std::to_string(hidden) + " expected to vary (hidden)"),
              std::string::npos)
        << WindowText(GetDlgItem(matrix, 1014));
    SendMessageA(GetDlgItem(matrix, 1018), BM_CLICK, 0, 0);
    const std::vector<std::string> all = ShownRows(session, matrix);
    ASSERT_EQ(all.size(), rows.size() + hidden);
    EXPECT_TRUE(std::equal(rows.begin(), rows.end(), all.begin()));
    for (std::size_t i = rows.size(); i < all.size(); ++i) {
        EXPECT_NE(all[i].find("|expected to vary"), std::string::npos) << all[i];
    }
    // Memory, the products and the fax service differ between the good machines.
    for (const char* row :
         {"logAnalyzeSystemData Memory|expected to vary", "logServices Fax|expected to vary",
          "logAnalyzeInstalledProgs LibreOffice 7|expected to vary"}) {
        EXPECT_NE(std::find(all.begin(), all.end(), row), all.end()) << row;
    }

    // bad2 marked good by a click on its title; then the element row of the DLL focused.
    // The click goes to the title itself, not through the screen: a window of another test
    // run in front must not take it.
    POINT title = session.ColumnTitlePoint(matrix, 5);
    const HWND header =
        reinterpret_cast<HWND>(SendMessageA(GetDlgItem(matrix, 1000), LVM_GETHEADER, 0, 0));
    ScreenToClient(header, &title);
    PostMessageA(header, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(title.x, title.y));
    PostMessageA(header, WM_LBUTTONUP, 0, MAKELPARAM(title.x, title.y));
    EXPECT_TRUE(WaitUntil([&] {
        return session.ColumnTitles(matrix)[5].compare(0, 5, "bad2 ") == 0;
    })) << session.ColumnTitles(matrix)[5];
    const int element = RowOfCell(session, matrix, 1, kBin + "\\opencv_core248.dll");
    ASSERT_GE(element, 0);
    ClickRow(session, matrix, element);
    const MatrixState before = StateOf(session, matrix);

    // Alt+F: the two folders of the row, the first holding its common value ("found": three
    // bundles hold it and three "Not found", and of those the good ones are more, good1 to
    // good3 against bad2, now marked good), the second the first bundle without it (bad1).
    SetForegroundWindow(matrix);
    PressChord({VK_MENU}, 'F');
    HWND summary = WaitForReport(session, "Log", matrix);
    ASSERT_NE(summary, nullptr);
    const std::string names = WindowText(GetDlgItem(summary, 1013));
    EXPECT_NE(names.find("First folder: " + good1), std::string::npos) << names;
    EXPECT_NE(names.find("Second folder: " + GeneratedBundles::Folder("bad1")), std::string::npos)
        << names;
    const int log = RowOfCell(session, summary, 0, "Lensora_Brenhold.logAnalyzeElement");
    ASSERT_GE(log, 0);
    ClickRow(session, summary, log);
    const int summaryRows = session.RowCount(summary);
    PressChord({}, VK_RETURN);
    HWND comparison = WaitForOtherDialog(session, {matrix, summary});
    ASSERT_NE(comparison, nullptr);
    EXPECT_GE(RowOfCell(session, comparison, 0, kBin + "\\opencv_highgui248.dll"), 0);
    Close(session, comparison);
    EXPECT_EQ(session.RowCount(summary), summaryRows);
    EXPECT_EQ(SendMessageA(GetDlgItem(summary, 1000), LVM_GETNEXTITEM, static_cast<WPARAM>(-1),
                           LVNI_FOCUSED),
              log);
    Close(session, summary);

    const MatrixState after = StateOf(session, matrix);
    EXPECT_TRUE(after == before) << "focus " << before.focused << " -> " << after.focused
                                 << ", rows " << before.rows.size() << " -> " << after.rows.size()
                                 << ", " << before.counts << " -> " << after.counts;
    // The matrix's own list still answers its copy and its switch.
    if (OpenClipboard(nullptr)) {
        EmptyClipboard();
        CloseClipboard();
    }
    SetForegroundWindow(matrix);
    PressChord({VK_CONTROL}, 'C');
    EXPECT_TRUE(WaitUntil([] { return !ClipboardText().empty(); }));
    const std::string copied = ClipboardText();
    EXPECT_EQ(copied.find("Log\tFact\tDifference\tCommon value\t"), 0u) << copied;
    EXPECT_NE(copied.find(kBin + "\\opencv_core248.dll\t"), std::string::npos) << copied;
    SendMessageA(GetDlgItem(matrix, 1018), BM_CLICK, 0, 0);
    EXPECT_LT(session.RowCount(matrix), static_cast<int>(before.rows.size()));
    Close(session, matrix);
    session.Command(105);
    EXPECT_EQ(session.ExitCode(20000), 0u);
}

// The matrix in its window, the separating rows first (the README's picture, taken by
// scripts/screenshots.sh); then the view of one bundle's verdicts opened by /diagnose.
TEST(ManyBundles, DISABLED_Screenshots) {
    const GeneratedBundles bundles;
    {
        VorlixSession session(std::string("/compare folders ") + kParent);
        ASSERT_TRUE(session.Started());
        HWND matrix = session.WaitForDialog("Vorlix   Many bundles");
        ASSERT_NE(matrix, nullptr);
        EXPECT_EQ(session.ColumnTitles(matrix).size(), 10u);
        EXPECT_EQ(session.Cell(matrix, 0, 2), "separating");
        TakeScreenshot("many-bundles");
        PostMessageA(matrix, WM_COMMAND, IDCANCEL, 0);
        session.WaitUntilClosed(matrix);
        session.Command(105);
        session.ExitCode(10000);
    }
    VorlixSession session("/diagnose " + GeneratedBundles::Folder("bad1"));
    ASSERT_TRUE(session.Started());
    HWND diagnosis = session.WaitForDialog("Vorlix   Diagnosis");
    ASSERT_NE(diagnosis, nullptr);
    EXPECT_EQ(session.Cell(diagnosis, 0, 0), "OPENCV-FILES");
    EXPECT_EQ(session.Cell(diagnosis, 0, 1), "fail");
    PostMessageA(diagnosis, WM_COMMAND, IDCANCEL, 0);
    session.WaitUntilClosed(diagnosis);
    session.Command(105);
    session.ExitCode(10000);
}

}  // namespace
