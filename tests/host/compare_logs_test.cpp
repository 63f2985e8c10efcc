#include "compare/compare_logs.h"

#include <gtest/gtest.h>

#include <memory>
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

// Bytes in a heap block of exactly their size: a read past the end is one the
// sanitizer sees (a std::string's terminator would hide it).
class ExactBytes {
public:
    explicit ExactBytes(const std::string& bytes) : size_(bytes.size()), data_(new char[size_]) {
        std::copy(bytes.begin(), bytes.end(), data_.get());
    }
    LogBytes As(const std::string& name) const { return LogBytes{data_.get(), size_, name}; }

private:
    size_t size_;
    std::unique_ptr<char[]> data_;
};

// The logs read as a comparison reads them, each by the layout of its name
// (none for an empty name).
ComparedLogs Compare(CompareKind kind, const std::string& first, const std::string& second,
                     const std::string& firstName = "", const std::string& secondName = "") {
    const ExactBytes firstBytes(first), secondBytes(second);
    LogLines firstLines, secondLines;
    ReadComparedLogs(kind, firstBytes.As(firstName), secondBytes.As(secondName), firstLines,
                     secondLines);
    return CompareLogLines(kind, firstLines, secondLines);
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

TEST(CompareLogLines, ACutRecordOfEitherLogInLineLogs) {
    const std::string config = Pad("Config", 30) + "found\r\n";
    const std::string stop = Pad("StopPlug", 30) + "found\r\n";
    const std::string whole = kStamp + config + stop;
    const auto cut = [&](size_t dropped) { return whole.substr(0, whole.size() - dropped); };
    const struct {
        const char* what;
        CompareKind kind;
        bool firstCut;  // else the second log is the cut one
        std::string cutLog;
        std::vector<std::string> rows;
    } cases[] = {
        {"second: the line end dropped",
         CompareKind::Exports,
         false,
         cut(2),
         {"Config||found|found|", "StopPlug||found|found|"}},
        {"second: cut inside the result",
         CompareKind::Exports,
         false,
         cut(4),
         {"Config||found|found|", "StopPlug||found|fou...|D"}},
        {"second: cut inside the name",
         CompareKind::Exports,
         false,
         cut(33),
         {"Config||found|found|", "StopPlug||found||D", "Stop...||||D"}},
        {"first: cut inside the result",
         CompareKind::Exports,
         true,
         cut(4),
         {"Config||found|found|", "StopPlug||fou...|found|D"}},
        {"first: cut inside the name",
         CompareKind::Exports,
         true,
         cut(33),
         {"Config||found|found|", "Stop...||||D", "StopPlug|||found|D"}},
        {"first: cut after the name's padding",
         CompareKind::Exports,
         true,
         cut(7),
         {"Config||found|found|", "StopPlug||...|found|D"}},
        {"analysis, second: cut inside the value",
         CompareKind::Analysis,
         false,
         cut(4),
         {"Config||found|found|", "StopPlug||found|fou...|D"}},
        {"analysis, first: the line end dropped",
         CompareKind::Analysis,
         true,
         cut(2),
         {"Config||found|found|", "StopPlug||found|found|"}},
    };
    for (const auto& c : cases) {
        const ComparedLogs logs =
            c.firstCut ? Compare(c.kind, c.cutLog, whole) : Compare(c.kind, whole, c.cutLog);
        EXPECT_EQ(Shown(logs), c.rows) << c.what;
        const bool shownCut = c.rows.size() > 2 || c.rows[1].back() == 'D';
        EXPECT_EQ((c.firstCut ? logs.firstNotes : logs.secondNotes).endsInsideRecord, shownCut)
            << c.what;
        EXPECT_FALSE((c.firstCut ? logs.secondNotes : logs.firstNotes).endsInsideRecord) << c.what;
    }
}

TEST(CompareLogLines, ACutRecordOfTheFirstServiceLog) {
    const std::string spooler = ServiceLine("Print Spooler", "Spooler", "Service Running");
    const std::string time = ServiceLine("Windows Time", "W32Time", "Service Stopped");
    const std::string whole = kStamp + spooler + time;
    const struct {
        const char* what;
        std::string first;
        std::vector<std::string> rows;
        bool noted;
    } cases[] = {
        {"cut inside the state: it pairs, cut",
         whole.substr(0, whole.size() - 7),
         {"Print Spooler|Spooler|Service Running|Service Running|",
          "Windows Time|W32Time|Service St...|Service Stopped|D"},
         true},
        {"cut inside the service name: a fragment of its own",
         whole.substr(0, whole.size() - 99),
         {"Print Spooler|Spooler|Service Running|Service Running|", "Windows Time|W32...|||D",
          "Windows Time|W32Time||Service Stopped|D"},
         true},
        {"the line end dropped",
         whole.substr(0, whole.size() - 2),
         {"Print Spooler|Spooler|Service Running|Service Running|",
          "Windows Time|W32Time|Service Stopped|Service Stopped|"},
         false},
    };
    for (const auto& c : cases) {
        const ComparedLogs logs = Compare(CompareKind::Services, c.first, whole);
        EXPECT_EQ(Shown(logs), c.rows) << c.what;
        EXPECT_EQ(logs.firstNotes.endsInsideRecord, c.noted) << c.what;
        EXPECT_FALSE(logs.secondNotes.endsInsideRecord) << c.what;
    }
}

// Equal bytes compare equal, whichever way the bytes of either log could be read.
TEST(ReadComparedLogs, TheSameBytesFromTheProgramAreTheSameText) {
    const std::string lifeCam = "Microsoft\xC2\xAE LifeCam";
    const std::string german = "Sprachpaket f\xFCr Deutsch";
    const auto products = [&](const std::vector<std::string>& names) {
        std::string log = kStamp;
        for (const std::string& name : names) {
            log += name + "\r\n";
        }
        return log;
    };
    // The same log converted to UTF-8 on its way: every byte beyond ASCII as
    // its character in two bytes.
    const auto asUtf8 = [](const std::string& log) {
        std::string out;
        for (char c : log) {
            const unsigned char b = static_cast<unsigned char>(c);
            out += b < 0x80 ? std::string(1, c)
                            : std::string{static_cast<char>(0xC0 | (b >> 6)),
                                          static_cast<char>(0x80 | (b & 0x3F))};
        }
        return out;
    };
    const std::string products1252 = products({lifeCam, german});
    const std::string productsWithoutGerman = products({lifeCam});
    const struct {
        const char* what;
        std::string first, second;
        const char* firstNotes;
        const char* secondNotes;
        int different;
        std::string firstName;  // as the rows show it
    } cases[] = {
        {"a Windows-1252 log whose bytes form UTF-8 by chance", productsWithoutGerman, products1252,
         "", "", 1, lifeCam},
        {"the same, the other way round", products1252, productsWithoutGerman, "", "", 1, lifeCam},
        {"a log converted to UTF-8", products1252, asUtf8(products1252), "", "UTF-8", 0, lifeCam},
        // Nothing tells these from UTF-8: read alike, they still compare equal.
        {"both form UTF-8 by chance", productsWithoutGerman, productsWithoutGerman, "UTF-8",
         "UTF-8", 0, "Microsoft\xAE LifeCam"},
    };
    for (const auto& c : cases) {
        const ComparedLogs logs =
            Compare(CompareKind::Analysis, c.first, c.second, "a.logAnalyzeInstalledProgs",
                    "b.logAnalyzeInstalledProgs");
        EXPECT_EQ(DescribeReadingNotes(logs.firstNotes), c.firstNotes) << c.what;
        EXPECT_EQ(DescribeReadingNotes(logs.secondNotes), c.secondNotes) << c.what;
        EXPECT_EQ(CountRows(logs.rows).different, c.different) << c.what;
        EXPECT_EQ(logs.rows[0].name, c.firstName) << c.what;
    }
}

TEST(ReadComparedLogs, ALogIsReadByTheLayoutOfItsNameWhereTheNameIsOfTheKindCompared) {
    const struct {
        CompareKind kind;
        const char* name;
        const char* layoutOf;  // nullptr: none
    } cases[] = {
        {CompareKind::Services, "D:\\pc1.logServices", "C:\\Lensora_Brenhold.logServices"},
        {CompareKind::Services, "D:\\pc1.txt", "C:\\Lensora_Brenhold.logServices"},
        {CompareKind::Exports, "D:\\pc1.logServices", "C:\\Lensora_Brenhold.logDlls"},
        {CompareKind::Analysis, "D:\\pc1.logServices", nullptr},
        {CompareKind::Analysis, "D:\\pc1.logAnalyzeSettings",
         "C:\\Lensora_Brenhold.logAnalyzeSettings"},
        {CompareKind::Analysis, "D:\\pc1.logAnalyzeNew", nullptr},
        {CompareKind::Analysis, "D:\\Lensora_Brenhold.logMessages",
         "C:\\Lensora_Brenhold.logMessages"},
        {CompareKind::Services, "D:\\Lensora_Brenhold.logMessages",
         "C:\\Lensora_Brenhold.logServices"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(LayoutForComparison(c.kind, c.name),
                  c.layoutOf != nullptr ? LayoutOfLogName(c.layoutOf) : nullptr)
            << c.name;
    }
}

}  // namespace
