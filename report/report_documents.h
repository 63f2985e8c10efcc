// The four reports as documents: two logs, two folders, many bundles, one diagnosis. The
// commands hand in what they found as the plain records below (this layer knows neither the
// comparison's rows nor the diagnosis' verdicts); these functions give every report the
// same section kinds, table keys, column keys and ids, which docs/report-json.md names.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "report/collect_manifest.h"
#include "report/report_document.h"

// What a bundle's heading notes when its folder has no manifest, or one that reads as none.
constexpr char kNoManifestNote[] = "not a whole bundle: no manifest.txt";
constexpr char kNoManifestOfVorlixNote[] =
    "not a whole bundle: manifest.txt is no manifest of Vorlix";

// A bundle folder and what its manifest says ("first", "second", or "1", "2", ...).
struct BundleHeading {
    std::string label;
    std::string folder;
    const CollectManifest* manifest = nullptr;  // null where the folder has none
    std::vector<std::string> notes;             // "not a whole bundle: no manifest.txt"
};

// One log of a comparison of two logs.
struct LogHeading {
    std::string label;         // "first", "second"
    std::string path;          // as the user named it
    std::string timestamp;     // its timestamp line; empty when it had none
    std::string readingNotes;  // DescribeReadingNotes; empty when none
};

// A row that differs, by the comparison's columns: its name, the value, the service type,
// the first log's and the second log's state. `mark` is OnlyInFirst, OnlyInSecond or
// OtherValues.
struct DifferenceEntry {
    Mark mark = Mark::OtherValues;
    std::string name, value, type, first, second;
};

// How many rows the comparison of one log has, and of what kind.
struct DifferenceCounts {
    std::int64_t rows = 0;
    std::int64_t different = 0;
    std::int64_t onlyInFirst = 0;
    std::int64_t onlyInSecond = 0;
};

// One log of two folders: a row of the summary and, where it differs, a section.
struct FolderLogEntry {
    std::string log;   // its file name
    std::string kind;  // "services", "analysis: system data", "messages", ...
    DifferenceCounts counts;
    std::string notes;     // reading notes, manifest notes
    bool differs = false;  // something differs, or one folder lacks it
    const std::vector<DifferenceEntry>* rows = nullptr;  // its differing rows; null for none
    bool unreadable = false;  // nothing was compared: its counts are left empty
};

struct EvidenceEntry {
    std::string log, row, observed, expected;
};

struct VerdictEntry {
    std::string code;
    Mark outcome = Mark::NotJudged;  // Fail, Warn, Pass or NotJudged
    std::string sentence;
    std::vector<EvidenceEntry> evidence;
    std::string action;
};

// The verdicts of one bundle ("first", "second").
struct BundleVerdicts {
    std::string label;
    std::vector<VerdictEntry> verdicts;
};

// One fact across many bundles: its value in each, in the order of the bundles; nullopt
// where a bundle does not hold it. `mark` is Separating, ExpectedToVary or None.
struct MatrixFact {
    std::string fact;
    std::vector<std::optional<std::string>> values;
    Mark mark = Mark::None;
};

// The two logs with their counts, then the rows that differ.
Document TwoLogsDocument(const LogHeading& first, const LogHeading& second,
                         const std::string& logKind, const DifferenceCounts& counts,
                         const std::vector<DifferenceEntry>& rows);

// The bundles' manifests; each bundle's failures and warnings (none when `verdicts` is
// empty), failures first; the summary, a row per log, each differing log's row linked to
// its section; a section per log that differs and has rows.
Document TwoFoldersDocument(const std::vector<BundleHeading>& bundles,
                            const std::vector<BundleVerdicts>& verdicts,
                            const std::vector<FolderLogEntry>& logs);

// The bundles' manifests, each bundle's failures and warnings (failures first, bundle by
// bundle; none when `verdicts` is empty), then the matrix: a row per fact, a column per
// bundle, a column with the most common value (the first of the most frequent in bundle
// order; empty where no bundle holds the fact). A cell is Equal to it, Different, or Missing.
Document ManyBundlesDocument(const std::vector<BundleHeading>& bundles,
                             const std::vector<MatrixFact>& facts,
                             const std::vector<BundleVerdicts>& verdicts = {});

// The bundle's manifest, the summary (the counts, a row per verdict), then a section per
// verdict; failures, warnings, passes, then the rules not judged, each in the given order.
Document DiagnosisDocument(const BundleHeading& bundle, const std::vector<VerdictEntry>& verdicts);
