// End-to-end: the real vorlix.exe, driven from another process.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/e2e/vorlix_session.h"

namespace {

const char kOpenTitle[] =
    "Datei zum \xD6"
    "ffnen ausw\xE4hlen";
const char kAboutTitle[] =
    "Info \xFC"
    "ber Vorlix";

bool RunningUnderWine() {
    return GetProcAddress(GetModuleHandleA("ntdll.dll"), "wine_get_version") != nullptr;
}

// Presses Alt with the key (and Shift where the character needs it) on the
// keyboard, as a user would, with the program's main window in front.
void PressAltWith(HWND window, BYTE key, bool shift) {
    SetForegroundWindow(window);
    Sleep(200);
    keybd_event(VK_MENU, 0, 0, 0);
    if (shift) {
        keybd_event(VK_SHIFT, 0, 0, 0);
    }
    keybd_event(key, 0, 0, 0);
    keybd_event(key, 0, KEYEVENTF_KEYUP, 0);
    if (shift) {
        keybd_event(VK_SHIFT, 0, KEYEVENTF_KEYUP, 0);
    }
    keybd_event(VK_MENU, 0, KEYEVENTF_KEYUP, 0);
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
        Sleep(50);
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
    PressAltWith(report, VK_OEM_2, true);
    EXPECT_EQ(session.WaitForDialog(kAboutTitle, 1500), nullptr);
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

    const std::string log = ReadWholeFile("C:\\Lensora_Brenhold.logServices");
    ASSERT_FALSE(log.empty());
    WriteWholeFile("C:\\vorlix_e2e_copy.logServices", log);

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
    const std::string stamp = "01.02.2024 10:11 12\r\n";
    const std::string good = stamp + "Fax" + std::string(87, ' ') + "Fax" + std::string(57, ' ') +
                             "Win32_OWN_PROCESS" + std::string(8, ' ') + "Service Stopped\r\n";
    // A service name too long for the reader: "String buffer too small".
    WriteWholeFile("C:\\vorlix_e2e_long.logServices",
                   stamp + "Fax" + std::string(87, ' ') + std::string(600, 'n') + "\r\n");
    WriteWholeFile("C:\\vorlix_e2e_good.logServices", good);
    VorlixSession session;
    ASSERT_TRUE(session.Started());
    std::vector<SeenBox> boxes;
    HWND report = CompareLogs(session, 32774, "C:\\vorlix_e2e_long.logServices",
                              "C:\\vorlix_e2e_good.logServices", boxes);
    ASSERT_NE(report, nullptr);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "String buffer too small");
    // The menu cannot be reached while the report is open, box or no box.
    Sleep(300);
    EXPECT_FALSE(IsWindowEnabled(session.MainWindow()));
    CloseReport(session, report);
    EXPECT_TRUE(IsWindowEnabled(session.MainWindow()));
    session.Command(105);
    EXPECT_EQ(session.ExitCode(20000), 0u);
    DeleteFileA("C:\\vorlix_e2e_long.logServices");
    DeleteFileA("C:\\vorlix_e2e_good.logServices");
}

int CountDifferent(const std::vector<std::vector<std::string>>& rows) {
    int different = 0;
    for (const auto& row : rows) {
        different += row[5] == "Different";
    }
    return different;
}

std::string ExeFolder() {
    char path[MAX_PATH];
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder = path;
    return folder.substr(0, folder.find_last_of('\\') + 1);
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

    const std::string log = ReadWholeFile("C:\\Lensora_Brenhold.logAnalyzeSystemData");
    const size_t memory = log.find(" MB\r\n");
    ASSERT_NE(memory, std::string::npos);
    std::string other = log;
    other.insert(memory, "0");  // ten times the memory on the other machine
    WriteWholeFile("C:\\vorlix_e2e_other.logAnalyzeSystemData", other);

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
    // The folders are removed again if this test made them, so the prefix is
    // left as it was found.
    const bool madeMach3 = CreateDirectoryA("C:\\mach3", nullptr) != FALSE;
    const bool madePlugIns = CreateDirectoryA("C:\\mach3\\plugIns", nullptr) != FALSE;
    const std::string plugin = "C:\\mach3\\plugIns\\lensora.dll";
    ASSERT_TRUE(CopyFileA((ExeFolder() + "fixtures\\plugin_some_entry_points.dll").c_str(),
                          plugin.c_str(), FALSE));
    {
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

        std::string log = ReadWholeFile("C:\\Lensora_Brenhold.logDlls");
        const size_t found = log.find("found\r\n");
        ASSERT_NE(found, std::string::npos);
        log.replace(found, 5, "Not found");
        WriteWholeFile("C:\\vorlix_e2e_other.logDlls", log);
        report = CompareLogs(session, 32776, "C:\\Lensora_Brenhold.logDlls",
                             "C:\\vorlix_e2e_other.logDlls", boxes);
        ASSERT_NE(report, nullptr);
        const auto rows = Rows(session, report, 6);
        EXPECT_EQ(rows.size(), 21u);
        EXPECT_EQ(CountDifferent(rows), 1);
        PostMessageA(report, WM_COMMAND, IDCANCEL, 0);
        EXPECT_TRUE(session.WaitUntilClosed(report));
        session.Command(105);
        EXPECT_EQ(session.ExitCode(20000), 0u);
    }
    DeleteFileA("C:\\vorlix_e2e_other.logDlls");
    DeleteFileA(plugin.c_str());
    if (madePlugIns) {
        RemoveDirectoryA("C:\\mach3\\plugIns");
    }
    if (madeMach3) {
        RemoveDirectoryA("C:\\mach3");
    }
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
        Sleep(300);
        EXPECT_TRUE(session.Dialogs().empty()) << command;
    }
    session.Command(105);
    EXPECT_EQ(session.ExitCode(20000), 0u);
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
    std::string log = ReadWholeFile("C:\\Lensora_Brenhold.logServices");
    size_t line = 0;
    for (size_t at = log.find("\r\n"); at != std::string::npos; at = log.find("\r\n", at + 2)) {
        if (++line % 3 == 0) {
            const size_t stopped = log.rfind("Service Stopped", at);
            if (stopped != std::string::npos && at - stopped == 15) {
                log.replace(stopped, 15, "Service Running");
            }
        }
    }
    WriteWholeFile("C:\\vorlix_other_machine.logServices", log);
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
}

}  // namespace
