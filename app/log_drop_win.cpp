#include <windows.h>
#include <shellapi.h>

#include <string>
#include <vector>

#include "app/command_line.h"
#include "app/commands_win.h"
#include "app/many_bundles_win.h"
#include "platform/file_kind_win.h"
#include "platform/message_box_win.h"
#include "platform/shell_state_win.h"

namespace {

const char kDropHint[] =
    "To compare two logs, drop two log files of one kind on Vorlix: two "
    "*.logServices, two *.logDlls, two *.logAnalyze... or two *.logMessages files.";
const char kFoldersHint[] =
    " Two folders of collected logs dropped together are compared log by log; three or more "
    "folders, or one folder that holds bundles as its folders, open the matrix of many bundles.";

// Three or more folders, or one folder of bundles: what `/compare folders` opens as a matrix.
bool AreManyBundles(const std::vector<std::string>& names) {
    for (const std::string& name : names) {
        if (!IsFolder(name)) {
            return false;
        }
    }
    return names.size() >= 3 || (names.size() == 1 && IsFolderOfBundles(names[0]));
}

// The dropped names, or nothing when a name would not fit a log name buffer.
std::vector<std::string> DroppedNames(HDROP drop) {
    std::vector<std::string> names;
    const UINT count = DragQueryFileA(drop, 0xFFFFFFFF, nullptr, 0);
    for (UINT i = 0; i < count; ++i) {
        const UINT length = DragQueryFileA(drop, i, nullptr, 0);
        if (length == 0 || length >= static_cast<UINT>(kLogNameSize)) {
            return {};
        }
        char name[kLogNameSize] = {};
        DragQueryFileA(drop, i, name, sizeof name);
        names.push_back(name);
    }
    return names;
}

}  // namespace

// The first file of the drop becomes the first log (its records give the
// rows), the second the second log, as with the two file dialogs.
void OpenDroppedLogs(HWND window, HDROP drop) {
    std::vector<std::string> names;
    try {
        names = DroppedNames(drop);
    } catch (...) {
        names.clear();
    }
    DragFinish(drop);
    // A drop leaves Explorer in front; the comparison belongs before it.
    if (names.size() == 2 && IsFolder(names[0]) && IsFolder(names[1])) {
        SetForegroundWindow(window);
        OpenFolderComparison(names[0], names[1], window);
        return;
    }
    if (AreManyBundles(names)) {
        SetForegroundWindow(window);
        OpenManyBundles(names, {}, window);
        return;
    }
    const CompareKind kind =
        names.size() == 2 ? DroppedLogsKind(names[0], names[1]) : CompareKind::None;
    if (kind == CompareKind::None) {
        // Two files of other kinds are named, so the user sees which one is off.
        std::string text = kDropHint;
        if (names.size() == 2 && !IsFolder(names[0]) && !IsFolder(names[1])) {
            text = DroppedLogsMismatch(names[0], names[1]) + " " + text;
        }
        text += kFoldersHint;
        ShowMessageBox(window, text.c_str(), "Vorlix", MB_OK | MB_ICONINFORMATION);
        return;
    }
    lstrcpynA(g_firstLogName, names[0].c_str(), kLogNameSize);
    lstrcpynA(g_secondLogName, names[1].c_str(), kLogNameSize);
    SetForegroundWindow(window);
    OpenComparison(kind, window);
}
