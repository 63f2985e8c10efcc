// The form a report file is written in, chosen by its name.
#pragma once

#include <string>

#include "report/report_document.h"

enum class ReportForm { Tsv, Html, Json, Csv };

// ".html" and ".htm" give HTML, ".json" JSON, ".csv" CSV, in any case; every other name
// (none, ".txt", ".tsv", a folder's dot) tab-separated text, as reports were before. Dots
// and blanks at the name's end do not count: Windows drops them from the file it creates.
ReportForm ReportFormOfFileName(const std::string& fileName);

// The document's bytes in that form.
std::string ReportBytes(const Document& document, ReportForm form);

// A report as the tab-separated text scripts have always read and as the document every
// other form is written from. /report and the views' "Save report..." both write
// BytesFor(their file), so the same input gives the same file either way.
struct ReportContent {
    std::string text;
    Document document;

    // `text` for a tab-separated report, else the document in the form of the file name.
    std::string BytesFor(const std::string& path) const;
};
