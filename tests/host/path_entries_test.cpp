#include "analysis/path_entries.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct SplitCase {
    const char* label;
    std::string value;
    std::vector<std::string> entries;
};

TEST(SplitPathValue, EntriesAtEverySemicolon) {
    const SplitCase cases[] = {
        {"empty and trailing", "C:\\A;;C:\\B;", {"C:\\A", "", "C:\\B"}},
        {"nothing", "", {}},
        {"one entry", "C:\\Windows", {"C:\\Windows"}},
        {"two entries", "C:\\A;C:\\B", {"C:\\A", "C:\\B"}},
        {"leading semicolon", ";C:\\A", {"", "C:\\A"}},
        {"only a semicolon", ";", {""}},
        {"two semicolons", ";;", {"", ""}},
        {"blanks kept", " C:\\A ; ", {" C:\\A ", " "}},
        {"high bytes are ordinary", "C:\\Pr\xF6gramme;\x80", {"C:\\Pr\xF6gramme", "\x80"}},
    };
    for (const SplitCase& c : cases) {
        const PathScan scan = SplitPathValue(c.value);
        EXPECT_EQ(scan.entries, c.entries) << c.label;
        EXPECT_TRUE(scan.warnings.empty()) << c.label;
    }
}

TEST(SplitPathValue, TabWarnsAndStaysInItsEntry) {
    const PathScan scan = SplitPathValue("C:\\A;C:\\B\tC;C:\\D");
    EXPECT_EQ(scan.entries, (std::vector<std::string>{"C:\\A", "C:\\B\tC", "C:\\D"}));
    ASSERT_EQ(scan.warnings.size(), 1u);
    EXPECT_EQ(scan.warnings[0].text, "09");
    EXPECT_EQ(scan.warnings[0].entryIndex, 1u);
}

TEST(SplitPathValue, WarningsInOrderWithTheirEntries) {
    const PathScan scan = SplitPathValue("\x1F;x\ny;\r");
    EXPECT_EQ(scan.entries, (std::vector<std::string>{"\x1F", "x\ny", "\r"}));
    ASSERT_EQ(scan.warnings.size(), 3u);
    EXPECT_EQ(scan.warnings[0].text, "01f");
    EXPECT_EQ(scan.warnings[0].entryIndex, 0u);
    EXPECT_EQ(scan.warnings[1].text, "0a");
    EXPECT_EQ(scan.warnings[1].entryIndex, 1u);
    EXPECT_EQ(scan.warnings[2].text, "0d");
    EXPECT_EQ(scan.warnings[2].entryIndex, 2u);
}

TEST(SplitPathValue, LongEntryIsKeptWhole) {
    const std::string longEntry = "C:\\" + std::string(297, 'd');
    ASSERT_EQ(longEntry.size(), 300u);
    const PathScan scan = SplitPathValue("C:\\A;" + longEntry + ";C:\\B");
    ASSERT_EQ(scan.entries.size(), 3u);
    EXPECT_EQ(scan.entries[1], longEntry);
    EXPECT_EQ(scan.entries[2], "C:\\B");
}

TEST(ControlCharacterWarning, HexWithALeadingZero) {
    const struct {
        unsigned char code;
        const char* text;
    } cases[] = {{0x01, "01"}, {0x09, "09"},  {0x0A, "0a"},
                 {0x0F, "0f"}, {0x10, "010"}, {0x1F, "01f"}};
    for (const auto& c : cases) {
        EXPECT_EQ(ControlCharacterWarning(c.code), c.text);
    }
}

TEST(SplitPathValue, OnlyCodesOneToThirtyOneWarn) {
    for (int code = 0x01; code <= 0xFF; ++code) {
        if (code == ';') {
            continue;
        }
        const std::string value(1, static_cast<char>(code));
        const bool warns = !SplitPathValue(value).warnings.empty();
        EXPECT_EQ(warns, code <= 0x1F) << code;
    }
}

TEST(PathQuery, ResultLimits) {
    const struct {
        unsigned long result;
        PathQueryOutcome outcome;
    } cases[] = {{0, PathQueryOutcome::Empty},      {1, PathQueryOutcome::Ok},
                 {32766, PathQueryOutcome::Ok},     {32767, PathQueryOutcome::TooBig},
                 {32768, PathQueryOutcome::TooBig}, {100000, PathQueryOutcome::TooBig}};
    for (const auto& c : cases) {
        EXPECT_EQ(ClassifyPathQuery(c.result), c.outcome) << c.result;
    }
}

TEST(PathQuery, Messages) {
    EXPECT_STREQ(PathQueryMessage(PathQueryOutcome::Empty), "Path Variable empty!");
    EXPECT_STREQ(PathQueryMessage(PathQueryOutcome::TooBig), "Path Variable too big");
    EXPECT_EQ(PathQueryMessage(PathQueryOutcome::Ok), nullptr);
}

}  // namespace
