// The PATH environment variable: the limits of its query and its split into entries.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

extern const char kPathVariableName[];  // "PATH"
extern const char kPathRowValue[];      // "PATH", the Value cell of every entry row

// Size passed to GetEnvironmentVariableA, and the size of the buffer that receives the value.
constexpr unsigned long kPathQuerySize = 32767;
constexpr std::size_t kPathBufferSize = 32768;

enum class PathQueryOutcome {
    Ok,
    Empty,   // the result is 0: the variable is missing or empty
    TooBig,  // the result is 32767 or more: the value with its zero does not fit
};

// Classifies the result of GetEnvironmentVariableA called with kPathQuerySize.
PathQueryOutcome ClassifyPathQuery(unsigned long result);

// "Path Variable empty!" for Empty, "Path Variable too big" for TooBig, nullptr for Ok.
const char* PathQueryMessage(PathQueryOutcome outcome);

// A control character met during the scan: the message text and the entry that was being
// collected when it was met (the warning is shown before that entry's row is emitted).
struct PathWarning {
    std::string text;
    std::size_t entryIndex;
};

struct PathScan {
    std::vector<std::string> entries;   // in order; may hold empty entries
    std::vector<PathWarning> warnings;  // in order
};

// Splits a PATH value: every ";" ends an entry (possibly empty); what follows the last ";" is
// an entry only when it is not empty, so a ";" at the very end gives no empty entry. Every
// character from 0x01 to 0x1F raises a warning and stays part of its entry; bytes of 0x80 and
// above are ordinary. Entries are kept whole whatever their length: cutting one at 259
// characters would show a different folder than the one the system searches.
PathScan SplitPathValue(std::string_view value);

// "0%0x" of the character code: tab "09", line feed "0a", 0x1F "01f".
std::string ControlCharacterWarning(unsigned char code);
