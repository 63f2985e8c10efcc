// Test runner for the Wine tests: the process is set up as the program's
// start-up would set it up, and no message box is ever shown for real.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include "platform/shell_state_win.h"
#include "report/log_format.h"
#include "tests/win/test_support.h"

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&controls);
    g_programInstance = GetModuleHandleA(nullptr);
    FillBlankBuffer();
    MessageBoxRecorder noRealBoxes;
    return RUN_ALL_TESTS();
}
