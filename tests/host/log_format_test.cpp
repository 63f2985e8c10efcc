#include "report/log_format.h"

#include <gtest/gtest.h>

#include <string>

namespace {

class LogFormatTest : public testing::Test {
protected:
    void SetUp() override { FillBlankBuffer(); }
};

TEST_F(LogFormatTest, TimestampHasLeadingZerosAndABlankBeforeTheSeconds) {
    EXPECT_EQ(FormatTimestamp(7, 12, 2026, 15, 33, 40), "07.12.2026 15:33 40");
    EXPECT_EQ(FormatTimestamp(1, 2, 2027, 3, 4, 5), "01.02.2027 03:04 05");
    EXPECT_EQ(FormatTimestamp(31, 12, 999, 23, 59, 59), "31.12. 999 23:59 59");
}

struct PaddingCase {
    int width;
    std::string text;
    bool last;
    std::string expected;
    bool overflow;
};

TEST_F(LogFormatTest, FieldsArePaddedToTheirWidthOrEndTheLine) {
    const PaddingCase cases[] = {
        {90, "abc", false, "abc" + std::string(87, ' '), false},
        {90, std::string(89, 'n'), false, std::string(89, 'n') + " ", false},
        {90, std::string(90, 'n'), false, std::string(90, 'n'), true},
        {30, std::string(45, 'n'), false, std::string(45, 'n'), true},
        {30, "", false, std::string(30, ' '), false},
        {0, "found", true, "found\r\n", false},
        {30, "Not found", true, "Not found\r\n", false},
        {0, "", true, "\r\n", false},
        // A text with inner blanks or a line end is written unchanged.
        {20, "a  b", false, "a  b" + std::string(16, ' '), false},
        {0, "x\r\ny", true, "x\r\ny\r\n", false},
    };
    for (const PaddingCase& c : cases) {
        const LogFieldBytes field = BuildLogField(c.width, c.text.c_str(), c.last);
        EXPECT_EQ(field.bytes, c.expected) << "width " << c.width << " text " << c.text;
        EXPECT_EQ(field.overflow, c.overflow) << "width " << c.width << " text " << c.text;
    }
}

TEST_F(LogFormatTest, PaddingNeverExceedsTheBlankBuffer) {
    const LogFieldBytes field = BuildLogField(1000, "x", false);
    EXPECT_EQ(field.bytes.size(), 1u + kBlankBufferSize);
    EXPECT_EQ(field.bytes.find_first_not_of(' ', 1), std::string::npos);
}

// Texts of any length (paths) keep two blanks after them, so the reader still ends the field.
TEST_F(LogFormatTest, AFieldThatMustKeepItsEndGrowsPastItsWidth) {
    const struct {
        int width;
        size_t length;
        int expected;
    } cases[] = {
        {80, 0, 80}, {80, 78, 80}, {80, 79, 81}, {80, 80, 82}, {80, 200, 202}, {0, 5, 7},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(WidthKeepingFieldEnd(c.width, c.length), c.expected)
            << c.width << " " << c.length;
    }
}

}  // namespace
