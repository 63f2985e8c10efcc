#include "report/log_field_scanner.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "report/log_format.h"

namespace {

struct Read {
    std::vector<std::string> fields;
    std::vector<FieldEnd> ends;
    int64_t position = 0;
};

// Reads fields the way the comparison does: until the position reaches the
// size, or a field is refused.
Read ReadAll(const std::string& bytes, size_t maxFields = 100000) {
    MemoryByteSource source(bytes.data(), bytes.size());
    Read read;
    char field[kLogFieldBufferSize + 8];
    while (read.position < static_cast<int64_t>(bytes.size()) && read.fields.size() < maxFields) {
        std::fill(field, field + sizeof field, '#');
        const FieldEnd end = ScanLogField(source, read.position, field);
        EXPECT_LE(read.position, static_cast<int64_t>(bytes.size()));
        EXPECT_EQ(field[sizeof field - 1], '#') << "wrote past the field buffer";
        read.ends.push_back(end);
        if (end == FieldEnd::TooLong) {
            break;
        }
        read.fields.emplace_back(field);
    }
    return read;
}

std::string Padded(const std::string& text, int width) {
    FillBlankBuffer();
    return BuildLogField(width, text.c_str(), false).bytes;
}

std::string Last(const std::string& text) {
    return BuildLogField(0, text.c_str(), true).bytes;
}

TEST(LogFieldScanner, ReadsBackWhatTheWriterWrote) {
    const std::string line = Padded("abc", 90) + Padded("def", 60) + Last("Service Running");
    const std::string next = Last("next line");
    const Read read = ReadAll(line + next);
    EXPECT_EQ(read.fields,
              (std::vector<std::string>{"abc", "def", "Service Running", "next line"}));
    EXPECT_EQ(read.ends, (std::vector<FieldEnd>{FieldEnd::Blanks, FieldEnd::Blanks,
                                                FieldEnd::LineEnd, FieldEnd::LineEnd}));
}

TEST(LogFieldScanner, StopsAtTheFirstByteOfTheNextLine) {
    const std::string bytes = "abc" + std::string(87, ' ') + "def\r\nxyz\r\n";
    MemoryByteSource source(bytes.data(), bytes.size());
    char field[kLogFieldBufferSize];
    int64_t position = 0;
    ASSERT_EQ(ScanLogField(source, position, field), FieldEnd::Blanks);
    EXPECT_STREQ(field, "abc");
    EXPECT_EQ(position, 90);
    ASSERT_EQ(ScanLogField(source, position, field), FieldEnd::LineEnd);
    EXPECT_STREQ(field, "def");
    EXPECT_EQ(position, 95);
}

struct LineCase {
    const char* what;
    std::string bytes;
    std::vector<std::string> fields;
};

TEST(LogFieldScanner, CasesOutsideTheWellFormedBounds) {
    const LineCase cases[] = {
        {"W-1 characters leave one blank, joined with the next field",
         Padded(std::string(29, 'a'), 30) + Last("found"),
         {std::string(29, 'a') + " found"}},
        {"a tight field joins the next one",
         Padded("CPU brand", 10) + Last("Intel"),
         {"CPU brand Intel"}},
        {"W or more characters are joined directly",
         Padded(std::string(31, 'a'), 30) + Last("found"),
         {std::string(31, 'a') + "found"}},
        {"two blanks inside a text split it", Padded("a  b", 30) + Last("c"), {"a", "b", "c"}},
        {"an empty non-last field yields no field",
         Last("a") + Padded("", 30) + Last("c"),
         {"a", "c"}},
        {"an empty field after padding yields no field",
         Padded("a", 30) + Padded("", 30) + Last("c"),
         {"a", "c"}},
        {"an empty last field is an empty field",
         Padded("a", 30) + Last("") + Last("b"),
         {"a", "", "b"}},
        {"the timestamp line is one field",
         Last("07.12.2026 15:33 40") + Last("x"),
         {"07.12.2026 15:33 40", "x"}},
        {"single blanks stay inside a field",
         Padded("Print Spooler", 90) + Last("Running"),
         {"Print Spooler", "Running"}},
        {"a single blank stored last stays before CR", Last("abc ") + Last("d"), {"abc ", "d"}},
        {"blanks after a line end are skipped", "a\r\n   b\r\n", {"a", "b"}},
        {"several line feeds are skipped", "a\r\n\n\nb\r\n", {"a", "b"}},
        {"a CR after CR LF is a line of its own", "a\r\n\r\nb\r\n", {"a", "", "b"}},
        {"a last line without CR LF ends at the end of the file", "a\r\nbc", {"a", "bc"}},
        {"a file that ends in the padding", "a   ", {"a"}},
    };
    for (const LineCase& c : cases) {
        EXPECT_EQ(ReadAll(c.bytes).fields, c.fields) << c.what;
    }
}

TEST(LogFieldScanner, AcceptsFiveHundredTwelveCharactersAndRefusesMore) {
    const std::string fits(512, 'x');
    Read read = ReadAll(fits + "\r\n");
    ASSERT_EQ(read.fields.size(), 1u);
    EXPECT_EQ(read.fields[0], fits);

    const std::string tooLong(513, 'x');
    MemoryByteSource source(tooLong.data(), tooLong.size());
    char field[kLogFieldBufferSize];
    int64_t position = 0;
    EXPECT_EQ(ScanLogField(source, position, field), FieldEnd::TooLong);
    // The 513th byte has been read, and nothing was written past the buffer.
    EXPECT_EQ(position, 513);
    EXPECT_EQ(std::string(field), fits);
}

TEST(LogFieldScanner, EndOfFileEndsAFieldWithoutRepeatingBytes) {
    char field[kLogFieldBufferSize];
    const std::string bytes = "abc";
    MemoryByteSource source(bytes.data(), bytes.size());
    int64_t position = 0;
    EXPECT_EQ(ScanLogField(source, position, field), FieldEnd::FileEnd);
    EXPECT_STREQ(field, "abc");
    EXPECT_EQ(position, 3);
    // At the end already: an empty field, and the position stays.
    EXPECT_EQ(ScanLogField(source, position, field), FieldEnd::FileEnd);
    EXPECT_STREQ(field, "");
    EXPECT_EQ(position, 3);

    MemoryByteSource empty("", 0);
    position = 0;
    EXPECT_EQ(ScanLogField(empty, position, field), FieldEnd::FileEnd);
    EXPECT_EQ(position, 0);
}

TEST(LogFieldScanner, RandomWellFormedLinesRoundTrip) {
    std::mt19937 random(20261208);
    const int widths[] = {90, 60, 25, 30, 80};
    for (int round = 0; round < 300; ++round) {
        std::string bytes = Last("08.12.2026 13:44 20");
        std::vector<std::string> expected = {"08.12.2026 13:44 20"};
        const int lines = 1 + random() % 20;
        for (int line = 0; line < lines; ++line) {
            const int fields = 1 + random() % 4;
            for (int f = 0; f < fields; ++f) {
                const int width = widths[random() % 5];
                const bool last = f == fields - 1;
                // Texts within the bounds: 1 to W-2 characters, single inner
                // blanks only, no leading blank, no trailing blank when last.
                const int length = 1 + random() % (width - 2);
                std::string text;
                for (int i = 0; i < length; ++i) {
                    const bool blankAllowed = i > 0 && i < length - 1 && text.back() != ' ';
                    text += (blankAllowed && random() % 5 == 0)
                                ? ' '
                                : static_cast<char>('!' + random() % 90);
                }
                bytes += last ? Last(text) : Padded(text, width);
                expected.push_back(text);
            }
        }
        ASSERT_EQ(ReadAll(bytes).fields, expected) << "round " << round;
    }
}

TEST(LogFieldScanner, RandomBytesNeverOverrunOrHang) {
    std::mt19937 random(7);
    const char alphabet[] = {' ', ' ', '\r', '\n', 'a', '\0', '\xff'};
    for (int round = 0; round < 500; ++round) {
        std::string bytes(random() % 3000, '\0');
        for (char& c : bytes) {
            c = round % 2 ? alphabet[random() % sizeof alphabet] : static_cast<char>(random());
        }
        const Read read = ReadAll(bytes);
        if (read.ends.empty() || read.ends.back() != FieldEnd::TooLong) {
            EXPECT_EQ(read.position, static_cast<int64_t>(bytes.size()));
        }
    }
}

}  // namespace
