// End-to-end: the real vorlix.exe, driven from another process.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
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

// Presses the key with the modifiers held, released in reverse order, as a
// user would.
void PressChord(const std::vector<BYTE>& modifiers, BYTE key) {
    for (BYTE modifier : modifiers) {
        keybd_event(modifier, 0, 0, 0);
    }
    keybd_event(key, 0, 0, 0);
    keybd_event(key, 0, KEYEVENTF_KEYUP, 0);
    for (auto modifier = modifiers.rbegin(); modifier != modifiers.rend(); ++modifier) {
        keybd_event(*modifier, 0, KEYEVENTF_KEYUP, 0);
    }
}

// Presses Alt with the key (and Shift where the character needs it) with the
// program's main window in front.
void PressAltWith(HWND window, BYTE key, bool shift) {
    SetForegroundWindow(window);
    Sleep(200);
    PressChord(shift ? std::vector<BYTE>{VK_MENU, VK_SHIFT} : std::vector<BYTE>{VK_MENU}, key);
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
    const std::string stamp = "01.02.2024 10:11 12\r\n";
    const std::string good = stamp + "Fax" + std::string(87, ' ') + "Fax" + std::string(57, ' ') +
                             "Win32_OWN_PROCESS" + std::string(8, ' ') + "Service Stopped\r\n";
    // A service name too long for the reader: "String buffer too small".
    WriteFileBytes("C:\\vorlix_e2e_long.logServices",
                   stamp + "Fax" + std::string(87, ' ') + std::string(600, 'n') + "\r\n");
    WriteFileBytes("C:\\vorlix_e2e_good.logServices", good);
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

// Makes the Mach3 plug-in folder for one test, with a plug-in DLL in it when
// a fixture is named, and removes the DLL and every folder it made on every
// way out: a plug-in folder left behind would change what later runs of the
// analysis tests see.
class PluginFolder {
public:
    explicit PluginFolder(const char* fixture = nullptr) {
        for (const char* folder : {"C:\\mach3", "C:\\mach3\\plugIns"}) {
            if (CreateDirectoryA(folder, nullptr)) {
                made_.insert(made_.begin(), folder);
            }
        }
        if (fixture != nullptr) {
            const std::string source = ExeFolder() + "fixtures\\" + fixture;
            copied_ = CopyFileA(source.c_str(), kPlugin, FALSE) != 0;
        }
    }
    ~PluginFolder() {
        if (copied_) {
            DeleteFileA(kPlugin);
        }
        for (const std::string& folder : made_) {
            RemoveDirectoryA(folder.c_str());
        }
    }
    PluginFolder(const PluginFolder&) = delete;
    PluginFolder& operator=(const PluginFolder&) = delete;
    bool Copied() const { return copied_; }

private:
    static constexpr const char* kPlugin = "C:\\mach3\\plugIns\\lensora.dll";
    std::vector<std::string> made_;
    bool copied_ = false;
};

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
        Sleep(300);
        EXPECT_TRUE(session.Dialogs().empty()) << command;
    }
    session.Command(105);
    EXPECT_EQ(session.ExitCode(20000), 0u);
}

// ---- The support workflow: collect, copy, open a comparison directly ----

const char* const kLogs[] = {
    "C:\\Lensora_Brenhold.logAnalyzeSystemData",
    "C:\\Lensora_Brenhold.logAnalyzeElement",
    "C:\\Lensora_Brenhold.logAnalyzePluginVersion",
    "C:\\Lensora_Brenhold.logAnalyzePlugins",
    "C:\\Lensora_Brenhold.logAnalyzeSettings",
    "C:\\Lensora_Brenhold.logAnalyzeInstalledProgs",
    "C:\\Lensora_Brenhold.logAnalyzeRedist",
    "C:\\Lensora_Brenhold.logAnalyzePATH",
    "C:\\Lensora_Brenhold.logAnalyzeFileVersions",
    "C:\\Lensora_Brenhold.logAnalyzeDependencies",
    "C:\\Lensora_Brenhold.logDlls",
    "C:\\Lensora_Brenhold.logServices",
};
const char kMessagesLog[] = "C:\\Lensora_Brenhold.logMessages";

