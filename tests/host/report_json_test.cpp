// The JSON report is read by scripts: every byte of a log must come out as a correct JSON
// string of the same characters, counts must be numbers, and the whole must parse. A small
// strict parser here reads it back as a script would.
#include <gtest/gtest.h>

#include <cctype>
#include <cstdint>
#include <string>
#include <vector>

#include "report/report_writers.h"
#include "tests/host/report_test_documents.h"

namespace {

struct Json {
    enum Type { Null, Bool, Number, String, Array, Object } type = Null;
    std::int64_t number = 0;
    std::string text;  // UTF-8
    std::vector<Json> items;
    std::vector<std::pair<std::string, Json>> members;

    const Json& operator[](const std::string& key) const {
        static const Json none;
        for (const auto& member : members) {
            if (member.first == key) {
                return member.second;
            }
        }
        return none;
    }
    const Json& operator[](size_t i) const {
        static const Json none;
        return i < items.size() ? items[i] : none;
    }
};

// A strict reader of what the writer may write: no fractions, no exponents, and nothing
// but whitespace after the value. Sets `error` at the first fault.
class Reader {
public:
    explicit Reader(const std::string& text) : text_(text) {}

    Json Document() {
        Json value = Value();
        Blanks();
        if (at_ != text_.size()) {
            Fail("text after the value");
        }
        return value;
    }
    std::string error;

private:
    void Fail(const std::string& what) {
        if (error.empty()) {
            error = what + " at " + std::to_string(at_);
        }
        at_ = text_.size();
    }
    void Blanks() {
        while (at_ < text_.size() && (text_[at_] == ' ' || text_[at_] == '\n' ||
                                      text_[at_] == '\r' || text_[at_] == '\t')) {
            ++at_;
        }
    }
    bool Take(char c) {
        Blanks();
        if (at_ < text_.size() && text_[at_] == c) {
            ++at_;
            return true;
        }
        return false;
    }
    bool Word(const char* word) {
        const std::string w(word);
        if (text_.compare(at_, w.size(), w) == 0) {
            at_ += w.size();
            return true;
        }
        return false;
    }
    static void Utf8(std::string& out, unsigned code) {
        if (code < 0x80) {
            out.push_back(static_cast<char>(code));
        } else if (code < 0x800) {
            out.push_back(static_cast<char>(0xC0 | (code >> 6)));
            out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
        } else {
            out.push_back(static_cast<char>(0xE0 | (code >> 12)));
            out.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
        }
    }
    std::string String() {
        std::string out;
        while (at_ < text_.size()) {
            const unsigned char c = static_cast<unsigned char>(text_[at_++]);
            if (c == '"') {
                return out;
            }
            if (c < 0x20) {
                Fail("a raw control character in a string");
                return out;
            }
            if (c != '\\') {
                out.push_back(static_cast<char>(c));
                continue;
            }
            if (at_ >= text_.size()) {
                break;
            }
            const char e = text_[at_++];
            const std::string simple = "\"\\/bfnrt";
            const std::string meant = "\"\\/\b\f\n\r\t";
            if (simple.find(e) != std::string::npos) {
                out.push_back(meant[simple.find(e)]);
            } else if (e == 'u' && at_ + 4 <= text_.size()) {
                const unsigned code = std::stoul(text_.substr(at_, 4), nullptr, 16);
                at_ += 4;
                Utf8(out, code);
            } else {
                Fail("a bad escape");
            }
        }
        Fail("a string without its end");
        return out;
    }
    Json Value() {
        Json value;
        Blanks();
        if (Take('{')) {
            value.type = Json::Object;
            if (Take('}')) {
                return value;
            }
            do {
                if (!Take('"')) {
                    Fail("a key that is no string");
                    return value;
                }
                std::string key = String();
                if (!Take(':')) {
                    Fail("no colon");
                }
                value.members.emplace_back(key, Value());
            } while (Take(','));
            if (!Take('}')) {
                Fail("an object without its end");
            }
        } else if (Take('[')) {
            value.type = Json::Array;
            if (Take(']')) {
                return value;
            }
            do {
                value.items.push_back(Value());
            } while (Take(','));
            if (!Take(']')) {
                Fail("an array without its end");
            }
        } else if (Take('"')) {
            value.type = Json::String;
            value.text = String();
        } else if (Word("null")) {
        } else if (Word("true") || Word("false")) {
            value.type = Json::Bool;
        } else {
            const size_t start = at_;
            if (at_ < text_.size() && text_[at_] == '-') {
                ++at_;
            }
            while (at_ < text_.size() && isdigit(static_cast<unsigned char>(text_[at_]))) {
                ++at_;
            }
            if (at_ == start || text_[at_ - 1] == '-') {
                Fail("no value");
                return value;
            }
            value.type = Json::Number;
            value.number = std::stoll(text_.substr(start, at_ - start));
        }
        return value;
    }

