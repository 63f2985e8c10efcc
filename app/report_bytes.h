// A report in the form its file name asks for: HTML, JSON or CSV from the report's
// document; any other name gets the tab-separated text of the report as before.
#pragma once

#include <string>

#include "report/report_document.h"

// The bytes to write to `path`: `text` for a tab-separated report, else the document in the
// form of the file name's extension.
std::string ReportBytesFor(const std::string& path, const std::string& text, const Document& document);
