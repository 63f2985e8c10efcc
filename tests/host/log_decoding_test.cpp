#include "report/log_decoding.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace {

// The bytes in a heap block of exactly their size, so that a read past the end
// is one the sanitizer sees (a std::string's terminator would hide it).
class ExactBytes {
public:
    explicit ExactBytes(const std::string& bytes)
        : size_(bytes.size()), data_(new unsigned char[bytes.size()]) {
        std::copy(bytes.begin(), bytes.end(), data_.get());
    }
    const unsigned char* data() const { return data_.get(); }
    size_t size() const { return size_; }

private:
    size_t size_;
    std::unique_ptr<unsigned char[]> data_;
};

TEST(Utf8Sequence, WellFormedFormsOnly) {
    const struct {
        const char* what;
        std::string bytes;
        size_t length;
        uint32_t codePoint;
    } cases[] = {
        {"ASCII", "A", 1, 0x41},
        {"smallest two-byte form", "\xC2\x80", 2, 0x80},
        {"largest two-byte form", "\xDF\xBF", 2, 0x7FF},
        {"smallest three-byte form", "\xE0\xA0\x80", 3, 0x800},
        {"euro sign", "\xE2\x82\xAC", 3, 0x20AC},
        {"last before the surrogates", "\xED\x9F\xBF", 3, 0xD7FF},
        {"first after the surrogates", "\xEE\x80\x80", 3, 0xE000},
        {"smallest four-byte form", "\xF0\x90\x80\x80", 4, 0x10000},
        {"largest code point", "\xF4\x8F\xBF\xBF", 4, 0x10FFFF},
        {"overlong NUL", std::string("\xC0\x80", 2), 0, 0},
        {"overlong 'A'", "\xC1\x81", 0, 0},
        {"overlong three-byte form", "\xE0\x9F\xBF", 0, 0},
        {"overlong four-byte form", "\xF0\x8F\xBF\xBF", 0, 0},
        {"high surrogate", "\xED\xA0\x80", 0, 0},
        {"low surrogate", "\xED\xBF\xBF", 0, 0},
        {"beyond U+10FFFF", "\xF4\x90\x80\x80", 0, 0},
        {"lead byte F5", "\xF5\x80\x80\x80", 0, 0},
        {"byte FF", "\xFF", 0, 0},
        {"a continuation byte alone", "\x80", 0, 0},
        {"the last continuation byte alone", "\xBF", 0, 0},
        {"two-byte form cut by the end", "\xC3", 0, 0},
        {"three-byte form cut by the end", "\xE2\x82", 0, 0},
        {"four-byte form cut by the end", "\xF0\x90\x80", 0, 0},
        {"no continuation byte", "\xC3\x41", 0, 0},
        {"continuation missing in the middle", "\xE2\x41\xAC", 0, 0},
        {"continuation missing at the end", "\xF0\x90\x80\x41", 0, 0},
        {"a lead byte where a continuation belongs", "\xE2\xC2\xAC", 0, 0},
    };
    for (const auto& c : cases) {
        const ExactBytes bytes(c.bytes);
        uint32_t codePoint = 0xFFFFFFFF;
        EXPECT_EQ(Utf8SequenceLength(bytes.data(), bytes.size(), codePoint), c.length) << c.what;
        if (c.length != 0) {
            EXPECT_EQ(codePoint, c.codePoint) << c.what;
        }
    }
}

TEST(Utf8Sequence, NothingLeftIsNoSequence) {
    const ExactBytes bytes("A");
    uint32_t codePoint = 0;
    EXPECT_EQ(Utf8SequenceLength(bytes.data(), 0, codePoint), 0u);
}

TEST(IsMultiByteUtf8, ValidThroughoutWithOneSequenceAtLeast) {
    const std::string ascii(20, 'a');
    const struct {
        const char* what;
        std::string bytes;
        bool utf8;
    } cases[] = {
        {"plain ASCII", ascii, false},
        {"nothing", "", false},
        {"one sequence", "f\xC3\xBCr", true},
        // The check takes eight ASCII bytes at a time: sequences on either side
        // of each step, and one cut by the end of the bytes.
        {"sequence at byte 7", ascii.substr(0, 7) + "\xC3\xBC" + ascii, true},
        {"sequence at byte 8", ascii.substr(0, 8) + "\xC3\xBC" + ascii, true},
        {"sequence at byte 15", ascii.substr(0, 15) + "\xC3\xBC", true},
        {"sequence cut at the end", ascii.substr(0, 15) + "\xC3", false},
        {"a valid sequence, then a lone byte", "\xC3\xBC" + ascii + "\xFC", false},
        {"a lone byte past eight ASCII bytes", ascii.substr(0, 9) + "\xFC" + ascii, false},
        {"Windows-1252 umlaut before a letter", "f\xFCr", false},
        {"a surrogate in three bytes", "\xED\xA0\x80", false},
    };
    for (const auto& c : cases) {
        const ExactBytes bytes(c.bytes);
        EXPECT_EQ(IsMultiByteUtf8(bytes.data(), bytes.size()), c.utf8) << c.what;
    }
}

