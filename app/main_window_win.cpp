#include "app/collect_win.h"
#include "app/commands_win.h"
#include "app/diagnose_bundle_win.h"
#include "app/many_bundles_win.h"
#include "compare/folder_summary_win.h"
#include "platform/dialog_guard_win.h"
#include "platform/shell_state_win.h"
#include "res/resource.h"

namespace {

LRESULT HandleMainWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_COMMAND: {
            const int id = LOWORD(wParam);
            if (id == IDM_ABOUT) {
                DialogBoxParamA(g_programInstance, MAKEINTRESOURCEA(IDD_ABOUTBOX), window,
                                AboutDialogProc, 0);
                return 0;
            }
            if (id == IDM_DIAGNOSE) {
                RunDiagnoseCommand(window);
                return 0;
            }
            if (id == IDM_COMPARE_FOLDERS) {
                ChooseAndCompareFolders(window);
                return 0;
            }
            if (id == IDM_EXIT) {
                DestroyWindow(window);
                return 0;
            }
            if (const ReportCommand* command = FindReportCommand(id)) {
                RunReportCommand(*command, window);
                return 0;
            }
            return DefWindowProcA(window, message, wParam, lParam);
        }
        case WM_PAINT: {
            PAINTSTRUCT paint;
            BeginPaint(window, &paint);
            EndPaint(window, &paint);
            return 0;
        }
        case WM_DROPFILES:
            OpenDroppedLogs(window, reinterpret_cast<HDROP>(wParam));
            return 0;
        case kOpenComparisonMessage:
            OpenComparison(static_cast<CompareKind>(wParam), window);
            return 0;
        case kOpenFolderComparisonMessage: {
            const FolderPair* folders = reinterpret_cast<const FolderPair*>(lParam);
            OpenFolderComparison(folders->first, folders->second, window);
            return 0;
        }
        case kOpenManyBundlesMessage: {
            const StartRequest* request = reinterpret_cast<const StartRequest*>(lParam);
            OpenManyBundles(request->folders, request->badFolders, window);
            return 0;
        }
        case kOpenBundleDiagnosisMessage:
            OpenBundleDiagnosis(*reinterpret_cast<const std::string*>(lParam), window);
            return 0;
        case WM_DESTROY:
            PostQuitMessage(0);
            return 0;
        default:
            return DefWindowProcA(window, message, wParam, lParam);
    }
}

}  // namespace

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return GuardMessage<LRESULT>(
        0, [&] { return HandleMainWindowMessage(window, message, wParam, lParam); });
}
