// End-to-end: the real vorlix.exe, driven from another process.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "tests/e2e/machine_state.h"
#include "tests/e2e/vorlix_session.h"

namespace {

const char kOpenTitle[] =
    "Datei zum \xD6"
    "ffnen ausw\xE4hlen";
const char kAboutTitle[] =
    "Info \xFC"
    "ber Vorlix";

// Presses Alt with the key (and Shift where the character needs it) with the
// program's main window in front.
void PressAltWith(HWND window, BYTE key, bool shift) {
    ASSERT_TRUE(BringToFront(window));
    PressChord(shift ? std::vector<BYTE>{VK_MENU, VK_SHIFT} : std::vector<BYTE>{VK_MENU}, key);
}

// Clicks at the point until the condition holds (a click that only brings
// the window to the front is repeated), at most a few times.
bool ClickUntil(HWND window, POINT point, const std::function<bool()>& done) {
    for (int attempt = 0; attempt < 5; ++attempt) {
        BringToFront(window);
        SetCursorPos(point.x, point.y);
        mouse_event(MOUSEEVENTF_LEFTDOWN, 0, 0, 0, 0);
        mouse_event(MOUSEEVENTF_LEFTUP, 0, 0, 0, 0);
        if (WaitUntil(done, 1000)) {
            return true;
        }
    }
    return false;
}

struct SeenBox {
    std::string caption;
    std::string text;
};

bool IsReportDialog(HWND window) {
    return WindowText(window) == "Vorlix" && GetDlgItem(window, 1000) != nullptr;
}

// Answers every message box with OK until the report dialog shows; returns it.
HWND AnswerBoxesUntilReport(VorlixSession& session, std::vector<SeenBox>& boxes,
                            DWORD timeoutMs = 60000) {
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < timeoutMs) {
        for (HWND window : session.Dialogs()) {
            if (IsReportDialog(window)) {
                return window;
            }
            const std::string caption = WindowText(window);
            if (caption == kOpenTitle || caption == kAboutTitle) {
                continue;
            }
            boxes.push_back({caption, session.MessageBoxText(window)});
            PostMessageA(window, WM_COMMAND, IDOK, 0);
            session.WaitUntilClosed(window, 5000);
        }
        Sleep(10);
    }
    return nullptr;
}

std::vector<std::vector<std::string>> Rows(VorlixSession& session, HWND dialog, int columns) {
    std::vector<std::vector<std::string>> rows;
    for (int row = 0; row < session.RowCount(dialog); ++row) {
        std::vector<std::string> cells;
        for (int column = 0; column < columns; ++column) {
            cells.push_back(session.Cell(dialog, row, column));
        }
        rows.push_back(cells);
    }
    return rows;
}

// Chooses the two logs in the file dialogs of a comparison command and
// returns the comparison's report dialog.
HWND CompareLogs(VorlixSession& session, int command, const std::string& first,
                 const std::string& second, std::vector<SeenBox>& boxes) {
    session.Command(command);
    for (const std::string& path : {first, second}) {
        HWND chooser = session.WaitForDialog(kOpenTitle);
        if (chooser == nullptr) {
            return nullptr;
        }
        session.ChooseFile(chooser, path);
        session.WaitUntilClosed(chooser);
    }
    return AnswerBoxesUntilReport(session, boxes);
}

void CloseReport(VorlixSession& session, HWND dialog) {
    PostMessageA(dialog, WM_COMMAND, 1010, 0);
    EXPECT_TRUE(session.WaitUntilClosed(dialog));
}

TEST(EndToEnd, StartsWithItsMenuAndEndsWithBeenden) {
    VorlixSession session;
    ASSERT_TRUE(session.Started());
    EXPECT_EQ(WindowText(session.MainWindow()), "Vorlix");
    HMENU menu = GetMenu(session.MainWindow());
    ASSERT_NE(menu, nullptr);
    // Wine keeps menus per process, so another process cannot read them;
    // on Windows it can. (The menu's items are checked in the Wine tests.)
    if (!RunningUnderWine()) {
        EXPECT_EQ(GetMenuItemCount(menu), 4);
    }
    session.Command(105);
    EXPECT_EQ(session.ExitCode(20000), 0u);
}

