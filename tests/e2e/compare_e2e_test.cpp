// End-to-end: comparing logs as they arrive after travelling, two collected
// folders at once, and finding the differences in a comparison.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <string>
#include <vector>

#include "tests/e2e/machine_state.h"
#include "tests/e2e/vorlix_session.h"

namespace {

// A product whose name holds an umlaut, for the products log; the keys it
// made go again.
class ProductWithUmlaut {
public:
    ProductWithUmlaut() : key_(HKEY_LOCAL_MACHINE, kProduct) {
        HKEY key = nullptr;
        if (key_.Valid() &&
            RegOpenKeyExA(HKEY_LOCAL_MACHINE, kProduct, 0, KEY_SET_VALUE, &key) == ERROR_SUCCESS) {
            const char name[] = "Sprachpaket f\xFCr Deutsch";
            created_ =
                RegSetValueExA(key, "ProductName", 0, REG_SZ, reinterpret_cast<const BYTE*>(name),
                               sizeof name) == ERROR_SUCCESS;
            RegCloseKey(key);
        }
    }
    bool Created() const { return created_; }

private:
    static constexpr const char* kProduct =
        "SOFTWARE\\Classes\\Installer\\Products\\00VORLIXE2ETRAVEL00000000000000";
    TemporaryKey key_;
    bool created_ = false;
};

// The collect runs of a test leave no messages log in C:\ behind, where a
// later test would take it for one of its own run.
struct MessagesLogRemoved {
    ~MessagesLogRemoved() { DeleteFileA("C:\\Lensora_Brenhold.logMessages"); }
};

std::vector<std::string> Split(const std::string& text, const std::string& separator) {
    std::vector<std::string> parts;
    size_t start = 0;
    for (size_t end = text.find(separator); end != std::string::npos;
         end = text.find(separator, start)) {
        parts.push_back(text.substr(start, end - start));
        start = end + separator.size();
    }
    parts.push_back(text.substr(start));
    return parts;
}

// The summary lines of a folder report, by log name: its tab-separated cells.
// Each bundle's failed rules may come first; the summary begins with its titles.
std::vector<std::vector<std::string>> SummaryLines(const std::string& report) {
    std::vector<std::vector<std::string>> lines;
    for (const std::string& line : Split(report, "\r\n")) {
        if (lines.empty() && line.compare(0, 9, "Log\tKind\t") != 0) {
            continue;
        }
        if (line.empty()) {
            break;  // the rows of each log follow after an empty line
        }
        lines.push_back(Split(line, "\t"));
    }
    return lines;
}

// The ways a log travels, each turning the bytes of a whole log.
std::string LfOnly(const std::string& log) {
    std::string copy;
    for (char c : log) {
        if (c != '\r') {
            copy += c;
        }
    }
    return copy;
}

std::string Trimmed(const std::string& log) {
    std::string copy;
    for (char c : log) {
        if (c == '\r') {
            while (!copy.empty() && copy.back() == ' ') {
                copy.pop_back();
            }
        }
        copy += c;
    }
    return copy;
}

// Windows-1252 to UTF-8 for the characters a log of this machine holds
// beyond ASCII: the umlaut of the product's name.
std::string AsUtf8(const std::string& log) {
    std::string copy;
    for (char c : log) {
        if (c == '\xFC') {
            copy += "\xC3\xBC";
        } else {
            copy += c;
        }
    }
    return copy;
}

std::string WithDosEnd(const std::string& log) {
    return log + "\x1A";
}

TEST(TravelledLogs, EveryLogOfACollectComparesCleanlyWithItsTravelledCopies) {
    const MessagesLogRemoved messagesLogRemoved;
    const PluginFolder plugin("plugin_all_entry_points.dll");
    ASSERT_TRUE(plugin.Copied());
    const ProductWithUmlaut product;
    ASSERT_TRUE(product.Created());
    const TemporaryFolder original("C:\\vorlix_e2e_travel_original");
    RunToEnd("/collect " + original.Path());
    ASSERT_NE(ReadFileBytes(original / "Lensora_Brenhold.logAnalyzeInstalledProgs")
                  .find("Sprachpaket f\xFC"
                        "r Deutsch"),
              std::string::npos)
        << "the products log holds the name of the product";

    const struct {
        const char* name;
        std::function<std::string(const std::string&)> travel;
        const char* note;  // what every log's reading must say
    } ways[] = {
        {"lf", LfOnly, "second: LF line ends"},
        {"trimmed", Trimmed, ""},
        {"utf8", AsUtf8, ""},
        {"dosend", WithDosEnd, "second: end byte 0x1A"},
    };
    for (const auto& way : ways) {
        const TemporaryFolder copy(std::string("C:\\vorlix_e2e_travel_") + way.name);
        for (const std::string& name : original.Files()) {
            WriteFileBytes(copy / name, way.travel(ReadFileBytes(original / name)));
        }
        const std::string report = copy / "report.txt";
        const FinishedRun run = RunToEnd("/compare folders " + original.Path() + " " + copy.Path() +
                                         " /report " + report);
        EXPECT_EQ(run.exitCode, 0u) << way.name << ": " << run.output;
        const auto lines = SummaryLines(ReadFileBytes(report));
        ASSERT_GE(lines.size(), 9u) << way.name;
        for (size_t i = 1; i < lines.size(); ++i) {
            ASSERT_EQ(lines[i].size(), 7u) << way.name;
            EXPECT_EQ(lines[i][3], "0") << way.name << " " << lines[i][0];
            EXPECT_NE(lines[i][6].find(way.note), std::string::npos)
                << way.name << " " << lines[i][0] << ": " << lines[i][6];
        }
    }
    // The UTF-8 copy of the products log is read as the name it was.
    const std::string products = "Lensora_Brenhold.logAnalyzeInstalledProgs";
    const TemporaryFolder utf8("C:\\vorlix_e2e_travel_utf8");
    WriteFileBytes(utf8 / products, AsUtf8(ReadFileBytes(original / products)));
    const FinishedRun run = RunToEnd("/compare analysis " + (original / products) + " " +
                                     (utf8 / products) + " /report " + (utf8 / "r.txt"));
    EXPECT_EQ(run.exitCode, 0u) << run.output;
    EXPECT_NE(run.output.find(utf8 / products + ": UTF-8"), std::string::npos) << run.output;

    // Cut inside its last record, as by a broken download: that record differs
    // and the summary says why.
    const TemporaryFolder cut("C:\\vorlix_e2e_travel_cut");
    const std::string services = ReadFileBytes(original / "Lensora_Brenhold.logServices");
    WriteFileBytes(cut / "Lensora_Brenhold.logServices", services.substr(0, services.size() - 9));
    const FinishedRun cutRun = RunToEnd("/compare folders " + original.Path() + " " + cut.Path() +
                                        " /report " + (cut / "r.txt"));
    EXPECT_EQ(cutRun.exitCode, 1u);
    for (const auto& line : SummaryLines(ReadFileBytes(cut / "r.txt"))) {
        if (line[0] == "Lensora_Brenhold.logServices") {
            EXPECT_EQ(line[3], "1");
            EXPECT_NE(line[6].find("second: ends inside a record"), std::string::npos) << line[6];
        }
    }
}

}  // namespace

