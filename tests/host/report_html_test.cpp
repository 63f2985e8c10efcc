// The HTML report is opened by supporters in a browser: a log's text must never become
// markup there (a service can be named anything), the page must load nothing from
// elsewhere, and every link must lead to a place in the page.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <set>
#include <string>
#include <vector>

#include "report/report_writers.h"
#include "tests/host/report_test_documents.h"

namespace {

// The content of the only cell of OneCellDocument.
std::string CellHtml(const std::string& text) {
    const std::string html = ReportHtml(OneCellDocument(text));
    const std::string start = "<tbody>\n<tr><td>";
    const size_t from = html.find(start);
    const size_t to = html.find("</td></tr>\n</tbody>", from);
    if (from == std::string::npos || to == std::string::npos) {
        return "(no cell)";
    }
    return html.substr(from + start.size(), to - from - start.size());
}

// The values of every `name="..."` attribute in the page.
std::vector<std::string> Attributes(const std::string& html, const std::string& name) {
    std::vector<std::string> values;
    const std::string key = " " + name + "=\"";
    for (size_t at = html.find(key); at != std::string::npos; at = html.find(key, at + 1)) {
        const size_t start = at + key.size();
        values.push_back(html.substr(start, html.find('"', start) - start));
    }
    return values;
}

// The tags the writer itself writes; any other "<" came from a text.
void ExpectOnlyOwnTags(const std::string& html) {
    const std::set<std::string> own = {"!DOCTYPE", "html",  "head", "meta",    "title", "style",
                                       "body",     "h1",    "h2",   "section", "table", "caption",
                                       "thead",    "tbody", "tr",   "th",      "td",    "a",
                                       "span",     "ul",    "li"};
    for (size_t at = html.find('<'); at != std::string::npos; at = html.find('<', at + 1)) {
        size_t end = at + 1;
        if (end < html.size() && html[end] == '/') {
            ++end;
        }
        const size_t nameStart = end;
        while (end < html.size() &&
               (isalnum(static_cast<unsigned char>(html[end])) || html[end] == '!')) {
            ++end;
        }
        const std::string name = html.substr(nameStart, end - nameStart);
        EXPECT_TRUE(own.count(name) == 1 && (html[end] == '>' || html[end] == ' '))
            << "a tag the writer does not write: " << html.substr(at, 40);
    }
}

TEST(ReportHtml, HostileCellsStayText) {
    const struct {
        std::string cell;
        std::string html;
    } cases[] = {
        {"<script>alert(1)</script>", "&lt;script&gt;alert(1)&lt;/script&gt;"},
        {"</td></tr></table><b>", "&lt;/td&gt;&lt;/tr&gt;&lt;/table&gt;&lt;b&gt;"},
        {"a & b &amp;", "a &amp; b &amp;amp;"},
        {"\"q\" 'a'", "&quot;q&quot; &#39;a&#39;"},
        {"]]><!--", "]]&gt;&lt;!--"},
        {"a,b\tc", "a,b\tc"},
        {"a\r\nb\rc\nd", "a\r\nb\rc\nd"},  // shown as line breaks: the cells keep their blanks
        {"K\xF6ln D\xFCsseldorf M\xE4rz", "K\xC3\xB6ln D\xC3\xBCsseldorf M\xC3\xA4rz"},
        {"\x80\x9F\xA0\xFF", "\xE2\x82\xAC\xC5\xB8\xC2\xA0\xC3\xBF"},
        // Control characters are errors to an HTML parser and show as nothing: a visible
        // byte of its own instead, for each of them.
        {"\x81", "<span class=\"byte\">\\x81</span>"},
        {"\x8D\x8F\x90\x9D",
         "<span class=\"byte\">\\x8D</span><span class=\"byte\">\\x8F</span>"
         "<span class=\"byte\">\\x90</span><span class=\"byte\">\\x9D</span>"},
        {std::string("a\0b", 3), "a<span class=\"byte\">\\x00</span>b"},
        {"\x1B[31m", "<span class=\"byte\">\\x1B</span>[31m"},
        {"\x7F\x0C", "<span class=\"byte\">\\x7F</span><span class=\"byte\">\\x0C</span>"},
        {"", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(CellHtml(c.cell), c.html) << c.cell;
    }
}

TEST(ReportHtml, NoTextAnywhereBecomesMarkup) {
    const std::string hostile = "<script src=\"http://x\">'&\x81";
    Document document = PartsDocument();
    document.title = hostile;
    for (Section& section : document.sections) {
        section.title = hostile;
        section.notes.push_back(hostile);
        section.facts.push_back({"f", hostile, TextCell(hostile)});
        for (Table& table : section.tables) {
            table.title = hostile;
            table.markTitle = hostile;
            for (Column& column : table.columns) {
                column.title = hostile;
            }
            table.rows.push_back({{TextCell(hostile), EmptyCell()}, Mark::Missing, ""});
        }
    }
    const std::string html = ReportHtml(document);
    ExpectOnlyOwnTags(html);
    EXPECT_EQ(html.find("<script"), std::string::npos);
    // The texts may say "src=" and "http:" (a URL is worth reading): no tag may.
    for (size_t at = html.find('<'); at != std::string::npos; at = html.find('<', at + 1)) {
        const std::string tag = html.substr(at, html.find('>', at) - at);
        EXPECT_EQ(tag.find("src="), std::string::npos) << tag;
        EXPECT_EQ(tag.find("http"), std::string::npos) << tag;
        EXPECT_EQ(tag.find('\''), std::string::npos) << tag;
    }
    EXPECT_EQ(Attributes(html, "href"), (std::vector<std::string>{"#log-a"}));
}

TEST(ReportHtml, APageOfItsOwn) {
    const std::string html = ReportHtml(PartsDocument());
    EXPECT_EQ(
        html.rfind("<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">", 0), 0u);
    EXPECT_NE(html.find("<title>Parts</title>"), std::string::npos);
    EXPECT_NE(html.find("@media print{"), std::string::npos);
    EXPECT_EQ(html.substr(html.size() - 16), "</body>\n</html>\n");
    for (const char* outside : {"<script", "http:", "https:", "src=", "<link", "url(", "@import"}) {
        EXPECT_EQ(html.find(outside), std::string::npos) << outside;
    }
    ExpectOnlyOwnTags(html);
}

TEST(ReportHtml, MarksAreAClassAndAText) {
    const std::string html = ReportHtml(PartsDocument());
    const char* pieces[] = {
        "<tr class=\"mark-different\"><td><a href=\"#log-a\">a</a></td><td "
        "class=\"number\">512</td>"
        "<td class=\"mark\">different</td></tr>",
        "<tr class=\"mark-equal\"><td>b</td><td></td><td class=\"mark\">equal</td></tr>",
        "<th scope=\"col\">Result</th>",
        "<section id=\"log-a\" class=\"mark-fail\">\n<h2><span class=\"badge "
        "mark-fail\">fail</span> a</h2>",
        "<td class=\"cell-different\">1 <span class=\"cell-mark\">different</span></td>",
        "<th scope=\"row\">Count</th><td class=\"number\">7</td>",
        "<li>first: LF line ends</li>",
    };
    for (const char* piece : pieces) {
        EXPECT_NE(html.find(piece), std::string::npos) << piece;
    }
}

TEST(ReportHtml, EveryLinkLeadsToAnIdOfThePage) {
    const struct {
        const char* name;
        void (*change)(Document&);
        std::vector<std::string> ids;
        std::vector<std::string> hrefs;
    } cases[] = {
        {"as made", [](Document&) {}, {"sum", "log-a"}, {"#log-a"}},
        {"link to no section",
         [](Document& d) { d.sections[0].tables[0].rows[0].link = "log-b"; },
         {"sum", "log-a"},
         {}},
        {"target id no anchor",
         [](Document& d) {
             d.sections[1].id = "log a\"";
             d.sections[0].tables[0].rows[0].link = "log a\"";
         },
         {"sum"},
         {}},
        {"id twice", [](Document& d) { d.sections[0].id = "log-a"; }, {"log-a"}, {"#log-a"}},
        {"link on an empty cell",
         [](Document& d) {
             d.sections[0].tables[0].rows[1].cells[0] = EmptyCell();
             d.sections[0].tables[0].rows[1].link = "sum";
         },
         {"sum", "log-a"},
         {"#log-a", "#sum"}},
    };
    for (const auto& c : cases) {
        Document document = PartsDocument();
        c.change(document);
        const std::string html = ReportHtml(document);
        const std::vector<std::string> ids = Attributes(html, "id");
        EXPECT_EQ(ids, c.ids) << c.name;
        EXPECT_EQ(Attributes(html, "href"), c.hrefs) << c.name;
        for (const std::string& href : Attributes(html, "href")) {
            ASSERT_EQ(href[0], '#') << c.name;
            EXPECT_EQ(std::count(ids.begin(), ids.end(), href.substr(1)), 1) << c.name;
        }
    }
}

TEST(ReportHtml, AnEmptyTableSaysNone) {
    Document document = OneCellDocument("x");
    document.sections[0].tables[0].rows.clear();
    EXPECT_NE(ReportHtml(document).find("<tr><td class=\"none\" colspan=\"1\">none</td></tr>"),
              std::string::npos);
}

TEST(ReportHtml, TheTitleHoldsNoElement) {
    Document document = OneCellDocument("x");
    document.title = "a\x01<b>";
    const std::string html = ReportHtml(document);
    EXPECT_NE(html.find("<title>a\\x01&lt;b&gt;</title>"), std::string::npos);
    EXPECT_NE(html.find("<h1>a<span class=\"byte\">\\x01</span>&lt;b&gt;</h1>"), std::string::npos);
}

}  // namespace