    const std::string text_;
    size_t at_ = 0;
};

// The JSON text of the only cell of OneCellDocument.
std::string CellJson(const std::string& text) {
    const std::string json = ReportJson(OneCellDocument(text));
    const std::string start = "\"cells\": [";
    const size_t from = json.find(start);
    const size_t to = json.find("], \"cell_marks\"", from);
    if (from == std::string::npos || to == std::string::npos) {
        return "(no cell)";
    }
    return json.substr(from + start.size(), to - from - start.size());
}

TEST(ReportJson, EveryByteOfALogIsEscapedAsJsonDemands) {
    const struct {
        std::string cell;
        std::string json;  // as written
        std::string utf8;  // as a script reads it back
    } cases[] = {
        {"plain", "\"plain\"", "plain"},
        {"\"", "\"\\\"\"", "\""},
        {"\\", "\"\\\\\"", "\\"},
        {"C:\\Mach3\\\"x\"", "\"C:\\\\Mach3\\\\\\\"x\\\"\"", "C:\\Mach3\\\"x\""},
        {"a\tb", "\"a\\u0009b\"", "a\tb"},
        {"\r\n", "\"\\u000d\\u000a\"", "\r\n"},
        {std::string("a\0b", 3), "\"a\\u0000b\"", std::string("a\0b", 3)},
        {"\x1F\x1B", "\"\\u001f\\u001b\"", "\x1F\x1B"},
        {"\x7F", "\"\\u007f\"", "\x7F"},
        {"\x81\x8D\x8F\x90\x9D", "\"\\u0081\\u008d\\u008f\\u0090\\u009d\"",
         "\xC2\x81\xC2\x8D\xC2\x8F\xC2\x90\xC2\x9D"},
        {"\x80", "\"\xE2\x82\xAC\"", "\xE2\x82\xAC"},
        {"\x9F\xA0\xFF", "\"\xC5\xB8\xC2\xA0\xC3\xBF\"", "\xC5\xB8\xC2\xA0\xC3\xBF"},
        {"K\xF6ln D\xFCsseldorf M\xE4rz", "\"K\xC3\xB6ln D\xC3\xBCsseldorf M\xC3\xA4rz\"",
         "K\xC3\xB6ln D\xC3\xBCsseldorf M\xC3\xA4rz"},
        {"<script>/</script>", "\"<script>/</script>\"", "<script>/</script>"},
        {"", "\"\"", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(CellJson(c.cell), c.json) << c.cell;
        Reader reader(ReportJson(OneCellDocument(c.cell)));
        const Json report = reader.Document();
        ASSERT_EQ(reader.error, "") << c.cell;
        const Json& cell = report["sections"][0]["tables"][0]["rows"][0]["cells"][0];
        EXPECT_EQ(cell.type, Json::String) << c.cell;
        EXPECT_EQ(cell.text, c.utf8) << c.cell;
    }
}

TEST(ReportJson, NumbersStayNumbersAndEmptyCellsAreNull) {
    Reader reader(ReportJson(PartsDocument()));
    const Json report = reader.Document();
    ASSERT_EQ(reader.error, "");
    EXPECT_EQ(report["version"].type, Json::Number);
    const Json& summary = report["sections"][0];
    const Json& count = summary["facts"][0]["value"];
    EXPECT_EQ(count.type, Json::Number);
    EXPECT_EQ(count.number, 7);
    const Json& rows = summary["tables"][0]["rows"];
    const struct {
        size_t row, cell;
        Json::Type type;
        std::int64_t number;
    } cells[] = {
        {0, 1, Json::Number, 512},
        {1, 1, Json::Null, 0},
        {0, 0, Json::String, 0},
    };
    for (const auto& c : cells) {
        const Json& cell = rows[c.row]["cells"][c.cell];
        EXPECT_EQ(cell.type, c.type) << c.row << "," << c.cell;
        EXPECT_EQ(cell.number, c.number) << c.row << "," << c.cell;
    }
    EXPECT_EQ(summary["tables"][0]["columns"][1]["type"].text, "number");
    EXPECT_EQ(rows[0]["mark"].text, "different");
    EXPECT_EQ(rows[0]["link"].text, "log-a");
    EXPECT_EQ(rows[1]["link"].type, Json::Null);
    const Json& marked = report["sections"][1]["tables"][0]["rows"][0];
    EXPECT_EQ(marked["cell_marks"][0].type, Json::Null);
    EXPECT_EQ(marked["cell_marks"][1].text, "different");
    EXPECT_EQ(report["sections"][1]["mark"].text, "fail");
    EXPECT_EQ(report["sections"][0]["mark"].type, Json::Null);
    EXPECT_EQ(report["sections"][0]["notes"][0].text, "first: LF line ends");
}

TEST(ReportJson, LargeAndNegativeNumbersKeepEveryDigit) {
    const std::int64_t numbers[] = {0, -1, 4294967296LL, 9007199254740993LL, INT64_MIN};
    for (std::int64_t number : numbers) {
        Document document = OneCellDocument("x");
        document.sections[0].facts.push_back({"n", "N", NumberCell(number)});
        Reader reader(ReportJson(document));
        const Json report = reader.Document();
        ASSERT_EQ(reader.error, "") << number;
        EXPECT_EQ(report["sections"][0]["facts"][0]["value"].number, number);
    }
}

TEST(ReportJson, KeysInOneOrderEveryKeyAlwaysThere) {
    const std::string json = ReportJson(OneCellDocument("x"));
    const std::string expected =
        "{\n"
        "  \"format\": \"vorlix-report\",\n"
        "  \"version\": 1,\n"
        "  \"kind\": \"two_logs\",\n"
        "  \"title\": \"\",\n"
        "  \"sections\": [\n"
        "    {\n"
        "      \"id\": \"s\",\n"
        "      \"kind\": \"summary\",\n"
        "      \"title\": \"Cells\",\n"
        "      \"mark\": null,\n"
        "      \"facts\": [],\n"
        "      \"notes\": [],\n"
        "      \"tables\": [\n"
        "        {\n"
        "          \"key\": \"t\",\n"
        "          \"title\": \"\",\n"
        "          \"mark_title\": \"Mark\",\n"
        "          \"columns\": [\n"
        "            {\"key\": \"c\", \"title\": \"C\", \"type\": \"text\"}\n"
        "          ],\n"
        "          \"rows\": [\n"
        "            {\"mark\": null, \"link\": null, \"cells\": [\"x\"], \"cell_marks\": [null]}\n"
        "          ]\n"
        "        }\n"
        "      ]\n"
        "    }\n"
        "  ]\n"
        "}\n";
    EXPECT_EQ(json, expected);
}

TEST(ReportJson, ALinkLeadsToASectionOrIsNull) {
    const struct {
        const char* link;
        const char* id;  // of the second section
        bool kept;
    } cases[] = {
        {"log-a", "log-a", true},
        {"log-b", "log-a", false},
        {"log a", "log a", false},  // no anchor: the HTML page has no such id either
        {"", "log-a", false},
    };
    for (const auto& c : cases) {
        Document document = PartsDocument();
        document.sections[1].id = c.id;
        document.sections[0].tables[0].rows[0].link = c.link;
        Reader reader(ReportJson(document));
        const Json link = reader.Document()["sections"][0]["tables"][0]["rows"][0]["link"];
        ASSERT_EQ(reader.error, "") << c.link;
        EXPECT_EQ(link.type, c.kept ? Json::String : Json::Null) << c.link;
        EXPECT_EQ(link.text, c.kept ? c.link : "") << c.link;
    }
}

TEST(ReportJson, ARowShortOfCellsStillHasOneValuePerColumn) {
    Document document = PartsDocument();
    document.sections[0].tables[0].rows[1].cells.pop_back();
    Reader reader(ReportJson(document));
    const Json report = reader.Document();
    ASSERT_EQ(reader.error, "");
    const Json& row = report["sections"][0]["tables"][0]["rows"][1];
    EXPECT_EQ(row["cells"].items.size(), 2u);
    EXPECT_EQ(row["cell_marks"].items.size(), 2u);
}

}  // namespace
