#include <windows.h>
#include <objbase.h>
#include <shlobj.h>

#include "app/commands_win.h"
#include "app/many_bundles_win.h"

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

// The picker takes one folder at a time, and asking for bundle after bundle until the user
// cancels would make the common case of two folders slower. A supporter keeps the bundles
// of many customers in one folder, so the first choice may be that folder instead: when it
// holds bundles as its folders and is itself no bundle, their matrix opens at once (as a
// drop of it or `/compare folders PARENT` does); any other folder is the good machine's,
// and the other machine's folder is asked for as before.
void ChooseAndCompareFolders(HWND owner) {
    const std::string first =
        ChooseFolder(owner,
                     "Compare Folders: the folder of the logs of a good machine (the first log of "
                     "each pair), or a folder that holds several bundles as its folders");
    if (first.empty()) {
        return;
    }
    if (IsFolderOfBundles(first)) {
        OpenManyBundles({first}, {}, owner);
        return;
    }
    const std::string second =
        ChooseFolder(owner, "Compare Folders: the folder of the logs of the other machine");
    if (second.empty()) {
        return;
    }
    OpenFolderComparison(first, second, owner);
}
