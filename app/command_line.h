// What the command line asks the program to do.
#pragma once

#include <string>
#include <vector>

#include "compare/compare_kind.h"

// Splits a command line (without the program name) as the C runtime does: blanks and
// tabs separate, double quotes group, backslashes are literal unless before a quote.
std::vector<std::string> SplitCommandLine(const char* commandLine);

enum class StartMode {
    Window,  // no arguments
    Usage,
    Collect,
    Compare,         // two logs
    CompareFolders,  // two folders of collected logs
    Diagnose,        // the verdicts of a bundle folder (`first`)
    CompareBundles,  // many bundle folders (`folders`), or one folder of bundles, in a matrix
    BadArguments     // the usage text, then kExitBadArguments
};

struct StartRequest {
    StartMode mode = StartMode::Window;
    std::string folder;                           // Collect: empty when no folder was given
    CompareKind compareKind = CompareKind::None;  // Compare
    std::string first;  // Compare: the two logs as given; CompareFolders: the folders
    std::string second;
    std::string report;   // Compare, CompareFolders: the report file; empty for a window
    // CompareBundles: every bundle folder as given (the bad ones too), and those given as bad.
    std::vector<std::string> folders;
    std::vector<std::string> badFolders;
    std::string problem;  // BadArguments: one line saying what is wrong, or empty
};

// Switches may start with "/" or "-" and are matched without regard to case.
StartRequest ParseArguments(const std::vector<std::string>& arguments);

// Why two logs named for a comparison of that kind cannot be compared with each
// other, naming both; empty when they can. A name that ends in no log extension
// is taken for a log of the kind asked for.
std::string CompareLogsMismatch(CompareKind kind, const std::string& first,
                                const std::string& second);
// The same for two dropped files, which name their kind by their names alone:
// "Not two logs of one kind: C:\a.logServices (a service log) and C:\b.txt (no log)."
std::string DroppedLogsMismatch(const std::string& first, const std::string& second);

// The comparison that two dropped files open, by their names: two logs of one
// kind (analysis logs of one section) open theirs; two messages logs
// (".logMessages") are compared line by line, as the folder summary compares
// them; None for anything else.
CompareKind DroppedLogsKind(const std::string& first, const std::string& second);

// Lines separated by CR LF, ready for a console.
extern const char kUsageText[];

// Exit codes of the collect run and of a bad command line; a report of a
// comparison ends with kExitNoMessage when nothing differs, kExitMessages when
// something does, and kExitBadArguments when a log cannot be read.
constexpr int kExitNoMessage = 0;
constexpr int kExitMessages = 1;
constexpr int kExitBadArguments = 2;
