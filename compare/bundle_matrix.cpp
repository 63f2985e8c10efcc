#include "compare/bundle_matrix.h"

#include <algorithm>
#include <unordered_map>

namespace {

const std::string kMissingText = "(missing)";

}  // namespace

// Most lines of most bundles meet a row and a value already made: their key and value are
// put together in buffers kept across lines, so only what is new is copied. A row's cells
// reach as far as the last bundle that has it; the rest are missing.
struct BundleMatrixBuilder::Rows {
    std::unordered_map<std::string, std::size_t> rowOfKey;
    std::vector<MatrixRow> rows;
    // Per row, the index of each value text, so that equal texts share one index.
    std::vector<std::unordered_map<std::string, int>> valueIndex;
    // Per row, the log that last met the name as a line's first field, and how often it did:
    // a name a log repeats is told apart by its place among its namesakes.
    std::vector<std::size_t> metInLog;
    std::vector<int> metCount;
    std::string key;
    std::string value;

    std::size_t RowFor(const std::string& kind, const std::string& name, const char* suffix = "") {
        key.assign(kind);
        key += '\0';
        key += name;
        key += suffix;
        const auto found = rowOfKey.find(key);
        if (found != rowOfKey.end()) {
            return found->second;
        }
        rowOfKey.emplace(key, rows.size());
        MatrixRow row;
        row.kind = kind;
        row.name = name + suffix;
        rows.push_back(std::move(row));
        valueIndex.emplace_back();
        metInLog.push_back(static_cast<std::size_t>(-1));
        metCount.push_back(0);
        return rows.size() - 1;
    }

    // The row of a line's first field in the log numbered `log`: " #2", " #3"... after the
    // first line of that name.
    std::size_t RowOfLine(const std::string& kind, const std::string& first, std::size_t log) {
        const std::size_t row = RowFor(kind, first);
        if (metInLog[row] != log) {
            metInLog[row] = log;
            metCount[row] = 1;
            return row;
        }
        const std::string suffix = " #" + std::to_string(++metCount[row]);
        return RowFor(kind, first, suffix.c_str());
    }

    // `value` holds the text.
    void Set(std::size_t rowIndex, std::size_t bundle) {
        MatrixRow& row = rows[rowIndex];
        auto& index = valueIndex[rowIndex];
        const auto found = index.find(value);
        int at;
        if (found == index.end()) {
            at = static_cast<int>(row.values.size());
            index.emplace(value, at);
            row.values.push_back(value);
        } else {
            at = found->second;
        }
        if (row.cells.size() <= bundle) {
            row.cells.resize(bundle + 1, kMissing);
        }
        row.cells[bundle] = at;
    }

    void TakeValueOf(const LogLine& line) {
        value.clear();
        for (std::size_t i = 1; i < line.fields.size(); ++i) {
            if (i > 1) {
                value += "  ";
            }
            value += line.fields[i];
        }
    }
};

namespace {

// Every value a group of bundles holds (kMissing counts as one), each once.
std::vector<int> ValuesHeld(const MatrixRow& row, const std::vector<MatrixBundle>& bundles,
                            bool bad) {
    std::vector<int> held;
    for (std::size_t b = 0; b < bundles.size(); ++b) {
        if (bundles[b].bad == bad &&
            std::find(held.begin(), held.end(), row.cells[b]) == held.end()) {
            held.push_back(row.cells[b]);
        }
    }
    return held;
}

// The value most bundles hold; on a tie the one most good bundles hold, then the first met.
int CommonValue(const MatrixRow& row, const std::vector<MatrixBundle>& bundles) {
    const int slots = static_cast<int>(row.values.size()) + 1;  // slot 0: missing
    std::vector<int> all(static_cast<std::size_t>(slots), 0), good(all);
    std::vector<int> first(static_cast<std::size_t>(slots), -1);
    for (std::size_t b = 0; b < bundles.size(); ++b) {
        const std::size_t slot = static_cast<std::size_t>(row.cells[b] + 1);
        ++all[slot];
        good[slot] += bundles[b].bad ? 0 : 1;
        if (first[slot] < 0) {
            first[slot] = static_cast<int>(b);
        }
    }
    std::size_t best = 0;
    for (std::size_t slot = 1; slot < all.size(); ++slot) {
        const bool more =
            all[slot] > all[best] ||
            (all[slot] == all[best] &&
             (good[slot] > good[best] || (good[slot] == good[best] && first[slot] < first[best])));
        if (first[slot] >= 0 && (first[best] < 0 || more)) {
            best = slot;
        }
    }
    return static_cast<int>(best) - 1;
}

MatrixRowClass ClassOf(const MatrixRow& row, const std::vector<MatrixBundle>& bundles) {
    const std::vector<int> good = ValuesHeld(row, bundles, false);
    const std::vector<int> bad = ValuesHeld(row, bundles, true);
    if (good.size() > 1) {
        return MatrixRowClass::ExpectedToVary;
    }
    if (good.size() == 1 && !bad.empty() &&
        std::find(bad.begin(), bad.end(), good.front()) == bad.end()) {
        return MatrixRowClass::Separating;
    }
    return MatrixRowClass::Differs;
}

bool SameEverywhere(const MatrixRow& row) {
    return std::all_of(row.cells.begin(), row.cells.end(),
                       [&](int cell) { return cell == row.cells.front(); });
}

}  // namespace

BundleMatrixBuilder::BundleMatrixBuilder() : rows_(new Rows) {}

BundleMatrixBuilder::~BundleMatrixBuilder() = default;

