// Entry point: registers the class, creates the main window and runs the
// message loop.
#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

#include <string>
#include <vector>

#include "app/collect_plan.h"
#include "app/collect_win.h"
#include "app/compare_report_win.h"
#include "app/diagnose_bundle_win.h"
#include "app/many_bundles_win.h"
#include "compare/folder_summary_win.h"
#include "app/command_line.h"
#include "app/commands_win.h"
#include "app/console_win.h"
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

void InitCommonControlClasses() {
    INITCOMMONCONTROLSEX controls = {};
    controls.dwSize = sizeof controls;
    controls.dwICC =
        ICC_LISTVIEW_CLASSES | ICC_TREEVIEW_CLASSES | ICC_PROGRESS_CLASS | ICC_LINK_CLASS;
    InitCommonControlsEx(&controls);
}

// The full path, as the file-open dialog would give it; false when it does
// not fit the buffer.
bool FullPathInto(const std::string& path, char* buffer, DWORD size) {
    const DWORD length = GetFullPathNameA(path.c_str(), size, buffer, nullptr);
    return length != 0 && length < size;
}

// The collect folder as a full path; empty, or a line saying why it cannot be one. A path
// too long for the file API is told as such before the system is asked to resolve it.
std::string ResolveCollectFolder(std::string* folder) {
    std::string problem = FolderLengthProblem(*folder);
    if (!problem.empty()) {
        return problem;
    }
    // Asked for its length first: a relative folder may grow past any fixed buffer.
    const DWORD needed = GetFullPathNameA(folder->c_str(), 0, nullptr, nullptr);
    std::string full(needed + 1, '\0');
    const DWORD length =
        needed == 0 ? 0 : GetFullPathNameA(folder->c_str(), needed + 1, &full[0], nullptr);
    if (length == 0 || length > needed) {
        return "The folder " + *folder + " cannot be made a full path.";
    }
    full.resize(length);
    // "D:\logs\" and "D:\logs" are one folder; the root keeps its backslash.
    while (full.size() > 3 && full.back() == '\\') {
        full.pop_back();
    }
    *folder = full;
    return FolderLengthProblem(*folder);
}

StartRequest ReadStartRequest(const char* commandLine) {
    try {
        StartRequest request = ParseArguments(SplitCommandLine(commandLine));
        // Resolved now: the analysis moves the current directory.
        if (request.mode == StartMode::Collect && !request.folder.empty()) {
            request.problem = ResolveCollectFolder(&request.folder);
            if (!request.problem.empty()) {
                request.mode = StartMode::BadArguments;
            }
        }
        if (request.mode == StartMode::Compare &&
            (!FullPathInto(request.first, g_firstLogName, kLogNameSize) ||
             !FullPathInto(request.second, g_secondLogName, kLogNameSize))) {
            request.mode = StartMode::BadArguments;
        }
        if (request.mode == StartMode::Compare) {
            request.first = g_firstLogName;
            request.second = g_secondLogName;
        }
        std::vector<std::string*> paths = {&request.report};
        if (request.mode == StartMode::CompareFolders) {
            paths.push_back(&request.first);
            paths.push_back(&request.second);
        }
        if (request.mode == StartMode::Diagnose) {
            paths.push_back(&request.first);
        }
        for (std::string& folder : request.folders) {
            paths.push_back(&folder);
        }
        for (std::string& folder : request.badFolders) {
            paths.push_back(&folder);
        }
        char full[MAX_PATH];
        for (std::string* path : paths) {
            if (path->empty()) {
                continue;
            }
            if (FullPathInto(*path, full, sizeof full)) {
                *path = full;
            } else {
                request.mode = StartMode::BadArguments;
            }
        }
        return request;
    } catch (...) {
        StartRequest request;
        request.mode = StartMode::BadArguments;
        return request;
    }
}

int Collect(HINSTANCE instance, const std::string& folder) {
    g_programInstance = instance;
    InitCommonControlClasses();
    FillBlankBuffer();
    try {
        return RunCollect(folder);
    } catch (...) {
        return kExitMessages;
    }
}

int Report(HINSTANCE instance, const StartRequest& request) {
    g_programInstance = instance;
    try {
        if (request.mode == StartMode::CompareBundles) {
            return RunManyBundlesReport(request);
        }
        return request.mode == StartMode::Diagnose ? RunDiagnoseReport(request)
                                                   : RunCompareReport(request);
    } catch (...) {
        WriteToStartingConsole("Vorlix: the comparison ran out of memory.\r\n");
        return kExitBadArguments;
    }
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int showCommand) {
    const StartRequest request = ReadStartRequest(commandLine);
    switch (request.mode) {
        case StartMode::Usage:
            WriteToStartingConsole(kUsageText);
            return kExitNoMessage;
        case StartMode::BadArguments:
            WriteToStartingConsole("Bad arguments.\r\n");
            if (!request.problem.empty()) {
                WriteToStartingConsole((request.problem + "\r\n").c_str());
            }
            WriteToStartingConsole("\r\n");
            WriteToStartingConsole(kUsageText);
            return kExitBadArguments;
        case StartMode::Collect:
            return Collect(instance, request.folder);
        case StartMode::Compare:
        case StartMode::CompareFolders:
        case StartMode::Diagnose:
        case StartMode::CompareBundles:
            if (!request.report.empty()) {
                return Report(instance, request);
            }
            break;
        case StartMode::Window:
            break;
    }

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
    DragAcceptFiles(g_mainWindow, TRUE);
    InitCommonControlClasses();

    ShowWindow(g_mainWindow, showCommand);
    UpdateWindow(g_mainWindow);
    FillBlankBuffer();
    // Opened from the message loop, over the shown main window.
    if (request.mode == StartMode::Compare) {
        PostMessageA(g_mainWindow, kOpenComparisonMessage, static_cast<WPARAM>(request.compareKind),
                     0);
    }
    const FolderPair folders = {request.first, request.second};
    if (request.mode == StartMode::CompareFolders) {
        PostMessageA(g_mainWindow, kOpenFolderComparisonMessage, 0,
                     reinterpret_cast<LPARAM>(&folders));
    }
    if (request.mode == StartMode::CompareBundles) {
        PostMessageA(g_mainWindow, kOpenManyBundlesMessage, 0, reinterpret_cast<LPARAM>(&request));
    }
    if (request.mode == StartMode::Diagnose) {
        PostMessageA(g_mainWindow, kOpenBundleDiagnosisMessage, 0,
                     reinterpret_cast<LPARAM>(&request.first));
    }

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
