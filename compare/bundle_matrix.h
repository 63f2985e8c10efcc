// Many bundles side by side: one row per fact (a log's kind and a record's name) that is not
// the same in every bundle, one column per bundle, and the value most bundles hold. Rows on
// which every bad bundle differs from the good ones come first; rows on which the good
// bundles already disagree are noise that merely varies between machines.
#pragma once

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "report/collect_manifest.h"
#include "report/log_lines.h"
#include "report/report_documents.h"
#include "report/report_form.h"

// One log of one bundle, already read.
struct MatrixLog {
    std::string kind;  // the log's file name without the "Lensora_Brenhold." part: "logServices"
    const LogLines* lines = nullptr;
};

struct MatrixBundle {
    std::string title;  // "C:\bundles\pc1 (Windows 7, run 09.12.2026 14:03 27)"
    bool bad = false;
    std::vector<MatrixLog> logs;
    std::optional<CollectManifest> manifest;  // for the reports; none where the folder has none
    std::vector<VerdictEntry> verdicts;       // its diagnosis, for the reports
};

enum class MatrixRowClass {
    Separating,      // the good bundles agree and every bad bundle holds another value
    Differs,         // the good bundles agree, but not every bad bundle differs from them
    ExpectedToVary,  // the good bundles disagree among themselves
};

struct MatrixRow {
    std::string kind;
    std::string name;  // a record's name; a repeated name gets " #2", " #3"...
    // Per bundle, an index into `values`, or kMissing where the bundle has no such record.
    std::vector<int> cells;
    std::vector<std::string> values;
    int common = 0;  // index of the value most bundles hold (kMissing when most lack it)
    MatrixRowClass rowClass = MatrixRowClass::Differs;
};
constexpr int kMissing = -1;

struct BundleMatrix {
    // Separating rows first, then rows that differ, then those expected to vary; each group
    // in the order of the logs and of the records in the first bundle that holds them.
    std::vector<MatrixRow> rows;
    std::size_t separating = 0;
    std::size_t differing = 0;
    std::size_t expectedToVary = 0;
};

// The record name and value of a log line: the first field, and the others joined by two
// blanks as the log wrote them.
BundleMatrix BuildBundleMatrix(const std::vector<MatrixBundle>& bundles);

// BuildBundleMatrix as the bundles come, so that the rows are made while later bundles are
// still read: each bundle added once its logs are laid out (in the order of `bundles`), the
// rows classed by the bundles' bad marks when all are in. Finish leaves the builder empty.
class BundleMatrixBuilder {
public:
    BundleMatrixBuilder();
    ~BundleMatrixBuilder();
    BundleMatrixBuilder(const BundleMatrixBuilder&) = delete;
    BundleMatrixBuilder& operator=(const BundleMatrixBuilder&) = delete;

    void Add(const MatrixBundle& bundle);
    BundleMatrix Finish(const std::vector<MatrixBundle>& bundles);

private:
    struct Rows;
    std::unique_ptr<Rows> rows_;
    std::size_t bundlesAdded_ = 0;
    std::size_t logsAdded_ = 0;  // numbers each log, to tell a name it repeats
};

// The text of a cell: its value, or "(missing)".
const std::string& MatrixCellText(const MatrixRow& row, std::size_t bundle);

// "separating", "differs", "expected to vary".
const char* MatrixRowClassText(MatrixRowClass rowClass);

// The report of a matrix: a line of column titles ("Log", "Fact", "Difference", "Common value",
// then each bundle's title with " (bad)" after a bad one's), then every row, separating rows first,
// tab-separated, each line ended by CR LF; tabs and line breaks inside a cell become blanks.
std::string MatrixReport(const BundleMatrix& matrix, const std::vector<MatrixBundle>& bundles);

// The matrix as the facts of a report document: "kind name", each bundle's value, the row's
// mark (separating, expected to vary, or none).

std::vector<MatrixFact> MatrixFacts(const BundleMatrix& matrix);

// The report of a matrix in every form: MatrixReport as text, and the bundles (numbered,
// " (bad)" after a bad one's number, with the folders given and their manifests) and the
// facts as the document.
ReportContent ManyBundlesReport(const BundleMatrix& matrix,
                                const std::vector<MatrixBundle>& bundles,
                                const std::vector<std::string>& folders);
