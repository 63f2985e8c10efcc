// The shell: resources, About box, file choice and the dispatch of every menu
// command, driven by a timer that answers the modal windows as a user would.
#include <gtest/gtest.h>

#include <functional>
#include <new>
#include <string>
#include <vector>

#include "analysis/analysis_dialog_win.h"
#include "app/commands_win.h"
#include "checks/service_listing_win.h"
#include "compare/compare_dialog_win.h"
#include "platform/dialog_guard_win.h"
#include "platform/shell_state_win.h"
#include "res/resource.h"
#include "tests/win/test_support.h"

namespace {

const char kOpenTitle[] =
    "Datei zum \xD6"
    "ffnen ausw\xE4hlen";

std::string WindowText(HWND window) {
    char text[512] = {};
    GetWindowTextA(window, text, sizeof text);
    return text;
}

// What the timer saw and how it answers each modal window of this thread.
struct ModalScript {
    // Called for each new dialog found; returns true once it has answered it.
    std::function<bool(HWND)> answer;
    std::vector<std::string> captions;
    std::vector<HWND> seen;
};
ModalScript* g_script = nullptr;

BOOL CALLBACK AnswerWindow(HWND window, LPARAM) {
    char windowClass[64];
    GetClassNameA(window, windowClass, sizeof windowClass);

    if (!IsWindowVisible(window) || std::string(windowClass) != "#32770") {
        return TRUE;
    }
    for (HWND seen : g_script->seen) {
        if (seen == window) {
            return TRUE;
        }
    }
    if (g_script->answer(window)) {
        g_script->seen.push_back(window);
        g_script->captions.push_back(WindowText(window));
    }
    return TRUE;
}

void CALLBACK ScriptTimer(HWND, UINT, UINT_PTR, DWORD) {
    if (g_script) {
        EnumThreadWindows(GetCurrentThreadId(), AnswerWindow, 0);
    }
}

class ShellTest : public testing::Test {
protected:
    void SetUp() override {
        WNDCLASSA windowClass = {};
        windowClass.lpfnWndProc = MainWindowProc;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.lpszClassName = "VorlixShellTest";
        RegisterClassA(&windowClass);
        main_ = CreateWindowA("VorlixShellTest", "Vorlix", WS_OVERLAPPEDWINDOW, 0, 0, 400, 300,
                              nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
        g_mainWindow = main_;
        timer_ = SetTimer(nullptr, 0, 50, ScriptTimer);
    }
    void TearDown() override {
        KillTimer(nullptr, timer_);
        g_script = nullptr;
        DestroyWindow(main_);
        g_mainWindow = nullptr;
        // The main window posts the quit message when it goes; left in the
        // queue it would end the next test's modal loops at once.
        MSG quit;
        while (PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
        }
    }
    void Run(ModalScript& script, int command) {
        g_script = &script;
        SendMessageA(main_, WM_COMMAND, command, 0);
        g_script = nullptr;
    }

    HWND main_ = nullptr;
    UINT_PTR timer_ = 0;
    MessageBoxRecorder boxes_;
};

TEST(ShellResources, MenuHasItsPopupsAndCommandsInOrder) {
    HMENU menu = LoadMenuA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDC_VORLIX_MENU));
    ASSERT_NE(menu, nullptr);
    struct Popup {
        const char* title;
        std::vector<std::pair<const char*, UINT>> items;
    };
    const Popup popups[] = {
        {"&Datei", {{"&Beenden", 105}}},
        {"Test",
         {{"Analyze", 32771},
          {"Check Dll Fct Calls", 32772},
          {"List Services", 32773},
          {"", 0},  // a separator
          {"Diagnose", 32780}}},
        {"Verify",
         {{"Compare analyze", 32775},
          {"Compare Dll Fct Calls", 32776},
          {"Compare Services", 32774},
          {"Compare Folders...", 32779}}},
        {"&Hilfe", {{"&Info...", 104}}},
    };
    ASSERT_EQ(GetMenuItemCount(menu), 4);
    char text[128];
    for (int p = 0; p < 4; ++p) {
        GetMenuStringA(menu, p, text, sizeof text, MF_BYPOSITION);
        EXPECT_STREQ(text, popups[p].title);
        HMENU sub = GetSubMenu(menu, p);
        ASSERT_EQ(GetMenuItemCount(sub), static_cast<int>(popups[p].items.size()));
        for (size_t i = 0; i < popups[p].items.size(); ++i) {
            GetMenuStringA(sub, i, text, sizeof text, MF_BYPOSITION);
            EXPECT_STREQ(text, popups[p].items[i].first);
            EXPECT_EQ(GetMenuItemID(sub, i), popups[p].items[i].second);
        }
    }
    DestroyMenu(menu);
}

