#include "app/report_bytes.h"

#include "report/report_form.h"
#include "report/report_writers.h"

std::string ReportBytesFor(const std::string& path, const std::string& text,
                           const Document& document) {
    switch (ReportFormOfFileName(path)) {
        case ReportForm::Html:
            return ReportHtml(document);
        case ReportForm::Json:
            return ReportJson(document);
        case ReportForm::Csv:
            return ReportCsv(document);
        case ReportForm::Tsv:
            break;
    }
    return text;
}
