// "Save report..." in the views: the system's save dialog, then the same bytes /report
// writes for the same input.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "report/report_form.h"

// Adds the button (IDC_SAVE_REPORT) left of "OK".
void AddSaveReportButton(HWND dialog);

// Asks for a file (HTML by default, JSON, CSV or tab-separated text by their types),
// refuses one that is among `inputs` (the files the view read: a report over them would
// destroy them) and writes the report whole or not at all, saying why in a box when not.
// `makeReport` runs only once a file is chosen. True when a report was written.
bool SaveReportAs(HWND dialog, const std::string& suggestedName,
                  const std::vector<std::string>& inputs,
                  const std::function<ReportContent()>& makeReport);

// Writes the bytes as the report file `path`, whole or not at all; false after a box
// that names the file and says why.
bool WriteReportFile(const std::string& path, const std::string& bytes);

// Why the report must not be written to `report`, naming it, when it is one of `inputs`
// (however named); empty when it may.
std::string ReportIsInputFile(const std::string& report, const std::vector<std::string>& inputs);