TEST(ShellResources, AcceleratorsAreAltQuestionMarkAndAltSlash) {
    HACCEL table =
        LoadAcceleratorsA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDC_VORLIX_ACCELERATORS));
    ASSERT_NE(table, nullptr);
    ACCEL entries[8];
    const int count = CopyAcceleratorTableA(table, entries, 8);
    ASSERT_EQ(count, 2);
    EXPECT_EQ(entries[0].key, '?');
    EXPECT_EQ(entries[1].key, '/');
    for (int i = 0; i < count; ++i) {
        EXPECT_EQ(entries[i].cmd, IDM_ABOUT);
        // A character accelerator with Alt: no FVIRTKEY.
        EXPECT_EQ(entries[i].fVirt & ~0x80, FALT);
    }
}

TEST(ShellResources, StringsAndIcons) {
    char text[128];
    ASSERT_GT(LoadStringA(GetModuleHandleA(nullptr), IDS_APP_TITLE, text, sizeof text), 0);
    EXPECT_STREQ(text, "Vorlix");
    ASSERT_GT(LoadStringA(GetModuleHandleA(nullptr), IDS_WINDOW_CLASS, text, sizeof text), 0);
    EXPECT_STREQ(text, "VORLIX");
    for (int group : {IDI_VORLIX, IDI_VORLIX_SMALL}) {
        HRSRC resource = FindResourceA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(group),
                                       reinterpret_cast<LPCSTR>(RT_GROUP_ICON));
        ASSERT_NE(resource, nullptr) << group;
        const BYTE* directory = static_cast<const BYTE*>(
            LockResource(LoadResource(GetModuleHandleA(nullptr), resource)));
        const WORD images = *reinterpret_cast<const WORD*>(directory + 4);
        EXPECT_EQ(images, 8) << group;
        // {width, bits per pixel} of the eight images, in order.
        const int expected[8][2] = {{32, 4}, {16, 4},  {48, 8},  {32, 8},
                                    {16, 8}, {48, 32}, {32, 32}, {16, 32}};
        for (int i = 0; i < images && i < 8; ++i) {
            const BYTE* entry = directory + 6 + i * 14;
            EXPECT_EQ(entry[0], expected[i][0]) << group << " image " << i;
            EXPECT_EQ(*reinterpret_cast<const WORD*>(entry + 6), expected[i][1])
                << group << " image " << i;
        }
    }
}

TEST(AboutBox, ShowsItsTextsAndEndsWithOkOrEscape) {
    HWND about = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_ABOUTBOX),
                                    nullptr, AboutDialogProc, 0);
    ASSERT_NE(about, nullptr);
    EXPECT_EQ(WindowText(about),
              "Info \xFC"
              "ber Vorlix");
    EXPECT_EQ(WindowText(GetDlgItem(about, IDC_ABOUT_VERSION)), "Version V1.05");
    EXPECT_EQ(WindowText(GetDlgItem(about, IDC_ABOUT_CREDIT)), kAboutCreditText);
    EXPECT_EQ(WindowText(GetDlgItem(about, IDOK)), "OK");
    bool foundTitle = false;
    for (HWND child = GetWindow(about, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if (WindowText(child) == "Lensora TroubleShooter") {
            foundTitle = true;
            EXPECT_EQ(GetWindowLongA(child, GWL_STYLE) & (SS_TYPEMASK | SS_NOPREFIX),
                      SS_LEFTNOWORDWRAP | SS_NOPREFIX);
        }
    }
    EXPECT_TRUE(foundTitle);
    DestroyWindow(about);
}