namespace {

void PressKey(BYTE key, std::vector<BYTE> modifiers = {}) {
    PressChord(modifiers, key);
}

TEST(FolderComparison, APluginInstalledForOneCollectAndRemovedForTheOther) {
    const MessagesLogRemoved messagesLogRemoved;
    const TemporaryFolder good("C:\\vorlix_e2e_good");
    const TemporaryFolder bad("C:\\vorlix_e2e_bad");
    {
        const PluginFolder plugin("plugin_all_entry_points.dll");
        ASSERT_TRUE(plugin.Copied());
        RunToEnd("/collect " + good.Path());
    }
    RunToEnd("/collect " + bad.Path());

    const std::string report = "C:\\vorlix_e2e_folders.txt";
    FinishedRun run =
        RunToEnd("/compare folders " + good.Path() + " " + bad.Path() + " /report " + report);
    EXPECT_EQ(run.exitCode, 1u) << run.output;
    const std::string text = ReadFileBytes(report);
    DeleteFileA(report.c_str());
    // What is wrong first: the bundle without the plug-in has its failed rules named.
    EXPECT_EQ(text.compare(0, 23, "Rules that fail in the "), 0) << text.substr(0, 200);
    EXPECT_NE(text.find("\r\nPLUGIN-FILE\t"), std::string::npos) << text.substr(0, 400);
    EXPECT_LT(text.find("\r\nPLUGIN-FILE\t"), text.find("Log\tKind\t"));
    EXPECT_NE(run.output.find(" rule"), std::string::npos) << run.output;
    const auto lines = SummaryLines(text);
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines[0], (std::vector<std::string>{"Log", "Kind", "Rows", "Different",
                                                  "Only in first", "Only in second", "Notes"}));
    bool sawExports = false, sawElements = false, sawMessages = false;
    for (const auto& line : lines) {
        if (line[0] == "Lensora_Brenhold.logDlls") {
            // 21 entry points found on the good machine, a load failure on the other.
            sawExports = true;
            EXPECT_EQ(line, (std::vector<std::string>{"Lensora_Brenhold.logDlls", "exports", "21",
                                                      "21", "21", "0", ""}));
        } else if (line[0] == "Lensora_Brenhold.logAnalyzeElement") {
            sawElements = true;
            EXPECT_EQ(line[3], "1");  // the plug-in DLL: found, then not
            EXPECT_EQ(line[4], "0");
            EXPECT_EQ(line[5], "0");
        } else if (line[0] == "Lensora_Brenhold.logMessages") {
            sawMessages = true;
            EXPECT_EQ(line[1], "messages");
            EXPECT_NE(line[6].find(" in the first, "), std::string::npos) << line[6];
        }
    }
    EXPECT_TRUE(sawExports && sawElements && sawMessages) << text;
    // Under the log's own name: its differing rows, as a comparison shows them.
    const size_t exports = text.find("\r\nLensora_Brenhold.logDlls\r\n");
    ASSERT_NE(exports, std::string::npos) << text;
    EXPECT_NE(text.find("\r\nConfig\t\t\tfound\t\tDifferent\r\n", exports), std::string::npos);

