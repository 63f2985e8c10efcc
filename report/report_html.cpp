// One HTML5 page that a person reads in any browser, mails or prints: UTF-8, the style
// inline, no script and nothing loaded from elsewhere, so it shows the same offline, in a
// ticket system's preview and on paper. The sections come in the document's order; a row
// that tells more elsewhere links to that section's id. Marks are a class and a text.
//
// Every text of the logs goes through AppendText: the five characters that HTML reads as
// markup become references, and a control byte (which the HTML parser takes as an error)
// becomes a visible "\xHH" of its own. Attributes hold only our own class names and ids
// that IsAnchorId accepted, never a text of the logs.
#include <set>

#include "report/report_writers.h"
#include "report/windows1252.h"

namespace {

const char kStyle[] =
    "body{font:14px/1.4 \"Segoe UI\",Tahoma,Arial,sans-serif;color:#111;background:#fff;"
    "margin:1.5em}\n"
    "h1{font-size:1.5em;margin:0 0 .8em}\n"
    "h2{font-size:1.2em;margin:1.8em 0 .5em;padding-bottom:.2em;border-bottom:2px solid #888}\n"
    "table{border-collapse:collapse;margin:.4em 0 1em;max-width:100%}\n"
    "table.rows{width:100%}\n"
    "caption{text-align:left;font-weight:bold;padding:.3em 0}\n"
    // A cell keeps its blanks and line breaks and wraps anywhere rather than run off the
    // page; its least width keeps a short column from being squeezed to a letter a line
    // beside a long one.
    "th,td{border:1px solid #bbb;padding:.25em .5em;text-align:left;vertical-align:top}\n"
    "td{white-space:pre-wrap;overflow-wrap:anywhere;min-width:5em}\n"
    "td.number,td.mark{min-width:0}\n"
    "thead th{background:#e8e8e8}\n"
    "table.facts th{background:#f3f3f3;font-weight:normal;white-space:nowrap}\n"
    "td.number{text-align:right;font-variant-numeric:tabular-nums}\n"
    "td.mark{font-weight:bold;white-space:nowrap}\n"
    "td.none{font-style:italic;color:#555}\n"
    ".badge{display:inline-block;padding:0 .4em;margin-right:.5em;border:2px solid;"
    "border-radius:.3em;font-size:.8em;font-weight:bold;text-transform:uppercase;"
    "vertical-align:middle}\n"
    ".cell-mark{display:inline-block;margin-left:.3em;padding:0 .3em;border:1px solid;"
    "border-radius:.2em;font-size:.8em}\n"
    ".byte{border:1px dotted #555;padding:0 .15em;font-family:Consolas,monospace;"
    "font-size:.85em}\n"
    "ul.notes{margin:.3em 0 .8em;padding-left:1.4em}\n"
    "section.mark-fail{border-left:6px solid #b00020;padding-left:.8em}\n"
    "section.mark-warn{border-left:6px solid #a36200;padding-left:.8em}\n"
    "tr.mark-only_in_first td{background:#e3efff}\n"
    "tr.mark-only_in_second td{background:#fff3d1}\n"
    "tr.mark-other_values td,tr.mark-different td,td.cell-different{background:#fde7e9}\n"
    "td.cell-missing{background:#eee;font-style:italic}\n"
    "tr.mark-separating td:first-child{font-weight:bold}\n"
    "tr.mark-expected_to_vary td{color:#555}\n"
    "tr.mark-fail td.mark,.badge.mark-fail{color:#b00020}\n"
    "tr.mark-warn td.mark,.badge.mark-warn{color:#a36200}\n"
    "tr.mark-pass td.mark,.badge.mark-pass{color:#1b6e20}\n"
    "tr.mark-not_judged td.mark,.badge.mark-not_judged{color:#555}\n"
    "a{color:#0645ad}\n"
    "@page{margin:12mm}\n"
    // On paper the colours go (many printers drop them anyway); the marks' texts stay.
    "@media print{body{margin:0;font-size:9pt}h2{break-after:avoid}"
    "tr,caption,table.facts{break-inside:avoid}thead{display:table-header-group}"
    "a{color:inherit;text-decoration:none}"
    "td,thead th,table.facts th{background:none!important}"
    "section.mark-fail,section.mark-warn{border-left-width:3pt}}\n";

// Control characters: the HTML parser reports each as an error, and most show as nothing.
bool IsControl(std::uint32_t codePoint) {
    return (codePoint < 0x20 && codePoint != '\t' && codePoint != '\n' && codePoint != '\r') ||
           (codePoint >= 0x7F && codePoint <= 0x9F);
}

std::string ByteText(unsigned char byte) {
    const char digits[] = "0123456789ABCDEF";
    return std::string("\\x") + digits[byte >> 4] + digits[byte & 0xF];
}

// `markup` false where no element may stand (the page's title): a control byte is then the
// "\xHH" text alone.
void AppendText(std::string& html, const std::string& text, bool markup = true) {
    for (char c : text) {
        const unsigned char byte = static_cast<unsigned char>(c);
        const std::uint32_t codePoint = Windows1252CodePoint(byte);
        if (IsControl(codePoint)) {
            html += markup ? "<span class=\"byte\">" + ByteText(byte) + "</span>" : ByteText(byte);
            continue;
        }
        switch (c) {
            case '&':
                html += "&amp;";
                break;
            case '<':
                html += "&lt;";
                break;
            case '>':
                html += "&gt;";
                break;
            case '"':
                html += "&quot;";
                break;
            case '\'':
                html += "&#39;";
                break;
            default:
                AppendUtf8(html, codePoint);
        }
    }
}

std::string MarkClass(Mark mark) {
    return std::string("mark-") + MarkName(mark);
}

struct Page {
    std::string html;
    std::set<std::string> ids;  // the sections' ids that the page holds, for the links
};

void AppendCellContent(std::string& html, const Cell& cell) {
    if (cell.type == CellType::Text) {
        AppendText(html, cell.text);
    } else if (cell.type == CellType::Number) {
        html += std::to_string(cell.number);
    }
}

void AppendCell(Page& page, const Cell& cell, const std::string& link) {
    std::string classes;
    if (cell.type == CellType::Number) {
        classes = "number";
    }
    if (cell.mark != Mark::None) {
        classes += (classes.empty() ? "cell-" : " cell-") + std::string(MarkName(cell.mark));
    }
    page.html += classes.empty() ? "<td>" : "<td class=\"" + classes + "\">";
    if (!link.empty()) {
        page.html += "<a href=\"#";
        AppendText(page.html, link);
        page.html += "\">";
    }
    AppendCellContent(page.html, cell);
    if (!link.empty()) {
        if (cell.type == CellType::Empty) {
            page.html += "details";
        }
        page.html += "</a>";
    }
    // An equal cell is told by its class alone: only what stands out gets a word.
    if (cell.mark != Mark::None && cell.mark != Mark::Equal) {
        page.html += std::string(cell.type == CellType::Empty ? "" : " ") +
                     "<span class=\"cell-mark\">" + MarkText(cell.mark) + "</span>";
    }
    page.html += "</td>";
}

void AppendTable(Page& page, const Table& table) {
    const bool marks = HasRowMarks(table);
    page.html += "<table class=\"rows\">\n";
    if (!table.title.empty()) {
        page.html += "<caption>";
        AppendText(page.html, table.title);
        page.html += "</caption>\n";
    }
    page.html += "<thead><tr>";
    for (const Column& column : table.columns) {
        page.html += "<th scope=\"col\">";
        AppendText(page.html, column.title);
        page.html += "</th>";
    }
    if (marks) {
        page.html += "<th scope=\"col\">";
        AppendText(page.html, MarkColumnTitle(table));
        page.html += "</th>";
    }
    page.html += "</tr></thead>\n<tbody>\n";
    if (table.rows.empty()) {
        page.html += "<tr><td class=\"none\" colspan=\"" +
                     std::to_string(table.columns.size() + (marks ? 1 : 0)) + "\">none</td></tr>\n";
    }
    for (const Row& row : table.rows) {
        page.html += row.mark == Mark::None ? "<tr>" : "<tr class=\"" + MarkClass(row.mark) + "\">";
        // A link to a section the page does not hold would lead nowhere: the text stays.
        const std::string link = page.ids.count(row.link) != 0 ? row.link : std::string();
        for (size_t c = 0; c < table.columns.size(); ++c) {
            AppendCell(page, c < row.cells.size() ? row.cells[c] : EmptyCell(),
                       c == 0 ? link : std::string());
        }
        if (marks) {
            page.html += "<td class=\"mark\">";
            page.html += MarkText(row.mark);
            page.html += "</td>";
        }
        page.html += "</tr>\n";
    }
    page.html += "</tbody>\n</table>\n";
}

void AppendSection(Page& page, const Section& section, bool withId) {
    page.html += "<section";
    if (withId) {
        page.html += " id=\"";
        AppendText(page.html, section.id);
        page.html += "\"";
    }
    if (section.mark != Mark::None) {
        page.html += " class=\"" + MarkClass(section.mark) + "\"";
    }
    page.html += ">\n<h2>";
    if (section.mark != Mark::None) {
        page.html += "<span class=\"badge " + MarkClass(section.mark) + "\">" +
                     MarkText(section.mark) + "</span> ";
    }
    AppendText(page.html, section.title);
    page.html += "</h2>\n";
    if (!section.facts.empty()) {
        page.html += "<table class=\"facts\">\n<tbody>\n";
        for (const Fact& fact : section.facts) {
            page.html += "<tr><th scope=\"row\">";
            AppendText(page.html, fact.title);
            page.html += "</th>";
            AppendCell(page, fact.value, std::string());
            page.html += "</tr>\n";
        }
        page.html += "</tbody>\n</table>\n";
    }
    if (!section.notes.empty()) {
        page.html += "<ul class=\"notes\">\n";
        for (const std::string& note : section.notes) {
            page.html += "<li>";
            AppendText(page.html, note);
            page.html += "</li>\n";
        }
        page.html += "</ul>\n";
    }
    for (const Table& table : section.tables) {
        if (!table.columns.empty()) {
            AppendTable(page, table);
        }
    }
    page.html += "</section>\n";
}

}  // namespace

std::string ReportHtml(const Document& document) {
    Page page;
    // Only the first section of an id gets it, so that every link has one place to go.
    std::vector<bool> withId;
    for (const Section& section : document.sections) {
        withId.push_back(IsAnchorId(section.id) && page.ids.insert(section.id).second);
    }
    page.html =
        "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n"
        "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n<title>";
    AppendText(page.html, document.title.empty() ? "Vorlix report" : document.title, false);
    page.html += "</title>\n<style>\n";
    page.html += kStyle;
    page.html += "</style>\n</head>\n<body>\n";
    if (!document.title.empty()) {
        page.html += "<h1>";
        AppendText(page.html, document.title);
        page.html += "</h1>\n";
    }
    for (size_t i = 0; i < document.sections.size(); ++i) {
        AppendSection(page, document.sections[i], withId[i]);
    }
    page.html += "</body>\n</html>\n";
    return page.html;
}