std::vector<std::string> Lines(const std::string& bytes) {
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t end = bytes.find("\r\n"); end != std::string::npos;
         end = bytes.find("\r\n", start)) {
        lines.push_back(bytes.substr(start, end - start));
        start = end + 2;
    }
    if (start < bytes.size()) {
        lines.push_back(bytes.substr(start));
    }
    return lines;
}

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

std::string TrimmedSystemText(DWORD code) {
    std::string result = SystemText(code);
    while (!result.empty() &&
           (result.back() == '\r' || result.back() == '\n' || result.back() == ' ')) {
        result.pop_back();
    }
    return result;
}

// Keeps the logs that earlier tests left under C:\\ and puts them back at the
// end; meanwhile every test of a run starts without any of them, so an old
// log cannot pass for one that the run wrote.
class LogsSetAside {
public:
    LogsSetAside() {
        for (const char* log : kLogs) {
            saved_.push_back({FileExistsAt(log), ReadFileBytes(log)});
        }
        Clear();
    }
    ~LogsSetAside() {
        for (size_t i = 0; i < saved_.size(); ++i) {
            if (saved_[i].first) {
                WriteFileBytes(kLogs[i], saved_[i].second);
            } else {
                DeleteFileA(kLogs[i]);
            }
        }
    }
    void Clear() {
        for (const char* log : kLogs) {
            SetFileAttributesA(log, FILE_ATTRIBUTE_NORMAL);
            DeleteFileA(log);
        }
    }

private:
    std::vector<std::pair<bool, std::string>> saved_;
};

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
    DeleteFileA(kMessagesLog);
}

// A relative folder means the folder where the user started the program,
// even though the analysis moves into the plug-in folder when there is one.
TEST(Collect, CopiesEveryLogItWroteIntoANewFolder) {
    LogsSetAside earlierLogs;
    const PluginFolder pluginFolder;
    // Without a settings key this log is not rewritten: an old one stays
    // where it is and must not be passed on as if it were new.
    const std::string settingsLog = "C:\\Lensora_Brenhold.logAnalyzeSettings";
    WriteFileBytes(settingsLog, "01.01.2020 00:00 00\r\n");

    const FinishedRun run = RunToEnd("/collect \"vorlix e2e logs\\pc 1\"", "C:\\");
    EXPECT_EQ(run.exitCode, 1u);
    const std::string folder = "C:\\vorlix e2e logs\\pc 1\\";
    int copied = 0;
    for (const char* log : kLogs) {
        const std::string copy = folder + (log + 3);
        if (log == settingsLog) {
            EXPECT_FALSE(FileExistsAt(copy));
        } else if (FileExistsAt(log)) {
            ++copied;
            EXPECT_EQ(ReadFileBytes(copy), ReadFileBytes(log)) << copy;
        } else {
            EXPECT_FALSE(FileExistsAt(copy)) << copy;
        }
        DeleteFileA(copy.c_str());
    }
    EXPECT_GE(copied, 7);
    EXPECT_EQ(ReadFileBytes(folder + "Lensora_Brenhold.logMessages"), ReadFileBytes(kMessagesLog));
    EXPECT_FALSE(ReadFileBytes(kMessagesLog).empty());
    DeleteFileA((folder + "Lensora_Brenhold.logMessages").c_str());
    EXPECT_TRUE(RemoveDirectoryA("C:\\vorlix e2e logs\\pc 1"));
    EXPECT_TRUE(RemoveDirectoryA("C:\\vorlix e2e logs"));
    EXPECT_FALSE(FileExistsAt("C:\\mach3\\plugIns\\vorlix e2e logs"));
    DeleteFileA(kMessagesLog);
}

