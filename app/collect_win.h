// The collect run: the three test commands without a window.
#pragma once

#include <windows.h>

#include <string>

// Runs the three test commands as the menu would, in report dialogs never shown, with
// their message boxes going to the messages log; then, unless `folder` (a full path) is
// empty or C:\ itself, makes it hold this run's logs, the messages log and the manifest.
// Ends with the closing line on the console. Returns kExitNoMessage or kExitMessages.
int RunCollect(const std::string& folder);

// Test > Diagnose: the three test commands as /collect runs them (no window, their boxes into
// the messages log), the diagnosis of the logs they wrote into C:\Lensora_Brenhold.logDiagnosis,
// then the verdicts in the report dialog over `owner`.
void RunDiagnoseCommand(HWND owner);