    run = RunToEnd("/compare folders " + good.Path() + " " + good.Path() + " /report " + report);
    EXPECT_EQ(run.exitCode, 0u) << run.output;
    run = RunToEnd("/compare folders " + good.Path() + " C:\\vorlix_e2e_none /report " + report);
    EXPECT_EQ(run.exitCode, 2u) << run.output;
    EXPECT_NE(run.output.find("C:\\vorlix_e2e_none"), std::string::npos) << run.output;
    // Logs of another kind than the one asked for are refused, naming both.
    run = RunToEnd("/compare services " + (good / "Lensora_Brenhold.logDlls") + " " +
                   (bad / "Lensora_Brenhold.logDlls") + " /report " + report);
    EXPECT_EQ(run.exitCode, 2u);
    EXPECT_NE(run.output.find((good / "Lensora_Brenhold.logDlls") + " (an export log) and " +
                              (bad / "Lensora_Brenhold.logDlls") + " (an export log)"),
              std::string::npos)
        << run.output;
    DeleteFileA(report.c_str());

    // The summary in a window: Enter on a row opens that log's comparison,
    // closing it returns to the summary.
    VorlixSession session("/compare folders " + good.Path() + " " + bad.Path());
    ASSERT_TRUE(session.Started());
    HWND summary = WaitForReport(session, "Log");
    ASSERT_NE(summary, nullptr);
    EXPECT_EQ(session.RowCount(summary), static_cast<int>(lines.size()) - 1);
    const int exportsRow = RowOfCell(session, summary, 0, "Lensora_Brenhold.logDlls");
    ASSERT_GE(exportsRow, 0);
    ClickRow(session, summary, exportsRow);
    PressKey(VK_RETURN);
    HWND comparison = WaitForReport(session, "Name", summary);
    ASSERT_NE(comparison, nullptr);
    EXPECT_EQ(session.RowCount(comparison), 21);
    EXPECT_EQ(session.Cell(comparison, 0, 3), "found");
    EXPECT_EQ(session.Cell(comparison, 0, 5), "Different");
    PostMessageA(comparison, WM_COMMAND, IDCANCEL, 0);
    EXPECT_TRUE(session.WaitUntilClosed(comparison));
    EXPECT_TRUE(IsWindowVisible(summary));
    PostMessageA(summary, WM_COMMAND, IDCANCEL, 0);
    EXPECT_TRUE(session.WaitUntilClosed(summary));
    // Two folders dropped together give the same summary.
    session.DropFiles({good.Path(), bad.Path()});
    summary = WaitForReport(session, "Log");
    ASSERT_NE(summary, nullptr);
    EXPECT_EQ(session.Cell(summary, exportsRow, 0), "Lensora_Brenhold.logDlls");
    PostMessageA(summary, WM_COMMAND, IDCANCEL, 0);
    EXPECT_TRUE(session.WaitUntilClosed(summary));
    session.Command(105);
    EXPECT_EQ(session.ExitCode(20000), 0u);
}

}  // namespace