// UTF-16 text of a log's start: the timestamp digits.
std::string Utf16(const std::string& text, bool bigEndian) {
    std::string wide;
    for (char c : text) {
        wide += bigEndian ? std::string(1, '\0') + c : std::string(1, c) + '\0';
    }
    return wide;
}

TEST(GuessEncoding, MarksThenZeroBytesThenUtf8) {
    const std::string stamp = "08.12.2026 15:29 59\r\n";
    const struct {
        const char* what;
        std::string bytes;
        TextEncoding encoding;
        size_t markSize;
        bool withoutMark;
    } cases[] = {
        {"Windows-1252", stamp + "f\xFCr", TextEncoding::Windows1252, 0, false},
        {"UTF-8 mark", "\xEF\xBB\xBF" + stamp, TextEncoding::Utf8, 3, false},
        {"UTF-8 mark alone", "\xEF\xBB\xBF", TextEncoding::Utf8, 3, false},
        {"UTF-16 little-endian mark", "\xFF\xFE" + Utf16(stamp, false),
         TextEncoding::Utf16LittleEndian, 2, false},
        {"UTF-16 big-endian mark", "\xFE\xFF" + Utf16(stamp, true), TextEncoding::Utf16BigEndian, 2,
         false},
        {"UTF-16 little-endian without mark", Utf16(stamp, false), TextEncoding::Utf16LittleEndian,
         0, false},
        {"UTF-16 big-endian without mark", Utf16(stamp, true), TextEncoding::Utf16BigEndian, 0,
         false},
        {"too short to tell UTF-16 by its zeros", Utf16("083", false), TextEncoding::Windows1252, 0,
         false},
        {"eight bytes tell it", Utf16("0812", false), TextEncoding::Utf16LittleEndian, 0, false},
        {"zeros in both orders",
         std::string("0\0\0"
                     "0"
                     "0\0\0"
                     "0",
                     8),
         TextEncoding::Windows1252, 0, false},
        {"UTF-8 told by its bytes", stamp + "f\xC3\xBCr", TextEncoding::Utf8, 0, true},
        {"nothing", "", TextEncoding::Windows1252, 0, false},
    };
    for (const auto& c : cases) {
        const ExactBytes bytes(c.bytes);
        const EncodingGuess guess = GuessEncoding(bytes.data(), bytes.size());
        EXPECT_EQ(guess.encoding, c.encoding) << c.what;
        EXPECT_EQ(guess.markSize, c.markSize) << c.what;
        EXPECT_EQ(guess.utf8WithoutMark, c.withoutMark) << c.what;
    }
}

std::string Decoded(TextEncoding encoding, const std::string& bytes, int& unmappable) {
    const ExactBytes exact(bytes);
    unmappable = 0;
    return DecodeToWindows1252(encoding, exact.data(), exact.size(), unmappable);
}

TEST(DecodeToWindows1252, Utf16UnitsAndSurrogatePairsInBothOrders) {
    const struct {
        const char* what;
        std::vector<uint16_t> units;
        std::string text;
        int unmappable;
    } cases[] = {
        {"umlaut and euro sign", {0x66, 0xFC, 0x20AC}, "f\xFC\x80", 0},
        {"a pair is one character", {0x61, 0xD83D, 0xDE00, 0x62}, "a?b", 1},
        {"the highest pair", {0xDBFF, 0xDFFF}, "?", 1},
        {"the lowest pair, then a letter", {0xD800, 0xDC00, 0x62}, "?b", 1},
        {"a high surrogate before a letter", {0xD83D, 0x62}, "?b", 1},
        {"a low surrogate alone", {0xDE00, 0x62}, "?b", 1},
        {"a high surrogate at the end", {0x61, 0xD83D}, "a?", 1},
        {"two high surrogates, then a low one", {0xD83D, 0xD83D, 0xDE00}, "??", 2},
        {"a character outside the code page", {0x0100}, "?", 1},
    };
    for (const auto& c : cases) {
        for (bool bigEndian : {false, true}) {
            std::string bytes;
            for (uint16_t unit : c.units) {
                const char high = static_cast<char>(unit >> 8), low = static_cast<char>(unit);
                bytes += bigEndian ? std::string{high, low} : std::string{low, high};
            }
            int unmappable = 0;
            EXPECT_EQ(
                Decoded(bigEndian ? TextEncoding::Utf16BigEndian : TextEncoding::Utf16LittleEndian,
                        bytes, unmappable),
                c.text)
                << c.what << (bigEndian ? " big-endian" : " little-endian");
            EXPECT_EQ(unmappable, c.unmappable) << c.what;
        }
    }
    int unmappable = 0;
    EXPECT_EQ(Decoded(TextEncoding::Utf16LittleEndian, std::string("a\0b", 3), unmappable), "a")
        << "an odd last byte is no character";
}

