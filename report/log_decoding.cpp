#include "report/log_decoding.h"

#include <cstring>

namespace {

// The Unicode characters of the bytes 0x80 to 0x9F in Windows-1252 (0 where
// the code page has none).
const uint16_t kWindows1252High[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178,
};

void AppendWindows1252(std::string& text, uint32_t codePoint, int& unmappable) {
    unsigned char byte = 0;
    if (Windows1252ByteOf(codePoint, byte)) {
        text.push_back(static_cast<char>(byte));
    } else {
        ++unmappable;
        text.push_back('?');
    }
}

std::string FromUtf8(const unsigned char* p, size_t size, int& unmappable) {
    std::string text;
    text.reserve(size);
    for (size_t at = 0; at < size;) {
        uint32_t codePoint = 0;
        size_t length = Utf8SequenceLength(p + at, size - at, codePoint);
        if (length == 0) {
            codePoint = p[at];
            length = 1;
        }
        AppendWindows1252(text, codePoint, unmappable);
        at += length;
    }
    return text;
}

std::string FromUtf16(const unsigned char* p, size_t size, bool bigEndian, int& unmappable) {
    std::string text;
    text.reserve(size / 2);
    const auto unitAt = [&](size_t at) -> uint32_t {
        return bigEndian ? (p[at] << 8 | p[at + 1]) : (p[at + 1] << 8 | p[at]);
    };
    for (size_t at = 0; at + 1 < size; at += 2) {
        uint32_t unit = unitAt(at);
        if (unit >= 0xD800 && unit <= 0xDBFF && at + 3 < size) {
            const uint32_t low = unitAt(at + 2);
            if (low >= 0xDC00 && low <= 0xDFFF) {
                unit = 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00);
                at += 2;
            }
        }
        AppendWindows1252(text, unit, unmappable);
    }
    return text;
}

// UTF-16 without its mark: a log starts with its timestamp digits, so every
// second byte of its start is zero in one order and not in the other.
TextEncoding Utf16WithoutMark(const unsigned char* p, size_t size) {
    const size_t probe = size < 64 ? size & ~static_cast<size_t>(1) : 64;
    if (probe < 8) {
        return TextEncoding::Windows1252;
    }
    bool evenZero = true, oddZero = true, evenSet = true, oddSet = true;
    for (size_t at = 0; at < probe; at += 2) {
        evenZero = evenZero && p[at] == 0;
        oddZero = oddZero && p[at + 1] == 0;
        evenSet = evenSet && p[at] != 0;
        oddSet = oddSet && p[at + 1] != 0;
    }
    if (evenSet && oddZero) {
        return TextEncoding::Utf16LittleEndian;
    }
    if (evenZero && oddSet) {
        return TextEncoding::Utf16BigEndian;
    }
    return TextEncoding::Windows1252;
}

}  // namespace

bool Windows1252ByteOf(uint32_t codePoint, unsigned char& byte) {
    if (codePoint < 0x100) {
        byte = static_cast<unsigned char>(codePoint);
        return true;
    }
    for (int i = 0; i < 32; ++i) {
        if (kWindows1252High[i] == codePoint) {
            byte = static_cast<unsigned char>(0x80 + i);
            return true;
        }
    }
    return false;
}

size_t Utf8SequenceLength(const unsigned char* p, size_t left, uint32_t& codePoint) {
    if (left == 0) {
        return 0;
    }
    const unsigned char lead = p[0];
    size_t length;
    uint32_t minimum;
    if (lead < 0x80) {
        codePoint = lead;
        return 1;
    } else if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        minimum = 0x80;
        codePoint = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        minimum = 0x800;
        codePoint = lead & 0x0F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        minimum = 0x10000;
        codePoint = lead & 0x07;
    } else {
        return 0;
    }
    if (left < length) {
        return 0;
    }
    for (size_t i = 1; i < length; ++i) {
        if ((p[i] & 0xC0) != 0x80) {
            return 0;
        }
        codePoint = (codePoint << 6) | (p[i] & 0x3F);
    }
    if (codePoint < minimum || codePoint > 0x10FFFF ||
        (codePoint >= 0xD800 && codePoint <= 0xDFFF)) {
        return 0;
    }
    return length;
}

bool IsMultiByteUtf8(const unsigned char* p, size_t size) {
    bool multiByte = false;
    for (size_t at = 0; at < size;) {
        // Runs of ASCII, the bulk of every log, eight bytes at a time.
        uint64_t eight = 0;
        if (at + sizeof eight <= size) {
            std::memcpy(&eight, p + at, sizeof eight);
            if ((eight & 0x8080808080808080ULL) == 0) {
                at += sizeof eight;
                continue;
            }
        }
        if (p[at] < 0x80) {
            ++at;
            continue;
        }
        uint32_t codePoint = 0;
        const size_t length = Utf8SequenceLength(p + at, size - at, codePoint);
        if (length == 0) {
            return false;
        }
        multiByte = true;
        at += length;
    }
    return multiByte;
}

EncodingGuess GuessEncoding(const unsigned char* p, size_t size) {
    EncodingGuess guess;
    if (size >= 3 && p[0] == 0xEF && p[1] == 0xBB && p[2] == 0xBF) {
        guess.encoding = TextEncoding::Utf8;
        guess.markSize = 3;
    } else if (size >= 2 && p[0] == 0xFF && p[1] == 0xFE) {
        guess.encoding = TextEncoding::Utf16LittleEndian;
        guess.markSize = 2;
    } else if (size >= 2 && p[0] == 0xFE && p[1] == 0xFF) {
        guess.encoding = TextEncoding::Utf16BigEndian;
        guess.markSize = 2;
    } else if ((guess.encoding = Utf16WithoutMark(p, size)) != TextEncoding::Windows1252) {
        return guess;
    } else if (IsMultiByteUtf8(p, size)) {
        guess.encoding = TextEncoding::Utf8;
        guess.utf8WithoutMark = true;
    }
    return guess;
}

std::string DecodeToWindows1252(TextEncoding encoding, const unsigned char* p, size_t size,
                                int& unmappable) {
    switch (encoding) {
        case TextEncoding::Utf8:
            return FromUtf8(p, size, unmappable);
        case TextEncoding::Utf16LittleEndian:
            return FromUtf16(p, size, false, unmappable);
        case TextEncoding::Utf16BigEndian:
            return FromUtf16(p, size, true, unmappable);
        case TextEncoding::Windows1252:
            break;
    }
    return std::string(reinterpret_cast<const char*>(p), size);
}
