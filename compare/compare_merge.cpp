#include "compare/compare_merge.h"

#include <cstdio>
#include <unordered_map>
#include <unordered_set>
#include <utility>

#include "report/service_texts.h"

namespace {

bool IsCodeText(const std::string& text, const char* form, std::string (*textOf)(std::uint32_t)) {
    unsigned code = 0;
    char rest = 0;
    return std::sscanf(text.c_str(), form, &code, &rest) == 1 && textOf(code) == text;
}

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
    return IsCodeText(text, "TYPE 0x%X%c", ServiceTypeText);
}

bool StatesDiffer(const std::string& a, const std::string& b, size_t limit) {
    return a.compare(0, limit, b, 0, limit) != 0;
}

}  // namespace

const char kCutMark[] = "...";

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

void ServiceMerge::AddFirst(const std::string fields[kServiceFieldCount], bool fragment) {
    if (!fragment) {
        firstLogValues_.Add(fields[1], static_cast<int>(rows_.size()));
    }
    rows_.push_back(ServiceRow(fields));
    rows_.back().state1 = fields[3];
    rows_.back().inFirst = true;
    rows_.back().cut = fragment;
}

void ServiceMerge::AddSecond(const std::string fields[kServiceFieldCount], bool fragment) {
    const int partner = fragment ? -1 : firstLogValues_.Find(fields[1]);
    if (partner >= 0) {
        // Only the state is taken; a later record with the same name overwrites it.
        CompareRow& row = rows_[static_cast<size_t>(partner)];
        row.state2 = fields[3];
        row.inSecond = true;
        return;
    }
    rows_.push_back(ServiceRow(fields));
    rows_.back().state2 = fields[3];
    rows_.back().inSecond = true;
    rows_.back().cut = fragment;
}

