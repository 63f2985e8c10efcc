#include "diagnosis/verdict.h"

const char* OutcomeText(Outcome outcome) {
    switch (outcome) {
        case Outcome::Fail:
            return "fail";
        case Outcome::Warn:
            return "warn";
        case Outcome::Pass:
            return "pass";
        case Outcome::NotJudged:
            break;
    }
    return "not judged";
}

std::string EvidenceText(const std::vector<Evidence>& evidence) {
    std::string text;
    for (const Evidence& fact : evidence) {
        if (!text.empty()) {
            text += "; ";
        }
        if (fact.log.empty()) {
            text += fact.observed;  // a remark such as "and 3 more rows like these"
            continue;
        }
        text += fact.log;
        if (fact.row.compare(0, 5, "line ") == 0) {
            text += ", " + fact.row;  // a message, told by its line
        } else if (!fact.row.empty()) {
            text += ", row \"" + fact.row + "\"";
        }
        text += ": " + (fact.observed.empty() ? std::string("(empty)") : fact.observed);
        if (!fact.expected.empty()) {
            text += " (expected: " + fact.expected + ")";
        }
    }
    return text;
}
