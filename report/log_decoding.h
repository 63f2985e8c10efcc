// The text encodings in which a log may arrive, and their way back to the
// Windows-1252 text that the program wrote.
//
// A log is written in Windows-1252. On its way it may become UTF-8 (with or
// without a byte-order mark) or UTF-16 (with its mark, or without it: a log
// starts with its timestamp digits, so every second byte of its start is zero).
// A character that Windows-1252 cannot hold reads as "?"; U+0080 to U+009F
// stand for the bytes of the same value, which is what a tool makes of
// Windows-1252 text that it takes for Latin-1.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

enum class TextEncoding { Windows1252, Utf8, Utf16LittleEndian, Utf16BigEndian };

struct EncodingGuess {
    TextEncoding encoding = TextEncoding::Windows1252;
    size_t markSize = 0;  // bytes of the byte-order mark, skipped
    // UTF-8 told by its bytes alone (no mark): a Windows-1252 text may form
    // valid UTF-8 by chance, so this reading may still lose to the other.
    bool utf8WithoutMark = false;
};

// The encoding the bytes most likely have: a byte-order mark decides; then
// UTF-16 by the zero bytes of its start; then UTF-8 when the bytes are valid
// UTF-8 throughout and hold a multi-byte sequence; else Windows-1252.
EncodingGuess GuessEncoding(const unsigned char* bytes, size_t size);

// The bytes (without a mark) as Windows-1252 text; `unmappable` counts the
// characters read as "?". A byte that is no valid UTF-8 sequence stands for
// itself; a UTF-16 surrogate without its partner reads as "?", and an odd
// last byte is no character.
std::string DecodeToWindows1252(TextEncoding encoding, const unsigned char* bytes, size_t size,
                                int& unmappable);

// The length of the well-formed UTF-8 sequence at `bytes` (no overlong form,
// no surrogate, nothing above U+10FFFF, not cut by the end), with its code
// point; 0 when there is none.
size_t Utf8SequenceLength(const unsigned char* bytes, size_t left, uint32_t& codePoint);

// Whether the bytes are valid UTF-8 throughout and hold at least one
// multi-byte sequence (plain ASCII reads the same either way).
bool IsMultiByteUtf8(const unsigned char* bytes, size_t size);

// The Windows-1252 byte of a code point; false when the code page has none.
bool Windows1252ByteOf(uint32_t codePoint, unsigned char& byte);
