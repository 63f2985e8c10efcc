// Test runner for the Wine tests: the process is set up as the program's
// start-up would set it up, and no message box is ever shown for real.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include "platform/shell_state_win.h"
#include "report/log_format.h"
#include "tests/win/test_support.h"

namespace {

// The program always has a main window, and a few boxes are owned by it while the others have
// no owner; a hidden window in its place lets the tests tell the two apart. Each test starts
// with it (a test may put another window in its place).
class MainWindowForEachTest : public testing::EmptyTestEventListener {
public:
    MainWindowForEachTest()
        : window_(CreateWindowA("STATIC", "Vorlix", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                GetModuleHandleA(nullptr), nullptr)) {}
    void OnTestStart(const testing::TestInfo&) override { g_mainWindow = window_; }

private:
    HWND window_;
};

}  // namespace

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&controls);
    g_programInstance = GetModuleHandleA(nullptr);
    FillBlankBuffer();
    MessageBoxRecorder noRealBoxes;
    testing::UnitTest::GetInstance()->listeners().Append(new MainWindowForEachTest);
    return RUN_ALL_TESTS();
}
