// The command line, the log kinds of file names, and the texts of "/collect"
// and of a copy: what a user types and what a supporter receives.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/collect_plan.h"
#include "app/command_line.h"
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
        int kind;
    } kinds[] = {{"analysis", 1}, {"Exports", 2}, {"SERVICES", 3}};
    for (const auto& k : kinds) {
        const StartRequest compare = ParseArguments({"/compare", k.word, "a.log", "b.log"});
        EXPECT_EQ(compare.mode, StartMode::Compare) << k.word;
        EXPECT_EQ(compare.compareKind, k.kind) << k.word;
        EXPECT_EQ(compare.first, "a.log");
        EXPECT_EQ(compare.second, "b.log");
    }
}

TEST(CommandLine, RejectsWhatItCannotDo) {
    const Arguments bad[] = {
        {"collect"},
        {"/collect", "D:\\a", "D:\\b"},
        {"/collect", ""},
        {"/collect", "/?"},
        {"/?", "extra"},
        {"/compare", "services", "a.logServices"},
        {"/compare", "service", "a.logServices", "b.logServices"},
        {"/compare", "services", "a.logServices", "b.logServices", "c.logServices"},
        {"/compare", "services", "", "b.logServices"},
        {"/analyze"},
        {"C:\\Lensora_Brenhold.logServices"},
    };
    for (const Arguments& arguments : bad) {
        EXPECT_EQ(ParseArguments(arguments).mode, StartMode::BadArguments) << arguments[0];
    }
}

TEST(CommandLine, LogKindComesFromTheExtension) {
    const struct {
        const char* path;
        int kind;
    } cases[] = {
        {"C:\\Lensora_Brenhold.logServices", 3},
        {"D:\\mail\\machine2.LOGSERVICES", 3},
        {"C:\\Lensora_Brenhold.logDlls", 2},
        {"C:\\Lensora_Brenhold.logAnalyzeSystemData", 1},
        {"C:\\Lensora_Brenhold.logAnalyzePATH", 1},
        {"C:\\x.logAnalyze", 1},
        // Only the extension of the file's own name counts.
        {"C:\\a.logServices\\notes.txt", 0},
        {"C:\\Lensora_Brenhold.logServices.txt", 0},
        {"C:\\Lensora_Brenhold.logMessages", 0},
        {"C:\\xlogServices", 0},
        {"C:\\folder.logDlls\\", 0},
        {"", 0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(CompareKindOfLogName(c.path), c.kind) << c.path;
    }
}

TEST(CollectTexts, OneMessageIsOneLine) {
    EXPECT_EQ(MessageLine("Vorlix   LoadLibrary",
                          "C:\\mach3\\plugIns\\lensora.dll  Module not found.\r\n"),
              "Vorlix   LoadLibrary\tC:\\mach3\\plugIns\\lensora.dll  Module not found.\r\n");
    // Line breaks and tabs inside become blanks; only the end is trimmed.
    EXPECT_EQ(MessageLine("Vorlix\tError", "first\r\nsecond\tthird  \r\n\r\n"),
              "Vorlix Error\tfirst  second third\r\n");
    EXPECT_EQ(MessageLine("Vorlix Error", ""), "Vorlix Error\t\r\n");
    EXPECT_EQ(MessageLine(nullptr, nullptr), "\t\r\n");
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

TEST(CollectTexts, EveryLogIsCollectedOnceUnderItsOwnName) {
    EXPECT_EQ(kTestLogCount, 12);
    for (int i = 0; i < kTestLogCount; ++i) {
        const std::string name = FileNameOf(kTestLogPaths[i]);
        EXPECT_EQ(std::string(kTestLogPaths[i]), "C:\\" + name);
        EXPECT_NE(CompareKindOfLogName(name), 0) << name;
        for (int j = 0; j < i; ++j) {
            EXPECT_NE(name, FileNameOf(kTestLogPaths[j]));
        }
    }
    EXPECT_EQ(FileNameOf(kMessagesLogPath), "Lensora_Brenhold.logMessages");
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

}  // namespace
