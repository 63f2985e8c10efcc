// "/diagnose FOLDER": the verdicts of a bundle folder, in the view or as a report.
#pragma once

#include <windows.h>

#include <string>

#include "app/command_line.h"

// Opens the diagnosis view of the bundle in `folder` over the owner; a folder without a log
// of Vorlix gets a box that says so.
void OpenBundleDiagnosis(const std::string& folder, HWND owner);

// "/diagnose FOLDER /report FILE": writes the verdicts, failures first; every message goes
// to standard output. kExitNoMessage when no rule failed, kExitMessages when one did,
// kExitBadArguments when the bundle cannot be read or the report cannot be written.
int RunDiagnoseReport(const StartRequest& request);

// Posted to the main window; lParam points at the folder (a string that lives as long as the
// message loop).
constexpr UINT kOpenBundleDiagnosisMessage = WM_APP + 3;
