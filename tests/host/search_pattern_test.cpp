#include "compare/search_pattern.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

struct Compiled {
    char text[kSearchStringSize] = {};
    int32_t tokens[kSearchTokenCount] = {};
};

Compiled Compile(const std::string& pattern) {
    Compiled compiled;
    std::strncpy(compiled.text, pattern.c_str(), kSearchStringSize - 1);
    CompileSearchPattern(compiled.text, compiled.tokens);
    return compiled;
}

std::vector<int32_t> TokensUpToEnd(const Compiled& compiled) {
    std::vector<int32_t> tokens;
    for (size_t i = 0; i < kSearchTokenCount && compiled.tokens[i] != kTokenEnd; ++i) {
        tokens.push_back(compiled.tokens[i]);
    }
    return tokens;
}

bool Matches(const std::string& pattern, const std::string& text) {
    const Compiled compiled = Compile(pattern);
    return MatchSearchPattern(compiled.tokens, compiled.text, text.data(), text.size());
}

// Searches as the view does when "Search case sensitive" is off.
bool MatchesIgnoringCase(const std::string& pattern, const std::string& text) {
    Compiled compiled = Compile(pattern);
    FoldSearchCase(compiled.text);
    std::string folded = text;
    FoldSearchCase(folded.data());
    return MatchSearchPattern(compiled.tokens, compiled.text, folded.data(), folded.size());
}

struct CompileCase {
    const char* pattern;
    std::vector<int32_t> tokens;
    const char* compiled;
};

TEST(CompileSearchPattern, GivesTokensAndRewrittenString) {
    const CompileCase cases[] = {
        {"ab?c**d*", {2, -1, 1, -2, 1, -2}, "ab?c*d*"},
        {"a**b", {1, -2, 1}, "a*b"},
        {"***", {-2}, "*"},
        {"**abc", {-2, 3}, "*abc"},
        {"abc", {3}, "abc"},
        {"?", {-1}, "?"},
        {"??", {-1, -1}, "??"},
        {"*?*", {-2, -1, -2}, "*?*"},
        {"?**?", {-1, -2, -1}, "?*?"},
        {"a*?b", {1, -2, -1, 1}, "a*?b"},
        {"", {}, ""},
    };
    for (const CompileCase& c : cases) {
        const Compiled compiled = Compile(c.pattern);
        EXPECT_EQ(TokensUpToEnd(compiled), c.tokens) << c.pattern;
        EXPECT_STREQ(compiled.text, c.compiled) << c.pattern;
    }
}

TEST(CompileSearchPattern, LongestPatternsKeepTheirEndToken) {
    // 511 characters, the most the search field gives: one run, or 511 wildcards.
    const Compiled literal = Compile(std::string(511, 'x'));
    EXPECT_EQ(TokensUpToEnd(literal), std::vector<int32_t>{511});
    EXPECT_EQ(std::strlen(literal.text), 511u);

    const Compiled wildcards = Compile(std::string(511, '?'));
    EXPECT_EQ(TokensUpToEnd(wildcards).size(), 511u);
    EXPECT_EQ(wildcards.tokens[511], kTokenEnd);

    std::string alternating;
    for (int i = 0; i < 511; ++i) {
        alternating += (i % 2 == 0) ? 'a' : '?';
    }
    const Compiled mixed = Compile(alternating);
    EXPECT_EQ(TokensUpToEnd(mixed).size(), 511u);
    EXPECT_EQ(mixed.tokens[511], kTokenEnd);
}

TEST(CompileSearchPattern, ReadsNoMoreThan511Characters) {
    char text[kSearchStringSize];
    std::memset(text, 'z', sizeof text);  // no terminating zero in the buffer
    int32_t tokens[kSearchTokenCount];
    CompileSearchPattern(text, tokens);
    EXPECT_EQ(tokens[0], 511);
    EXPECT_EQ(tokens[1], kTokenEnd);
    EXPECT_EQ(text[511], '\0');
}

struct MatchCase {
    const char* pattern;
    const char* text;
    bool matches;
};

