// Pattern compiler and matcher: no crash or out-of-bounds access; the compiled
// pattern is consistent with its string; a match is always a true match of the
// pattern language, and is found exactly where no "*" makes the matcher choose.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "compare/search_pattern.h"

namespace {

void Require(bool condition) {
    if (!condition) {
        std::abort();
    }
}

// Whether the whole text matches the pattern language, trying every split.
bool MatchesByAllSplits(const std::string& pattern, const std::string& text) {
    std::vector<char> row(text.size() + 1, 0);  // row[j]: pattern prefix matches text prefix j
    row[0] = 1;
    for (char p : pattern) {
        std::vector<char> next(text.size() + 1, 0);
        for (size_t j = 0; j <= text.size(); ++j) {
            if (p == '*') {
                next[j] = row[j] || (j > 0 && next[j - 1]);
            } else if (j > 0) {
                next[j] = row[j - 1] && (p == '?' || p == text[j - 1]);
            }
        }
        row.swap(next);
    }
    return row[text.size()] != 0;
}

std::string CollapseStars(const std::string& pattern) {
    std::string collapsed;
    for (char c : pattern) {
        if (!(c == '*' && !collapsed.empty() && collapsed.back() == '*')) {
            collapsed += c;
        }
    }
    return collapsed;
}

void CheckTokensFollowString(const int32_t* tokens, const char* compiled) {
    size_t p = 0;
    size_t k = 0;
    int32_t previous = 0;
    for (; tokens[k] != kTokenEnd; ++k) {
        Require(k < kSearchTokenCount - 1);
        const int32_t token = tokens[k];
        if (token > 0) {
            Require(previous <= 0);
            for (int32_t i = 0; i < token; ++i, ++p) {
                Require(compiled[p] != '\0' && compiled[p] != '?' && compiled[p] != '*');
            }
        } else {
            Require(token == kTokenAnyChar || token == kTokenAnyRun);
            Require(!(token == kTokenAnyRun && previous == kTokenAnyRun));
            Require(compiled[p++] == (token == kTokenAnyChar ? '?' : '*'));
        }
        previous = token;
    }
    Require(compiled[p] == '\0');
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 2) {
        return 0;
    }
    const bool ignoreCase = data[0] & 1;
    const size_t patternLength = std::min<size_t>(data[1] * 3u, size - 2);
    std::string pattern(reinterpret_cast<const char*>(data + 2), patternLength);
    std::string text(reinterpret_cast<const char*>(data + 2 + patternLength),
                     size - 2 - patternLength);
    pattern = pattern.substr(0, std::strlen(pattern.c_str())).substr(0, kSearchStringSize - 1);
    text = text.substr(0, std::strlen(text.c_str()));  // list texts are zero-terminated

    char compiled[kSearchStringSize] = {};
    std::memcpy(compiled, pattern.data(), pattern.size());
    int32_t tokens[kSearchTokenCount];
    CompileSearchPattern(compiled, tokens);
    Require(CollapseStars(pattern) == compiled);
    CheckTokensFollowString(tokens, compiled);

    if (ignoreCase) {
        FoldSearchCase(compiled);
        FoldSearchCase(text.data());
    }
    const bool matched = MatchSearchPattern(tokens, compiled, text.data(), text.size());
    const bool matchable = MatchesByAllSplits(compiled, text);
    // The matcher finds every text that the pattern describes, and no other.
    Require(matched == matchable);
    return 0;
}
