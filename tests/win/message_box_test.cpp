// Which window owns a box, what becomes of an owner that a dialog has disabled, the
// subject a box is shown with, and a report dialog run without being shown.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/hidden_dialog_win.h"
#include "platform/message_box_win.h"
#include "res/resource.h"
#include "tests/win/test_support.h"

namespace {

// A top-level window standing in for the main window.
class OwnerWindow {
public:
    OwnerWindow()
        : window_(CreateWindowExA(0, "STATIC", "owner", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100,
                                  nullptr, nullptr, GetModuleHandleA(nullptr), nullptr)) {}
    ~OwnerWindow() { DestroyWindow(window_); }
    HWND Get() const { return window_; }

private:
    HWND window_;
};

HWND g_boxOwner = nullptr;
HWND g_ownerOfTheReport = nullptr;
HWND g_report = nullptr;
bool g_ownerEnabledAfterTheBox = true;

// A box that, like one whose owner was disabled under it, leaves its owner and the window
// above it enabled when it closes.
int EnablingBox(HWND owner, const char*, const char*, UINT, const char*) {
    g_boxOwner = owner;
    if (owner != nullptr) {
        EnableWindow(owner, TRUE);
        if (const HWND above = GetWindow(owner, GW_OWNER)) {
            EnableWindow(above, TRUE);
        }
    }
    return IDOK;
}

// Shows a box owned by the main window while the report initialises, as a section does.
INT_PTR CALLBACK ReportShowingABox(HWND dialog, UINT message, WPARAM, LPARAM) {
    if (message == WM_INITDIALOG) {
        g_report = dialog;
        ShowMessageBox(g_ownerOfTheReport, "text", "Vorlix Error", MB_ICONERROR);
        g_ownerEnabledAfterTheBox = IsWindowEnabled(g_ownerOfTheReport) != FALSE;
        EndDialog(dialog, IDOK);
        return TRUE;
    }
    return FALSE;
}

TEST(MessageBoxOwner, IsTheOwnerGivenUnlessADialogHasDisabledIt) {
    const OwnerWindow owner;
    ASSERT_NE(owner.Get(), nullptr);
    const MessageBoxTarget previous = SetMessageBoxTarget(EnablingBox);

    ShowMessageBox(nullptr, "text", "Vorlix Error", kErrorBoxStyle);
    EXPECT_EQ(g_boxOwner, nullptr);
    ShowMessageBox(owner.Get(), "text", "Vorlix Error", MB_ICONERROR);
    EXPECT_EQ(g_boxOwner, owner.Get());

    // Under an open report the box goes to the report, and the main window stays disabled
    // however the box ends, so no second command can start meanwhile.
    g_ownerOfTheReport = owner.Get();
    g_boxOwner = nullptr;
    DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_REPORT), owner.Get(),
                    ReportShowingABox, 0);
    EXPECT_EQ(g_boxOwner, g_report);
    EXPECT_FALSE(g_ownerEnabledAfterTheBox);
    EXPECT_TRUE(IsWindowEnabled(owner.Get()));

    // A window disabled with no dialog above it keeps the box, and stays disabled.
    EnableWindow(owner.Get(), FALSE);
    ShowMessageBox(owner.Get(), "text", "Vorlix Error", MB_ICONERROR);
    EXPECT_EQ(g_boxOwner, owner.Get());
    EXPECT_FALSE(IsWindowEnabled(owner.Get()));
    SetMessageBoxTarget(previous);
}

TEST(MessageSubject, TheInnermostScopeNamesTheObjectOfABox) {
    MessageBoxRecorder boxes;
    ShowMessageBox(nullptr, "none", "c", kErrorBoxStyle);
    {
        const MessageSubject key("HKCU\\Software\\Brenhold-Soft\\Mach3Lensora");
        ShowMessageBox(nullptr, "key", "c", kErrorBoxStyle);
        {
            const MessageSubject value(
                ValueSubject("HKCU\\Software\\Brenhold-Soft\\Mach3Lensora", "Camera Index"));
            ShowMessageBox(nullptr, "value", "c", kErrorBoxStyle);
        }
        ShowMessageBox(nullptr, "key again", "c", kErrorBoxStyle);
    }
    ShowMessageBox(nullptr, "none again", "c", kErrorBoxStyle);
    const std::vector<std::string> expected = {
        "",
        "HKCU\\Software\\Brenhold-Soft\\Mach3Lensora",
        "HKCU\\Software\\Brenhold-Soft\\Mach3Lensora \"Camera Index\"",
        "HKCU\\Software\\Brenhold-Soft\\Mach3Lensora",
        "",
    };
    ASSERT_EQ(boxes.Boxes().size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(boxes.Boxes()[i].subject, expected[i]) << boxes.Boxes()[i].text;
        EXPECT_EQ(boxes.Boxes()[i].text.find("  "), std::string::npos);
    }
}

// ---- A report dialog run hidden, as the collect run runs the test commands ----

bool g_windowWasVisible = false;
LPARAM g_initParameter = 0;
HWND g_hiddenDialog = nullptr;
bool g_sawCommandAfterInit = false;

// Watches every message of the thread for a window of it that is visible.
LRESULT CALLBACK WatchVisibility(int code, WPARAM wParam, LPARAM lParam) {
    if (code >= 0 && IsWindowVisible(reinterpret_cast<CWPRETSTRUCT*>(lParam)->hwnd)) {
        g_windowWasVisible = true;
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

INT_PTR CALLBACK CommandUnderTest(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        g_hiddenDialog = dialog;
        g_initParameter = lParam;
        // A control's notification reaches the command procedure too.
        SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(4242, 0), 0);
        return TRUE;
    }
    if (message == WM_COMMAND && LOWORD(wParam) == 4242) {
        g_sawCommandAfterInit = g_hiddenDialog != nullptr;
    }
    return FALSE;
}

TEST(HiddenDialog, RunsTheCommandInItsInitialisationAndIsNeverShown) {
    const HHOOK hook =
        SetWindowsHookExA(WH_CALLWNDPROCRET, WatchVisibility, nullptr, GetCurrentThreadId());
    ASSERT_NE(hook, nullptr);
    const INT_PTR result =
        RunDialogHidden(GetModuleHandleA(nullptr), IDD_REPORT, CommandUnderTest, 7);
    UnhookWindowsHookEx(hook);
    EXPECT_EQ(result, 0);
    EXPECT_EQ(g_initParameter, 7);
    EXPECT_TRUE(g_sawCommandAfterInit);
    EXPECT_FALSE(g_windowWasVisible);
    ASSERT_NE(g_hiddenDialog, nullptr);
    EXPECT_FALSE(IsWindow(g_hiddenDialog));
}

}  // namespace
