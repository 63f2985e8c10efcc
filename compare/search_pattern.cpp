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

// The length of the compiled string that the tokens cover: n characters for a
// literal run, one for each wildcard.
size_t PatternLength(const int32_t* tokens) {
    size_t length = 0;
    for (; *tokens != kTokenEnd; ++tokens) {
        length += *tokens > 0 ? static_cast<size_t>(*tokens) : 1;
    }
    return length;
}

}  // namespace

// The classic two-pointer matcher: the pattern is walked against the text, and
// on a mismatch behind a "*" the match restarts one character later behind that
// last "*" (an earlier "*" never needs to be tried again). So every text that
// the pattern describes is found, with no stack and no allocation; a literal
// "?" or "*" cannot occur, since every "?" and "*" of the search string is a
// wildcard.
bool MatchSearchPattern(const int32_t* tokens, const char* compiledString, const char* text,
                        size_t textLength) {
    const size_t patternLength = PatternLength(tokens);
    constexpr size_t kNoStar = static_cast<size_t>(-1);
    size_t p = 0;  // position in the compiled string
    size_t j = 0;  // position in the text
    size_t starP = kNoStar;
    size_t starJ = 0;
    while (j < textLength) {
        const char c = p < patternLength ? compiledString[p] : '\0';
        if (p < patternLength && c == '*') {
            starP = p++;
            starJ = j;
        } else if (p < patternLength && (c == '?' || c == text[j])) {
            ++p;
            ++j;
        } else if (starP != kNoStar) {
            p = starP + 1;
            j = ++starJ;
        } else {
            return false;
        }
    }
    while (p < patternLength && compiledString[p] == '*') {
        ++p;
    }
    return p == patternLength;
}