// Measured after initialisation, when the version and the credit are set.
TEST(AboutBox, EveryTextIsShownWhole) {
    HWND about = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_ABOUTBOX),
                                    nullptr, AboutDialogProc, 0);
    ASSERT_NE(about, nullptr);
    EXPECT_EQ(TextsNotShownWhole(about), std::vector<std::string>{});
    DestroyWindow(about);
}

// The minimise, maximise and close buttons of every frame are glyphs of the Marlett font;
// without it they are drawn as the letters "0", "1" and "r" of another font.
TEST(WindowFrames, CaptionButtonGlyphFontIsPresent) {
    LOGFONTA request = {};
    request.lfHeight = -GetSystemMetrics(SM_CYCAPTION);
    request.lfCharSet = SYMBOL_CHARSET;
    lstrcpyA(request.lfFaceName, "Marlett");
    HFONT font = CreateFontIndirectA(&request);
    ASSERT_NE(font, nullptr);
    HDC dc = GetDC(nullptr);
    const HGDIOBJ oldFont = SelectObject(dc, font);
    char face[LF_FACESIZE] = {};
    GetTextFaceA(dc, sizeof face, face);
    TEXTMETRICA metrics = {};
    GetTextMetricsA(dc, &metrics);
    SelectObject(dc, oldFont);
    ReleaseDC(nullptr, dc);
    DeleteObject(font);
    EXPECT_STREQ(face, "Marlett");
    EXPECT_EQ(metrics.tmCharSet, SYMBOL_CHARSET);
}

TEST_F(ShellTest, InfoOpensTheAboutBoxWhichEndsWithOk) {
    ModalScript script;
    script.answer = [](HWND window) {
        if (WindowText(window) !=
            "Info \xFC"
            "ber Vorlix") {
            return false;
        }
        PostMessageA(window, WM_COMMAND, IDOK, 0);
        return true;
    };
    Run(script, IDM_ABOUT);
    EXPECT_EQ(script.captions, (std::vector<std::string>{"Info \xFC"
                                                         "ber Vorlix"}));
}

TEST_F(ShellTest, EveryTestCommandOpensTheReportDialogWithItsColumns) {
    struct Case {
        int command;
        std::vector<std::string> titles;
    };
    const Case cases[] = {
        {IDM_ANALYZE, {"Name", "Value", "Result"}},
        {IDM_CHECK_DLL_CALLS, {"Name Fct Call", "Result"}},
        {IDM_LIST_SERVICES,
         {"Name", "Value", "Service Type", "Current State 1", "Current State 2", "Result"}},
    };
    for (const Case& c : cases) {
        std::vector<std::string> titles;
        ModalScript script;
        script.answer = [&](HWND window) {
            if (WindowText(window) != "Vorlix" || GetParent(window) != main_) {
                return false;
            }
            HWND list = GetDlgItem(window, IDC_REPORT_LIST);
            for (int i = 0;; ++i) {
                char title[64] = {};
                LVCOLUMNA column = {};
                column.mask = LVCF_TEXT;
                column.pszText = title;
                column.cchTextMax = sizeof title;
                if (!SendMessageA(list, LVM_GETCOLUMNA, i, reinterpret_cast<LPARAM>(&column))) {
                    break;
                }
                titles.push_back(title);
            }
            PostMessageA(window, WM_COMMAND, IDC_REPORT_OK, 0);
            return true;
        };
        Run(script, c.command);
        EXPECT_EQ(script.captions.size(), 1u) << c.command;
        // Columns exist unless the command reported a failure before laying
        // them out (for example without a plug-in DLL); then a box was shown.
        if (!titles.empty()) {
            EXPECT_EQ(titles, c.titles) << c.command;
        } else {
            EXPECT_FALSE(boxes_.Boxes().empty()) << c.command;
        }
        boxes_.Clear();
    }
}

