// Letter case as the sort, the pairing of service names and the matching of
// file names and switches see it: only the ASCII letters A to Z fold to a to z
// (C locale); every other byte stays.
#pragma once

#include <cstddef>
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

// Whether the first `size` bytes of a and b are the same but for case, without a folded copy:
// the diagnosis compares every path of a log with each file it looks for.
inline bool SameFoldedBytes(const char* a, const char* b, std::size_t size) {
    for (std::size_t i = 0; i < size; ++i) {
        if (FoldAsciiLetter(static_cast<unsigned char>(a[i])) !=
            FoldAsciiLetter(static_cast<unsigned char>(b[i]))) {
            return false;
        }
    }
    return true;
}

inline bool EqualFolded(const std::string& a, const std::string& b) {
    return a.size() == b.size() && SameFoldedBytes(a.data(), b.data(), a.size());
}
