#include "compare/compare_logs.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

const char kStamp[] = "08.12.2026 15:29 59\r\n";

std::string Pad(const std::string& text, size_t width) {
    return text + std::string(width > text.size() ? width - text.size() : 1, ' ');
}

std::string ServiceLine(const std::string& display, const std::string& name,
                        const std::string& state) {
    return Pad(display, 90) + Pad(name, 60) + Pad("Win32_OWN_PROCESS", 25) + state + "\r\n";
}

ComparedLogs Compare(CompareKind kind, const std::string& first, const std::string& second) {
    return CompareLogLines(kind, ReadLogLines(first.data(), first.size()),
                           ReadLogLines(second.data(), second.size()));
}

// Name, value, state 1, state 2 and "D" for "Different", a row a string.
std::vector<std::string> Shown(const ComparedLogs& logs) {
    std::vector<std::string> rows;
    for (const CompareRow& r : logs.rows) {
        rows.push_back(r.name + "|" + r.value + "|" + r.state1 + "|" + r.state2 + "|" +
                       (r.different ? "D" : ""));
    }
    return rows;
}

TEST(CompareLogLines, ARecordTheLogEndsInsideIsShownCutUnlessItIsWhole) {
    const std::string spooler = ServiceLine("Print Spooler", "Spooler", "Service Running");
    const std::string time = ServiceLine("Windows Time", "W32Time", "Service Stopped");
    const std::string first = kStamp + spooler + time;
    const struct {
        const char* what;
        std::string second;
        std::vector<std::string> rows;
        bool noted;
    } cases[] = {
        {"the last line end dropped by an editor",
         kStamp + spooler + time.substr(0, time.size() - 2),
         {"Print Spooler|Spooler|Service Running|Service Running|",
          "Windows Time|W32Time|Service Stopped|Service Stopped|"},
         false},
        {"cut inside the state: it pairs, cut",
         kStamp + spooler + time.substr(0, 185),
         {"Print Spooler|Spooler|Service Running|Service Running|",
          "Windows Time|W32Time|Service Stopped|Service St...|D"},
         true},
        {"cut inside the display name: a fragment of its own",
         kStamp + spooler + time.substr(0, 7),
         {"Print Spooler|Spooler|Service Running|Service Running|",
          "Windows Time|W32Time|Service Stopped||D", "Windows...||||D"},
         true},
    };
    for (const auto& c : cases) {
        const ComparedLogs logs = Compare(CompareKind::Services, first, c.second);
        EXPECT_EQ(Shown(logs), c.rows) << c.what;
        EXPECT_EQ(logs.secondNotes.endsInsideRecord, c.noted) << c.what;
        EXPECT_FALSE(logs.firstNotes.endsInsideRecord) << c.what;
    }

    const std::string line = Pad("C:\\Mach3\\Plugins\\lensora.dll", 90) + "found\r\n";
    const std::string whole = kStamp + line.substr(0, line.size() - 2);
    const std::string cut = kStamp + line.substr(0, line.size() - 4);
    EXPECT_EQ(Shown(Compare(CompareKind::Analysis, kStamp + line, whole)),
              (std::vector<std::string>{"C:\\Mach3\\Plugins\\lensora.dll||found|found|"}));
    const ComparedLogs cutLogs = Compare(CompareKind::Analysis, cut, kStamp + line);
    EXPECT_EQ(Shown(cutLogs),
              (std::vector<std::string>{"C:\\Mach3\\Plugins\\lensora.dll||fou...|found|D"}));
    EXPECT_TRUE(cutLogs.firstNotes.endsInsideRecord);
    EXPECT_EQ(DescribeReadingNotes(cutLogs.firstNotes), "ends inside a record");
}

TEST(CompareLogLines, CountsTellWhereEachDifferenceIsFound) {
    const std::string first = kStamp + ServiceLine("A", "a", "Service Running") +
                              ServiceLine("B", "b", "Service Running") +
                              ServiceLine("C", "c", "Service Running");
    const std::string second = kStamp + ServiceLine("A", "a", "Service Running") +
                               ServiceLine("B", "b", "Service Stopped") +
                               ServiceLine("D", "d", "Service Running") +
                               ServiceLine("E", "e", "Service Running");
    const CompareCounts counts = CountRows(Compare(CompareKind::Services, first, second).rows);
    EXPECT_EQ(counts.rows, 5);
    EXPECT_EQ(counts.different, 4);
    EXPECT_EQ(counts.onlyFirst, 1);
    EXPECT_EQ(counts.onlySecond, 2);
    EXPECT_EQ(counts.changed, 1);
    EXPECT_EQ(DescribeCounts(counts),
              "5 rows, 4 Different: 1 only in the first log, 2 only in the second log, 1 with "
              "other values");
    EXPECT_EQ(DescribeCounts(CountRows(Compare(CompareKind::Services, first, first).rows)),
              "3 rows, none Different");
}

}  // namespace
