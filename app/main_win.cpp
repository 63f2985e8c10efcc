// Entry point: registers the class, creates the main window and runs the
// message loop.
#include <windows.h>
#include <commctrl.h>

#include "app/commands_win.h"
#include "platform/shell_state_win.h"
#include "report/log_format.h"
#include "res/resource.h"

#ifndef ICC_LINK_CLASS
#define ICC_LINK_CLASS 0x00008000
#endif

namespace {

constexpr int kTextBufferSize = 128;
char g_windowTitle[kTextBufferSize];
char g_windowClass[kTextBufferSize];

void RegisterMainWindowClass(HINSTANCE instance) {
    WNDCLASSEXA windowClass = {};
    windowClass.cbSize = sizeof windowClass;
    windowClass.style = CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = MainWindowProc;
    windowClass.hInstance = instance;
    windowClass.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(IDI_VORLIX));
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    windowClass.lpszMenuName = MAKEINTRESOURCEA(IDC_VORLIX_MENU);
    windowClass.lpszClassName = g_windowClass;
    windowClass.hIconSm = LoadIconA(instance, MAKEINTRESOURCEA(IDI_VORLIX_SMALL));
    // A failure shows as a failed window creation.
    RegisterClassExA(&windowClass);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand) {
    LoadStringA(instance, IDS_APP_TITLE, g_windowTitle, kTextBufferSize);
    LoadStringA(instance, IDS_WINDOW_CLASS, g_windowClass, kTextBufferSize);
    RegisterMainWindowClass(instance);

    g_programInstance = instance;
    g_mainWindow =
        CreateWindowExA(0, g_windowClass, g_windowTitle, WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, 0,
                        CW_USEDEFAULT, 0, nullptr, nullptr, instance, nullptr);
    if (g_mainWindow == nullptr) {
        return 0;
    }

    INITCOMMONCONTROLSEX controls = {};
    controls.dwSize = sizeof controls;
    controls.dwICC =
        ICC_LISTVIEW_CLASSES | ICC_TREEVIEW_CLASSES | ICC_PROGRESS_CLASS | ICC_LINK_CLASS;
    InitCommonControlsEx(&controls);

    ShowWindow(g_mainWindow, showCommand);
    UpdateWindow(g_mainWindow);
    FillBlankBuffer();

    HACCEL accelerators = LoadAcceleratorsA(instance, MAKEINTRESOURCEA(IDC_VORLIX_ACCELERATORS));
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0)) {
        if (!TranslateAcceleratorA(message.hwnd, accelerators, &message)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
    }
    return static_cast<int>(message.wParam);
}
