// The command line, the log kinds of file names, and the texts of "/collect"
// and of a copy: what a user types and what a supporter receives.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/collect_plan.h"
#include "app/command_line.h"
#include "platform/path_text.h"
#include "report/copy_text.h"
#include "report/log_paths.h"

namespace {

using Arguments = std::vector<std::string>;

TEST(CommandLine, SplitsLikeTheCRuntime) {
    const struct {
        const char* line;
        Arguments arguments;
    } cases[] = {
        {"", {}},
        {"   \t ", {}},
        {"/collect", {"/collect"}},
        {"  /collect   D:\\logs  ", {"/collect", "D:\\logs"}},
        {"/collect \"D:\\Support Logs\\Machine 1\"", {"/collect", "D:\\Support Logs\\Machine 1"}},
        {"/compare services \"C:\\a b.logServices\" C:\\c.logServices",
         {"/compare", "services", "C:\\a b.logServices", "C:\\c.logServices"}},
        // Backslashes are literal except before a quote.
        {"C:\\\\share\\dir", {"C:\\\\share\\dir"}},
        {"a\\\"b", {"a\"b"}},
        {"\"a\\\\\" b", {"a\\", "b"}},
        {"\"\"", {""}},
        {"\"unterminated quote", {"unterminated quote"}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(SplitCommandLine(c.line), c.arguments) << c.line;
    }
    EXPECT_TRUE(SplitCommandLine(nullptr).empty());
}

TEST(CommandLine, ChoosesWhatToDo) {
    EXPECT_EQ(ParseArguments({}).mode, StartMode::Window);
    for (const char* help : {"/?", "-?"}) {
        EXPECT_EQ(ParseArguments({help}).mode, StartMode::Usage) << help;
    }
    const StartRequest bare = ParseArguments({"/COLLECT"});
    EXPECT_EQ(bare.mode, StartMode::Collect);
    EXPECT_EQ(bare.folder, "");
    const StartRequest withFolder = ParseArguments({"-collect", "D:\\logs"});
    EXPECT_EQ(withFolder.mode, StartMode::Collect);
    EXPECT_EQ(withFolder.folder, "D:\\logs");

    const struct {
        const char* word;
        CompareKind kind;
    } kinds[] = {{"analysis", CompareKind::Analysis},
                 {"Exports", CompareKind::Exports},
                 {"SERVICES", CompareKind::Services}};
    for (const auto& k : kinds) {
        const StartRequest compare = ParseArguments({"/compare", k.word, "a.log", "b.log"});
        EXPECT_EQ(compare.mode, StartMode::Compare) << k.word;
        EXPECT_EQ(compare.compareKind, k.kind) << k.word;
        EXPECT_EQ(compare.first, "a.log");
        EXPECT_EQ(compare.second, "b.log");
        EXPECT_EQ(compare.report, "");
    }
    const StartRequest report = ParseArguments(
        {"/compare", "services", "a.logServices", "b.logServices", "-REPORT", "out.txt"});
    EXPECT_EQ(report.mode, StartMode::Compare);
    EXPECT_EQ(report.report, "out.txt");
    const StartRequest folders = ParseArguments({"/compare", "Folders", "D:\\good", "D:\\bad"});
    EXPECT_EQ(folders.mode, StartMode::CompareFolders);
    EXPECT_EQ(folders.first, "D:\\good");
    EXPECT_EQ(folders.second, "D:\\bad");
    EXPECT_EQ(ParseArguments({"/compare", "folders", "g", "b", "/report", "r.txt"}).report,
              "r.txt");
}

TEST(CommandLine, DiagnosesOneBundleFolderInTheViewOrAsAReport) {
    const struct {
        std::vector<std::string> arguments;
        StartMode mode;
        const char* folder;
        const char* report;
    } cases[] = {
        {{"/diagnose", "D:\\bundle"}, StartMode::Diagnose, "D:\\bundle", ""},
        // "D:\my bundle\" as tab completion quotes it: the splitter keeps the last quote.
        {{"-DIAGNOSE", "D:\\my bundle\"", "/Report", "v.txt"}, StartMode::Diagnose,
         "D:\\my bundle\\", "v.txt"},
        {{"/diagnose"}, StartMode::BadArguments, "", ""},
        {{"/diagnose", "/report", "v.txt"}, StartMode::BadArguments, "", ""},
        {{"/diagnose", "D:\\b", "/report"}, StartMode::BadArguments, "", ""},
        {{"/diagnose", "D:\\b", "/keep", "v.txt"}, StartMode::BadArguments, "", ""},
        {{"/diagnose", "D:\\b", "/report", ""}, StartMode::BadArguments, "", ""},
    };
    for (const auto& c : cases) {
        const StartRequest request = ParseArguments(c.arguments);
        EXPECT_EQ(request.mode, c.mode) << c.arguments[0] << " " << c.arguments.size();
        if (c.mode == StartMode::Diagnose) {
            EXPECT_EQ(request.first, c.folder);
            EXPECT_EQ(request.report, c.report);
        }
    }
    EXPECT_NE(std::string(kUsageText).find("vorlix.exe /diagnose FOLDER [/report FILE]"),
              std::string::npos);
}

TEST(CommandLine, ManyBundlesTwoBundlesAndAFolderOfBundles) {
    using V = std::vector<std::string>;
    const struct {
        V arguments;
        StartMode mode;
        V folders;
        V bad;
        const char* report;
    } cases[] = {
        {{"/compare", "folders", "g", "b"}, StartMode::CompareFolders, {}, {}, ""},
        {{"/compare", "folders", "a", "b", "c"}, StartMode::CompareBundles, {"a", "b", "c"}, {}, ""},
        {{"/compare", "FOLDERS", "parent"}, StartMode::CompareBundles, {"parent"}, {}, ""},
        {{"/compare", "folders", "g1", "g2", "/bad", "b1", "b2", "/report", "r.txt"},
         StartMode::CompareBundles, {"g1", "g2", "b1", "b2"}, {"b1", "b2"}, "r.txt"},
        {{"/compare", "folders", "g", "-BAD", "b"}, StartMode::CompareBundles, {"g", "b"}, {"b"}, ""},
        {{"/compare", "folders", "g", "/bad"}, StartMode::BadArguments, {}, {}, ""},
        {{"/compare", "folders", "g", "/bad", "b", "/bad", "c"}, StartMode::BadArguments, {}, {}, ""},
        {{"/compare", "folders", "a", "b", "c", "/report"}, StartMode::BadArguments, {}, {}, ""},
        {{"/compare", "folders", "a", "b", "/report", "r", "c"}, StartMode::BadArguments, {}, {}, ""},
        {{"/compare", "folders", "a", "/keep", "b"}, StartMode::BadArguments, {}, {}, ""},
        {{"/compare", "folders", "a", "", "b"}, StartMode::BadArguments, {}, {}, ""},
    };
    for (const auto& c : cases) {
        const StartRequest request = ParseArguments(c.arguments);
        std::string line;
        for (const std::string& argument : c.arguments) {
            line += argument + " ";
        }
        EXPECT_EQ(request.mode, c.mode) << line;
        if (c.mode == StartMode::CompareBundles) {
            EXPECT_EQ(request.folders, c.folders) << line;
            EXPECT_EQ(request.badFolders, c.bad) << line;
            EXPECT_EQ(request.report, c.report) << line;
        }
    }
}

TEST(CommandLine, ComparesOnlyLogsOfTheKindAskedFor) {
    const struct {
        const char* kind;
        const char* first;
        const char* second;
        const char* reason;  // empty: accepted
    } cases[] = {
        {"services", "C:\\a.logServices", "D:\\renamed.txt", ""},
        {"analysis", "C:\\a.logAnalyzePATH", "C:\\b.LOGANALYZEpath", ""},
        {"services", "C:\\A.logDlls", "C:\\B.logDlls",
         "Not two logs of one kind: C:\\A.logDlls (an export log) and C:\\B.logDlls (an export "
         "log). This comparison needs two service logs."},
        {"analysis", "C:\\g.logAnalyzeSettings", "C:\\b.logAnalyzePATH",
         "Not two logs of one kind: C:\\g.logAnalyzeSettings (an analysis log of the section "
         "Settings) and C:\\b.logAnalyzePATH (an analysis log of the section PATH). This "
         "comparison needs two analysis logs of one section."},
        {"exports", "C:\\a.logDlls", "C:\\b.logServices",
         "Not two logs of one kind: C:\\a.logDlls (an export log) and C:\\b.logServices (a "
         "service log). This comparison needs two export logs."},
    };
    for (const auto& c : cases) {
        const StartRequest request = ParseArguments({"/compare", c.kind, c.first, c.second});
        EXPECT_EQ(request.problem, c.reason) << c.first;
        EXPECT_EQ(request.mode, *c.reason ? StartMode::BadArguments : StartMode::Compare)
            << c.first;
    }
}

TEST(CommandLine, RejectsWhatItCannotDo) {
    const Arguments bad[] = {
        {"collect"},
        {"/collect", "D:\\a", "D:\\b"},
        {"/collect", ""},
        {"/collect", "/?"},
        {"/collect", "-x"},
        {"/?", "extra"},
        {"/compare", "services", "a.logServices"},
        {"/compare", "service", "a.logServices", "b.logServices"},
        {"/compare", "services", "a.logServices", "b.logServices", "c.logServices"},
        {"/compare", "services", "", "b.logServices"},
        {"/compare", "services", "a.logServices", "b.logServices", "/report"},
        {"/compare", "services", "a.logServices", "b.logServices", "/rapport", "x.txt"},
        {"/compare", "services", "a.logServices", "b.logServices", "/report", ""},
        {"/compare", "folder", "D:\\good", "D:\\bad"},
        {"/analyze"},
        {"C:\\Lensora_Brenhold.logServices"},
    };
    for (const Arguments& arguments : bad) {
        EXPECT_EQ(ParseArguments(arguments).mode, StartMode::BadArguments) << arguments[0];
    }
}

TEST(CollectTexts, OneMessageIsOneLine) {
    const struct {
        const char* caption;
        const char* subject;
        const char* text;
        const char* line;
    } cases[] = {
        {"Vorlix   LoadLibrary", "", "C:\\mach3\\plugIns\\lensora.dll  Module not found.\r\n",
         "Vorlix   LoadLibrary\tC:\\mach3\\plugIns\\lensora.dll  Module not found.\r\n"},
        // The subject stands before the text, two blanks between.
        {"Vorlix   CreateFile", "C:\\Lensora_Brenhold.logAnalyzePATH", "Access denied.\r\n",
         "Vorlix   CreateFile\tC:\\Lensora_Brenhold.logAnalyzePATH  Access denied.\r\n"},
        // Line breaks and tabs inside become blanks; only the end is trimmed.
        {"Vorlix\tError", nullptr, "first\r\nsecond\tthird  \r\n\r\n",
         "Vorlix Error\tfirst  second third\r\n"},
        {"Vorlix Error", "PATH entry \"C:\\B\tC\"", "09",
         "Vorlix Error\tPATH entry \"C:\\B C\"  09\r\n"},
        {"Vorlix Error", "", "", "Vorlix Error\t\r\n"},
        {nullptr, nullptr, nullptr, "\t\r\n"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(MessageLine(c.caption, c.subject, c.text), c.line) << c.line;
    }
}

TEST(CollectTexts, FoldersAreCreatedFromTheOutermost) {
    EXPECT_EQ(FolderChain("D:\\a\\b\\c"),
              (std::vector<std::string>{"D:\\a", "D:\\a\\b", "D:\\a\\b\\c"}));
    EXPECT_EQ(FolderChain("D:\\logs\\"), (std::vector<std::string>{"D:\\logs"}));
    EXPECT_TRUE(FolderChain("D:\\").empty());
    EXPECT_EQ(
        FolderChain("\\\\server\\share\\logs\\pc1"),
        (std::vector<std::string>{"\\\\server\\share\\logs", "\\\\server\\share\\logs\\pc1"}));
    EXPECT_TRUE(FolderChain("\\\\server\\share").empty());
}

TEST(CollectTexts, AFolderArgumentIsAFolderOrSaysWhyNot) {
    const struct {
        const char* argument;
        const char* folder;  // nullptr: refused
        const char* named;   // what the refusal must name
    } cases[] = {
        {"D:\\logs", "D:\\logs", nullptr},
        // "D:\logs\" in quotes reaches the program as D:\logs".
        {"D:\\vorlix logs\"", "D:\\vorlix logs\\", nullptr},
        {"..\\logs", "..\\logs", nullptr},
        {"-x", nullptr, "\"-x\""},
        {"/x", nullptr, "\"/x\""},
        {"D:\\a\" b", nullptr, "quote"},
        {"", nullptr, "empty"},
    };
    for (const auto& c : cases) {
        const FolderArgument read = ReadFolderArgument(c.argument);
        if (c.folder != nullptr) {
            EXPECT_EQ(read.folder, c.folder) << c.argument;
            EXPECT_EQ(read.problem, "") << c.argument;
        } else {
            EXPECT_NE(read.problem.find(c.named), std::string::npos) << read.problem;
            EXPECT_EQ(ParseArguments({"/collect", c.argument}).problem, read.problem);
        }
    }
}

TEST(CollectTexts, AFolderMustLeaveRoomForTheLongestLogName) {
    // 259 characters a path, less a backslash and "Lensora_Brenhold.logAnalyzeInstalledProgs".
    const std::string longest = "D:\\" + std::string(214, 'f');
    ASSERT_EQ(longest.size(), 217u);
    EXPECT_EQ(FolderLengthProblem(longest), "");
    EXPECT_EQ(FolderLengthProblem(longest + "\\"), "");
    const std::string problem = FolderLengthProblem(longest + "f");
    for (const char* named : {"218", "217", "259"}) {
        EXPECT_NE(problem.find(named), std::string::npos) << problem;
    }
}

TEST(CollectTexts, OnlyTheProgramsOwnFilesAreTakenForAnEarlierRunsOnes) {
    const struct {
        const char* name;
        bool earlier;
    } cases[] = {
        {"Lensora_Brenhold.logServices", true},
        {"LENSORA_BRENHOLD.LOGANALYZEPATH", true},
        {"Lensora_Brenhold.logSomethingNewer", true},
        {"manifest.txt", true},
        {"Manifest.TXT", true},
        {"Lensora_Brenhold.txt", false},
        // The program writes no log without a kind: a file of this name is the user's.
        {"Lensora_Brenhold.log", false},
        {"notes.txt", false},
        {"manifest.txt.bak", false},
        {"old Lensora_Brenhold.logServices", false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(IsEarlierBundleFile(c.name), c.earlier) << c.name;
    }
    EXPECT_EQ(JoinFolderAndName("D:\\logs\\", "manifest.txt"), "D:\\logs\\manifest.txt");
    EXPECT_EQ(JoinFolderAndName("D:\\", "manifest.txt"), "D:\\manifest.txt");
}

TEST(CollectTexts, TheClosingLineSaysWhereTheLogsAreAndHowManyMessages) {
    CollectSummary folder;
    folder.logs = 9;
    folder.logFolder = "D:\\vorlix-logs";
    folder.messages = 2;
    folder.messagesLog = "D:\\vorlix-logs\\Lensora_Brenhold.logMessages";
    CollectSummary one = folder;
    one.logs = 1;
    one.messages = 1;
    CollectSummary none = folder;
    none.messages = 0;
    CollectSummary notMade = folder;
    notMade.logFolder = "C:\\";
    notMade.folderNotMade = "Z:\\denied";
    notMade.messagesLog = "C:\\Lensora_Brenhold.logMessages";
    const struct {
        const CollectSummary& summary;
        const char* line;
    } cases[] = {
        {folder,
         "Vorlix: 9 logs in D:\\vorlix-logs, 2 messages (see "
         "D:\\vorlix-logs\\Lensora_Brenhold.logMessages).\r\n"},
        {one,
         "Vorlix: 1 log in D:\\vorlix-logs, 1 message (see "
         "D:\\vorlix-logs\\Lensora_Brenhold.logMessages).\r\n"},
        {none, "Vorlix: 9 logs in D:\\vorlix-logs, no messages.\r\n"},
        {notMade,
         "Vorlix: 9 logs in C:\\ (Z:\\denied could not be made), 2 messages (see "
         "C:\\Lensora_Brenhold.logMessages).\r\n"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ClosingLine(c.summary), c.line);
    }
}

TEST(CollectTexts, EveryLogIsCollectedOnceUnderItsOwnName) {
    EXPECT_EQ(kTestLogCount, 12);
    for (int i = 0; i < kTestLogCount; ++i) {
        const std::string name = FileNameOfPath(kTestLogPaths[i]);
        EXPECT_EQ(std::string(kTestLogPaths[i]), "C:\\" + name);
        EXPECT_NE(LogKindOfName(name).compare, CompareKind::None) << name;
        for (int j = 0; j < i; ++j) {
            EXPECT_NE(name, FileNameOfPath(kTestLogPaths[j]));
        }
    }
    EXPECT_EQ(FileNameOfPath(kMessagesLogPath), "Lensora_Brenhold.logMessages");
}

TEST(CopyText, CellsByTabsLinesByCrLf) {
    std::string text;
    AppendCopyLine(text, {"Name", "Value", "Result"});
    AppendCopyLine(text, {"Print Spooler", "", "Different"});
    AppendCopyLine(text, {"a\tb", "two\r\nlines"});
    EXPECT_EQ(text,
              "Name\tValue\tResult\r\n"
              "Print Spooler\t\tDifferent\r\n"
              "a b\ttwo  lines\r\n");
}

TEST(DroppedLogs, TwoLogsOfOneKindOrTwoMessagesLogsOpenAComparison) {
    const struct {
        const char* first;
        const char* second;
        CompareKind kind;
    } cases[] = {
        {"C:\\a.logServices", "D:\\b.LOGSERVICES", CompareKind::Services},
        {"C:\\a.logAnalyzePATH", "C:\\b.logAnalyzePATH", CompareKind::Analysis},
        {"C:\\a.logAnalyzePATH", "C:\\b.logAnalyzeSettings", CompareKind::None},
        {"C:\\good\\Lensora_Brenhold.logMessages", "C:\\bad\\Lensora_Brenhold.LOGMESSAGES",
         CompareKind::Analysis},
        {"C:\\pc1.logMessages", "C:\\pc2.logMessages", CompareKind::Analysis},
        {"C:\\a.logMessages", "C:\\b.logServices", CompareKind::None},
        {"C:\\a.logMessages.txt", "C:\\b.logMessages.txt", CompareKind::None},
        {"C:\\a.txt", "C:\\b.txt", CompareKind::None},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(DroppedLogsKind(c.first, c.second), c.kind) << c.first << " " << c.second;
    }
    EXPECT_EQ(DroppedLogsMismatch("C:\\a.logMessages", "C:\\b.logServices"),
              "Not two logs of one kind: C:\\a.logMessages (a messages log) and C:\\b.logServices "
              "(a service log).");
}

}  // namespace
