#include "report/log_lines.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Fields = std::vector<std::vector<std::string>>;

Fields FieldsOf(const std::string& bytes) {
    const LogLines log = ReadLogLines(bytes.data(), bytes.size());
    Fields fields;
    for (const LogLine& line : log.lines) {
        fields.push_back(line.fields);
    }
    return fields;
}

std::string Replaced(std::string text, const std::string& from, const std::string& to) {
    for (size_t at = text.find(from); at != std::string::npos;
         at = text.find(from, at + to.size())) {
        text.replace(at, from.size(), to);
    }
    return text;
}

// A log as the program writes it: a service line, an analysis line whose
// state is only blanks, one with "X " after its padding, a name with an
// umlaut and one with the euro sign (Windows-1252 bytes 0xFC and 0x80).
const std::string kOriginal =
    "08.12.2026 15:29 59\r\n"
    "Print Spooler" +
    std::string(77, ' ') + "Spooler" + std::string(53, ' ') + "Win32_OWN_PROCESS" +
    std::string(8, ' ') +
    "Service Running\r\n"
    "The MMX instruction set is available" +
    std::string(51, ' ') +
    "X \r\n"
    "The 3D-Now instruction set is available" +
    std::string(50, ' ') +
    "\r\n"
    "Sprachpaket f\xFCr Deutsch\r\n"
    "Preis 5 \x80" +
    std::string(80, ' ') + "found\r\n";

std::string Utf8(const std::string& text) {
    return Replaced(Replaced(text, "\xFC", "\xC3\xBC"), "\x80", "\xE2\x82\xAC");
}

std::string Utf16LittleEndian(const std::string& text) {
    std::string wide = "\xFF\xFE";
    for (char c : text) {
        // Every character of kOriginal but the euro sign is its own code point.
        const unsigned code = c == '\x80' ? 0x20AC : static_cast<unsigned char>(c);
        wide += static_cast<char>(code & 0xFF);
        wide += static_cast<char>(code >> 8);
    }
    return wide;
}

std::string WithoutTrailingBlanks(const std::string& text) {
    std::string trimmed;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == ' ' && text.find_first_not_of(' ', i) != std::string::npos &&
            text[text.find_first_not_of(' ', i)] == '\r') {
            continue;
        }
        trimmed += text[i];
    }
    return trimmed;
}

TEST(LogLines, TravelledCopiesReadLikeTheOriginal) {
    const struct {
        const char* what;
        std::string copy;
        const char* notes;
    } cases[] = {
        {"as written", kOriginal, ""},
        {"LF line ends", Replaced(kOriginal, "\r\n", "\n"), "LF line ends"},
        {"CR line ends", Replaced(kOriginal, "\r\n", "\r"), "CR line ends"},
        {"CR LF turned into CR CR LF", Replaced(kOriginal, "\r\n", "\r\r\n"), "CR line ends"},
        {"blanks at line ends removed", WithoutTrailingBlanks(kOriginal), ""},
        {"an empty line added at the end", kOriginal + "\r\n\r\n", ""},
        {"UTF-8", Utf8(kOriginal), "UTF-8"},
        {"UTF-8 with its BOM", "\xEF\xBB\xBF" + Utf8(kOriginal), "UTF-8"},
        {"UTF-16 with its BOM", Utf16LittleEndian(kOriginal), "UTF-16"},
        {"a DOS end byte", kOriginal + "\x1A", "end byte 0x1A"},
        {"NUL padding of a download", kOriginal + std::string(300, '\0'), "NUL bytes dropped"},
        {"a NUL inside a name", Replaced(kOriginal, "Spooler", std::string("Spoo\0ler", 8)),
         "NUL bytes dropped"},
        {"everything at once",
         Replaced(Utf8(WithoutTrailingBlanks(kOriginal)), "\r\n", "\n") + "\x1A",
         "LF line ends, UTF-8, end byte 0x1A"},
    };
    const Fields expected = FieldsOf(kOriginal);
    ASSERT_EQ(expected.size(), 5u);
    EXPECT_EQ(expected[0], (std::vector<std::string>{"Print Spooler", "Spooler",
                                                     "Win32_OWN_PROCESS", "Service Running"}));
    EXPECT_EQ(expected[1], (std::vector<std::string>{"The MMX instruction set is available", "X"}));
    EXPECT_EQ(expected[2], (std::vector<std::string>{"The 3D-Now instruction set is available"}));
    EXPECT_EQ(expected[3], (std::vector<std::string>{"Sprachpaket f\xFCr Deutsch"}));
    for (const auto& c : cases) {
        const LogLines log = ReadLogLines(c.copy.data(), c.copy.size());
        EXPECT_EQ(FieldsOf(c.copy), expected) << c.what;
        EXPECT_EQ(log.timestamp, "08.12.2026 15:29 59") << c.what;
        EXPECT_EQ(DescribeReadingNotes(log.notes), c.notes) << c.what;
        EXPECT_FALSE(log.lines.back().unterminated) << c.what;
    }
}

