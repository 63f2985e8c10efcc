#include "compare/compare_merge.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

namespace {

struct Service {
    std::string displayName, serviceName, type, state;
};

void AddFirst(ServiceMerge& merge, const Service& s) {
    const std::string fields[kServiceFieldCount] = {s.displayName, s.serviceName, s.type, s.state};
    merge.AddFirst(fields);
}

void AddSecond(ServiceMerge& merge, const Service& s) {
    const std::string fields[kServiceFieldCount] = {s.displayName, s.serviceName, s.type, s.state};
    merge.AddSecond(fields);
}

std::vector<CompareRow> MergeServices(const std::vector<Service>& first,
                                      const std::vector<Service>& second) {
    ServiceMerge merge;
    for (const Service& s : first) {
        AddFirst(merge, s);
    }
    for (const Service& s : second) {
        AddSecond(merge, s);
    }
    merge.MarkDifferences();
    return merge.rows();
}

// A row as the view shows it: "D" in the Result column for "Different".
struct Row {
    std::string name, value, type, state1, state2, result;
    bool operator==(const Row& o) const {
        return name == o.name && value == o.value && type == o.type && state1 == o.state1 &&
               state2 == o.state2 && result == o.result;
    }
};

std::ostream& operator<<(std::ostream& out, const Row& r) {
    return out << "{" << r.name << " | " << r.value << " | " << r.type << " | " << r.state1 << " | "
               << r.state2 << " | " << r.result << "}";
}

std::vector<Row> Shown(const std::vector<CompareRow>& rows) {
    std::vector<Row> shown;
    for (const CompareRow& r : rows) {
        shown.push_back({r.name, r.value, r.type, r.state1, r.state2, r.different ? "D" : ""});
    }
    return shown;
}

const char kRunning[] = "Service Running";
const char kStopped[] = "Service Stopped";
const char kOwn[] = "Win32_OWN_PROCESS";
const char kShare[] = "WIN32_SHARE_PROCESS";

TEST(ServiceMerge, WorkedExampleGivesFourRows) {
    const std::vector<Service> first = {
        {"Print Spooler", "Spooler", kOwn, kRunning},
        {"Windows Time", "W32Time", kShare, kStopped},
        {"Fax", "Fax", kOwn, kStopped},
    };
    const std::vector<Service> second = {
        {"Print Spooler", "spooler", kShare, kRunning},
        {"Windows Time", "W32Time", kShare, kRunning},
        {"Remote Registry", "RemoteRegistry", kShare, kStopped},
    };
    const std::vector<Row> expected = {
        {"Print Spooler", "Spooler", kOwn, kRunning, kRunning, ""},
        {"Windows Time", "W32Time", kShare, kStopped, kRunning, "D"},
        {"Fax", "Fax", kOwn, kStopped, "", "D"},
        {"Remote Registry", "RemoteRegistry", kShare, "", kStopped, "D"},
    };
    EXPECT_EQ(Shown(MergeServices(first, second)), expected);
}

struct ServiceCase {
    const char* what;
    std::vector<Service> first, second;
    std::vector<Row> rows;
};

TEST(ServiceMerge, EdgeCases) {
    const std::string name128(128, 's');
    const std::string name127(127, 's');
    const std::string state512a = std::string(511, 'x') + "a";
    const std::string state512b = std::string(511, 'x') + "b";
    const ServiceCase cases[] = {
        {"case of the service name and the display name do not matter",
         {{"Alpha", "AbC", kOwn, kRunning}},
         {{"Other", "aBc", kShare, kRunning}},
         {{"Alpha", "AbC", kOwn, kRunning, kRunning, ""}}},
        {"states that differ only in case are different",
         {{"A", "a", kOwn, kRunning}},
         {{"A", "a", kOwn, "service running"}},
         {{"A", "a", kOwn, kRunning, "service running", "D"}}},
        {"a name of 128 characters pairs with itself",
         {{"Long", name128, kOwn, kRunning}},
         {{"Long", name128, kOwn, kRunning}},
         {{"Long", name128, kOwn, kRunning, kRunning, ""}}},
        {"a first-log name of 128 characters does not pair with its first 127",
         {{"Long", name128, kOwn, kRunning}},
         {{"Cut", name127, kOwn, kRunning}},
         {{"Long", name128, kOwn, kRunning, "", "D"}, {"Cut", name127, kOwn, "", kRunning, "D"}}},
        {"of two first-log rows with one name, the upper pairs",
         {{"One", "dup", kOwn, kRunning}, {"Two", "DUP", kOwn, kStopped}, {"Three", "x", kOwn, ""}},
         {{"New", "dup", kOwn, kRunning}},
         {{"One", "dup", kOwn, kRunning, kRunning, ""},
          {"Two", "DUP", kOwn, kStopped, "", "D"},
          {"Three", "x", kOwn, "", "", ""}}},
        {"two second-log records with one partner: the later state stays",
         {{"One", "dup", kOwn, kRunning}},
         {{"A", "dup", kOwn, kStopped}, {"B", "Dup", kOwn, kRunning}},
         {{"One", "dup", kOwn, kRunning, kRunning, ""}}},
        {"two second-log records without partner: two rows",
         {{"One", "x", kOwn, kRunning}},
         {{"A", "dup", kOwn, kStopped}, {"B", "dup", kShare, kRunning}},
         {{"One", "x", kOwn, kRunning, "", "D"},
          {"A", "dup", kOwn, "", kStopped, "D"},
          {"B", "dup", kShare, "", kRunning, "D"}}},
        {"an empty first log: every record a row of its own",
         {},
         {{"A", "a", kOwn, kStopped}, {"B", "a", kOwn, kStopped}},
         {{"A", "a", kOwn, "", kStopped, "D"}, {"B", "a", kOwn, "", kStopped, "D"}}},
        {"an empty second log: rows with a state are different",
         {{"A", "a", kOwn, kRunning}, {"B", "b", kOwn, ""}},
         {},
         {{"A", "a", kOwn, kRunning, "", "D"}, {"B", "b", kOwn, "", "", ""}}},
        {"states are compared on 511 characters",
         {{"A", "a", kOwn, state512a}, {"B", "b", kOwn, state512a.substr(0, 510)}},
         {{"A", "a", kOwn, state512b}, {"B", "b", kOwn, state512b.substr(0, 511)}},
         {{"A", "a", kOwn, state512a, state512b, ""},
          {"B", "b", kOwn, state512a.substr(0, 510), state512b.substr(0, 511), "D"}}},
    };
    for (const ServiceCase& c : cases) {
        EXPECT_EQ(Shown(MergeServices(c.first, c.second)), c.rows) << c.what;
    }
}

TEST(ServiceRecordOfLine, AnOddLineIsTakenFromItsEnd) {
    const struct {
        std::vector<std::string> line;
        std::vector<std::string> record;
    } cases[] = {
        {{"Spooler", kOwn, kRunning}, {"", "Spooler", kOwn, kRunning}},
        // The field before the state is no type text: it is the service name.
        {{"Print Spooler", "Spooler", kRunning}, {"Print Spooler", "Spooler", "", kRunning}},
        {{"Two", "Blanks", "TwoBlanks", "TYPE 0x400", "Service Paused"},
         {"Two Blanks", "TwoBlanks", "TYPE 0x400", "Service Paused"}},
        // A hexadecimal code written otherwise than the listing writes it is no type.
        {{"A", "b", "TYPE 0x0400", kRunning}, {"A", "b", "TYPE 0x0400", kRunning}},
        {{"A", "B", "b", "TYPE 0x0400", kRunning}, {"A B b", "TYPE 0x0400", "", kRunning}},
        {{kRunning}, {"", "", "", kRunning}},
        {{}, {"", "", "", ""}},
    };
    for (const auto& c : cases) {
        std::string record[kServiceFieldCount];
        ServiceRecordOfLine(c.line, record);
        EXPECT_EQ(std::vector<std::string>(record, record + kServiceFieldCount), c.record)
            << c.line.size() << " fields";
    }
}

TEST(ServiceMerge, RowsStayUnmarkedUntilMarked) {
    // What a failed read leaves: the rows made so far, including a record cut
    // short in the first log, and nothing marked.
    ServiceMerge merge;
    AddFirst(merge, {"A", "a", kOwn, kRunning});
    AddFirst(merge, {"B", "", "", ""});
    const std::vector<Row> expected = {
        {"A", "a", kOwn, kRunning, "", ""},
        {"B", "", "", "", "", ""},
    };
    EXPECT_EQ(Shown(merge.rows()), expected);
}

TEST(ServiceMerge, PairsTenThousandByTenThousand) {
    ServiceMerge merge;
    const int count = 10000;
    for (int i = 0; i < count; ++i) {
        AddFirst(merge,
                 {"Display " + std::to_string(i), "Svc" + std::to_string(i), kOwn, kRunning});
    }
    for (int i = count - 1; i >= 0; --i) {
        const bool stopped = i % 100 == 0;
        AddSecond(merge, {"D", "SVC" + std::to_string(i + count / 2), kOwn,
                          stopped ? kStopped : kRunning});
    }
    merge.MarkDifferences();
    const std::vector<CompareRow>& rows = merge.rows();
    ASSERT_EQ(rows.size(), static_cast<size_t>(count + count / 2));
    int different = 0;
    for (const CompareRow& row : rows) {
        different += row.different ? 1 : 0;
    }
    // 5,000 first-log rows without partner, 5,000 appended, 50 paired but stopped.
    EXPECT_EQ(different, count + 50);
    EXPECT_EQ(rows[count / 2].state2, kStopped);
    EXPECT_EQ(rows[count].value, "SVC14999");
}

using Lines = std::vector<std::vector<std::string>>;

std::vector<Row> MergeLines(LineKeyRule rule, const Lines& first, const Lines& second) {
    LineMerge merge(rule);
    for (const auto& line : first) {
        merge.AddFirst(line);
    }
    for (const auto& line : second) {
        merge.AddSecond(line);
    }
    merge.MarkDifferences();
    return Shown(merge.rows());
}

struct LineCase {
    const char* what;
    Lines first, second;
    std::vector<Row> rows;
};

TEST(LineMerge, ExportLogsPairByExactEntryPointName) {
    const LineCase cases[] = {
        {"same exports, one state changed, one entry missing on each side",
         {{"Config", "found"}, {"DoDwell", "found"}, {"Home", "Not found"}, {"Probe", "found"}},
         {{"Config", "found"}, {"Home", "found"}, {"Probe", "found"}, {"Reset", "found"}},
         {{"Config", "", "", "found", "found", ""},
          {"DoDwell", "", "", "found", "", "D"},
          {"Home", "", "", "Not found", "found", "D"},
          {"Probe", "", "", "found", "found", ""},
          {"Reset", "", "", "", "found", "D"}}},
        {"names differing in case do not pair",
         {{"Config", "found"}},
         {{"config", "found"}},
         {{"Config", "", "", "found", "", "D"}, {"config", "", "", "", "found", "D"}}},
        {"repeated names pair in order",
         {{"Home", "found"}, {"Home", "Not found"}},
         {{"Home", "Not found"}, {"Home", "Not found"}, {"Home", "found"}},
         {{"Home", "", "", "found", "Not found", "D"},
          {"Home", "", "", "Not found", "Not found", ""},
          {"Home", "", "", "", "found", "D"}}},
        {"a line of one field pairs by its name but has no state",
         {{"Update"}},
         {{"Update", "found"}},
         {{"Update", "", "", "", "found", "D"}}},
        {"both logs empty", {}, {}, {}},
    };
    for (const LineCase& c : cases) {
        EXPECT_EQ(MergeLines(LineKeyRule::ExportName, c.first, c.second), c.rows) << c.what;
    }
}

TEST(LineMerge, AnalysisLogsPairByNameOrByTheWholeLine) {
    const char kPlugin[] = "Installed Plugin";
    const char kArch[] = "Processor Architecture";
    const char kRedist[] = "Microsoft Visual C++ 2010";
    const LineCase cases[] = {
        {"repeated names pair by the whole line",
         {{kPlugin, "a.dll"}, {kPlugin, "b.dll"}, {kPlugin, "c.dll"}},
         {{kPlugin, "a.dll"}, {kPlugin, "c.dll"}, {kPlugin, "d.dll"}},
         {{kPlugin, "", "", "a.dll", "a.dll", ""},
          {kPlugin, "", "", "b.dll", "", "D"},
          {kPlugin, "", "", "c.dll", "c.dll", ""},
          {kPlugin, "", "", "", "d.dll", "D"}}},
        {"a name repeated only in the second log, its partner coming last",
         {{kPlugin, "a.dll"}},
         {{kPlugin, "b.dll"}, {kPlugin, "a.dll"}},
         {{kPlugin, "", "", "a.dll", "a.dll", ""}, {kPlugin, "", "", "", "b.dll", "D"}}},
        {"a name found once in each log pairs by name",
         {{"Version", "Lensora 1.2"}, {"CameraIndex", "0"}},
         {{"CameraIndex", "1"}, {"Version", "Lensora 1.2"}},
         {{"Version", "", "", "Lensora 1.2", "Lensora 1.2", ""},
          {"CameraIndex", "", "", "0", "1", "D"}}},
        {"everything after the name is the state; the fields between also the Value",
         {{kRedist, "x86 Redistributable", "found"}, {"a", "b", "c", "d"}},
         {{kRedist, "x86 Redistributable", "Not found"}, {"a", "b", "c", "d"}},
         {{kRedist, "x86 Redistributable", "", "x86 Redistributable  found",
           "x86 Redistributable  Not found", "D"},
          {"a", "b  c", "", "b  c  d", "b  c  d", ""}}},
        {"a middle field that differs marks the row and both values show",
         {{"C:\\opencv_core248.dll", "2.4.8.0", "32-bit"}},
         {{"C:\\opencv_core248.dll", "2.4.13.0", "32-bit"}},
         {{"C:\\opencv_core248.dll", "2.4.8.0", "", "2.4.8.0  32-bit", "2.4.13.0  32-bit", "D"}}},
        {"single-field lines pair by their text and do not count as a name",
         {{kArch}, {"x86"}, {kArch, "Intel"}},
         {{kArch}, {"x64 (AMD or Intel)"}, {kArch, "IA32 on Win64"}},
         {{kArch, "", "", "", "", ""},
          {"x86", "", "", "", "", "D"},
          {kArch, "", "", "Intel", "IA32 on Win64", "D"},
          {"x64 (AMD or Intel)", "", "", "", "", "D"}}},
        {"a name alone meets the line of its name, as with an empty state",
         {{"Version"}},
         {{"Version", "x"}},
         {{"Version", "", "", "", "x", "D"}}},
        {"a name alone and with a state each find their own kind first",
         {{kArch}, {kArch, "Intel"}},
         {{kArch, "AMD64"}},
         {{kArch, "", "", "", "", "D"}, {kArch, "", "", "Intel", "AMD64", "D"}}},
        {"equal whole lines pair in order",
         {{"C:\\Windows", "PATH"}, {"C:\\Windows", "PATH"}},
         {{"C:\\Windows", "PATH"}},
         {{"C:\\Windows", "", "", "PATH", "PATH", ""}, {"C:\\Windows", "", "", "PATH", "", "D"}}},
        {"lines made of other fields are other lines",
         {{kPlugin, "a.dll"}, {kPlugin, "a.dll", "x"}},
         {{kPlugin, "a.dll x"}, {kPlugin, "a.dll", "x"}},
         {{kPlugin, "", "", "a.dll", "", "D"},
          {kPlugin, "a.dll", "", "a.dll  x", "a.dll  x", ""},
          {kPlugin, "", "", "", "a.dll x", "D"}}},
        {"whole lines that split their text elsewhere are other lines",
         {{kPlugin, "ab", "c"}, {kPlugin, "a:b", "c"}},
         {{kPlugin, "a", "bc"}, {kPlugin, "a", "b:c"}},
         {{kPlugin, "ab", "", "ab  c", "", "D"},
          {kPlugin, "a:b", "", "a:b  c", "", "D"},
          {kPlugin, "a", "", "", "a  bc", "D"},
          {kPlugin, "a", "", "", "a  b:c", "D"}}},
        {"a feature present on one machine only",
         {{"Feature sentence", ""}},
         {{"Feature sentence", "X "}},
         {{"Feature sentence", "", "", "", "X ", "D"}}},
        {"a line given without fields is one empty field",
         {{}},
         {{""}},
         {{"", "", "", "", "", ""}}},
    };
    for (const LineCase& c : cases) {
        EXPECT_EQ(MergeLines(LineKeyRule::AnalysisName, c.first, c.second), c.rows) << c.what;
    }
}

TEST(LineMerge, RowsSoFarAreShownUnmarkedAfterAFailedRead) {
    LineMerge merge(LineKeyRule::AnalysisName);
    merge.AddFirst({"Installed Plugin", "a.dll"});
    merge.AddFirst({"Version", "1.2"});
    merge.AddSecond({"Installed Plugin", "a.dll"});
    const std::vector<Row> soFar = {
        {"Installed Plugin", "", "", "a.dll", "a.dll", ""},
        {"Version", "", "", "1.2", "", ""},
    };
    EXPECT_EQ(Shown(merge.rows()), soFar);

    // A later line that repeats the name turns the pairing to whole lines.
    merge.AddSecond({"Installed Plugin", "b.dll"});
    merge.MarkDifferences();
    const std::vector<Row> complete = {
        {"Installed Plugin", "", "", "a.dll", "a.dll", ""},
        {"Version", "", "", "1.2", "", "D"},
        {"Installed Plugin", "", "", "", "b.dll", "D"},
    };
    EXPECT_EQ(Shown(merge.rows()), complete);
}

}  // namespace
