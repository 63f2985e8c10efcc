// Section ids become HTML anchors and the targets of links: an id made of a log's name must
// be safe whatever the name holds, and unique, or a link would lead to the wrong log.
#include "report/report_document.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/host/report_test_documents.h"

namespace {

TEST(ReportDocument, AnchorIds) {
    const struct {
        const char* id;
        bool anchor;
    } cases[] = {
        {"summary", true},
        {"Lensora_Brenhold.logServices", true},
        {"second-PLUGIN-FILE", true},
        {"a1", true},
        {"", false},
        {"1a", false},  // HTML allows it, CSS selectors and old browsers not
        {"-a", false},
        {"a b", false},   // a blank ends the fragment of a URL
        {"a\"b", false},  // would end the attribute
        {"a<b", false},
        {"a#b", false},
        {"K\xF6ln", false},  // Windows-1252 byte: the page is UTF-8
    };
    for (const auto& c : cases) {
        EXPECT_EQ(IsAnchorId(c.id), c.anchor) << c.id;
    }
    EXPECT_FALSE(IsAnchorId(std::string("a\0b", 3)));
}

TEST(ReportDocument, NewIdsAreAnchorsAndUnique) {
    Document document;
    const struct {
        std::string text;
        const char* id;
    } cases[] = {
        {"Lensora_Brenhold.logServices", "Lensora_Brenhold.logServices"},
        {"Lensora_Brenhold.logServices", "Lensora_Brenhold.logServices-2"},
        {"Lensora_Brenhold.logServices", "Lensora_Brenhold.logServices-3"},
        {"second: PLUGIN-FILE", "second--PLUGIN-FILE"},
        {"<script>\"", "s--script--"},
        {"K\xF6ln", "K-ln"},
        {"K\xE4ln", "K-ln-2"},  // another name that maps alike still gets an id of its own
        {"", "s-"},
        {"42", "s-42"},
        {std::string("a\0b", 3), "a-b"},
    };
    for (const auto& c : cases) {
        Section section;
        section.id = NewAnchorId(document, c.text);
        EXPECT_EQ(section.id, c.id) << c.text;
        EXPECT_TRUE(IsAnchorId(section.id)) << section.id;
        document.sections.push_back(section);
    }
    EXPECT_TRUE(DocumentProblems(document).empty());
}

TEST(ReportDocument, ProblemsOfAMadeDocument) {
    const struct {
        const char* name;
        void (*spoil)(Document&);
        const char* problem;
    } cases[] = {
        {"none", [](Document&) {}, nullptr},
        {"id twice",
         [](Document& d) {
             d.sections[1].id = "sum";
             d.sections[0].tables[0].rows[0].link = "sum";
         },
         "used twice"},
        {"no anchor",
         [](Document& d) {
             d.sections[1].id = "log a";
             d.sections[0].tables[0].rows[0].link.clear();
         },
         "no anchor"},
        {"link to nothing", [](Document& d) { d.sections[0].tables[0].rows[0].link = "x"; },
         "which no section has"},
        {"cell too few", [](Document& d) { d.sections[0].tables[0].rows[1].cells.pop_back(); },
         "has 1 cells for 2 columns"},
        {"cell too many",
         [](Document& d) { d.sections[1].tables[0].rows[0].cells.push_back(TextCell("y")); },
         "has 3 cells for 2 columns"},
        {"column key twice", [](Document& d) { d.sections[0].tables[0].columns[1].key = "log"; },
         "has the column \"log\" twice"},
        {"fact key twice",
         [](Document& d) {
             d.sections[0].facts.push_back({"count", "Again", NumberCell(1)});
         },
         "has the fact \"count\" twice"},
        {"text in number column",
         [](Document& d) { d.sections[0].tables[0].rows[0].cells[1] = TextCell("512"); },
         "holds text in a number column"},
    };
    for (const auto& c : cases) {
        Document document = PartsDocument();
        c.spoil(document);
        const std::vector<std::string> problems = DocumentProblems(document);
        if (c.problem == nullptr) {
            EXPECT_TRUE(problems.empty()) << c.name << ": " << problems[0];
            continue;
        }
        ASSERT_EQ(problems.size(), 1u) << c.name;
        EXPECT_NE(problems[0].find(c.problem), std::string::npos) << c.name << ": " << problems[0];
    }
}

TEST(ReportDocument, MarksHaveANameForProgramsAndATextForPeople) {
    const struct {
        Mark mark;
        const char* name;
        const char* text;
    } cases[] = {
        {Mark::None, "", ""},
        {Mark::OnlyInFirst, "only_in_first", "only in the first"},
        {Mark::OnlyInSecond, "only_in_second", "only in the second"},
        {Mark::OtherValues, "other_values", "other values"},
        {Mark::Equal, "equal", "equal"},
        {Mark::Different, "different", "different"},
        {Mark::Missing, "missing", "missing"},
        {Mark::Separating, "separating", "separating"},
        {Mark::ExpectedToVary, "expected_to_vary", "expected to vary"},
        {Mark::Fail, "fail", "fail"},
        {Mark::Warn, "warn", "warn"},
        {Mark::Pass, "pass", "pass"},
        {Mark::NotJudged, "not_judged", "not judged"},
    };
    for (const auto& c : cases) {
        EXPECT_STREQ(MarkName(c.mark), c.name);
        EXPECT_STREQ(MarkText(c.mark), c.text);
    }
}

}  // namespace