// Answers the file-open dialog with a name, or cancels it.
bool AnswerFileDialog(HWND window, const char* name, std::vector<std::string>& shownNames) {
    if (WindowText(window) != kOpenTitle) {
        return false;
    }
    char current[MAX_PATH] = {};
    GetDlgItemTextA(window, 0x47C, current, sizeof current);
    shownNames.push_back(current);
    if (name == nullptr) {
        PostMessageA(window, WM_COMMAND, IDCANCEL, 0);
    } else {
        SetDlgItemTextA(window, 0x47C, name);
        PostMessageA(window, WM_COMMAND, IDOK, 0);
    }
    return true;
}

TEST_F(ShellTest, ComparisonsChooseTwoLogsAndOpenNoDialogWhenOneIsCancelled) {
    WriteFileBytes("C:\\vorlix_a.logServices", "01.01.2026 00:00 00\r\n");
    WriteFileBytes("C:\\vorlix_b.logServices", "01.01.2026 00:00 00\r\n");
    lstrcpyA(g_firstLogName, "");
    lstrcpyA(g_secondLogName, "");

    std::vector<const char*> answers = {nullptr};
    std::vector<std::string> shown;
    ModalScript script;
    script.answer = [&](HWND window) {
        if (WindowText(window) == "Vorlix") {
            PostMessageA(window, WM_COMMAND, IDCANCEL, 0);
            return true;
        }
        if (answers.empty()) {
            return false;
        }
        if (!AnswerFileDialog(window, answers.front(), shown)) {
            return false;
        }
        answers.erase(answers.begin());
        return true;
    };
    // The first choice cancelled: neither the second choice nor the dialog.
    Run(script, IDM_COMPARE_SERVICES);
    EXPECT_EQ(script.captions, (std::vector<std::string>{kOpenTitle}));

    // The second cancelled: no dialog, but the first name keeps its choice.
    script = ModalScript{script.answer, {}, {}};
    answers = {"C:\\vorlix_a.logServices", nullptr};
    Run(script, IDM_COMPARE_SERVICES);
    EXPECT_EQ(script.captions, (std::vector<std::string>{kOpenTitle, kOpenTitle}));
    EXPECT_STRCASEEQ(g_firstLogName, "C:\\vorlix_a.logServices");

    // Both chosen: the comparison opens; a name without extension gets "set".
    script = ModalScript{script.answer, {}, {}};
    answers = {"C:\\vorlix_a.logServices", "C:\\vorlix_typed"};
    shown.clear();
    Run(script, IDM_COMPARE_SERVICES);
    EXPECT_EQ(script.captions, (std::vector<std::string>{kOpenTitle, kOpenTitle, "Vorlix"}));
    // Wine's open dialog drops the default extension again when no file of
    // that name exists; Windows keeps it.
    if (!RunningUnderWine()) {
        EXPECT_STRCASEEQ(g_secondLogName, "C:\\vorlix_typed.set");
    }
    // The last choice is offered again as the initial file name.
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_NE(shown[0].find("vorlix_a.logServices"), std::string::npos) << shown[0];
    ASSERT_EQ(boxes_.Boxes().size(), 1u);
    EXPECT_EQ(boxes_.Boxes()[0].caption, "CreateFile");
    RemoveFile("C:\\vorlix_a.logServices");
    RemoveFile("C:\\vorlix_b.logServices");
}

