// Letter case as the sort, the pairing of service names and the matching of
// file names and switches see it: only the ASCII letters A to Z fold to a to z
// (C locale); every other byte stays.
#pragma once

#include <string>

inline unsigned char FoldAsciiLetter(unsigned char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<unsigned char>(c - 'A' + 'a') : c;
}

inline std::string FoldAsciiCase(std::string text) {
    for (char& c : text) {
        c = static_cast<char>(FoldAsciiLetter(static_cast<unsigned char>(c)));
    }
    return text;
}
