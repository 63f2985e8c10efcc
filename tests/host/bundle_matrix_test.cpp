// The matrix of many bundles: which rows show, which value is the common one, and which
// rows separate the broken machines from the good ones.
#include <gtest/gtest.h>

#include <map>

#include "compare/bundle_matrix.h"

namespace {

// A bundle's logs as "kind" -> lines of fields.
using Logs = std::map<std::string, std::vector<std::vector<std::string>>>;

struct Machine {
    const char* title;
    bool bad;
    Logs logs;
};

struct Built {
    std::vector<LogLines> storage;
    BundleMatrix matrix;
};

Built Build(const std::vector<Machine>& machines) {
    Built built;
    std::size_t total = 0;
    for (const Machine& machine : machines) {
        total += machine.logs.size();
    }
    built.storage.reserve(total);
    std::vector<MatrixBundle> bundles;
    for (const Machine& machine : machines) {
        MatrixBundle bundle;
        bundle.title = machine.title;
        bundle.bad = machine.bad;
        for (const auto& log : machine.logs) {
            LogLines lines;
            for (const auto& fields : log.second) {
                lines.lines.push_back(LogLine{fields, false});
            }
            built.storage.push_back(lines);
            bundle.logs.push_back(MatrixLog{log.first, &built.storage.back()});
        }
        bundles.push_back(bundle);
    }
    built.matrix = BuildBundleMatrix(bundles);
    return built;
}

// "kind name: class common=value cells=a|b|c"
std::vector<std::string> Describe(const BundleMatrix& matrix, std::size_t bundles) {
    static const char* const classes[] = {"separating", "differs", "varies"};
    std::vector<std::string> rows;
    for (const MatrixRow& row : matrix.rows) {
        std::string text = row.kind + " " + row.name + ": " +
                           classes[static_cast<int>(row.rowClass)] + " common=" +
                           (row.common == kMissing ? "(missing)" : row.values[row.common]) + " cells=";
        for (std::size_t b = 0; b < bundles; ++b) {
            text += (b > 0 ? "|" : "") + MatrixCellText(row, b);
        }
        rows.push_back(text);
    }
    return rows;
}

TEST(BundleMatrix, SeparatingRowsFirstThenDifferencesThenWhatGoodMachinesVaryIn) {
    const std::vector<Machine> machines = {
        {"good 1", false,
         {{"logAnalyzeElement", {{"opencv_core248.dll", "found"}, {"lensora.dll", "found"}}},
          {"logAnalyzeSystemData", {{"Memory", "8 GB"}}},
          {"logServices", {{"Spooler", "Running"}, {"Fax", "Stopped"}}},
          {"logAnalyzePATH", {{"C:\\OpenCV", "PATH"}}},
          {"logAnalyzeInstalledProgs", {{"Office", "16.0"}}}}},
        {"good 2", false,
         {{"logAnalyzeElement", {{"opencv_core248.dll", "found"}, {"lensora.dll", "found"}}},
          {"logAnalyzeSystemData", {{"Memory", "16 GB"}}},
          {"logServices", {{"Spooler", "Running"}, {"Fax", "Stopped"}}},
          {"logAnalyzePATH", {{"C:\\OpenCV", "PATH"}}}}},
        {"bad 1", true,
         {{"logAnalyzeElement", {{"opencv_core248.dll", "Not found"}, {"lensora.dll", "found"}}},
          {"logAnalyzeSystemData", {{"Memory", "4 GB"}}},
          {"logServices", {{"Spooler", "Running"}, {"Fax", "Running"}}},
          {"logAnalyzePATH", {{"C:\\OpenCV", "PATH"}}}}},
        {"bad 2", true,
         {{"logAnalyzeElement", {{"opencv_core248.dll", "Not found"}, {"lensora.dll", "found"}}},
          {"logAnalyzeSystemData", {{"Memory", "8 GB"}}},
          {"logServices", {{"Spooler", "Running"}, {"Fax", "Stopped"}}},
          {"logAnalyzePATH", {}}}},
    };
    const Built built = Build(machines);
    const std::vector<std::string> expected = {
        "logAnalyzeElement opencv_core248.dll: separating common=found cells=found|found|Not found|Not found",
        "logAnalyzePATH C:\\OpenCV: differs common=PATH cells=PATH|PATH|PATH|(missing)",
        "logServices Fax: differs common=Stopped cells=Stopped|Stopped|Running|Stopped",
        "logAnalyzeInstalledProgs Office: varies common=(missing) cells=16.0|(missing)|(missing)|(missing)",
        "logAnalyzeSystemData Memory: varies common=8 GB cells=8 GB|16 GB|4 GB|8 GB",
    };
    EXPECT_EQ(Describe(built.matrix, machines.size()), expected);
    EXPECT_EQ(built.matrix.separating, 1u);
    EXPECT_EQ(built.matrix.differing, 2u);
    EXPECT_EQ(built.matrix.expectedToVary, 2u);
}

TEST(BundleMatrix, RepeatedNamesTiesAndMachinesWithoutAGoodOne) {
    const struct {
        const char* what;
        std::vector<Machine> machines;
        std::vector<std::string> expected;
    } cases[] = {
        {"a name a log repeats is told apart by its place",
         {{"a", false, {{"logAnalyzePlugins", {{"Installed Plugin", "a.dll"}, {"Installed Plugin", "b.dll"}}}}},
          {"b", true, {{"logAnalyzePlugins", {{"Installed Plugin", "a.dll"}, {"Installed Plugin", "c.dll"}}}}}},
         {"logAnalyzePlugins Installed Plugin #2: separating common=b.dll cells=b.dll|c.dll"}},
        {"a tie goes to the value the good machines hold",
         {{"bad", true, {{"k", {{"x", "1"}}}}}, {"good", false, {{"k", {{"x", "2"}}}}}},
         {"k x: separating common=2 cells=1|2"}},
        {"all bad: nothing separates, everything differs",
         {{"b1", true, {{"k", {{"x", "1"}}}}}, {"b2", true, {{"k", {{"x", "2"}}}}}},
         {"k x: differs common=1 cells=1|2"}},
        {"all good: every difference merely varies",
         {{"g1", false, {{"k", {{"x", "1"}}}}}, {"g2", false, {{"k", {{"x", "2"}}}}}},
         {"k x: varies common=1 cells=1|2"}},
        {"the same everywhere: no row",
         {{"g", false, {{"k", {{"x", "1", "a"}}}}}, {"b", true, {{"k", {{"x", "1", "a"}}}}}},
         {}},
        {"the other fields are the value, joined as the log wrote them",
         {{"g", false, {{"k", {{"x", "1", "a"}}}}}, {"b", true, {{"k", {{"x", "1", "b"}}}}}},
         {"k x: separating common=1  a cells=1  a|1  b"}},
    };
    for (const auto& c : cases) {
        const Built built = Build(c.machines);
        EXPECT_EQ(Describe(built.matrix, c.machines.size()), c.expected) << c.what;
    }
}

}  // namespace

namespace {

TEST(BundleMatrix, TheReportListsEveryRowSeparatingFirstWithTheBadBundlesMarked) {
    const std::vector<Machine> machines = {
        {"good", false, {{"k", {{"a", "1"}, {"b", "x\ty"}}}}},
        {"bad", true, {{"k", {{"a", "2"}, {"b", "z"}}}}},
    };
    const Built built = Build(machines);
    std::vector<MatrixBundle> bundles(2);
    bundles[0].title = "good";
    bundles[1].title = "bad";
    bundles[1].bad = true;
    EXPECT_EQ(MatrixReport(built.matrix, bundles),
              "Log\tFact\tDifference\tCommon value\tgood\tbad (bad)\r\n"
              "k\ta\tseparating\t1\t1\t2\r\n"
              "k\tb\tseparating\tx y\tx y\tz\r\n");
}

}  // namespace
