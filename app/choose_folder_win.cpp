#include <windows.h>
#include <objbase.h>
#include <shlobj.h>

#include "app/commands_win.h"

namespace {

// The system's folder picker, as Windows XP has it; empty when cancelled.
std::string ChooseFolder(HWND owner, const char* title) {
    char path[MAX_PATH] = {};
    BROWSEINFOA browse = {};
    browse.hwndOwner = owner;
    browse.pszDisplayName = path;
    browse.lpszTitle = title;
    browse.ulFlags = BIF_RETURNONLYFSDIRS;
    LPITEMIDLIST chosen = SHBrowseForFolderA(&browse);
    if (chosen == nullptr) {
        return std::string();
    }
    const bool named = SHGetPathFromIDListA(chosen, path) != FALSE;
    CoTaskMemFree(chosen);
    return named ? std::string(path) : std::string();
}

}  // namespace

void ChooseAndCompareFolders(HWND owner) {
    const std::string first = ChooseFolder(
        owner,
        "Compare Folders: the folder of the logs of a good machine (the first log of each pair)");
    if (first.empty()) {
        return;
    }
    const std::string second =
        ChooseFolder(owner, "Compare Folders: the folder of the logs of the other machine");
    if (second.empty()) {
        return;
    }
    OpenFolderComparison(first, second, owner);
}
