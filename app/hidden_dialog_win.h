// A command's report dialog run without ever showing it.
#pragma once

#include <windows.h>

// Runs the dialog template modally with the command procedure and its parameter, and ends
// it as soon as the procedure has handled WM_INITDIALOG, where a command does all its work;
// a dialog ended there is never shown. Returns DialogBoxParamA's result.
INT_PTR RunDialogHidden(HINSTANCE instance, int templateId, DLGPROC procedure, LPARAM parameter);
