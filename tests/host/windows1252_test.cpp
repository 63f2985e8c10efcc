// The logs are Windows-1252; the HTML, JSON and CSV reports are UTF-8. A wrong entry in the
// table turns one character of a log into another in every report, so every byte of the
// code page's upper half is checked here, typed from the code page's published table.
#include "report/windows1252.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct ByteCase {
    unsigned char byte;
    const char* utf8;
};

// 0x80 to 0x9F, where Windows-1252 differs from Latin-1, then samples of the rest. The five
// bytes the code page leaves undefined stand for the C1 characters of the same value.
const ByteCase kBytes[] = {
    {0x80, "\xE2\x82\xAC"},  // euro sign
    {0x81, "\xC2\x81"},      // undefined
    {0x82, "\xE2\x80\x9A"},  // single low-9 quotation mark
    {0x83, "\xC6\x92"},      // f with hook
    {0x84, "\xE2\x80\x9E"},  // double low-9 quotation mark
    {0x85, "\xE2\x80\xA6"},  // ellipsis
    {0x86, "\xE2\x80\xA0"},  // dagger
    {0x87, "\xE2\x80\xA1"},  // double dagger
    {0x88, "\xCB\x86"},      // modifier circumflex
    {0x89, "\xE2\x80\xB0"},  // per mille
    {0x8A, "\xC5\xA0"},      // S caron
    {0x8B, "\xE2\x80\xB9"},  // single left angle quotation mark
    {0x8C, "\xC5\x92"},      // OE
    {0x8D, "\xC2\x8D"},      // undefined
    {0x8E, "\xC5\xBD"},      // Z caron
    {0x8F, "\xC2\x8F"},      // undefined
    {0x90, "\xC2\x90"},      // undefined
    {0x91, "\xE2\x80\x98"},  // left single quotation mark
    {0x92, "\xE2\x80\x99"},  // right single quotation mark
    {0x93, "\xE2\x80\x9C"},  // left double quotation mark
    {0x94, "\xE2\x80\x9D"},  // right double quotation mark
    {0x95, "\xE2\x80\xA2"},  // bullet
    {0x96, "\xE2\x80\x93"},  // en dash
    {0x97, "\xE2\x80\x94"},  // em dash
    {0x98, "\xCB\x9C"},      // small tilde
    {0x99, "\xE2\x84\xA2"},  // trade mark
    {0x9A, "\xC5\xA1"},      // s caron
    {0x9B, "\xE2\x80\xBA"},  // single right angle quotation mark
    {0x9C, "\xC5\x93"},      // oe
    {0x9D, "\xC2\x9D"},      // undefined
    {0x9E, "\xC5\xBE"},      // z caron
    {0x9F, "\xC5\xB8"},      // Y diaeresis
    {0x00, ""},              // NUL: compared as one byte below
    {0x41, "A"},
    {0x7F, "\x7F"},
    {0xA0, "\xC2\xA0"},  // no-break space
    {0xA9, "\xC2\xA9"},  // copyright
    {0xC4, "\xC3\x84"},  // A umlaut
    {0xD6, "\xC3\x96"},  // O umlaut
    {0xDC, "\xC3\x9C"},  // U umlaut
    {0xDF, "\xC3\x9F"},  // sharp s
    {0xE4, "\xC3\xA4"},  // a umlaut
    {0xF6, "\xC3\xB6"},  // o umlaut
    {0xFC, "\xC3\xBC"},  // u umlaut
    {0xFF, "\xC3\xBF"},  // y diaeresis
};

TEST(Windows1252, EveryByteOfTheUpperHalfAndSamplesOfTheRest) {
    for (const ByteCase& c : kBytes) {
        const std::string expected = c.byte == 0 ? std::string("\0", 1) : std::string(c.utf8);
        EXPECT_EQ(Utf8OfWindows1252(std::string(1, static_cast<char>(c.byte))), expected)
            << "byte 0x" << std::hex << int(c.byte);
    }
}

TEST(Windows1252, EveryByteGivesACharacterOfItsOwn) {
    // Two bytes that gave one character would make two different log values read alike.
    std::u32string seen;
    for (int byte = 0; byte < 256; ++byte) {
        const std::uint32_t codePoint = Windows1252CodePoint(static_cast<unsigned char>(byte));
        EXPECT_EQ(seen.find(static_cast<char32_t>(codePoint)), std::u32string::npos) << byte;
        seen.push_back(static_cast<char32_t>(codePoint));
    }
}

TEST(Windows1252, TextKeepsItsOrderAndLength) {
    EXPECT_EQ(Utf8OfWindows1252("K\xF6ln \x80 5"), "K\xC3\xB6ln \xE2\x82\xAC 5");
    EXPECT_EQ(Utf8OfWindows1252(std::string("a\0b", 3)), std::string("a\0b", 3));
    EXPECT_EQ(Utf8OfWindows1252(""), "");
}

TEST(Windows1252, Utf8OfEveryLength) {
    const struct {
        std::uint32_t codePoint;
        const char* utf8;
    } cases[] = {
        {0x7F, "\x7F"},
        {0x80, "\xC2\x80"},
        {0x7FF, "\xDF\xBF"},
        {0x800, "\xE0\xA0\x80"},
        {0xFFFD, "\xEF\xBF\xBD"},
        {0x10000, "\xF0\x90\x80\x80"},
        {0x10FFFF, "\xF4\x8F\xBF\xBF"},
        {0xD800, "\xEF\xBF\xBD"},    // a surrogate is no character
        {0x110000, "\xEF\xBF\xBD"},  // nor is anything above U+10FFFF
    };
    for (const auto& c : cases) {
        std::string text;
        AppendUtf8(text, c.codePoint);
        EXPECT_EQ(text, c.utf8) << std::hex << c.codePoint;
    }
}

}  // namespace
