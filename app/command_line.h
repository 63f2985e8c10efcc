// What the program is asked to do by its command line.
#pragma once

#include <string>
#include <vector>

// Splits a command line (without the program name) into arguments the way
// the C runtime does: blanks and tabs separate, double quotes group, and
// backslashes are literal unless they precede a double quote.
std::vector<std::string> SplitCommandLine(const char* commandLine);

enum class StartMode {
    Window,       // no arguments: the main window, as always
    Usage,        // "/?": the usage text, exit code 0
    Collect,      // "/collect [FOLDER]"
    Compare,      // "/compare KIND FIRST SECOND"
    BadArguments  // the usage text, exit code 2
};

struct StartRequest {
    StartMode mode = StartMode::Window;
    std::string folder;   // Collect: empty when no folder was given
    int compareKind = 0;  // Compare: 1 analysis, 2 exports, 3 services
    std::string first;    // Compare: the two logs as given
    std::string second;
};

// Switches may start with "/" or "-" and are matched without regard to case.
StartRequest ParseArguments(const std::vector<std::string>& arguments);

// The compare kind that a log's file name tells: 3 for ".logServices", 2 for
// ".logDlls", 1 for ".logAnalyze" and its section suffixes; 0 for any other
// name. The extension is matched without regard to case.
int CompareKindOfLogName(const std::string& path);

// Lines separated by CR LF, ready for a console.
extern const char kUsageText[];

// Exit codes of "/collect" and of a bad command line.
constexpr int kExitNoMessage = 0;
constexpr int kExitMessages = 1;
constexpr int kExitBadArguments = 2;