TEST(DecodeToWindows1252, Utf8BytesThatAreNoSequenceStandForThemselves) {
    int unmappable = 0;
    EXPECT_EQ(Decoded(TextEncoding::Utf8, "f\xC3\xBCr \xFC \xE2\x82", unmappable),
              "f\xFCr \xFC \xE2\x82");
    EXPECT_EQ(unmappable, 0);
    EXPECT_EQ(Decoded(TextEncoding::Utf8, "\xE2\x86\x92", unmappable), "?");
    EXPECT_EQ(unmappable, 1);
}

// The code page as Microsoft publishes it: the characters of 0x80 to 0x9F
// (five of which are unassigned); 0xA0 to 0xFF are Latin-1.
const struct {
    unsigned char byte;
    uint32_t codePoint;
} kCodePage1252[] = {
    {0x80, 0x20AC}, {0x82, 0x201A}, {0x83, 0x0192}, {0x84, 0x201E}, {0x85, 0x2026}, {0x86, 0x2020},
    {0x87, 0x2021}, {0x88, 0x02C6}, {0x89, 0x2030}, {0x8A, 0x0160}, {0x8B, 0x2039}, {0x8C, 0x0152},
    {0x8E, 0x017D}, {0x91, 0x2018}, {0x92, 0x2019}, {0x93, 0x201C}, {0x94, 0x201D}, {0x95, 0x2022},
    {0x96, 0x2013}, {0x97, 0x2014}, {0x98, 0x02DC}, {0x99, 0x2122}, {0x9A, 0x0161}, {0x9B, 0x203A},
    {0x9C, 0x0153}, {0x9E, 0x017E}, {0x9F, 0x0178},
};

std::string Utf8Of(uint32_t codePoint) {
    std::string bytes;
    if (codePoint < 0x80) {
        bytes += static_cast<char>(codePoint);
    } else if (codePoint < 0x800) {
        bytes += static_cast<char>(0xC0 | (codePoint >> 6));
        bytes += static_cast<char>(0x80 | (codePoint & 0x3F));
    } else {
        bytes += static_cast<char>(0xE0 | (codePoint >> 12));
        bytes += static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
        bytes += static_cast<char>(0x80 | (codePoint & 0x3F));
    }
    return bytes;
}

TEST(Windows1252, EveryCharacterOfTheCodePageComesBackAsItsByte) {
    std::vector<uint32_t> codePointOf(256);
    for (uint32_t b = 0; b < 256; ++b) {
        codePointOf[b] = b;  // Latin-1, and the Latin-1 misreading of 0x80 to 0x9F
    }
    for (const auto& entry : kCodePage1252) {
        codePointOf[entry.byte] = entry.codePoint;
    }
    for (uint32_t b = 0x20; b < 256; ++b) {
        unsigned char byte = 0;
        EXPECT_TRUE(Windows1252ByteOf(codePointOf[b], byte)) << std::hex << b;
        EXPECT_EQ(byte, b) << std::hex << b;
        int unmappable = 0;
        EXPECT_EQ(Decoded(TextEncoding::Utf8, Utf8Of(codePointOf[b]), unmappable),
                  std::string(1, static_cast<char>(b)))
            << std::hex << b;
        EXPECT_EQ(unmappable, 0) << std::hex << b;
        const std::string utf16 = {static_cast<char>(codePointOf[b] & 0xFF),
                                   static_cast<char>(codePointOf[b] >> 8)};
        EXPECT_EQ(Decoded(TextEncoding::Utf16LittleEndian, utf16, unmappable),
                  std::string(1, static_cast<char>(b)))
            << std::hex << b;
    }
    // Neighbours of the code page's characters that it does not hold.
    for (uint32_t outside : {0x100u, 0x20ABu, 0x20ADu, 0x2123u, 0x0193u, 0x2015u, 0xFFFDu}) {
        unsigned char byte = 0;
        EXPECT_FALSE(Windows1252ByteOf(outside, byte)) << std::hex << outside;
    }
}

}  // namespace
