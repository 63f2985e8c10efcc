#include "diagnosis/diagnosis_text.h"

#include "report/column_sets.h"
#include "report/log_format.h"

namespace {

constexpr std::size_t kMaxDiagnosisField = 500;

std::string OneField(const std::string& text) {
    std::string field;
    for (char c : text) {
        const bool blank = c == ' ' || c == '\t' || c == '\r' || c == '\n';
        if (blank && (field.empty() || field.back() == ' ')) {
            continue;
        }
        field.push_back(blank ? ' ' : c);
    }
    while (!field.empty() && field.back() == ' ') {
        field.pop_back();
    }
    return field.empty() ? "-" : field;
}

int Rank(Outcome outcome) {
    switch (outcome) {
        case Outcome::Fail:
            return 0;
        case Outcome::Warn:
            return 1;
        case Outcome::Pass:
            return 2;
        case Outcome::NotJudged:
            break;
    }
    return 3;
}

std::string Plural(int count, const char* one, const char* many) {
    return std::to_string(count) + " " + (count == 1 ? one : many);
}

}  // namespace

std::vector<std::string> VerdictCells(const Verdict& verdict) {
    return {OneField(verdict.code), OneField(OutcomeText(verdict.outcome)),
            OneField(verdict.sentence), OneField(EvidenceText(verdict.evidence)),
            OneField(verdict.action)};
}

std::string DiagnosisLogText(const std::string& timestampLine,
                             const std::vector<Verdict>& verdicts) {
    std::string text = timestampLine;
    const int columns = CountColumns(kDiagnosisColumns);
    for (const Verdict& verdict : verdicts) {
        const std::vector<std::string> cells = VerdictCells(verdict);
        for (int column = 0; column < columns; ++column) {
            // A log field reads back whole up to 512 characters; a longer one is cut here,
            // where it is written, so that the log travels as it was (the view and the
            // reports keep the whole text).
            std::string cell = cells[column];
            if (cell.size() > kMaxDiagnosisField) {
                cell.resize(kMaxDiagnosisField - 3);
                cell += "...";
            }
            const bool last = column + 1 == columns;
            const int width = WidthKeepingFieldEnd(LogFieldWidthOf(kDiagnosisColumns, column),
                                                   cell.size());
            text += BuildLogField(width, cell.c_str(), last).bytes;
        }
    }
    return text;
}

std::vector<Verdict> VerdictsForPeople(const std::vector<Verdict>& verdicts) {
    std::vector<Verdict> ordered;
    for (int rank = 0; rank < 4; ++rank) {
        for (const Verdict& verdict : verdicts) {
            if (Rank(verdict.outcome) == rank) {
                ordered.push_back(verdict);
            }
        }
    }
    return ordered;
}

int CountOutcome(const std::vector<Verdict>& verdicts, Outcome outcome) {
    int count = 0;
    for (const Verdict& verdict : verdicts) {
        count += verdict.outcome == outcome ? 1 : 0;
    }
    return count;
}

std::string VerdictCounts(const std::vector<Verdict>& verdicts) {
    return Plural(CountOutcome(verdicts, Outcome::Fail), "failure", "failures") + ", " +
           Plural(CountOutcome(verdicts, Outcome::Warn), "warning", "warnings") + ", " +
           std::to_string(CountOutcome(verdicts, Outcome::Pass)) + " passed, " +
           std::to_string(CountOutcome(verdicts, Outcome::NotJudged)) + " not judged";
}

std::string DiagnosisReport(const std::vector<Verdict>& verdicts) {
    std::string text;
    const int columns = CountColumns(kDiagnosisColumns);
    for (int column = 0; column < columns; ++column) {
        text += std::string(column > 0 ? "\t" : "") + kDiagnosisColumns[column].title;
    }
    text += "\r\n";
    for (const Verdict& verdict : VerdictsForPeople(verdicts)) {
        const std::vector<std::string> cells = VerdictCells(verdict);
        for (std::size_t i = 0; i < cells.size(); ++i) {
            text += (i > 0 ? "\t" : "") + cells[i];
        }
        text += "\r\n";
    }
    return text;
}

std::string DiagnosisHeadline(const std::vector<Verdict>& verdicts) {
    for (const Verdict& verdict : verdicts) {
        if (verdict.outcome == Outcome::Fail) {
            return verdict.code + ": " + VerdictCells(verdict)[2] + " (" + VerdictCounts(verdicts) +
                   ")";
        }
    }
    return "No rule failed (" + VerdictCounts(verdicts) + ").";
}
