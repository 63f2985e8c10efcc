// The forms a report document is written in. Each takes the document's Windows-1252 texts
// and escapes them as its form demands, so that a cell always stays one cell of text; each
// gives the same bytes for the same document.
#pragma once

#include <string>

#include "report/report_document.h"

// Tab-separated Windows-1252 text, CR LF after every line; what people paste into a ticket.
std::string ReportTsv(const Document& document);

// One self-contained HTML5 page in UTF-8: no script, nothing loaded from elsewhere.
std::string ReportHtml(const Document& document);

// UTF-8 JSON for programs, in the form docs/report.schema.json describes.
std::string ReportJson(const Document& document);

// UTF-8 CSV with a byte-order mark, one header line, CR LF: what a spreadsheet opens.
std::string ReportCsv(const Document& document);