TEST(MatchSearchPattern, FollowsThePatternTable) {
    const MatchCase cases[] = {
        {"abc", "abc", true},
        {"abc", "xabc", false},
        {"abc", "abcd", false},
        {"abc", "ab", false},
        {"*abc*", "abc", true},
        {"*abc*", "xxabcyy", true},
        {"*abc*", "xxabyy", false},
        {"abc*", "abc", true},
        {"abc*", "abcdef", true},
        {"abc*", "xabc", false},
        {"*abc", "abc", true},
        {"*abc", "zzabc", true},
        {"*abc", "abcz", false},
        {"*", "", true},
        {"*", "anything at all", true},
        {"?", "a", true},
        {"?", "", false},
        {"?", "ab", false},
        {"*aab*", "aaab", true},  // the run is tried again one character later
        {"*ab?", "abc", true},
        {"*ab?", "ababc", true},  // the second "ab" leaves one character for "?"
        {"*ab?", "ababcd", false},
        {"*a?c*x", "abdabcx", true},
        {"a*b*c", "abbbbc", true},
        {"a*b*c", "ab", false},
        {"*ab*ab", "abxab", true},
        {"*ab*ab", "xabab", true},
        {"*aab", "aaaab", true},
        {"ab*b", "abb", true},
        {"ab*b", "ab", false},
        {"a*b?c", "abxc", true},
        {"a*b?c", "axxbyc", true},
        {"a*b?c", "axb", false},
        {"a**b", "axyzb", true},
        {"", "", true},
        {"", "a", false},
    };
    for (const MatchCase& c : cases) {
        EXPECT_EQ(Matches(c.pattern, c.text), c.matches)
            << "pattern " << c.pattern << " text " << c.text;
    }
}

TEST(MatchSearchPattern, QuestionMarkBehindStarMeansAtLeastOneCharacterThere) {
    const MatchCase cases[] = {
        {"*?", "", false},       {"*?", "a", true},       {"*?", "abc", true},
        {"a*?b", "ab", false},   {"a*?b", "axb", true},   {"a*?b", "axyzb", true},
        {"a*??b", "axb", false}, {"a*??b", "axyb", true}, {"*?*", "", false},
        {"*?*", "x", true},      {"*?x*", "x", false},    {"*?x*", "yx", true},
        {"*?x*y", "axby", true}, {"*?c", "abc", true},    {"*?c", "c", false},
    };
    for (const MatchCase& c : cases) {
        EXPECT_EQ(Matches(c.pattern, c.text), c.matches)
            << "pattern " << c.pattern << " text " << c.text;
    }
}

TEST(MatchSearchPattern, IgnoringCaseFoldsPatternAndText) {
    const MatchCase cases[] = {
        {"abc", "ABC", true},    {"abc", "aBc", true},
        {"ABC", "abc", true},    {"[", "{", true},
        {"_", "\x7F", true},     {"@", "`", true},
        {"\xC4", "\xE4", false}, {"*Spooler*", "print SPOOLER service", true},
    };
    for (const MatchCase& c : cases) {
        EXPECT_EQ(MatchesIgnoringCase(c.pattern, c.text), c.matches)
            << "pattern " << c.pattern << " text " << c.text;
    }
    EXPECT_FALSE(Matches("abc", "ABC"));
    EXPECT_FALSE(Matches("[", "{"));
}

TEST(MatchSearchPattern, TextLengthBoundsTheMatchNotTheZero) {
    const char text[] = "abcdef";
    const Compiled compiled = Compile("abc");
    EXPECT_TRUE(MatchSearchPattern(compiled.tokens, compiled.text, text, 3));
    EXPECT_FALSE(MatchSearchPattern(compiled.tokens, compiled.text, text, 2));
    const Compiled skipping = Compile("*cd*f");
    EXPECT_FALSE(MatchSearchPattern(skipping.tokens, skipping.text, text, 5));
}

TEST(MatchSearchPattern, ManyStarsOverAMillionCharactersGiveUp) {
    const std::string text(1000000, 'a');
    EXPECT_FALSE(Matches("*a*a*a*b", text));
    EXPECT_FALSE(Matches("*a*a*a*b*", text));
    EXPECT_FALSE(Matches("*aab*a", text));
    EXPECT_TRUE(Matches("*a*a*a*", text));
}

TEST(MatchSearchPattern, Handles511CharacterPatterns) {
    const std::string literal(511, 'q');
    EXPECT_TRUE(Matches(literal, literal));
    EXPECT_FALSE(Matches(literal, literal.substr(1)));
    EXPECT_FALSE(Matches(literal, literal + "q"));

    const std::string anyChars(511, '?');
    EXPECT_TRUE(Matches(anyChars, std::string(511, 'x')));
    EXPECT_FALSE(Matches(anyChars, std::string(510, 'x')));

    const std::string starThenRun = "*" + std::string(510, 'r');
    EXPECT_TRUE(Matches(starThenRun, "prefix" + std::string(510, 'r')));
    EXPECT_FALSE(Matches(starThenRun, std::string(509, 'r')));
}

TEST(FoldSearchCase, AddsTwentyHexToBytes40To5FOnly) {
    char text[256];
    for (int i = 1; i < 256; ++i) {
        text[i - 1] = static_cast<char>(i);
    }
    text[255] = '\0';
    FoldSearchCase(text);
    for (int i = 1; i < 256; ++i) {
        const int expected = (i >= 0x40 && i <= 0x5F) ? i + 0x20 : i;
        EXPECT_EQ(static_cast<unsigned char>(text[i - 1]), expected) << "byte " << i;
    }
}

}  // namespace
