#include <windows.h>
#include <commdlg.h>

#include "app/commands_win.h"
#include "platform/shell_state_win.h"

int ChooseLogFile(char* fileName, const char* initialDirectory, const char* filter) {
    OPENFILENAMEA dialog = {};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = g_mainWindow;
    dialog.hInstance = g_programInstance;
    dialog.lpstrFilter = filter;
    dialog.lpstrFile = fileName;
    dialog.nMaxFile = kLogNameSize;
    dialog.lpstrInitialDir = initialDirectory;
    dialog.lpstrTitle =
        "Datei zum \xD6"
        "ffnen ausw\xE4hlen";
    dialog.Flags = OFN_EXPLORER;
    dialog.lpstrDefExt = "set";
    return GetOpenFileNameA(&dialog) ? 1 : 0;
}