TEST(LogLines, WhatTheReadingSaysItFound) {
    const std::string longField(513, 'p');
    const struct {
        const char* what;
        std::string bytes;
        Fields fields;
        const char* notes;
    } cases[] = {
        {"512 characters stay whole, 513 are cut",
         "x\r\n" + longField.substr(1) + "\r\n" + longField + "  next\r\n",
         {{"x"}, {longField.substr(1)}, {std::string(509, 'p') + "...", "next"}},
         "no timestamp line, long fields cut"},
        {"a first line that is no timestamp is a record",
         "Print Spooler  Spooler\r\n",
         {{"Print Spooler", "Spooler"}},
         "no timestamp line"},
        {"single blanks stay, two blanks or a tab end a field, leading blanks go",
         "08.12.2026 15:29 59\r\n   a b  c\td\r\n",
         {{"a b", "c", "d"}},
         ""},
        {"a character without a Windows-1252 form",
         "08.12.2026 15:29 59\r\n\xE2\x86\x92 x\r\n",
         {{"? x"}},
         "UTF-8, 1 characters without a Windows-1252 form read as ?"},
        {"Latin-1 misreadings of Windows-1252 bytes come back",
         "08.12.2026 15:29 59\r\n\xC2\x80\xC2\x9F\r\n",
         {{"\x80\x9F"}},
         "UTF-8"},
        {"bytes that are no UTF-8 stay as they are",
         "08.12.2026 15:29 59\r\n\xFC\xC3\r\n",
         {{"\xFC\xC3"}},
         ""},
    };
    for (const auto& c : cases) {
        const LogLines log = ReadLogLines(c.bytes.data(), c.bytes.size());
        EXPECT_EQ(FieldsOf(c.bytes), c.fields) << c.what;
        EXPECT_EQ(DescribeReadingNotes(log.notes), c.notes) << c.what;
    }
}

TEST(LogLines, ALogCutOffInItsLastLineSaysSo) {
    const std::string cut = kOriginal.substr(0, kOriginal.size() - 5);
    const LogLines log = ReadLogLines(cut.data(), cut.size());
    ASSERT_EQ(log.lines.size(), 5u);
    EXPECT_TRUE(log.lines.back().unterminated);
    EXPECT_EQ(log.lines.back().fields, (std::vector<std::string>{"Preis 5 \x80", "fo"}));
    for (size_t i = 0; i + 1 < log.lines.size(); ++i) {
        EXPECT_FALSE(log.lines[i].unterminated);
    }
    // Cut inside the padding after the last record's first field, then padded
    // with NULs by a download tool.
    const std::string padded = kOriginal.substr(0, 21 + 192 + 40) + std::string(64, '\0');
    const LogLines download = ReadLogLines(padded.data(), padded.size());
    EXPECT_TRUE(download.lines.back().unterminated);
    EXPECT_EQ(download.lines.back().fields,
              (std::vector<std::string>{"The MMX instruction set is available"}));
}

}  // namespace
