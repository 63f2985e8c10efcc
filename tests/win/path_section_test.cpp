// The PATH section with the PATH variable of the test process set for each case.
#include <gtest/gtest.h>

#include <memory>

#include "analysis/analysis_sections_win.h"
#include "platform/shell_state_win.h"
#include "report/report_list_win.h"
#include "tests/win/registry_section_support.h"
#include "tests/win/test_support.h"

namespace {

const char kPathLog[] = "C:\\Lensora_Brenhold.logAnalyzePATH";

struct PathRun {
    int result;
    std::vector<std::vector<std::string>> rows;
    std::vector<std::string> logLines;
    std::vector<TimedBox> boxes;
    HWND dialog;
};

// Runs the section with the dialog as the main window, then puts the main window back.
PathRun RunSectionNow() {
    ReportDialogUnderTest dialog(AnalysisSectionListProc, 0);
    const HWND mainWindow = g_mainWindow;
    g_mainWindow = dialog.Dialog();
    TimedBoxRecorder boxes(dialog.List());
    PathRun run;
    run.result = RunPathSection();
    g_mainWindow = mainWindow;
    run.rows = SectionRows(dialog);
    run.logLines = SplitLogLines(ReadFileBytes(kPathLog));
    run.boxes = boxes.Boxes();
    run.dialog = dialog.Dialog();
    return run;
}

// Runs the section with PATH set to `value` (nullptr: no PATH at all), then restores PATH.
PathRun RunWithPath(const char* value) {
    ScopedEnvironmentVariable path("PATH", value);
    EXPECT_TRUE(path.Applied());
    return RunSectionNow();
}

void ExpectRefused(const PathRun& run, const char* message) {
    EXPECT_EQ(run.result, 0);
    ASSERT_EQ(run.boxes.size(), 1u);
    EXPECT_EQ(run.boxes[0].box.text, message);
    EXPECT_EQ(run.boxes[0].box.caption, "Vorlix Error");
    EXPECT_EQ(run.boxes[0].box.owner, run.dialog);
    EXPECT_EQ(run.boxes[0].box.style, static_cast<UINT>(MB_TASKMODAL | MB_ICONERROR));
    EXPECT_TRUE(run.rows.empty());
    ASSERT_EQ(run.logLines.size(), 1u);
    EXPECT_TRUE(LooksLikeTimestamp(run.logLines[0]));
}

std::vector<std::string> EntryRow(const std::string& entry) {
    return {entry, "PATH", ""};
}

class PathSectionTest : public testing::Test {
protected:
    void SetUp() override { RemoveFile(kPathLog); }
    void TearDown() override { RemoveFile(kPathLog); }
};

TEST_F(PathSectionTest, EntriesAreSplitAtEverySemicolon) {
    const struct {
        const char* value;
        std::vector<std::string> entries;
    } cases[] = {
        {"C:\\A;;C:\\B;", {"C:\\A", "", "C:\\B"}},
        {";C:\\Windows", {"", "C:\\Windows"}},
        {"C:\\Windows", {"C:\\Windows"}},
        {"C:\\Program Files\\Vorlix;C:\\Pr\xF6gramme",
         {"C:\\Program Files\\Vorlix", "C:\\Pr\xF6gramme"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.value);
        const PathRun run = RunWithPath(c.value);
        EXPECT_EQ(run.result, 1);
        EXPECT_TRUE(run.boxes.empty());
        ASSERT_EQ(run.rows.size(), c.entries.size());
        ASSERT_EQ(run.logLines.size(), c.entries.size() + 2);
        EXPECT_TRUE(LooksLikeTimestamp(run.logLines[0]));
        EXPECT_EQ(run.logLines[1], c.value);
        for (std::size_t i = 0; i < c.entries.size(); ++i) {
            EXPECT_EQ(run.rows[i], EntryRow(c.entries[i])) << i;
            EXPECT_EQ(run.logLines[i + 2], PaddedName(c.entries[i]) + "PATH") << i;
        }
    }
}

TEST_F(PathSectionTest, ControlCharacterWarnsWhileItsEntryIsCollectedAndStaysInIt) {
    const PathRun run = RunWithPath("C:\\A;C:\\B\tC;C:\\D\x1F");
    EXPECT_EQ(run.result, 1);
    ASSERT_EQ(run.boxes.size(), 2u);
    EXPECT_EQ(run.boxes[0].box.text, "09");
    EXPECT_EQ(run.boxes[0].box.subject, "PATH entry \"C:\\B\tC\"");
    EXPECT_EQ(run.boxes[0].box.caption, "Vorlix Error");
    EXPECT_EQ(run.boxes[0].box.owner, nullptr);
    EXPECT_EQ(run.boxes[0].box.style, static_cast<UINT>(MB_ICONERROR));
    // Shown after the row of C:\A (the list then holds the header and that row).
    EXPECT_EQ(run.boxes[0].rowsAtThatTime, 2);
    EXPECT_EQ(run.boxes[1].box.text, "01f");
    EXPECT_EQ(run.boxes[1].box.subject, "PATH entry \"C:\\D\x1F\"");
    EXPECT_EQ(run.boxes[1].rowsAtThatTime, 3);
    ASSERT_EQ(run.rows.size(), 3u);
    EXPECT_EQ(run.rows[1], EntryRow("C:\\B\tC"));
    EXPECT_EQ(run.rows[2], EntryRow("C:\\D\x1F"));
    ASSERT_EQ(run.logLines.size(), 5u);
    EXPECT_EQ(run.logLines[3], PaddedName("C:\\B\tC") + "PATH");
}

TEST_F(PathSectionTest, LongEntryIsListedWhole) {
    const std::string entry = "C:\\" + std::string(297, 'e');
    ASSERT_EQ(entry.size(), 300u);
    const std::string value = "C:\\A;" + entry + ";C:\\B";
    const PathRun run = RunWithPath(value.c_str());
    EXPECT_EQ(run.result, 1);
    ASSERT_EQ(run.rows.size(), 3u);
    EXPECT_EQ(run.rows[1], EntryRow(entry));
    EXPECT_EQ(run.rows[2], EntryRow("C:\\B"));
    ASSERT_EQ(run.logLines.size(), 5u);
    EXPECT_EQ(run.logLines[1], value);
    // Too long for its field: written without padding, and the writer warns.
    EXPECT_EQ(run.logLines[3], entry + "PATH");
    ASSERT_EQ(run.boxes.size(), 1u);
    EXPECT_EQ(run.boxes[0].box.text, "BLANK_TAB < len");
    EXPECT_EQ(run.boxes[0].box.style, static_cast<UINT>(MB_TASKMODAL | MB_ICONWARNING));
}

TEST_F(PathSectionTest, ValueOf32766CharactersIsListedWhole) {
    std::string value;
    std::vector<std::string> entries;
    for (int i = 0; value.size() < 32766; ++i) {
        std::string entry = "C:\\Folder" + std::to_string(i) + "\\" + std::string(60, 'p');
        entry.resize(std::min(entry.size(), 32766 - value.size()));
        value += entry;
        entries.push_back(entry);
        if (value.size() < 32766) {
            value += ';';
        }
    }
    ASSERT_EQ(value.size(), 32766u);
    ASSERT_NE(value.back(), ';');
    const PathRun run = RunWithPath(value.c_str());
    EXPECT_EQ(run.result, 1);
    EXPECT_TRUE(run.boxes.empty());
    ASSERT_EQ(run.logLines.size(), entries.size() + 2);
    EXPECT_EQ(run.logLines[1], value);
    ASSERT_EQ(run.rows.size(), entries.size());
    EXPECT_EQ(run.rows.front(), EntryRow(entries.front()));
    EXPECT_EQ(run.rows.back(), EntryRow(entries.back()));
    EXPECT_EQ(run.logLines.back(), PaddedName(entries.back()) + "PATH");
}

TEST_F(PathSectionTest, EmptyOrMissingValueEndsWithOneMessageAndATimestampOnlyLog) {
    const struct {
        const char* label;
        const char* value;
    } cases[] = {{"empty", ""}, {"missing", nullptr}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        WriteFileBytes(kPathLog, "old PATH log\r\n");
        ExpectRefused(RunWithPath(c.value), "Path Variable empty!");
    }
}

// Windows answers a query whose buffer cannot hold the value and its zero with the size it
// needs, zero included, and leaves the buffer alone: 32768 for a value of 32767 characters.
// Wine cannot hold such a value (it keeps 32766 characters of it and reports those with
// success), so under Wine the section's query gets the answer Windows gives.
DWORD WINAPI QueryOfA32767CharacterValue(LPCSTR, LPSTR, DWORD) {
    return 32768;
}

TEST_F(PathSectionTest, ValueOf32767CharactersIsTooBig) {
    ScopedEnvironmentVariable path("PATH", "C:\\Windows");
    std::unique_ptr<ImportPatch> query;
    if (RunningUnderWine()) {
        query.reset(new ImportPatch("kernel32.dll", "GetEnvironmentVariableA",
                                    reinterpret_cast<void*>(&QueryOfA32767CharacterValue)));
        ASSERT_TRUE(query->Active());
    } else {
        // An ANSI value of this length cannot be set at all; the wide setter can.
        ASSERT_TRUE(SetEnvironmentVariableW(L"PATH", std::wstring(32767, L'x').c_str()));
    }
    ExpectRefused(RunSectionNow(), "Path Variable too big");
}

}  // namespace
