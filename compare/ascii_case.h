// Letter case as the sort and the pairing of service names see it: only the
// ASCII letters A to Z fold to a to z (C locale); every other byte stays.
#pragma once

inline unsigned char FoldAsciiLetter(unsigned char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<unsigned char>(c - 'A' + 'a') : c;
}
