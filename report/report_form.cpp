#include "report/report_form.h"

#include "platform/ascii_case.h"
#include "platform/path_text.h"
#include "report/report_writers.h"

namespace {

struct FormOfExtension {
    const char* extension;  // lower case, with its dot
    ReportForm form;
};

const FormOfExtension kForms[] = {
    {".html", ReportForm::Html},
    {".htm", ReportForm::Html},
    {".json", ReportForm::Json},
    {".csv", ReportForm::Csv},
};

}  // namespace

ReportForm ReportFormOfFileName(const std::string& fileName) {
    size_t end = fileName.size();
    while (end > 0 && (fileName[end - 1] == '.' || fileName[end - 1] == ' ')) {
        --end;
    }
    // The extension of the last part of the path only: "C:\reports.html\out" is no HTML.
    const std::string extension = FoldAsciiCase(ExtensionOfPath(fileName.substr(0, end)));
    for (const FormOfExtension& entry : kForms) {
        if (extension == entry.extension) {
            return entry.form;
        }
    }
    return ReportForm::Tsv;
}

std::string ReportBytes(const Document& document, ReportForm form) {
    switch (form) {
        case ReportForm::Html:
            return ReportHtml(document);
        case ReportForm::Json:
            return ReportJson(document);
        case ReportForm::Csv:
            return ReportCsv(document);
        case ReportForm::Tsv:
            break;
    }
    return ReportTsv(document);
}

std::string ReportContent::BytesFor(const std::string& path) const {
    const ReportForm form = ReportFormOfFileName(path);
    return form == ReportForm::Tsv ? text : ReportBytes(document, form);
}
