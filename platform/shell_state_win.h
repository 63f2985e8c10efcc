// Process-wide state of the application shell, kept below every subsystem so
// that the sections and the comparison can reach it without including app/.
#pragma once

#include <windows.h>

constexpr int kLogNameSize = 261;

extern HINSTANCE g_programInstance;
// Owner of every dialog; also owner of the few message boxes that have one.
extern HWND g_mainWindow;
// The two logs chosen for a comparison; each keeps the last choice, which is
// offered again as the initial file name.
extern char g_firstLogName[kLogNameSize];
extern char g_secondLogName[kLogNameSize];