void BundleMatrixBuilder::Add(const MatrixBundle& bundle) {
    Rows& rows = *rows_;
    for (const MatrixLog& log : bundle.logs) {
        if (log.lines == nullptr) {
            continue;
        }
        ++logsAdded_;
        for (const LogLine& line : log.lines->lines) {
            if (line.fields.empty()) {
                continue;
            }
            const std::size_t row = rows.RowOfLine(log.kind, line.fields.front(), logsAdded_);
            rows.TakeValueOf(line);
            rows.Set(row, bundlesAdded_);
        }
    }
    ++bundlesAdded_;
}

BundleMatrix BundleMatrixBuilder::Finish(const std::vector<MatrixBundle>& bundles) {
    BundleMatrix matrix;
    std::vector<MatrixRow> groups[3];
    for (MatrixRow& row : rows_->rows) {
        row.cells.resize(bundles.size(), kMissing);
        if (SameEverywhere(row)) {
            continue;
        }
        row.common = CommonValue(row, bundles);
        row.rowClass = ClassOf(row, bundles);
        groups[static_cast<int>(row.rowClass)].push_back(std::move(row));
    }
    rows_.reset(new Rows);
    bundlesAdded_ = 0;
    logsAdded_ = 0;
    matrix.separating = groups[0].size();
    matrix.differing = groups[1].size();
    matrix.expectedToVary = groups[2].size();
    for (auto& group : groups) {
        for (MatrixRow& row : group) {
            matrix.rows.push_back(std::move(row));
        }
    }
    return matrix;
}

BundleMatrix BuildBundleMatrix(const std::vector<MatrixBundle>& bundles) {
    BundleMatrixBuilder builder;
    for (const MatrixBundle& bundle : bundles) {
        builder.Add(bundle);
    }
    return builder.Finish(bundles);
}

const std::string& MatrixCellText(const MatrixRow& row, std::size_t bundle) {
    const int cell = bundle < row.cells.size() ? row.cells[bundle] : kMissing;
    return cell == kMissing ? kMissingText : row.values[static_cast<std::size_t>(cell)];
}

const char* MatrixRowClassText(MatrixRowClass rowClass) {
    switch (rowClass) {
        case MatrixRowClass::Separating:
            return "separating";
        case MatrixRowClass::ExpectedToVary:
            return "expected to vary";
        case MatrixRowClass::Differs:
            break;
    }
    return "differs";
}

namespace {

void AppendCell(std::string& line, const std::string& text, bool first) {
    if (!first) {
        line += '\t';
    }
    for (char c : text) {
        line += (c == '\t' || c == '\r' || c == '\n') ? ' ' : c;
    }
}

}  // namespace

std::string MatrixReport(const BundleMatrix& matrix, const std::vector<MatrixBundle>& bundles) {
    std::string text;
    AppendCell(text, "Log", true);
    AppendCell(text, "Fact", false);
    AppendCell(text, "Difference", false);
    AppendCell(text, "Common value", false);
    for (const MatrixBundle& bundle : bundles) {
        AppendCell(text, bundle.title + (bundle.bad ? " (bad)" : ""), false);
    }
    text += "\r\n";
    for (const MatrixRow& row : matrix.rows) {
        AppendCell(text, row.kind, true);
        AppendCell(text, row.name, false);
        AppendCell(text, MatrixRowClassText(row.rowClass), false);
        AppendCell(text, row.common == kMissing ? "(missing)" : row.values[row.common], false);
        for (std::size_t b = 0; b < bundles.size(); ++b) {
            AppendCell(text, MatrixCellText(row, b), false);
        }
        text += "\r\n";
    }
    return text;
}

std::vector<MatrixFact> MatrixFacts(const BundleMatrix& matrix) {
    std::vector<MatrixFact> facts;
    for (const MatrixRow& row : matrix.rows) {
        MatrixFact fact;
        fact.fact = row.kind + " " + row.name;
        for (int cell : row.cells) {
            fact.values.push_back(
                cell == kMissing
                    ? std::optional<std::string>()
                    : std::optional<std::string>(row.values[static_cast<std::size_t>(cell)]));
        }
        fact.mark = row.rowClass == MatrixRowClass::Separating       ? Mark::Separating
                    : row.rowClass == MatrixRowClass::ExpectedToVary ? Mark::ExpectedToVary
                                                                     : Mark::None;
        facts.push_back(std::move(fact));
    }
    return facts;
}

ReportContent ManyBundlesReport(const BundleMatrix& matrix,
                                const std::vector<MatrixBundle>& bundles,
                                const std::vector<std::string>& folders) {
    ReportContent report;
    report.text = MatrixReport(matrix, bundles);
    std::vector<BundleHeading> headings;
    for (std::size_t i = 0; i < bundles.size(); ++i) {
        BundleHeading heading;
        heading.label = std::to_string(i + 1) + (bundles[i].bad ? " (bad)" : "");
        heading.folder = i < folders.size() ? folders[i] : bundles[i].title;
        heading.manifest = bundles[i].manifest ? &*bundles[i].manifest : nullptr;
        if (!bundles[i].manifest) {
            heading.notes.push_back(kNoManifestNote);
        }
        headings.push_back(heading);
    }
    std::vector<BundleVerdicts> verdicts;
    for (std::size_t i = 0; i < bundles.size(); ++i) {
        if (!bundles[i].verdicts.empty()) {
            verdicts.push_back({headings[i].label, bundles[i].verdicts});
        }
    }
    report.document = ManyBundlesDocument(headings, MatrixFacts(matrix), verdicts);
    return report;
}