void ServiceMerge::MarkDifferences() {
    for (CompareRow& row : rows_) {
        row.different = row.cut || StatesDiffer(row.state1, row.state2, kStateCompareLimit);
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

// Everything the line says after its name, as the log holds it.
std::string StateOfLine(const LineFields& fields) {
    std::string state;
    for (size_t i = 1; i < fields.size(); ++i) {
        if (i > 1) {
            state += "  ";
        }
        state += fields[i];
    }
    return state;
}

CompareRow RowOfLine(const LineFields& fields, bool fromFirstLog) {
    CompareRow row;
    row.name = fields.front();
    for (size_t i = 1; i + 1 < fields.size(); ++i) {
        if (i > 1) {
            row.value += "  ";
        }
        row.value += fields[i];
    }
    (fromFirstLog ? row.state1 : row.state2) = StateOfLine(fields);
    (fromFirstLog ? row.inFirst : row.inSecond) = true;
    return row;
}

// A line shown cut ends in the cut mark: in its state, or in its name when it
// has nothing after it and no partner shares the row.
void MarkCut(CompareRow& row, bool firstLogSide) {
    std::string& state = firstLogSide ? row.state1 : row.state2;
    const bool paired = row.inFirst && row.inSecond;
    (state.empty() && !paired ? row.name : state) += kCutMark;
    row.cut = true;
}

// How often a name stands at the head of a line with a state, per log.
struct NameCount {
    int first = 0;
    int second = 0;
};
using NameCounts = std::unordered_map<std::string, NameCount>;

bool HasState(const LineFields& fields) {
    return fields.size() >= 2;
}

template <typename LineList>
NameCounts CountStatedNames(const LineList& firstLines, const LineList& secondLines) {
    NameCounts counts;
    for (const auto& line : firstLines) {
        if (HasState(line.fields)) {
            ++counts[line.fields.front()].first;
        }
    }
    for (const auto& line : secondLines) {
        if (HasState(line.fields)) {
            ++counts[line.fields.front()].second;
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
    if (rule == LineKeyRule::AnalysisName) {
        const auto count = counts.find(fields.front());
        if (count != counts.end() && (count->second.first > 1 || count->second.second > 1)) {
            return WholeLineKey(fields);
        }
    }
    return NameKey(fields.front());
}

// The first-log rows that share one key, in row order, apart by whether their
// line has a state; next[shape] is the first of them still without a partner.
struct RowsOfKey {
    std::vector<size_t> rows[2];
    size_t next[2] = {0, 0};

    // The upper row still free of that shape, taken; or of any shape.
    bool TakeSameShape(int shape, size_t& row) {
        if (next[shape] == rows[shape].size()) {
            return false;
        }
        row = rows[shape][next[shape]++];
        return true;
    }
    bool TakeAny(size_t& row) {
        const bool left[2] = {next[0] < rows[0].size(), next[1] < rows[1].size()};
        if (!left[0] && !left[1]) {
            return false;
        }
        const int shape =
            !left[0] ? 1 : (!left[1] ? 0 : (rows[0][next[0]] < rows[1][next[1]] ? 0 : 1));
        return TakeSameShape(shape, row);
    }
};

}  // namespace

void LineMerge::AddFirst(std::vector<std::string> lineFields, bool unterminated) {
    EnsureOneField(lineFields);
    firstLines_.push_back(Line{std::move(lineFields), unterminated});
    rowsAreCurrent_ = false;
}

void LineMerge::AddSecond(std::vector<std::string> lineFields, bool unterminated) {
    EnsureOneField(lineFields);
    secondLines_.push_back(Line{std::move(lineFields), unterminated});
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

bool LineMerge::FirstShownCut() const {
    rows();
    return firstShownCut_;
}

bool LineMerge::SecondShownCut() const {
    rows();
    return secondShownCut_;
}

void LineMerge::MakeRows() const {
    NameCounts counts;
    if (rule_ == LineKeyRule::AnalysisName) {
        counts = CountStatedNames(firstLines_, secondLines_);
    }

    rows_.clear();
    rows_.reserve(firstLines_.size() + secondLines_.size());
    firstShownCut_ = false;
    secondShownCut_ = false;
    std::unordered_map<std::string, RowsOfKey> rowsByKey;
    for (const Line& line : firstLines_) {
        rowsByKey[KeyOfLine(line.fields, rule_, counts)].rows[HasState(line.fields)].push_back(
            rows_.size());
        rows_.push_back(RowOfLine(line.fields, true));
    }

    // Lines of one key pair in order, a line with a state first with one that
    // has a state too (and a name alone with a name alone), then whatever is
    // left of either: so "Processor Architecture" alone and with its value
    // each find their own, and a line whose state an editor left empty still
    // meets its partner.
    const size_t firstRowCount = rows_.size();
    std::vector<const Line*> partnerOf(firstRowCount, nullptr);
    std::vector<RowsOfKey*> keyOfSecond(secondLines_.size(), nullptr);
    std::vector<bool> secondPaired(secondLines_.size(), false);
    const auto pair = [&](size_t second, size_t row) {
        const Line& line = secondLines_[second];
        rows_[row].state2 = StateOfLine(line.fields);
        rows_[row].inSecond = true;
        partnerOf[row] = &line;
        secondPaired[second] = true;
    };
    for (size_t i = 0; i < secondLines_.size(); ++i) {
        const auto found = rowsByKey.find(KeyOfLine(secondLines_[i].fields, rule_, counts));
        if (found == rowsByKey.end()) {
            continue;
        }
        keyOfSecond[i] = &found->second;
        size_t row = 0;
        if (found->second.TakeSameShape(HasState(secondLines_[i].fields), row)) {
            pair(i, row);
        }
    }
    for (size_t i = 0; i < secondLines_.size(); ++i) {
        size_t row = 0;
        if (!secondPaired[i] && keyOfSecond[i] != nullptr && keyOfSecond[i]->TakeAny(row)) {
            pair(i, row);
        }
    }
    for (size_t i = 0; i < secondLines_.size(); ++i) {
        if (secondPaired[i]) {
            continue;
        }
        rows_.push_back(RowOfLine(secondLines_[i].fields, false));
        if (secondLines_[i].unterminated) {
            MarkCut(rows_.back(), false);
            secondShownCut_ = true;
        }
    }
    // A line the log ended inside of is whole when it equals its partner.
    for (size_t i = 0; i < firstRowCount; ++i) {
        const Line& first = firstLines_[i];
        const Line* second = partnerOf[i];
        const bool equal = second != nullptr && second->fields == first.fields;
        if (first.unterminated && !equal) {
            MarkCut(rows_[i], true);
            firstShownCut_ = true;
        }
        if (second != nullptr && second->unterminated && !equal) {
            MarkCut(rows_[i], false);
            secondShownCut_ = true;
        }
    }

    if (marked_) {
        for (CompareRow& row : rows_) {
            row.different = row.cut || !(row.inFirst && row.inSecond) || row.state1 != row.state2;
        }
    }
}