TEST(Collect, ShowsItsUsageAndRefusesBadArguments) {
    FinishedRun run = RunToEnd("/?");
    EXPECT_EQ(run.exitCode, 0u);
    for (const char* form : {"vorlix.exe /collect [FOLDER]",
                             "vorlix.exe /compare services|exports|analysis FIRST SECOND"}) {
        EXPECT_NE(run.output.find(form), std::string::npos) << run.output;
    }
    for (const char* bad : {"/collect C:\\a C:\\b", "/compare services C:\\a.logServices",
                            "/compare files C:\\a C:\\b", "/analyze"}) {
        run = RunToEnd(bad);
        EXPECT_EQ(run.exitCode, 2u) << bad;
        EXPECT_NE(run.output.find("vorlix.exe /collect [FOLDER]"), std::string::npos) << bad;
        EXPECT_FALSE(run.showedWindow) << bad;
    }
    EXPECT_FALSE(FileExistsAt(kMessagesLog));
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

// Clicks at the point until the condition holds (a click that only brings
// the window to the front is repeated), at most a few times.
bool ClickUntil(HWND window, POINT point, const std::function<bool()>& done) {
    for (int attempt = 0; attempt < 5; ++attempt) {
        SetForegroundWindow(window);
        Sleep(200);
        SetCursorPos(point.x, point.y);
        mouse_event(MOUSEEVENTF_LEFTDOWN, 0, 0, 0, 0);
        mouse_event(MOUSEEVENTF_LEFTUP, 0, 0, 0, 0);
        for (int wait = 0; wait < 10; ++wait) {
            Sleep(100);
            if (done()) {
                return true;
            }
        }
    }
    return false;
}

void PressKey(BYTE key, bool control = false) {
    PressChord(control ? std::vector<BYTE>{VK_CONTROL} : std::vector<BYTE>{}, key);
    Sleep(300);
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
    PressKey('C', true);
    EXPECT_EQ(ClipboardText(), titles + time);

    // Ctrl+A, then Ctrl+C: every row, in the sorted order.
    PressKey('A', true);
    EXPECT_EQ(session.SelectedCount(report), 3);
    ClearClipboard();
    PressKey('C', true);
    EXPECT_EQ(ClipboardText(), titles + alerter + spooler + time);

    // The context menu: "Select all" is its second item, "Copy" its first.
    ASSERT_TRUE(ClickUntil(report, session.RowPoint(report, 1),
                           [&] { return session.SelectedCount(report) == 1; }));
    const HWND list = GetDlgItem(report, 1000);
    PostMessageA(list, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(list), -1);
    Sleep(500);
    PressKey(VK_DOWN);
    PressKey(VK_DOWN);
    PressKey(VK_RETURN);
    EXPECT_EQ(session.SelectedCount(report), 3);
    ClearClipboard();
    PostMessageA(list, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(list), -1);
    Sleep(500);
    PressKey(VK_DOWN);
    PressKey(VK_RETURN);
    EXPECT_EQ(ClipboardText(), titles + alerter + spooler + time);

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
            for (int i = 0; i < 100 && box == nullptr; ++i) {
                for (HWND window : session.Dialogs()) {
                    box = window;
                }
                Sleep(50);
            }
            ASSERT_NE(box, nullptr);
            EXPECT_EQ(WindowText(box), "Vorlix");
            EXPECT_EQ(GetDlgItem(box, 1000), nullptr);
            const std::string text = session.MessageBoxText(box);
            for (const char* expected : {"two", ".logServices", ".logDlls", ".logAnalyze"}) {
                EXPECT_NE(text.find(expected), std::string::npos) << text;
            }
            PostMessageA(box, WM_COMMAND, IDOK, 0);
            EXPECT_TRUE(session.WaitUntilClosed(box));
            Sleep(300);
            EXPECT_TRUE(session.Dialogs().empty());
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