namespace {

std::string Pad(const std::string& text, size_t width) {
    return text + std::string(width - text.size(), ' ');
}

std::string ServiceLine(const std::string& name, const char* state) {
    return Pad("Display of " + name, 90) + Pad(name, 60) + Pad("Win32_OWN_PROCESS", 25) + state +
           "\r\n";
}

int SelectedRow(HWND dialog, UINT which = LVNI_SELECTED) {
    return static_cast<int>(
        SendMessageA(GetDlgItem(dialog, 1000), LVM_GETNEXTITEM, static_cast<WPARAM>(-1), which));
}

// Presses the keys and waits until the selection (or the focus) moves to the row.
bool PressUntilSelected(HWND dialog, BYTE key, std::vector<BYTE> modifiers, int row,
                        UINT which = LVNI_SELECTED) {
    SetForegroundWindow(dialog);
    PressKey(key, modifiers);
    for (int wait = 0; wait < 80 && SelectedRow(dialog, which) != row; ++wait) {
        Sleep(25);
    }
    return SelectedRow(dialog, which) == row;
}

std::string ClipboardAfter(HWND dialog, BYTE key, std::vector<BYTE> modifiers) {
    if (OpenClipboard(nullptr)) {
        EmptyClipboard();
        CloseClipboard();
    }
    SetForegroundWindow(dialog);
    PressKey(key, modifiers);
    for (int wait = 0; wait < 80; ++wait) {
        const std::string text = ClipboardText();
        if (!text.empty()) {
            return text;
        }
        Sleep(25);
    }
    return std::string();
}

TEST(CompareView, CountsDifferencesOnlyAndTheKeysOfFileComparers) {
    // 30 services; in the second log the 4th is missing, the 18th stopped and
    // a 31st added.
    std::string first = "08.12.2026 10:00 00\r\n", second = first;
    for (int i = 0; i < 30; ++i) {
        const std::string name = "Svc" + std::to_string(100 + i);
        first += ServiceLine(name, "Service Running");
        if (i != 3) {
            second += ServiceLine(name, i == 17 ? "Service Stopped" : "Service Running");
        }
    }
    second += ServiceLine("Svc999", "Service Running");
    const TemporaryFolder folder("C:\\vorlix_e2e_view");
    WriteFileBytes(folder / "a.logServices", first);
    WriteFileBytes(folder / "b.logServices", second);
    VorlixSession session("/compare services " + (folder / "a.logServices") + " " +
                          (folder / "b.logServices"));
    ASSERT_TRUE(session.Started());
    HWND view = WaitForReport(session, "Name");
    ASSERT_NE(view, nullptr);
    ASSERT_EQ(session.RowCount(view), 31);
    EXPECT_EQ(WindowText(GetDlgItem(view, 1013)),
              "First log: " + (folder / "a.logServices") +
                  "    Second log: " + (folder / "b.logServices"));
    EXPECT_EQ(WindowText(GetDlgItem(view, 1014)),
              "31 rows, 3 Different: 1 only in the first log, 1 only in the second log, 1 with "
              "other values");

    // Right after opening, with the focus on "OK": Ctrl+C copies every row.
    const std::string all = ClipboardAfter(view, 'C', {VK_CONTROL});
    EXPECT_EQ(std::count(all.begin(), all.end(), '\n'), 32) << all;

    // Alt+Down from the top, Alt+Up back, Alt+End and Alt+Home.
    EXPECT_TRUE(PressUntilSelected(view, VK_DOWN, {VK_MENU}, 3));
    EXPECT_TRUE(PressUntilSelected(view, VK_DOWN, {VK_MENU}, 17));
    EXPECT_TRUE(PressUntilSelected(view, VK_UP, {VK_MENU}, 3));
    EXPECT_TRUE(PressUntilSelected(view, VK_END, {VK_MENU}, 30));
    EXPECT_TRUE(PressUntilSelected(view, VK_HOME, {VK_MENU}, 3));

    // Differences only: three rows, the selection stays on its row; Ctrl+C
    // copies what is shown.
    PostMessageA(GetDlgItem(view, 1015), BM_CLICK, 0, 0);
    for (int wait = 0; wait < 80 && session.RowCount(view) != 3; ++wait) {
        Sleep(25);
    }
    ASSERT_EQ(session.RowCount(view), 3);
    EXPECT_EQ(session.Cell(view, 1, 1), "Svc117");
    EXPECT_EQ(SelectedRow(view), 0);
    EXPECT_NE(WindowText(GetDlgItem(view, 1014)).find("; Differences only: 28 rows hidden"),
              std::string::npos);
    PressKey('A', {VK_CONTROL});
    const std::string shown = ClipboardAfter(view, 'C', {VK_CONTROL});
    EXPECT_EQ(std::count(shown.begin(), shown.end(), '\n'), 4) << shown;
    PostMessageA(GetDlgItem(view, 1015), BM_CLICK, 0, 0);
    for (int wait = 0; wait < 80 && session.RowCount(view) != 31; ++wait) {
        Sleep(25);
    }
    EXPECT_EQ(session.RowCount(view), 31);

    // F3 is "Next": after a search that shows its first hit (row 20), it shows
    // the following ones, which take the focus.
    SetDlgItemTextA(view, 1004, "Svc12?");
    PostMessageA(view, WM_COMMAND, MAKEWPARAM(1005, BN_CLICKED), 0);
    for (int wait = 0; wait < 80 && SelectedRow(view, LVNI_FOCUSED) != 20; ++wait) {
        Sleep(25);
    }
    EXPECT_EQ(SelectedRow(view, LVNI_FOCUSED), 20);
    EXPECT_TRUE(PressUntilSelected(view, VK_F3, {}, 21, LVNI_FOCUSED));
    EXPECT_TRUE(PressUntilSelected(view, VK_F3, {}, 22, LVNI_FOCUSED));

    PostMessageA(view, WM_COMMAND, IDCANCEL, 0);
    EXPECT_TRUE(session.WaitUntilClosed(view));
    session.Command(105);
    EXPECT_EQ(session.ExitCode(20000), 0u);
}

}  // namespace

