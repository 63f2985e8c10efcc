#include "compare/compare_merge.h"

#include <cstdio>
#include <unordered_map>
#include <unordered_set>
#include <utility>

#include "checks/service_texts.h"

namespace {

// The type texts that the service listing writes. Service types are
// combinations of the bits 0x1 to 0x100; other codes read as "TYPE 0x..." too.
bool IsServiceTypeText(const std::string& text) {
    static const std::unordered_set<std::string> kTypeTexts = [] {
        std::unordered_set<std::string> texts;
        for (std::uint32_t code = 1; code <= 0x1FF; ++code) {
            texts.insert(ServiceTypeText(code));
        }
        return texts;
    }();
    if (kTypeTexts.count(text) != 0) {
        return true;
    }
    unsigned code = 0;
    char rest = 0;
    return std::sscanf(text.c_str(), "TYPE 0x%X%c", &code, &rest) == 1 &&
           ServiceTypeText(code) == text;
}

bool StatesDiffer(const std::string& a, const std::string& b, size_t limit) {
    return a.compare(0, limit, b, 0, limit) != 0;
}

}  // namespace

void ServiceRecordOfLine(const std::vector<std::string>& lineFields,
                         std::string record[kServiceFieldCount]) {
    for (int i = 0; i < kServiceFieldCount; ++i) {
        record[i].clear();
    }
    if (lineFields.size() == kServiceFieldCount) {
        for (int i = 0; i < kServiceFieldCount; ++i) {
            record[i] = lineFields[i];
        }
        return;
    }
    size_t rest = lineFields.size();
    if (rest > 0) {
        record[3] = lineFields[--rest];
    }
    if (rest > 0 && IsServiceTypeText(lineFields[rest - 1])) {
        record[2] = lineFields[--rest];
    }
    if (rest > 0) {
        record[1] = lineFields[--rest];
    }
    for (size_t i = 0; i < rest; ++i) {
        if (i > 0) {
            record[0] += ' ';
        }
        record[0] += lineFields[i];
    }
}

namespace {

// A service record's row without its states.
CompareRow ServiceRow(const std::string fields[kServiceFieldCount]) {
    CompareRow row;
    row.name = fields[0];
    row.value = fields[1];
    row.type = fields[2];
    return row;
}

}  // namespace

void ServiceMerge::AddFirst(const std::string fields[kServiceFieldCount]) {
    firstLogValues_.Add(fields[1], static_cast<int>(rows_.size()));
    rows_.push_back(ServiceRow(fields));
    rows_.back().state1 = fields[3];
}

void ServiceMerge::AddSecond(const std::string fields[kServiceFieldCount]) {
    const int partner = firstLogValues_.Find(fields[1]);
    if (partner >= 0) {
        // Only the state is taken; a later record with the same name overwrites it.
        rows_[static_cast<size_t>(partner)].state2 = fields[3];
        return;
    }
    rows_.push_back(ServiceRow(fields));
    rows_.back().state2 = fields[3];
}

void ServiceMerge::MarkDifferences() {
    for (CompareRow& row : rows_) {
        row.different = StatesDiffer(row.state1, row.state2, kStateCompareLimit);
    }
}