TEST(EndToEnd, AboutBoxOpensFromTheMenuAndWithAltQuestionMark) {
    VorlixSession session;
    ASSERT_TRUE(session.Started());
    session.Command(104);
    HWND about = session.WaitForDialog(kAboutTitle);
    ASSERT_NE(about, nullptr);
    EXPECT_EQ(WindowText(GetDlgItem(about, 1002)), "Version V1.05");
    EXPECT_FALSE(WindowText(GetDlgItem(about, 1001)).empty());
    PostMessageA(about, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(session.WaitUntilClosed(about));

    // "?" is Shift + "/" on the keyboard layout of the test machine.
    for (bool shift : {true, false}) {
        PressAltWith(session.MainWindow(), VK_OEM_2, shift);
        about = session.WaitForDialog(kAboutTitle, 5000);
        ASSERT_NE(about, nullptr) << (shift ? "Alt+?" : "Alt+/");
        PostMessageA(about, WM_COMMAND, IDCANCEL, 0);
        ASSERT_TRUE(session.WaitUntilClosed(about));
    }
    PostMessageA(session.MainWindow(), WM_CLOSE, 0, 0);
    EXPECT_EQ(session.ExitCode(20000), 0u);
}

TEST(EndToEnd, AcceleratorsDoNothingWhileAReportIsOpen) {
    VorlixSession session;
    ASSERT_TRUE(session.Started());
    session.Command(32773);
    std::vector<SeenBox> boxes;
    HWND report = AnswerBoxesUntilReport(session, boxes);
    ASSERT_NE(report, nullptr);
    // The list has the focus, so that Ctrl+A below selects its rows.
    ASSERT_TRUE(ClickUntil(report, session.RowPoint(report, 0),
                           [&] { return session.SelectedCount(report) == 1; }));
    PressAltWith(report, VK_OEM_2, true);
    // Keys are handled in the order pressed: once Ctrl+A has selected every row, Alt+?
    // has been handled before it (an About box would have taken the keys).
    PressChord({VK_CONTROL}, 'A');
    EXPECT_TRUE(
        WaitUntil([&] { return session.SelectedCount(report) == session.RowCount(report); }));
    ASSERT_TRUE(session.WaitUntilIdle());
    for (HWND dialog : session.Dialogs(true)) {
        EXPECT_NE(WindowText(dialog), kAboutTitle);
    }
    CloseReport(session, report);
    session.Command(105);
    EXPECT_EQ(session.ExitCode(20000), 0u);
}

TEST(EndToEnd, ListServicesThenCompareTheLogWithACopy) {
    VorlixSession session;
    ASSERT_TRUE(session.Started());
    session.Command(32773);
    std::vector<SeenBox> boxes;
    HWND report = AnswerBoxesUntilReport(session, boxes);
    ASSERT_NE(report, nullptr);
    EXPECT_EQ(session.ColumnTitles(report),
              (std::vector<std::string>{"Name", "Value", "Service Type", "Current State 1",
                                        "Current State 2", "Result"}));
    const auto services = Rows(session, report, 6);
    CloseReport(session, report);

    const std::string log = ReadFileBytes("C:\\Lensora_Brenhold.logServices");
    ASSERT_FALSE(log.empty());
    WriteFileBytes("C:\\vorlix_e2e_copy.logServices", log);

    report = CompareLogs(session, 32774, "C:\\Lensora_Brenhold.logServices",
                         "C:\\vorlix_e2e_copy.logServices", boxes);
    ASSERT_NE(report, nullptr);
    const auto compared = Rows(session, report, 6);
    ASSERT_EQ(compared.size(), services.size());
    for (size_t i = 0; i < compared.size(); ++i) {
        EXPECT_EQ(compared[i][0], services[i][0]);
        EXPECT_EQ(compared[i][1], services[i][1]);
        EXPECT_EQ(compared[i][3], services[i][3]);
        EXPECT_EQ(compared[i][4], services[i][3]);
        EXPECT_EQ(compared[i][5], "");
    }
    PostMessageA(report, WM_COMMAND, IDCANCEL, 0);
    EXPECT_TRUE(session.WaitUntilClosed(report));
    session.Command(105);
    EXPECT_EQ(session.ExitCode(20000), 0u);
    DeleteFileA("C:\\vorlix_e2e_copy.logServices");
}

TEST(EndToEnd, TheMainWindowStaysDisabledAfterABoxUnderAnOpenReport) {
    // Without a PATH the analysis shows "Path Variable empty!", owned by the
    // main window, while its report is open.
    char path[32767];
    const DWORD length = GetEnvironmentVariableA("PATH", path, sizeof path);
    ASSERT_GT(length, 0u);
    ASSERT_LT(length, sizeof path);
    SetEnvironmentVariableA("PATH", nullptr);
    VorlixSession session;
    SetEnvironmentVariableA("PATH", path);
    ASSERT_TRUE(session.Started());
    session.Command(32771);
    std::vector<SeenBox> boxes;
    HWND report = AnswerBoxesUntilReport(session, boxes);
    ASSERT_NE(report, nullptr);
    bool sawPathBox = false;
    for (const SeenBox& box : boxes) {
        sawPathBox = sawPathBox || box.text == "Path Variable empty!";
    }
    EXPECT_TRUE(sawPathBox);
    // The menu cannot be reached while the report is open, box or no box.
    ASSERT_TRUE(session.WaitUntilIdle());
    EXPECT_FALSE(IsWindowEnabled(session.MainWindow()));
    CloseReport(session, report);
    EXPECT_TRUE(IsWindowEnabled(session.MainWindow()));
    session.Command(105);
    EXPECT_EQ(session.ExitCode(20000), 0u);
}

int CountDifferent(const std::vector<std::vector<std::string>>& rows) {
    int different = 0;
    for (const auto& row : rows) {
        different += row[5] == "Different";
    }
    return different;
}

TEST(EndToEnd, AnalyzeThenCompareTheSystemDataLogWithAnAlteredCopy) {
    VorlixSession session;
    ASSERT_TRUE(session.Started());
    session.Command(32771);
    std::vector<SeenBox> boxes;
    HWND report = AnswerBoxesUntilReport(session, boxes);
    ASSERT_NE(report, nullptr);
    EXPECT_EQ(session.Cell(report, 1, 0), "Memory (RAM)");
    CloseReport(session, report);

    const std::string log = ReadFileBytes("C:\\Lensora_Brenhold.logAnalyzeSystemData");
    const size_t memory = log.find(" MB\r\n");
    ASSERT_NE(memory, std::string::npos);
    std::string other = log;
    other.insert(memory, "0");  // ten times the memory on the other machine
    WriteFileBytes("C:\\vorlix_e2e_other.logAnalyzeSystemData", other);

    report = CompareLogs(session, 32775, "C:\\Lensora_Brenhold.logAnalyzeSystemData",
                         "C:\\vorlix_e2e_other.logAnalyzeSystemData", boxes);
    ASSERT_NE(report, nullptr);
    const auto rows = Rows(session, report, 6);
    ASSERT_GT(rows.size(), 20u);
    EXPECT_EQ(rows[0][0], "Memory (RAM)");
    EXPECT_EQ(rows[0][5], "Different");
    EXPECT_EQ(CountDifferent(rows), 1);
    PostMessageA(report, WM_COMMAND, IDCANCEL, 0);
    EXPECT_TRUE(session.WaitUntilClosed(report));
    session.Command(105);
    EXPECT_EQ(session.ExitCode(20000), 0u);
    DeleteFileA("C:\\vorlix_e2e_other.logAnalyzeSystemData");
}

TEST(EndToEnd, CheckDllFctCallsThenCompareTheExportLogs) {
    const PluginFolder plugin("plugin_some_entry_points.dll");
    ASSERT_TRUE(plugin.Copied());
    const char* const altered = "C:\\vorlix_e2e_other.logDlls";
    struct RemoveAltered {
        const char* path;
        ~RemoveAltered() { DeleteFileA(path); }
    } removeAltered{altered};

    VorlixSession session;
    ASSERT_TRUE(session.Started());
    session.Command(32772);
    std::vector<SeenBox> boxes;
    HWND report = AnswerBoxesUntilReport(session, boxes);
    ASSERT_NE(report, nullptr);
    EXPECT_TRUE(boxes.empty());
    ASSERT_EQ(session.RowCount(report), 21);
    EXPECT_EQ(session.Cell(report, 0, 0), "Config");
    EXPECT_EQ(session.Cell(report, 20, 0), "Update");
    CloseReport(session, report);

    std::string log = ReadFileBytes("C:\\Lensora_Brenhold.logDlls");
    const size_t found = log.find("found\r\n");
    ASSERT_NE(found, std::string::npos);
    log.replace(found, 5, "Not found");
    WriteFileBytes(altered, log);
    report = CompareLogs(session, 32776, "C:\\Lensora_Brenhold.logDlls", altered, boxes);
    ASSERT_NE(report, nullptr);
    const auto rows = Rows(session, report, 6);
    EXPECT_EQ(rows.size(), 21u);
    EXPECT_EQ(CountDifferent(rows), 1);
    PostMessageA(report, WM_COMMAND, IDCANCEL, 0);
    EXPECT_TRUE(session.WaitUntilClosed(report));
    session.Command(105);
    EXPECT_EQ(session.ExitCode(20000), 0u);
}

TEST(EndToEnd, EveryTestCommandOpensItsReport) {
    VorlixSession session;
    ASSERT_TRUE(session.Started());
    const struct {
        int command;
        size_t columns;
    } commands[] = {{32771, 3}, {32772, 2}, {32773, 6}};
    for (const auto& c : commands) {
        session.Command(c.command);
        std::vector<SeenBox> boxes;
        HWND report = AnswerBoxesUntilReport(session, boxes);
        ASSERT_NE(report, nullptr) << c.command;
        const std::vector<std::string> titles = session.ColumnTitles(report);
        // A command that failed before laying out its list has told why.
        EXPECT_TRUE(titles.size() == c.columns || !boxes.empty()) << c.command;
        CloseReport(session, report);
    }
    session.Command(105);
    EXPECT_EQ(session.ExitCode(20000), 0u);
}

TEST(EndToEnd, CancellingTheFileChoiceOpensNoComparison) {
    VorlixSession session;
    ASSERT_TRUE(session.Started());
    for (int command : {32775, 32776, 32774}) {
        session.Command(command);
        HWND chooser = session.WaitForDialog(kOpenTitle);
        ASSERT_NE(chooser, nullptr) << command;
        PostMessageA(chooser, WM_COMMAND, IDCANCEL, 0);
        ASSERT_TRUE(session.WaitUntilClosed(chooser));
        ASSERT_TRUE(session.WaitUntilIdle());
        EXPECT_TRUE(session.Dialogs(true).empty()) << command;
    }
    session.Command(105);
    EXPECT_EQ(session.ExitCode(20000), 0u);
}

// ---- The support workflow: collect, copy, open a comparison directly ----

// A log without its first line, the timestamp of the run that wrote it.
std::string AfterTimestamp(const std::string& log) {
    const size_t end = log.find("\r\n");
    return end == std::string::npos ? std::string() : log.substr(end + 2);
}

bool IsTimestampLine(const std::string& log) {
    const std::string line = log.substr(0, log.find("\r\n"));
    return line.size() == 19 && line[2] == '.' && line[5] == '.' && line[10] == ' ' &&
           line[13] == ':' && line[16] == ' ';
}

// Runs the three test commands from the menu, answering every box; returns
// the captions of the boxes in the order shown.
std::vector<std::string> RunTestCommandsFromTheMenu() {
    std::vector<std::string> captions;
    VorlixSession session;
    EXPECT_TRUE(session.Started());
    for (int command : {32771, 32772, 32773}) {
        session.Command(command);
        std::vector<SeenBox> boxes;
        HWND report = AnswerBoxesUntilReport(session, boxes);
        EXPECT_NE(report, nullptr) << command;
        for (const SeenBox& box : boxes) {
            captions.push_back(box.caption);
        }
        if (report) {
            CloseReport(session, report);
        }
    }
    session.Command(105);
    EXPECT_EQ(session.ExitCode(20000), 0u);
    return captions;
}

TEST(Collect, WritesWhatTheMenuCommandsWriteAndRecordsEveryMessage) {
    LogsSetAside earlierLogs;
    const std::vector<std::string> captions = RunTestCommandsFromTheMenu();
    std::vector<std::string> menuLogs;
    for (const char* log : kLogs) {
        menuLogs.push_back(FileExistsAt(log) ? ReadFileBytes(log) : "(none)");
    }
    earlierLogs.Clear();

    const FinishedRun run = RunToEnd("/collect");
    // No plug-in on this machine: its load fails, which is a message.
    EXPECT_EQ(run.exitCode, 1u);
    EXPECT_FALSE(run.showedWindow);
    for (size_t i = 0; i < menuLogs.size(); ++i) {
        if (menuLogs[i] == "(none)") {
            EXPECT_FALSE(FileExistsAt(kLogs[i])) << kLogs[i];
            continue;
        }
        const std::string log = ReadFileBytes(kLogs[i]);
        EXPECT_TRUE(IsTimestampLine(log)) << kLogs[i];
        EXPECT_EQ(AfterTimestamp(log), AfterTimestamp(menuLogs[i])) << kLogs[i];
    }
    const std::vector<std::string> messages = Lines(ReadFileBytes(kMessagesLog));
    ASSERT_EQ(messages.size(), captions.size());
    for (size_t i = 0; i < messages.size(); ++i) {
        EXPECT_EQ(messages[i].substr(0, messages[i].find('\t')), captions[i]) << messages[i];
    }
    const std::string loadFailure = "Vorlix   LoadLibrary\tC:\\mach3\\plugIns\\lensora.dll  " +
                                    TrimmedSystemText(ERROR_MOD_NOT_FOUND);
    EXPECT_NE(std::find(messages.begin(), messages.end(), loadFailure), messages.end())
        << loadFailure;
    // Without a folder the logs stay under C:\; the console says so.
    size_t logs = 1;
    for (const char* log : kLogs) {
        logs += FileExistsAt(log) ? 1 : 0;
    }
    logs += FileExistsAt(kDiagnosisLog) ? 1 : 0;
    EXPECT_EQ(WithoutDiagnosisHeadline(run.output),
              "Vorlix: " + std::to_string(logs) + " logs in C:\\, " +
                  std::to_string(messages.size()) +
                  " messages (see C:\\Lensora_Brenhold.logMessages).\r\n")
        << run.output;
    DeleteFileA(kMessagesLog);
}

// A service log line: display name, service name, type and state, padded as
// the service listing writes them.
std::string ServiceLine(const std::string& name, const std::string& value, const std::string& type,
                        const std::string& state) {
    return name + std::string(90 - name.size(), ' ') + value + std::string(60 - value.size(), ' ') +
           type + std::string(25 - type.size(), ' ') + state + "\r\n";
}

void WriteServiceLogs(const std::string& first, const std::string& second) {
    const std::string stamp = "08.12.2026 10:00 00\r\n";
    WriteFileBytes(
        first,
        stamp + ServiceLine("Windows Time", "W32Time", "WIN32_SHARE_PROCESS", "Service Stopped") +
            ServiceLine("Print Spooler", "Spooler", "Win32_OWN_PROCESS", "Service Running") +
            ServiceLine("Alerter", "Alerter", "WIN32_SHARE_PROCESS", "Service Stopped"));
    WriteFileBytes(
        second,
        stamp + ServiceLine("Windows Time", "W32Time", "WIN32_SHARE_PROCESS", "Service Running") +
            ServiceLine("Print Spooler", "Spooler", "Win32_OWN_PROCESS", "Service Running") +
            ServiceLine("Alerter", "Alerter", "WIN32_SHARE_PROCESS", "Service Stopped"));
}

void PressKey(BYTE key, bool control = false) {
    PressChord(control ? std::vector<BYTE>{VK_CONTROL} : std::vector<BYTE>{}, key);
}

// Presses the keys, then waits until the clipboard has changed; returns its text.
std::string ClipboardAfter(const std::function<void()>& press) {
    const DWORD before = GetClipboardSequenceNumber();
    press();
    EXPECT_TRUE(WaitUntil([&] { return GetClipboardSequenceNumber() != before; }));
    return ClipboardText();
}

// Opens the list's context menu and waits until it is shown.
bool OpenContextMenu(VorlixSession& session, HWND list) {
    PostMessageA(list, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(list), -1);
    return WaitUntil([&] { return session.OpenMenu() != nullptr; });
}

void ClearClipboard() {
    if (OpenClipboard(nullptr)) {
        EmptyClipboard();
        CloseClipboard();
    }
}

TEST(CopyRows, CtrlCCopiesTheRowsInTheOrderShownAndTheMenuOffersTheSame) {
    WriteServiceLogs("C:\\vorlix_e2e_a.logServices", "C:\\vorlix_e2e_b.logServices");
    VorlixSession session(
        "/compare services C:\\vorlix_e2e_a.logServices "
        "C:\\vorlix_e2e_b.logServices");
    ASSERT_TRUE(session.Started());
    std::vector<SeenBox> boxes;
    HWND report = AnswerBoxesUntilReport(session, boxes);
    ASSERT_NE(report, nullptr);
    ASSERT_EQ(session.RowCount(report), 3);

    // Sorted by "Name": a click on its header.
    const HWND header = FindWindowExA(GetDlgItem(report, 1000), nullptr, "SysHeader32", nullptr);
    ASSERT_NE(header, nullptr);
    RECT headerRect;
    GetWindowRect(header, &headerRect);
    ASSERT_TRUE(ClickUntil(report,
                           {headerRect.left + 100, (headerRect.top + headerRect.bottom) / 2},
                           [&] { return session.Cell(report, 0, 0) == "Alerter"; }));

    const std::string titles =
        "Name\tValue\tService Type\tCurrent State 1\tCurrent State 2\tResult\r\n";
    const std::string alerter =
        "Alerter\tAlerter\tWIN32_SHARE_PROCESS\tService Stopped\tService Stopped\t\r\n";
    const std::string spooler =
        "Print Spooler\tSpooler\tWin32_OWN_PROCESS\tService Running\tService Running\t\r\n";
    const std::string time =
        "Windows Time\tW32Time\tWIN32_SHARE_PROCESS\tService Stopped\tService "
        "Running\tDifferent\r\n";

    // One row selected: that row only.
    ClearClipboard();
    ASSERT_TRUE(ClickUntil(report, session.RowPoint(report, 2),
                           [&] { return session.SelectedCount(report) == 1; }));
    EXPECT_EQ(ClipboardAfter([] { PressKey('C', true); }), titles + time);

    // Ctrl+A, then Ctrl+C: every row, in the sorted order.
    PressKey('A', true);
    EXPECT_TRUE(WaitUntil([&] { return session.SelectedCount(report) == 3; }));
    ClearClipboard();
    EXPECT_EQ(ClipboardAfter([] { PressKey('C', true); }), titles + alerter + spooler + time);

    // The context menu: "Select all" is its second item, "Copy" its first.
    ASSERT_TRUE(ClickUntil(report, session.RowPoint(report, 1),
                           [&] { return session.SelectedCount(report) == 1; }));
    const HWND list = GetDlgItem(report, 1000);
    ASSERT_TRUE(OpenContextMenu(session, list));
    PressKey(VK_DOWN);
    PressKey(VK_DOWN);
    PressKey(VK_RETURN);
    EXPECT_TRUE(WaitUntil([&] { return session.SelectedCount(report) == 3; }));
    ASSERT_TRUE(WaitUntil([&] { return session.OpenMenu() == nullptr; }));
    ClearClipboard();
    ASSERT_TRUE(OpenContextMenu(session, list));
    EXPECT_EQ(ClipboardAfter([] {
                  PressKey(VK_DOWN);
                  PressKey(VK_RETURN);
              }),
              titles + alerter + spooler + time);

    EXPECT_TRUE(boxes.empty());
    PostMessageA(report, WM_COMMAND, IDCANCEL, 0);
    EXPECT_TRUE(session.WaitUntilClosed(report));
    session.Command(105);
    EXPECT_EQ(session.ExitCode(20000), 0u);
    DeleteFileA("C:\\vorlix_e2e_a.logServices");
    DeleteFileA("C:\\vorlix_e2e_b.logServices");
}

TEST(OpenComparison, FromTheCommandLineForEveryKindAndByADrop) {
    WriteServiceLogs("C:\\vorlix_e2e_a.logServices", "C:\\vorlix_e2e_b.logServices");
    const std::string stamp = "08.12.2026 10:00 00\r\n";
    const std::string config = "Config" + std::string(24, ' ');
    WriteFileBytes("C:\\vorlix_e2e_a.logDlls", stamp + config + "found\r\n");
    WriteFileBytes("C:\\vorlix_e2e_b.logDlls", stamp + config + "Not found\r\n");
    const std::string memory = "Memory (RAM)";
    WriteFileBytes("C:\\vorlix_e2e_a.logAnalyzeSystemData", stamp + memory + "  2048 MB\r\n");
    WriteFileBytes("C:\\vorlix_e2e_b.logAnalyzeSystemData", stamp + memory + "  4096 MB\r\n");
    const struct {
        const char* arguments;
        const char* firstName;
        int rows;
    } cases[] = {
        {"services C:\\vorlix_e2e_a.logServices C:\\vorlix_e2e_b.logServices", "Windows Time", 3},
        {"exports C:\\vorlix_e2e_a.logDlls C:\\vorlix_e2e_b.logDlls", "Config", 1},
        {"ANALYSIS C:\\vorlix_e2e_a.logAnalyzeSystemData C:\\vorlix_e2e_b.logAnalyzeSystemData",
         "Memory (RAM)", 1},
    };
    for (const auto& c : cases) {
        VorlixSession session(std::string("/compare ") + c.arguments);
        ASSERT_TRUE(session.Started()) << c.arguments;
        std::vector<SeenBox> boxes;
        HWND report = AnswerBoxesUntilReport(session, boxes);
        ASSERT_NE(report, nullptr) << c.arguments;
        EXPECT_TRUE(boxes.empty()) << c.arguments;
        EXPECT_EQ(GetParent(report), session.MainWindow()) << c.arguments;
        ASSERT_EQ(session.RowCount(report), c.rows) << c.arguments;
        EXPECT_EQ(session.Cell(report, 0, 0), c.firstName) << c.arguments;
        EXPECT_EQ(session.Cell(report, 0, 5), "Different") << c.arguments;
        PostMessageA(report, WM_COMMAND, IDCANCEL, 0);
        EXPECT_TRUE(session.WaitUntilClosed(report));
        // The main window stays, as after a comparison from the menu.
        EXPECT_TRUE(IsWindowVisible(session.MainWindow()));
        session.Command(105);
        EXPECT_EQ(session.ExitCode(20000), 0u);
    }

    // A missing file: the box of a failed open, then the empty comparison.
    {
        VorlixSession session(
            "/compare services C:\\vorlix_e2e_missing.logServices "
            "C:\\vorlix_e2e_b.logServices");
        ASSERT_TRUE(session.Started());
        std::vector<SeenBox> boxes;
        HWND report = AnswerBoxesUntilReport(session, boxes);
        ASSERT_NE(report, nullptr);
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_EQ(boxes[0].caption, "CreateFile");
        EXPECT_NE(boxes[0].text.find(TrimmedSystemText(ERROR_FILE_NOT_FOUND)), std::string::npos)
            << boxes[0].text;
        EXPECT_EQ(session.RowCount(report), 0);
        PostMessageA(report, WM_COMMAND, IDCANCEL, 0);
        EXPECT_TRUE(session.WaitUntilClosed(report));
        session.Command(105);
        EXPECT_EQ(session.ExitCode(20000), 0u);
    }

    // Drops: two service logs open their comparison; one file, or two of
    // different kinds, give one box that says what is expected.
    {
        VorlixSession session;
        ASSERT_TRUE(session.Started());
        session.DropFiles({"C:\\vorlix_e2e_a.logServices", "C:\\vorlix_e2e_b.logServices"});
        std::vector<SeenBox> boxes;
        HWND report = AnswerBoxesUntilReport(session, boxes);
        ASSERT_NE(report, nullptr);
        EXPECT_TRUE(boxes.empty());
        EXPECT_EQ(session.RowCount(report), 3);
        EXPECT_EQ(session.Cell(report, 0, 4), "Service Running");
        PostMessageA(report, WM_COMMAND, IDCANCEL, 0);
        EXPECT_TRUE(session.WaitUntilClosed(report));

        for (const std::vector<std::string>& drop :
             {std::vector<std::string>{"C:\\vorlix_e2e_a.logServices"},
              std::vector<std::string>{"C:\\vorlix_e2e_a.logServices",
                                       "C:\\vorlix_e2e_b.logDlls"}}) {
            session.DropFiles(drop);
            HWND box = nullptr;
            WaitUntil([&] {
                for (HWND window : session.Dialogs()) {
                    box = window;
                }
                return box != nullptr;
            });
            ASSERT_NE(box, nullptr);
            EXPECT_EQ(WindowText(box), "Vorlix");
            EXPECT_EQ(GetDlgItem(box, 1000), nullptr);
            const std::string text = session.MessageBoxText(box);
            for (const char* expected : {"two", ".logServices", ".logDlls", ".logAnalyze"}) {
                EXPECT_NE(text.find(expected), std::string::npos) << text;
            }
            if (drop.size() == 2) {
                EXPECT_EQ(text.find("Not two logs of one kind: C:\\vorlix_e2e_a.logServices (a "
                                    "service log) and C:\\vorlix_e2e_b.logDlls (an export log)."),
                          0u)
                    << text;
            }
            PostMessageA(box, WM_COMMAND, IDOK, 0);
            EXPECT_TRUE(session.WaitUntilClosed(box));
            ASSERT_TRUE(session.WaitUntilIdle());
            EXPECT_TRUE(session.Dialogs(true).empty());
        }
        session.Command(105);
        EXPECT_EQ(session.ExitCode(20000), 0u);
    }
    for (const char* kind : {"logServices", "logDlls", "logAnalyzeSystemData"}) {
        DeleteFileA((std::string("C:\\vorlix_e2e_a.") + kind).c_str());
        DeleteFileA((std::string("C:\\vorlix_e2e_b.") + kind).c_str());
    }
}

// Not a check: walks through the program for the README's pictures. Run by
// scripts/screenshots.sh.
TEST(EndToEnd, DISABLED_Screenshots) {
    VorlixSession session;
    ASSERT_TRUE(session.Started());
    TakeScreenshot("main-window");
    session.Command(104);
    HWND about = session.WaitForDialog(kAboutTitle);
    ASSERT_NE(about, nullptr);
    TakeScreenshot("about-box");
    PostMessageA(about, WM_COMMAND, IDOK, 0);
    session.WaitUntilClosed(about);

    std::vector<SeenBox> boxes;
    session.Command(32771);
    HWND report = AnswerBoxesUntilReport(session, boxes);
    ASSERT_NE(report, nullptr);
    TakeScreenshot("analysis");
    CloseReport(session, report);

    session.Command(32773);
    report = AnswerBoxesUntilReport(session, boxes);
    ASSERT_NE(report, nullptr);
    CloseReport(session, report);
    // The second machine: every third service in another state.
    std::string log = ReadFileBytes("C:\\Lensora_Brenhold.logServices");
    size_t line = 0;
    for (size_t at = log.find("\r\n"); at != std::string::npos; at = log.find("\r\n", at + 2)) {
        if (++line % 3 == 0) {
            const size_t stopped = log.rfind("Service Stopped", at);
            if (stopped != std::string::npos && at - stopped == 15) {
                log.replace(stopped, 15, "Service Running");
            }
        }
    }
    WriteFileBytes("C:\\vorlix_other_machine.logServices", log);
    report = CompareLogs(session, 32774, "C:\\Lensora_Brenhold.logServices",
                         "C:\\vorlix_other_machine.logServices", boxes);
    ASSERT_NE(report, nullptr);
    SendMessageA(GetDlgItem(report, 1004), WM_SETTEXT, 0, reinterpret_cast<LPARAM>("win*"));
    PostMessageA(report, WM_COMMAND, 1005, 0);
    Sleep(500);
    TakeScreenshot("compare-search");
    PostMessageA(report, WM_COMMAND, IDCANCEL, 0);
    session.WaitUntilClosed(report);
    session.Command(105);
    session.ExitCode(10000);

    // The supporter's way: the comparison opened from the command line.
    VorlixSession direct(
        "/compare services C:\\Lensora_Brenhold.logServices "
        "C:\\vorlix_other_machine.logServices");
    ASSERT_TRUE(direct.Started());
    report = AnswerBoxesUntilReport(direct, boxes);
    ASSERT_NE(report, nullptr);
    TakeScreenshot("compare-command-line");
    PostMessageA(report, WM_COMMAND, IDCANCEL, 0);
    direct.WaitUntilClosed(report);
    direct.Command(105);
    direct.ExitCode(10000);
}

}  // namespace
