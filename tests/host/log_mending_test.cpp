#include "report/log_mending.h"

#include <gtest/gtest.h>

#include <deque>
#include <string>
#include <vector>

#include "report/log_paths.h"

namespace {

// Lines as the reader splits them, over text that outlives them.
struct Log {
    explicit Log(std::vector<std::string> texts) : texts_(std::move(texts)) {
        for (size_t i = 0; i < texts_.size(); ++i) {
            lines.push_back(
                RawLine{texts_[i].data(), texts_[i].size(), static_cast<int>(i + 1), true});
        }
    }
    std::vector<std::string> Texts() const {
        std::vector<std::string> texts;
        for (const RawLine& line : lines) {
            texts.emplace_back(line.text, line.size);
        }
        return texts;
    }
    std::vector<RawLine> lines;

private:
    std::vector<std::string> texts_;
};

const char kStamp[] = "09.12.2026 14:03 27";

TEST(LogMending, AQuotePrefixGoesOnlyWhenEveryLineCarriesIt) {
    const struct {
        const char* what;
        std::vector<std::string> lines;
        std::vector<std::string> mended;
        const char* removed;
    } cases[] = {
        {"\"> \" before every line", {"> a", ">  b", ">", "   "}, {"a", " b", "", "   "}, "> "},
        {"\">\" alone", {">a", ">b"}, {"a", "b"}, ">"},
        {"quoted twice", {"> > a", ">> b"}, {"a", "b"}, "> > "},
        {"one line without it", {"> a", "b"}, {"> a", "b"}, ""},
        {"no line at all", {}, {}, ""},
        {"blank lines only", {"  ", ""}, {"  ", ""}, ""},
    };
    for (const auto& c : cases) {
        Log log(c.lines);
        EXPECT_EQ(RemoveQuotePrefix(log.lines), c.removed) << c.what;
        EXPECT_EQ(log.Texts(), c.mended) << c.what;
    }
}

TEST(LogMending, OfSeveralRunsTheLastStays) {
    const struct {
        const char* what;
        std::vector<std::string> lines;
        std::vector<std::string> kept;
        int runs;
    } cases[] = {
        {"one run", {kStamp, "a"}, {kStamp, "a"}, 1},
        {"no timestamp line", {"a", "b"}, {"a", "b"}, 1},
        {"pasted twice", {kStamp, "a", kStamp, "b"}, {kStamp, "b"}, 2},
        {"the first without its timestamp", {"a", "", kStamp, "b"}, {kStamp, "b"}, 2},
        {"three runs, blanks around the stamp",
         {kStamp, "a", kStamp, "b", std::string("  ") + kStamp, "c"},
         {std::string("  ") + kStamp, "c"},
         3},
        {"a stamp within a longer line is a record",
         {kStamp, std::string(kStamp) + "  x"},
         {kStamp, std::string(kStamp) + "  x"},
         1},
    };
    for (const auto& c : cases) {
        Log log(c.lines);
        EXPECT_EQ(KeepLastRun(log.lines), c.runs) << c.what;
        EXPECT_EQ(log.Texts(), c.kept) << c.what;
    }
}

std::string Pad(const std::string& text, size_t width) {
    return text + std::string(width - text.size(), ' ');
}

TEST(LogMending, WrappedLinesJoinWhereTheLayoutShowsWhere) {
    const std::string spooler = Pad("Print Spooler", 90) + Pad("Spooler", 60) +
                                Pad("Win32_OWN_PROCESS", 25) + "Service Running";
    const std::string fax =
        Pad("Fax", 90) + Pad("Fax", 60) + Pad("Win32_OWN_PROCESS", 25) + "Service Stopped";
    const auto hard = [](const std::string& line, size_t width) {
        std::vector<std::string> pieces;
        for (size_t at = 0; at < line.size(); at += width) {
            pieces.push_back(line.substr(at, width));
        }
        return pieces;
    };
    const auto join = [](std::vector<std::string> a, const std::vector<std::string>& b) {
        a.insert(a.end(), b.begin(), b.end());
        return a;
    };
    const struct {
        const char* what;
        const char* log;
        std::vector<std::string> lines;
        std::vector<std::string> mended;
        size_t width;
    } cases[] = {
        {"hard at 76",
         kServiceLogPath,
         join({kStamp}, join(hard(spooler, 76), hard(fax, 76))),
         {kStamp, spooler, fax},
         76},
        {"hard at 60", kServiceLogPath, join(hard(spooler, 60), hard(fax, 60)), {spooler, fax}, 60},
        {"as written", kServiceLogPath, {kStamp, spooler, fax}, {kStamp, spooler, fax}, 0},
        {"pieces of nothing the layout knows",
         kServiceLogPath,
         {"Print Spooler Spooler", "Win32_OWN_PROCESS Service Running"},
         {"Print Spooler Spooler", "Win32_OWN_PROCESS Service Running"},
         0},
        // A free line shaped alone is never joined, whatever its length.
        {"free lines",
         kProductsLogPath,
         {std::string(76, 'p'), "q"},
         {std::string(76, 'p'), "q"},
         0},
        {"a piece of a line longer than a mail line",
         kServiceLogPath,
         {spooler.substr(0, 81), spooler.substr(81)},
         {spooler.substr(0, 81), spooler.substr(81)},
         0},
    };
    for (const auto& c : cases) {
        Log log(c.lines);
        std::deque<std::string> storage;
        EXPECT_EQ(JoinWrappedLines(log.lines, *LayoutOfLogName(c.log), storage), c.width) << c.what;
        EXPECT_EQ(log.Texts(), c.mended) << c.what;
    }
    // A joined line ends where its last piece ends, so that the log's end
    // inside it stays told, and keeps the number of its first piece.
    Log cut(join({kStamp}, join(hard(spooler, 76), hard(fax, 76))));
    cut.lines.back().terminated = false;
    std::deque<std::string> storage;
    ASSERT_EQ(JoinWrappedLines(cut.lines, *LayoutOfLogName(kServiceLogPath), storage), 76u);
    ASSERT_EQ(cut.lines.size(), 3u);
    EXPECT_TRUE(cut.lines[1].terminated);
    EXPECT_FALSE(cut.lines[2].terminated);
    EXPECT_EQ(cut.lines[1].number, 2);
    EXPECT_EQ(cut.lines[2].number, 5);
}

}  // namespace
