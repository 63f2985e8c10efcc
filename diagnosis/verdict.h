// What a diagnosis rule says of one bundle.
#pragma once

#include <string>
#include <vector>

enum class Outcome { Fail, Warn, Pass, NotJudged };

// "fail", "warn", "pass", "not judged".
const char* OutcomeText(Outcome outcome);

// One fact a verdict rests on: what the log holds against what a working machine holds.
struct Evidence {
    std::string log;       // the log's file name
    std::string row;       // the row's name; empty when the log as a whole is meant
    std::string observed;  // what the row says
    std::string expected;  // what it says on a machine where the plug-in works
};

struct Verdict {
    std::string code;
    Outcome outcome = Outcome::NotJudged;
    // What was found, one sentence; for "not judged" why the facts are missing.
    std::string sentence;
    std::vector<Evidence> evidence;
    std::string action;  // what to do; empty where nothing is to be done
};

// `log, row "name": observed (expected: expected)`, the facts joined by "; ".
std::string EvidenceText(const std::vector<Evidence>& evidence);
