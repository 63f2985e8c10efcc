#include "platform/shell_state_win.h"

HINSTANCE g_programInstance = nullptr;
HWND g_mainWindow = nullptr;
char g_firstLogName[kLogNameSize];
char g_secondLogName[kLogNameSize];
