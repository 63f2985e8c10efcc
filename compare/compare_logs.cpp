#include "compare/compare_logs.h"

namespace {

ComparedLogs StartResult(const LogLines& first, const LogLines& second) {
    ComparedLogs result;
    result.firstNotes = first.notes;
    result.secondNotes = second.notes;
    result.firstTimestamp = first.timestamp;
    result.secondTimestamp = second.timestamp;
    return result;
}

void CompareServiceLogs(const LogLines& first, const LogLines& second, ComparedLogs& result) {
    ServiceMerge merge;
    std::string record[kServiceFieldCount];
    bool fragment = false;
    bool cut = false;
    for (const LogLine& line : first.lines) {
        ServiceRecordOfLogLine(line, record, fragment, cut);
        result.firstNotes.endsInsideRecord = result.firstNotes.endsInsideRecord || cut;
        merge.AddFirst(record, fragment);
    }
    for (const LogLine& line : second.lines) {
        ServiceRecordOfLogLine(line, record, fragment, cut);
        result.secondNotes.endsInsideRecord = result.secondNotes.endsInsideRecord || cut;
        merge.AddSecond(record, fragment);
    }
    merge.MarkDifferences();
    result.rows = merge.rows();
}

void CompareLineLogs(LineKeyRule rule, const LogLines& first, const LogLines& second,
                     ComparedLogs& result) {
    LineMerge merge(rule);
    for (const LogLine& line : first.lines) {
        merge.AddFirst(line.fields, line.unterminated);
    }
    for (const LogLine& line : second.lines) {
        merge.AddSecond(line.fields, line.unterminated);
    }
    merge.MarkDifferences();
    result.rows = merge.rows();
    result.firstNotes.endsInsideRecord = merge.FirstShownCut();
    result.secondNotes.endsInsideRecord = merge.SecondShownCut();
}

}  // namespace

void ServiceRecordOfLogLine(const LogLine& line, std::string record[kServiceFieldCount],
                            bool& fragment, bool& shownCut) {
    fragment = false;
    shownCut = false;
    if (!line.unterminated || line.fields.size() >= kServiceFieldCount) {
        ServiceRecordOfLine(line.fields, record);
        if (line.unterminated && !IsServiceStateText(record[kServiceFieldCount - 1])) {
            record[kServiceFieldCount - 1] += kCutMark;
            shownCut = true;
        }
        return;
    }
    // Cut before its state: nothing can be told from its end, so the fields
    // stand where they were read, and the record pairs with nothing.
    for (int i = 0; i < kServiceFieldCount; ++i) {
        record[i] = static_cast<size_t>(i) < line.fields.size() ? line.fields[i] : std::string();
    }
    record[line.fields.size() - 1] += kCutMark;
    fragment = true;
    shownCut = true;
}

ComparedLogs CompareLogLines(CompareKind kind, const LogLines& first, const LogLines& second) {
    ComparedLogs result = StartResult(first, second);
    switch (kind) {
        case CompareKind::Services:
            CompareServiceLogs(first, second, result);
            break;
        case CompareKind::Exports:
            CompareLineLogs(LineKeyRule::ExportName, first, second, result);
            break;
        case CompareKind::Analysis:
            CompareLineLogs(LineKeyRule::AnalysisName, first, second, result);
            break;
        case CompareKind::None:
            break;
    }
    return result;
}

CompareCounts CountRows(const std::vector<CompareRow>& rows) {
    CompareCounts counts;
    counts.rows = static_cast<int>(rows.size());
    for (const CompareRow& row : rows) {
        if (!row.different) {
            continue;
        }
        ++counts.different;
        if (!row.inSecond) {
            ++counts.onlyFirst;
        } else if (!row.inFirst) {
            ++counts.onlySecond;
        } else {
            ++counts.changed;
        }
    }
    return counts;
}

std::string DescribeCounts(const CompareCounts& counts) {
    std::string text = std::to_string(counts.rows) + (counts.rows == 1 ? " row, " : " rows, ");
    if (counts.different == 0) {
        return text + "none Different";
    }
    return text + std::to_string(counts.different) +
           " Different: " + std::to_string(counts.onlyFirst) + " only in the first log, " +
           std::to_string(counts.onlySecond) + " only in the second log, " +
           std::to_string(counts.changed) + " with other values";
}
