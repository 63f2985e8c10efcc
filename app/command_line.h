// What the command line asks the program to do.
#pragma once

#include <string>
#include <vector>

// Splits a command line (without the program name) as the C runtime does: blanks and
// tabs separate, double quotes group, backslashes are literal unless before a quote.
std::vector<std::string> SplitCommandLine(const char* commandLine);

enum class StartMode {
    Window,  // no arguments
    Usage,
    Collect,
    Compare,
    BadArguments  // the usage text, then kExitBadArguments
};

struct StartRequest {
    StartMode mode = StartMode::Window;
    std::string folder;   // Collect: empty when no folder was given
    int compareKind = 0;  // Compare: 1 analysis, 2 exports, 3 services
    std::string first;    // Compare: the two logs as given
    std::string second;
    std::string problem;  // BadArguments: one line saying what is wrong, or empty
};

// Switches may start with "/" or "-" and are matched without regard to case.
StartRequest ParseArguments(const std::vector<std::string>& arguments);

// The compare kind that a log's extension names, matched without regard to case (an
// analysis section's log counts as analysis); 0 for any other name.
int CompareKindOfLogName(const std::string& path);

// Lines separated by CR LF, ready for a console.
extern const char kUsageText[];

// Exit codes of the collect run and of a bad command line.
constexpr int kExitNoMessage = 0;
constexpr int kExitMessages = 1;
constexpr int kExitBadArguments = 2;
