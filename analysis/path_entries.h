// The PATH environment variable: the limits of its query and its split into entries.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

extern const char kPathVariableName[];
extern const char kPathRowValue[];  // the Value cell of every entry row

// Size passed to GetEnvironmentVariableA, and of the buffer that receives the value.
constexpr unsigned long kPathQuerySize = 32767;
constexpr std::size_t kPathBufferSize = 32768;

enum class PathQueryOutcome {
    Ok,
    Empty,   // the variable is missing or empty
    TooBig,  // the value with its zero does not fit kPathQuerySize
};

// Classifies the result of GetEnvironmentVariableA called with kPathQuerySize.
PathQueryOutcome ClassifyPathQuery(unsigned long result);

// The message for Empty or TooBig; nullptr for Ok.
const char* PathQueryMessage(PathQueryOutcome outcome);

// A control character met during the scan, and the entry it was met in (the warning is
// shown before that entry's row).
struct PathWarning {
    std::string text;
    std::size_t entryIndex;
};

struct PathScan {
    std::vector<std::string> entries;  // may hold empty entries
    std::vector<PathWarning> warnings;
};

// Splits a PATH value at every semicolon; the text after the last one is an entry only when
// not empty. Characters 0x01 to 0x1F raise a warning and stay in their entry. Entries are
// kept whole: a cut one would show another folder than the one the system searches.
PathScan SplitPathValue(std::string_view value);

// The warning text of a control character: "0" and its code in lower-case hex (09, 01f).
std::string ControlCharacterWarning(unsigned char code);
