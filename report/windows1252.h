// Windows-1252 text, as the logs hold it, in the UTF-8 that HTML, JSON and CSV reports carry.
#pragma once

#include <cstdint>
#include <string>

// The Unicode character of one Windows-1252 byte. The five bytes the code page leaves
// undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) stand for U+0081 and so on, as Windows' own
// conversion gives them, so that no byte of a log is lost or merged with another.
std::uint32_t Windows1252CodePoint(unsigned char byte);

// Appends a character as UTF-8 (one to four bytes; a code point above U+10FFFF or a
// surrogate is appended as U+FFFD, though no Windows-1252 byte gives one).
void AppendUtf8(std::string& text, std::uint32_t codePoint);

// Every byte of the text as UTF-8.
std::string Utf8OfWindows1252(const std::string& text);
