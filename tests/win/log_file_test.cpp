// The log writer and reader on real files under C:\ of the test prefix.
#include <gtest/gtest.h>

#include "platform/shell_state_win.h"
#include "report/log_file_win.h"
#include "tests/win/test_support.h"

namespace {

const char kLog[] = "C:\\vorlix_test.logAnalyzeTest";

class LogFileTest : public testing::Test {
protected:
    void SetUp() override { RemoveFile(kLog); }
    void TearDown() override {
        CloseCurrentLog();
        RemoveFile(kLog);
    }
    MessageBoxRecorder boxes_;
};

TEST_F(LogFileTest, SectionLogStartsWithTheTimestampLineAndTruncatesOldContent) {
    WriteFileBytes(kLog, std::string(5000, 'o'));
    ASSERT_EQ(OpenSectionLog(kLog), 1);
    WriteLogField(90, "Version", false);
    WriteLogField(0, "Mach3 Lensora 1.2", true);
    CloseCurrentLog();

    const std::vector<std::string> lines = SplitLogLines(ReadFileBytes(kLog));
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_TRUE(LooksLikeTimestamp(lines[0])) << lines[0];
    EXPECT_EQ(lines[1], "Version" + std::string(83, ' ') + "Mach3 Lensora 1.2");
    EXPECT_EQ(ReadFileBytes(kLog).size(), 21u + 90 + 17 + 2);
    EXPECT_TRUE(boxes_.Boxes().empty());
}

TEST_F(LogFileTest, ReadOnlySectionLogIsRefusedWithTheSystemText) {
    WriteFileBytes(kLog, "old\r\n");
    SetFileAttributesA(kLog, FILE_ATTRIBUTE_READONLY);
    EXPECT_EQ(OpenSectionLog(kLog), 0);
    ASSERT_EQ(boxes_.Boxes().size(), 1u);
    EXPECT_EQ(boxes_.Boxes()[0].caption, "Vorlix   CreateFile");
    EXPECT_EQ(boxes_.Boxes()[0].text, SystemText(ERROR_ACCESS_DENIED));
    EXPECT_EQ(boxes_.Boxes()[0].subject, kLog);
    EXPECT_EQ(boxes_.Boxes()[0].style, static_cast<UINT>(MB_TASKMODAL | MB_ICONERROR));
    EXPECT_EQ(boxes_.Boxes()[0].owner, nullptr);
    EXPECT_EQ(g_currentLogFile.Get(), INVALID_HANDLE_VALUE);
    EXPECT_EQ(ReadFileBytes(kLog), "old\r\n");
}

TEST_F(LogFileTest, AnOpenLogCannotBeOpenedASecondTime) {
    ASSERT_EQ(OpenSectionLog(kLog), 1);
    HANDLE second = nullptr;
    EXPECT_EQ(OpenExistingLog(kLog, &second), 0);
    EXPECT_EQ(second, INVALID_HANDLE_VALUE);
    ASSERT_EQ(boxes_.Boxes().size(), 1u);
    EXPECT_EQ(boxes_.Boxes()[0].caption, "CreateFile");
    EXPECT_EQ(boxes_.Boxes()[0].text, SystemText(ERROR_SHARING_VIOLATION));
    EXPECT_EQ(boxes_.Boxes()[0].style, static_cast<UINT>(MB_TASKMODAL | MB_ICONINFORMATION));
}

TEST_F(LogFileTest, OpenExistingLogOpensAtTheStartAndRefusesMissingFiles) {
    WriteFileBytes(kLog, "abc\r\n");
    HANDLE file = INVALID_HANDLE_VALUE;
    ASSERT_EQ(OpenExistingLog(kLog, &file), 1);
    EXPECT_EQ(SetFilePointer(file, 0, nullptr, FILE_CURRENT), 0u);
    CloseHandle(file);

    EXPECT_EQ(OpenExistingLog("C:\\no_such_vorlix.log", &file), 0);
    ASSERT_EQ(boxes_.Boxes().size(), 1u);
    EXPECT_EQ(boxes_.Boxes()[0].text, SystemText(ERROR_FILE_NOT_FOUND));
}

TEST_F(LogFileTest, AFailedWriteIsShownOnceAndClosesTheLogOnce) {
    WriteFileBytes(kLog, "");
    // A handle without write access makes every write fail.
    g_currentLogFile.Reset(CreateFileA(kLog, GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_NE(g_currentLogFile.Get(), INVALID_HANDLE_VALUE);
    EXPECT_EQ(WriteLogField(90, "first", false), 0);
    EXPECT_EQ(g_currentLogFile.Get(), INVALID_HANDLE_VALUE);
    EXPECT_EQ(WriteLogField(0, "second", true), 0);
    CloseCurrentLog();
    ASSERT_EQ(boxes_.Boxes().size(), 1u);
    EXPECT_EQ(boxes_.Boxes()[0].caption, "Vorlix   WriteFile");
    EXPECT_EQ(boxes_.Boxes()[0].text, SystemText(ERROR_ACCESS_DENIED));
    // The file can be opened again: nothing holds it.
    HANDLE file = INVALID_HANDLE_VALUE;
    ASSERT_EQ(OpenExistingLog(kLog, &file), 1);
    CloseHandle(file);
}

TEST_F(LogFileTest, AnOverflowingFieldIsWrittenWithoutPaddingAndWarned) {
    ASSERT_EQ(OpenSectionLog(kLog), 1);
    const std::string ninety(90, 'n');
    EXPECT_EQ(WriteLogField(90, ninety.c_str(), false), 1);
    EXPECT_EQ(WriteLogField(0, "found", true), 1);
    CloseCurrentLog();
    ASSERT_EQ(boxes_.Boxes().size(), 1u);
    EXPECT_EQ(boxes_.Boxes()[0].caption, "Vorlix Error");
    EXPECT_EQ(boxes_.Boxes()[0].text, "BLANK_TAB < len");
    // Which text of which log, for the collect run's messages log.
    EXPECT_EQ(boxes_.Boxes()[0].subject, std::string(kLog) + " \"" + ninety + "\"");
    EXPECT_EQ(boxes_.Boxes()[0].style, static_cast<UINT>(MB_TASKMODAL | MB_ICONWARNING));
    EXPECT_EQ(SplitLogLines(ReadFileBytes(kLog))[1], ninety + "found");
}

TEST_F(LogFileTest, ReaderLeavesCounterAndFilePositionAtTheNextField) {
    const std::string bytes =
        "07.12.2026 15:33 40\r\nabc" + std::string(87, ' ') + "def\r\nghi\r\n";
    WriteFileBytes(kLog, bytes);
    HANDLE file = INVALID_HANDLE_VALUE;
    ASSERT_EQ(OpenExistingLog(kLog, &file), 1);
    char field[kLogFieldBufferSize];
    int64_t position = 0;
    const char* expected[] = {"07.12.2026 15:33 40", "abc", "def", "ghi"};
    const int64_t positions[] = {21, 111, 116, 121};
    for (int i = 0; i < 4; ++i) {
        ASSERT_EQ(ReadLogField(&position, file, field), 1);
        EXPECT_STREQ(field, expected[i]);
        EXPECT_EQ(position, positions[i]);
        EXPECT_EQ(SetFilePointer(file, 0, nullptr, FILE_CURRENT), static_cast<DWORD>(position));
    }
    CloseHandle(file);
}

TEST_F(LogFileTest, ReaderRefusesAFieldOfMoreThan512Characters) {
    WriteFileBytes(kLog, std::string(512, 'a') + "\r\n" + std::string(513, 'b') + "\r\n");
    HANDLE file = INVALID_HANDLE_VALUE;
    ASSERT_EQ(OpenExistingLog(kLog, &file), 1);
    char field[kLogFieldBufferSize];
    int64_t position = 0;
    ASSERT_EQ(ReadLogField(&position, file, field), 1);
    EXPECT_EQ(std::string(field), std::string(512, 'a'));
    EXPECT_TRUE(boxes_.Boxes().empty());
    EXPECT_EQ(ReadLogField(&position, file, field), 0);
    EXPECT_EQ(position, 514 + 513);
    EXPECT_EQ(SetFilePointer(file, 0, nullptr, FILE_CURRENT), static_cast<DWORD>(position));
    CloseHandle(file);
    ASSERT_EQ(boxes_.Boxes().size(), 1u);
    EXPECT_EQ(boxes_.Boxes()[0].caption, "Vorlix Error");
    EXPECT_EQ(boxes_.Boxes()[0].text, "String buffer too small");
    EXPECT_EQ(boxes_.Boxes()[0].style, static_cast<UINT>(MB_ICONERROR));
    EXPECT_EQ(boxes_.Boxes()[0].owner, g_mainWindow);
}

TEST_F(LogFileTest, ReaderEndsOnTruncatedAndHugeInput) {
    const std::string cases[] = {
        "",
        "no line end",
        std::string(100000, 'x'),
        std::string(100000, ' ') + "x",
        "abc" + std::string(300, ' '),
    };
    for (const std::string& bytes : cases) {
        WriteFileBytes(kLog, bytes);
        HANDLE file = INVALID_HANDLE_VALUE;
        ASSERT_EQ(OpenExistingLog(kLog, &file), 1);
        char field[kLogFieldBufferSize + 1];
        field[kLogFieldBufferSize] = '#';
        int64_t position = 0;
        int reads = 0;
        while (position < static_cast<int64_t>(bytes.size()) && reads < 10) {
            if (!ReadLogField(&position, file, field)) {
                break;
            }
            ++reads;
        }
        EXPECT_LE(reads, 2) << bytes.size();
        EXPECT_EQ(field[kLogFieldBufferSize], '#');
        CloseHandle(file);
    }
}

}  // namespace
