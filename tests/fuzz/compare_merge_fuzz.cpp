// Merges of all three compare kinds: no crash or out-of-bounds access, and the
// same rows as a plain merge that scans every row, also part way through.
//
// Input: lines separated by '\n', fields by '\t'; a '\f' switches to the second log.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "compare/compare_merge.h"

namespace {

using Line = std::vector<std::string>;

void Require(bool condition) {
    if (!condition) {
        std::abort();
    }
}

bool SameRows(const std::vector<CompareRow>& a, const std::vector<CompareRow>& b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (size_t i = 0; i < a.size(); ++i) {
        if (a[i].name != b[i].name || a[i].value != b[i].value || a[i].type != b[i].type ||
            a[i].state1 != b[i].state1 || a[i].state2 != b[i].state2 ||
            a[i].different != b[i].different) {
            return false;
        }
    }
    return true;
}

char Lower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c;
}

// Service names pair whole, ASCII letters without regard to case.
bool PairsByServiceName(const std::string& rowValue, const std::string& key) {
    const std::string& fetched = rowValue;
    if (fetched.size() != key.size()) {
        return false;
    }
    for (size_t i = 0; i < key.size(); ++i) {
        if (Lower(fetched[i]) != Lower(key[i])) {
            return false;
        }
    }
    return true;
}

CompareRow ServiceRow(const Line& f, bool first) {
    CompareRow row{f[0], f[1], f[2], first ? f[3] : "", first ? "" : f[3], false};
    return row;
}

std::vector<CompareRow> PlainServiceMerge(const std::vector<Line>& first,
                                          const std::vector<Line>& second, bool mark) {
    std::vector<CompareRow> rows;
    for (const Line& f : first) {
        rows.push_back(ServiceRow(f, true));
    }
    for (const Line& f : second) {
        size_t row = 0;
        while (row < first.size() && !PairsByServiceName(rows[row].value, f[1])) {
            ++row;
        }
        if (row < first.size()) {
            rows[row].state2 = f[3];
        } else {
            rows.push_back(ServiceRow(f, false));
        }
    }
    for (CompareRow& row : rows) {
        row.different = mark && row.state1.substr(0, 511) != row.state2.substr(0, 511);
    }
    return rows;
}

std::string LineState(const Line& f) {
    std::string state;
    for (size_t i = 1; i < f.size(); ++i) {
        state += (i > 1 ? "  " : "") + f[i];
    }
    return state;
}

CompareRow LineRow(const Line& f, bool first) {
    CompareRow row;
    row.name = f[0];
    for (size_t i = 1; i + 1 < f.size(); ++i) {
        row.value += (i > 1 ? "  " : "") + f[i];
    }
    (first ? row.state1 : row.state2) = LineState(f);
    return row;
}

int CountStated(const std::vector<Line>& lines, const std::string& name) {
    int count = 0;
    for (const Line& f : lines) {
        count += (f.size() > 1 && f[0] == name) ? 1 : 0;
    }
    return count;
}

// Whether two lines may pair: by name, unless that name heads more than one
// line with a state in either log; then only as equal lines.
bool LinesPair(LineKeyRule rule, const Line& a, const Line& b, const std::vector<Line>& first,
               const std::vector<Line>& second) {
    if (rule == LineKeyRule::ExportName) {
        return a[0] == b[0];
    }
    auto byName = [&](const Line& f) {
        return CountStated(first, f[0]) <= 1 && CountStated(second, f[0]) <= 1;
    };
    if (byName(a) != byName(b)) {
        return false;
    }
    return byName(a) ? a[0] == b[0] : a == b;
}

// Two scans over the first log per record: a partner of the same shape (with a
// state or without) first, then any.
std::vector<CompareRow> PlainLineMerge(LineKeyRule rule, const std::vector<Line>& first,
                                       const std::vector<Line>& second, bool mark) {
    std::vector<CompareRow> rows;
    for (const Line& f : first) {
        rows.push_back(LineRow(f, true));
    }
    std::vector<bool> taken(first.size(), false);
    std::vector<bool> placed(second.size(), false);
    for (int pass = 0; pass < 2; ++pass) {
        for (size_t s = 0; s < second.size(); ++s) {
            const Line& f = second[s];
            if (placed[s]) {
                continue;
            }
            size_t row = 0;
            while (row < first.size() &&
                   (taken[row] || !LinesPair(rule, first[row], f, first, second) ||
                    (pass == 0 && (first[row].size() > 1) != (f.size() > 1)))) {
                ++row;
            }
            if (row < first.size()) {
                taken[row] = true;
                placed[s] = true;
                rows[row].state2 = LineState(f);
            }
        }
    }
    for (size_t s = 0; s < second.size(); ++s) {
        if (!placed[s]) {
            rows.push_back(LineRow(second[s], false));
        }
    }
    for (size_t i = 0; i < rows.size() && mark; ++i) {
        const bool bothSides = i < first.size() && taken[i];
        rows[i].different = !bothSides || rows[i].state1 != rows[i].state2;
    }
    return rows;
}

void CheckServiceMerge(std::vector<Line> first, std::vector<Line> second) {
    for (auto* log : {&first, &second}) {
        for (Line& f : *log) {
            f.resize(kServiceFieldCount);
        }
    }
    ServiceMerge merge;
    for (const Line& f : first) {
        merge.AddFirst(f.data());
    }
    const size_t half = second.size() / 2;
    for (size_t i = 0; i < second.size(); ++i) {
        if (i == half) {
            const std::vector<Line> readSoFar(second.begin(), second.begin() + half);
            Require(SameRows(merge.rows(), PlainServiceMerge(first, readSoFar, false)));
        }
        merge.AddSecond(second[i].data());
    }
    merge.MarkDifferences();
    Require(SameRows(merge.rows(), PlainServiceMerge(first, second, true)));
}

void CheckLineMerge(LineKeyRule rule, const std::vector<Line>& first,
                    const std::vector<Line>& second) {
    LineMerge merge(rule);
    for (const Line& f : first) {
        merge.AddFirst(f);
    }
    const size_t half = second.size() / 2;
    for (size_t i = 0; i < second.size(); ++i) {
        if (i == half) {
            const std::vector<Line> readSoFar(second.begin(), second.begin() + half);
            Require(SameRows(merge.rows(), PlainLineMerge(rule, first, readSoFar, false)));
        }
        merge.AddSecond(second[i]);
    }
    merge.MarkDifferences();
    Require(SameRows(merge.rows(), PlainLineMerge(rule, first, second, true)));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::vector<Line> logs[2];
    int log = 0;
    Line line(1);
    auto endLine = [&]() {
        logs[log].push_back(line);
        line.assign(1, std::string());
    };
    for (size_t i = 0; i < size; ++i) {
        const char c = static_cast<char>(data[i]);
        if (c == '\n') {
            endLine();
        } else if (c == '\t') {
            line.emplace_back();
        } else if (c == '\f') {
            endLine();
            log = 1;
        } else {
            line.back() += c;
        }
    }
    endLine();

    CheckServiceMerge(logs[0], logs[1]);
    CheckLineMerge(LineKeyRule::ExportName, logs[0], logs[1]);
    CheckLineMerge(LineKeyRule::AnalysisName, logs[0], logs[1]);
    return 0;
}
