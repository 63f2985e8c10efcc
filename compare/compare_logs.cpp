#include "compare/compare_logs.h"

#include <unordered_set>
#include <utility>

#include "report/log_paths.h"

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

bool HoldsHighByte(const std::string& text) {
    for (char c : text) {
        if (static_cast<unsigned char>(c) >= 0x80) {
            return true;
        }
    }
    return false;
}

// How many fields of the log beyond ASCII the other log holds as they are.
int FieldsHeldBy(const LogLines& log, const std::unordered_set<std::string>& others) {
    int held = 0;
    for (const LogLine& line : log.lines) {
        for (const std::string& field : line.fields) {
            held += HoldsHighByte(field) && others.count(field) != 0 ? 1 : 0;
        }
    }
    return held;
}

// Reads `log` again as Windows-1252 when that reading shares more values with
// `other`, a log in the Windows-1252 the program writes.
void ReconsiderUtf8(const LogBytes& bytes, const LogReadingRules& rules, const LogLines& other,
                    LogLines& log) {
    if (!log.utf8WithoutMark || !log.notes.utf8 || other.notes.utf8 || other.notes.utf16) {
        return;
    }
    std::unordered_set<std::string> otherFields;
    for (const LogLine& line : other.lines) {
        for (const std::string& field : line.fields) {
            if (HoldsHighByte(field)) {
                otherFields.insert(field);
            }
        }
    }
    if (otherFields.empty()) {
        return;
    }
    LogReadingRules asWritten = rules;
    asWritten.utf8WithoutMark = false;
    LogLines raw = ReadLogLines(bytes.data, bytes.size, asWritten);
    const int rawHeld = FieldsHeldBy(raw, otherFields);
    if (rawHeld > 0 && rawHeld >= FieldsHeldBy(log, otherFields)) {
        log = std::move(raw);
    }
}

}  // namespace

const LogLayout* LayoutForComparison(CompareKind kind, const std::string& name) {
    // The name's layout where the name tells the kind compared (the messages
    // log is compared as lines, as analysis logs are).
    const LogLayout* named = LayoutOfLogName(name);
    const bool messages = named == LayoutOfLogName(kMessagesLogPath);
    if (named != nullptr &&
        (LogKindOfName(name).compare == kind || (messages && kind == CompareKind::Analysis))) {
        return named;
    }
    switch (kind) {
        case CompareKind::Services:
            return LayoutOfLogName(kServiceLogPath);
        case CompareKind::Exports:
            return LayoutOfLogName(kExportLogPath);
        case CompareKind::Analysis:
        case CompareKind::None:
            break;
    }
    return nullptr;
}

void ReadComparedLogs(CompareKind kind, const LogBytes& first, const LogBytes& second,
                      LogLines& firstLines, LogLines& secondLines) {
    LogReadingRules firstRules, secondRules;
    firstRules.layout = LayoutForComparison(kind, first.name);
    secondRules.layout = LayoutForComparison(kind, second.name);
    firstLines = ReadLogLines(first.data, first.size, firstRules);
    secondLines = ReadLogLines(second.data, second.size, secondRules);
    ReconsiderUtf8(first, firstRules, secondLines, firstLines);
    ReconsiderUtf8(second, secondRules, firstLines, secondLines);
}

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
