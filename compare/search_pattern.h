// Wildcard search of the compare view: case folding, pattern compilation and the
// matcher. The pattern language has "?" (exactly one character) and "*" (any run,
// the empty one included); every other character stands for itself, and a pattern
// must match the whole text.
#pragma once

#include <cstddef>
#include <cstdint>

// The search string buffer: at most 511 characters and the terminating zero.
constexpr size_t kSearchStringSize = 512;
// The token table: at most 511 tokens and the terminating 0.
constexpr size_t kSearchTokenCount = 512;

// Token values besides a literal run (n > 0, the next n characters of the string).
constexpr int32_t kTokenEnd = 0;
constexpr int32_t kTokenAnyChar = -1;  // "?"
constexpr int32_t kTokenAnyRun = -2;   // "*"

// Folds in place, up to the terminating zero: every byte from 0x40 to 0x5F gets
// 0x20 added ("@", "A".."Z", "[", "\", "]", "^", "_"); all other bytes stay.
void FoldSearchCase(char* text);

// Compiles the zero-terminated search string (a buffer of kSearchStringSize bytes;
// at most its first 511 characters are read) into tokens, and writes the compiled
// string back in place: runs of "*" collapse to one "*". The tokens and the
// compiled string run in step: n characters for a literal run, one per wildcard.
void CompileSearchPattern(char* searchString, int32_t tokens[kSearchTokenCount]);

// True when the whole text matches the pattern that CompileSearchPattern made
// (tokens and compiled string): "?" takes exactly one character, "*" any run,
// and every text that the pattern describes matches. The matcher only ever
// returns to the last "*", so it needs no memory beyond a few positions.
bool MatchSearchPattern(const int32_t* tokens, const char* compiledString, const char* text,
                        size_t textLength);