namespace {

using LineFields = std::vector<std::string>;

// An empty line still reads as one empty field; a list without any is taken so.
void EnsureOneField(LineFields& fields) {
    if (fields.empty()) {
        fields.emplace_back();
    }
}

CompareRow RowOfLine(const LineFields& fields, bool fromFirstLog) {
    CompareRow row;
    row.name = fields.front();
    if (fields.size() >= 2) {
        for (size_t i = 1; i + 1 < fields.size(); ++i) {
            if (i > 1) {
                row.value += "  ";
            }
            row.value += fields[i];
        }
        (fromFirstLog ? row.state1 : row.state2) = fields.back();
    }
    return row;
}

const std::string& StateOfLine(const LineFields& fields) {
    static const std::string kNoState;
    return fields.size() >= 2 ? fields.back() : kNoState;
}

// How often a name stands at the head of a line with a state, per log.
struct NameCount {
    int first = 0;
    int second = 0;
};
using NameCounts = std::unordered_map<std::string, NameCount>;

NameCounts CountStatedNames(const std::vector<LineFields>& firstLines,
                            const std::vector<LineFields>& secondLines) {
    NameCounts counts;
    for (const LineFields& fields : firstLines) {
        if (fields.size() >= 2) {
            ++counts[fields.front()].first;
        }
    }
    for (const LineFields& fields : secondLines) {
        if (fields.size() >= 2) {
            ++counts[fields.front()].second;
        }
    }
    return counts;
}

// Keys of the two kinds are tagged so that a name never meets a whole line, and
// each field is length-prefixed so that no two different lines share a key.
std::string NameKey(const std::string& name) {
    return "N" + name;
}

std::string WholeLineKey(const LineFields& fields) {
    std::string key = "W";
    for (const std::string& field : fields) {
        key += std::to_string(field.size());
        key += ':';
        key += field;
    }
    return key;
}

std::string KeyOfLine(const LineFields& fields, LineKeyRule rule, const NameCounts& counts) {
    if (rule == LineKeyRule::ExportName) {
        return NameKey(fields.front());
    }
    if (fields.size() >= 2) {
        const NameCount& count = counts.at(fields.front());
        if (count.first <= 1 && count.second <= 1) {
            return NameKey(fields.front());
        }
    }
    return WholeLineKey(fields);
}

// The first-log rows that share one key, in row order, and how many of them have
// been given a partner.
struct RowsOfKey {
    std::vector<size_t> rows;
    size_t paired = 0;
};

}  // namespace

void LineMerge::AddFirst(std::vector<std::string> lineFields) {
    EnsureOneField(lineFields);
    firstLines_.push_back(std::move(lineFields));
    rowsAreCurrent_ = false;
}

void LineMerge::AddSecond(std::vector<std::string> lineFields) {
    EnsureOneField(lineFields);
    secondLines_.push_back(std::move(lineFields));
    rowsAreCurrent_ = false;
}

void LineMerge::MarkDifferences() {
    marked_ = true;
    rowsAreCurrent_ = false;
}

const std::vector<CompareRow>& LineMerge::rows() const {
    if (!rowsAreCurrent_) {
        MakeRows();
        rowsAreCurrent_ = true;
    }
    return rows_;
}

void LineMerge::MakeRows() const {
    NameCounts counts;
    if (rule_ == LineKeyRule::AnalysisName) {
        counts = CountStatedNames(firstLines_, secondLines_);
    }

    rows_.clear();
    rows_.reserve(firstLines_.size() + secondLines_.size());
    std::unordered_map<std::string, RowsOfKey> rowsByKey;
    for (const LineFields& fields : firstLines_) {
        rowsByKey[KeyOfLine(fields, rule_, counts)].rows.push_back(rows_.size());
        rows_.push_back(RowOfLine(fields, true));
    }

    const size_t firstRowCount = rows_.size();
    std::vector<bool> hasSecondSide(firstRowCount, false);
    for (const LineFields& fields : secondLines_) {
        const auto found = rowsByKey.find(KeyOfLine(fields, rule_, counts));
        if (found != rowsByKey.end() && found->second.paired < found->second.rows.size()) {
            const size_t partner = found->second.rows[found->second.paired++];
            rows_[partner].state2 = StateOfLine(fields);
            hasSecondSide[partner] = true;
        } else {
            rows_.push_back(RowOfLine(fields, false));
        }
    }

    if (marked_) {
        for (size_t i = 0; i < rows_.size(); ++i) {
            const bool bothSides = i < firstRowCount && hasSecondSide[i];
            rows_[i].different = !bothSides || rows_[i].state1 != rows_[i].state2;
        }
    }
}
