#include "app/report_bytes.h"

#include "report/report_form.h"

std::string ReportBytesFor(const std::string& path, const std::string& text,
                           const Document& document) {
    const ReportForm form = ReportFormOfFileName(path);
    // The tab-separated reports keep the text they always had, which scripts read.
    return form == ReportForm::Tsv ? text : ReportBytes(document, form);
}
