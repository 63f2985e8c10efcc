// The manifest of a support bundle: its exact bytes, and a reader that takes what an
// editor or a mail program may make of them but nothing that is not a manifest.
#include <gtest/gtest.h>

#include <string>

#include "report/collect_manifest.h"

namespace {

const char kWritten[] =
    "Vorlix manifest\r\n"
    "Program\tVorlix V1.05\r\n"
    "Run\t09.12.2026 02:31 12\r\n"
    "Windows\tWindows 7\r\n"
    "Exit code\t1\r\n"
    "File\tLensora_Brenhold.logAnalyzeSystemData\t1883\r\n"
    "File\tLensora_Brenhold.logMessages\t0\r\n";

CollectManifest Example() {
    CollectManifest manifest;
    manifest.program = "Vorlix V1.05";
    manifest.run = "09.12.2026 02:31 12";
    manifest.windows = "Windows 7";
    manifest.exitCode = 1;
    manifest.files = {{"Lensora_Brenhold.logAnalyzeSystemData", 1883},
                      {"Lensora_Brenhold.logMessages", 0}};
    return manifest;
}

void ExpectSame(const CollectManifest& read, const CollectManifest& expected) {
    EXPECT_EQ(read.program, expected.program);
    EXPECT_EQ(read.run, expected.run);
    EXPECT_EQ(read.windows, expected.windows);
    EXPECT_EQ(read.exitCode, expected.exitCode);
    ASSERT_EQ(read.files.size(), expected.files.size());
    for (size_t i = 0; i < read.files.size(); ++i) {
        EXPECT_EQ(read.files[i].name, expected.files[i].name) << i;
        EXPECT_EQ(read.files[i].size, expected.files[i].size) << i;
    }
}

TEST(CollectManifest, IsWrittenLineByLineWithTabsAndCrLf) {
    EXPECT_EQ(FormatManifest(Example()), kWritten);

    CollectManifest unknown = Example();
    unknown.windows = "";
    unknown.exitCode = 0;
    unknown.files.clear();
    // A tab inside a field would make two fields of it.
    unknown.program = "Vorlix\tV1.05\r\n";
    EXPECT_EQ(FormatManifest(unknown),
              "Vorlix manifest\r\nProgram\tVorlix V1.05  \r\nRun\t09.12.2026 02:31 12\r\n"
              "Windows\t\r\nExit code\t0\r\n");
}

TEST(CollectManifest, ReadsWhatItWritesAndWhatEditorsMakeOfIt) {
    const std::string written = kWritten;
    std::string lfOnly;
    for (char c : written) {
        if (c != '\r') {
            lfOnly.push_back(c);
        }
    }
    std::string blanksAtLineEnds = written;
    for (size_t at = blanksAtLineEnds.find("\r\n"); at != std::string::npos;
         at = blanksAtLineEnds.find("\r\n", at + 4)) {
        blanksAtLineEnds.insert(at, "  ");
    }
    const struct {
        const char* label;
        std::string bytes;
    } cases[] = {
        {"as written", written},
        {"LF only", lfOnly},
        {"blanks at line ends", blanksAtLineEnds},
        {"UTF-8 byte-order mark", "\xEF\xBB\xBF" + written},
        {"empty lines at the end", written + "\r\n\n"},
        {"no line end at the end", written.substr(0, written.size() - 2)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        CollectManifest read;
        ASSERT_TRUE(ParseManifest(c.bytes, &read));
        ExpectSame(read, Example());
    }
    CollectManifest read;
    ASSERT_TRUE(
        ParseManifest("Vorlix manifest\nProgram\tVorlix V1.05\nRun\t01.01.2027 00:00 "
                      "00\nWindows\t\nExit code\t0\nFile\tbig\t18446744073709551615\n",
                      &read));
    EXPECT_EQ(read.windows, "");
    EXPECT_EQ(read.exitCode, 0);
    ASSERT_EQ(read.files.size(), 1u);
    EXPECT_EQ(read.files[0].size, 18446744073709551615ull);
}

TEST(CollectManifest, RefusesWhatIsNoManifest) {
    const std::string head =
        "Vorlix manifest\r\nProgram\tVorlix V1.05\r\nRun\t09.12.2026 02:31 12\r\n"
        "Windows\tWindows 7\r\nExit code\t1\r\n";
    const struct {
        const char* label;
        std::string bytes;
    } cases[] = {
        {"empty", ""},
        {"a log", "09.12.2026 02:31 12\r\nMemory (RAM)  2048 MB\r\n"},
        {"title only", "Vorlix manifest\r\n"},
        {"another title", "Vorlix Manifest" + head.substr(15)},
        {"no program", "Vorlix manifest\r\nProgram\t\r\n" + head.substr(head.find("Run"))},
        {"lines swapped",
         "Vorlix manifest\r\nRun\t09.12.2026 02:31 12\r\nProgram\tVorlix\r\n"
         "Windows\t\r\nExit code\t1\r\n"},
        {"timestamp with colon seconds",
         "Vorlix manifest\r\nProgram\tV\r\nRun\t09.12.2026 "
         "02:31:12\r\nWindows\t\r\nExit code\t1\r\n"},
        {"one-digit day",
         "Vorlix manifest\r\nProgram\tV\r\nRun\t9.12.2026 02:31 12\r\n"
         "Windows\t\r\nExit code\t1\r\n"},
        {"exit code 2", head.substr(0, head.size() - 3) + "2\r\n"},
        {"exit code empty", head.substr(0, head.size() - 3) + "\r\n"},
        {"size not a number", head + "File\ta.log\t12a\r\n"},
        {"size negative", head + "File\ta.log\t-1\r\n"},
        {"size too big", head + "File\ta.log\t18446744073709551616\r\n"},
        {"no size", head + "File\ta.log\r\n"},
        {"a field too many", head + "File\ta.log\t1\t2\r\n"},
        {"empty name", head + "File\t\t1\r\n"},
        {"name with a backslash", head + "File\t..\\boot.ini\t1\r\n"},
        {"name with a slash", head + "File\tsub/a.log\t1\r\n"},
        {"name with a drive", head + "File\tC:a.log\t1\r\n"},
        {"parent folder", head + "File\t..\t1\r\n"},
        {"same name twice", head + "File\tA.log\t1\r\nFile\ta.LOG\t2\r\n"},
        {"unknown line", head + "Note\tnothing\r\n"},
        {"empty line inside", head + "\r\nFile\ta.log\t1\r\n"},
    };
    for (const auto& c : cases) {
        CollectManifest read;
        EXPECT_FALSE(ParseManifest(c.bytes, &read)) << c.label;
    }
}

}  // namespace
