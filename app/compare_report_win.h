// "/compare ... /report FILE": the comparison without a window, written to a file.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "app/command_line.h"

// Compares the two logs or folders of the request and writes the report;
// every message goes to standard output. Returns kExitNoMessage when nothing
// differs, kExitMessages when something does, kExitBadArguments when a log
// or folder cannot be read or the report cannot be written.
int RunCompareReport(const StartRequest& request);

// A box as a console line ("caption<TAB>subject  text"): the box target of every report
// written without a window.
int PrintBox(HWND owner, const char* text, const char* caption, UINT style, const char* subject);

// Why the report must not go to `report`: the console line naming the bundle whose file it
// is (a log of Vorlix, its manifest, or any of its files under another name); empty when it
// may.
std::string ReportIsBundleFile(const std::string& report, const std::vector<std::string>& folders);