namespace {

// The README's picture of two collected folders compared (scripts/screenshots.sh).
TEST(FolderComparison, DISABLED_Screenshots) {
    const MessagesLogRemoved messagesLogRemoved;
    const TemporaryFolder good("C:\\logs of the good machine");
    const TemporaryFolder bad("C:\\logs of the customer");
    {
        const PluginFolder plugin("plugin_all_entry_points.dll");
        RunToEnd("/collect \"" + good.Path() + "\"");
    }
    RunToEnd("/collect \"" + bad.Path() + "\"");
    VorlixSession session("/compare folders \"" + good.Path() + "\" \"" + bad.Path() + "\"");
    ASSERT_TRUE(session.Started());
    HWND summary = WaitForReport(session, "Log");
    ASSERT_NE(summary, nullptr);
    ClickRow(session, summary, RowOfCell(session, summary, 0, "Lensora_Brenhold.logDlls"));
    TakeScreenshot("compare-folders");
    PostMessageA(summary, WM_COMMAND, IDCANCEL, 0);
    session.WaitUntilClosed(summary);
    session.Command(105);
    session.ExitCode(10000);
}

}  // namespace

namespace {

// As soon as a report opens (the focus on "OK"), Ctrl+C copies its rows.
TEST(CopyAtOnce, TheTestReportsCopyAsSoonAsTheyOpen) {
    const PluginFolder plugin("plugin_all_entry_points.dll");
    ASSERT_TRUE(plugin.Copied());
    VorlixSession session;
    ASSERT_TRUE(session.Started());
    const struct {
        int command;
        const char* firstTitle;
        const char* titles;
    } reports[] = {
        {32773, "Name", "Name\tValue\tService Type\tCurrent State 1\tCurrent State 2\tResult\r\n"},
        {32772, "Name Fct Call", "Name Fct Call\tResult\r\n"},
    };
    for (const auto& report : reports) {
        session.Command(report.command);
        HWND dialog = WaitForReport(session, report.firstTitle);
        ASSERT_NE(dialog, nullptr) << report.command;
        const std::string copied = ClipboardAfter(dialog, 'C', {VK_CONTROL});
        EXPECT_EQ(copied.substr(0, std::string(report.titles).size()), report.titles)
            << report.command;
        EXPECT_GT(std::count(copied.begin(), copied.end(), '\n'), 2) << report.command;
        PostMessageA(dialog, WM_COMMAND, 1010, 0);
        EXPECT_TRUE(session.WaitUntilClosed(dialog));
    }
    session.Command(105);
    EXPECT_EQ(session.ExitCode(20000), 0u);
}

}  // namespace
