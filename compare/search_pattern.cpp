#include "compare/search_pattern.h"

#include <algorithm>
#include <cstring>

void FoldSearchCase(char* text) {
    for (; *text != '\0'; ++text) {
        const unsigned char c = static_cast<unsigned char>(*text);
        if (c >= 0x40 && c <= 0x5F) {
            *text = static_cast<char>(c + 0x20);
        }
    }
}

void CompileSearchPattern(char* searchString, int32_t tokens[kSearchTokenCount]) {
    std::fill(tokens, tokens + kSearchTokenCount, kTokenEnd);
    size_t k = 0;    // the token being built
    size_t out = 0;  // never ahead of the character read, so the rewrite can go in place
    for (size_t in = 0; in < kSearchStringSize - 1 && searchString[in] != '\0'; ++in) {
        const char c = searchString[in];
        if (c == '?' || c == '*') {
            if (tokens[k] != kTokenEnd) {
                ++k;  // close the open literal run
            }
            if (c == '*' && k > 0 && tokens[k - 1] == kTokenAnyRun) {
                continue;  // "**" means the same as "*"
            }
            tokens[k++] = (c == '?') ? kTokenAnyChar : kTokenAnyRun;
        } else {
            ++tokens[k];
        }
        searchString[out++] = c;
    }
    searchString[out] = '\0';
}

namespace {

// Searches text from j on for the first place where the whole literal run fits,
// without ever comparing a character twice: after a partial agreement of m
// characters the search goes on behind them. Returns false when none is found.
bool FindRunForward(const char* run, size_t runLength, const char* text, size_t textLength,
                    size_t& j) {
    for (;;) {
        while (j < textLength && text[j] != run[0]) {
            ++j;
        }
        if (j >= textLength) {
            return false;
        }
        size_t agreed = 1;
        while (agreed < runLength && j + agreed < textLength && text[j + agreed] == run[agreed]) {
            ++agreed;
        }
        if (agreed == runLength) {
            return true;
        }
        j += agreed;
    }
}

}  // namespace

bool MatchSearchPattern(const int32_t* tokens, const char* compiledString, const char* text,
                        size_t textLength) {
    size_t j = 0;  // position in the text
    size_t p = 0;  // position in the compiled string
    const int32_t* token = tokens;
    for (;;) {
        if (*token == kTokenEnd) {
            return j == textLength;
        }
        if (*token == kTokenAnyChar) {
            if (j >= textLength) {
                return false;
            }
            ++j;
            ++p;
            ++token;
            continue;
        }
        if (*token > 0) {
            const size_t n = static_cast<size_t>(*token);
            if (textLength - j < n || std::memcmp(text + j, compiledString + p, n) != 0) {
                return false;
            }
            j += n;
            p += n;
            ++token;
            continue;
        }
        // A "*". A "?" directly behind it is taken as if it stood before it: "*?" and
        // "?*" both mean "at least one character". So a "*" is always followed by a
        // literal run or the end, and the matcher stays linear. A later "*" reached
        // that way merges with this one.
        while (*token == kTokenAnyRun || *token == kTokenAnyChar) {
            if (*token == kTokenAnyChar) {
                if (j >= textLength) {
                    return false;
                }
                ++j;
            }
            ++p;
            ++token;
        }
        if (*token == kTokenEnd) {
            return true;
        }
        const size_t n = static_cast<size_t>(*token);
        const char* run = compiledString + p;
        if (token[1] == kTokenEnd) {
            // The run ends the pattern: only the end of the text can take it.
            return textLength - j >= n && std::memcmp(text + textLength - n, run, n) == 0;
        }
        if (!FindRunForward(run, n, text, textLength, j)) {
            return false;
        }
        j += n;
        p += n;
        ++token;
    }
}