TEST_F(ShellTest, BeendenDestroysTheMainWindow) {
    SendMessageA(main_, WM_COMMAND, IDM_EXIT, 0);
    EXPECT_FALSE(IsWindow(main_));
    // The quit message that WM_DESTROY posted.
    MSG message;
    EXPECT_TRUE(PeekMessageA(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(message.wParam, 0u);
}

// Ctrl+C as the list receives it, with the Ctrl key held in this thread's
// keyboard state; returns what the clipboard then holds.
std::string PressCtrlCIn(HWND list) {
    if (OpenClipboard(nullptr)) {
        EmptyClipboard();
        CloseClipboard();
    }
    BYTE keys[256] = {};
    GetKeyboardState(keys);
    const BYTE control = keys[VK_CONTROL];
    keys[VK_CONTROL] = 0x80;
    SetKeyboardState(keys);
    SendMessageA(list, WM_KEYDOWN, 'C', 0);
    keys[VK_CONTROL] = control;
    SetKeyboardState(keys);
    std::string text;
    if (OpenClipboard(nullptr)) {
        if (HANDLE data = GetClipboardData(CF_TEXT)) {
            text = static_cast<const char*>(GlobalLock(data));
            GlobalUnlock(data);
        }
        CloseClipboard();
    }
    return text;
}

// Each command lays out its list its own way; every list must copy.
TEST(ReportListCopy, EveryKindOfReportListCopiesWithItsTitles) {
    MessageBoxRecorder boxes;
    WriteFileBytes("C:\\vorlix_copy_a.logServices",
                   "08.12.2026 10:00 00\r\nFax" + std::string(87, ' ') + "Fax" +
                       std::string(57, ' ') + "Win32_OWN_PROCESS" + std::string(8, ' ') +
                       "Service Stopped\r\n");
    lstrcpyA(g_firstLogName, "C:\\vorlix_copy_a.logServices");
    lstrcpyA(g_secondLogName, "C:\\vorlix_copy_b.logServices");
    const struct {
        DLGPROC procedure;
        LPARAM parameter;
        const char* titles;
    } cases[] = {
        {AnalysisDialogProc, 0, "Name\tValue\tResult\r\n"},
        {ServiceListingDialogProc, 0,
         "Name\tValue\tService Type\tCurrent State 1\tCurrent State 2\tResult\r\n"},
        {CompareDialogProc, 3,
         "Name\tValue\tService Type\tCurrent State 1\tCurrent State 2\tResult\r\n"},
    };
    for (const auto& c : cases) {
        if (c.procedure == CompareDialogProc) {
            WriteFileBytes("C:\\vorlix_copy_b.logServices", "08.12.2026 10:00 00\r\n");
        }
        ReportDialogUnderTest report(c.procedure, c.parameter);
        const int rows = report.RowCount();
        ASSERT_GT(rows, 0) << c.titles;
        const std::string text = PressCtrlCIn(report.List());
        EXPECT_EQ(text.substr(0, text.find("\r\n") + 2), c.titles);
        // No row selected: every row, each on its own line.
        EXPECT_EQ(SplitLogLines(text).size(), static_cast<size_t>(rows) + 1) << c.titles;
    }
    RemoveFile("C:\\vorlix_copy_a.logServices");
    RemoveFile("C:\\vorlix_copy_b.logServices");
}

}  // namespace

// An exception thrown while a procedure handles a message must end there: the
// user is told, and the procedure answers as after a failure.
TEST(ProcedureGuard, AnExceptionIsStoppedShownAndAnsweredAsFailure) {
    MessageBoxRecorder boxes;
    EXPECT_EQ(GuardDialogMessage([]() -> INT_PTR { throw std::bad_alloc(); }), FALSE);
    EXPECT_EQ(GuardMessage<LRESULT>(7, []() -> LRESULT { throw 1; }), 7);
    EXPECT_EQ(GuardMessage<LRESULT>(7, [] { return LRESULT{42}; }), 42);
    ASSERT_EQ(boxes.Boxes().size(), 2u);
    EXPECT_EQ(boxes.Boxes()[0].caption, "Vorlix Error");
    EXPECT_EQ(boxes.Boxes()[0].text, SystemText(ERROR_NOT_ENOUGH_MEMORY));
    EXPECT_EQ(boxes.Boxes()[1].caption, "Vorlix Error");
    EXPECT_EQ(boxes.Boxes()[1].text, "Internal error");
    EXPECT_EQ(boxes.Boxes()[1].style, static_cast<UINT>(MB_TASKMODAL | MB_ICONERROR));
}
