// The plug-in settings section on a real settings key under HKEY_CURRENT_USER.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>

#include "analysis/analysis_sections_win.h"
#include "report/report_list_win.h"
#include "tests/win/registry_section_support.h"

namespace {

const char kSettingsKey[] = "Software\\Brenhold-Soft\\Mach3Lensora";
const char kSettingsLog[] = "C:\\Lensora_Brenhold.logAnalyzeSettings";
const char kFaceName[] = "Lensora Font face name";

struct ExpectedSetting {
    const char* name;
    DWORD type;
    const char* shown;  // the Value text of a setting that holds its default
};

// Every setting with its default, in walk order.
const ExpectedSetting kExpectedSettings[] = {
    {"Lensora Offset X", REG_BINARY, "0.000"},
    {"Lensora Offset Y", REG_BINARY, "0.000"},
    {"Lensora Offset X add", REG_DWORD, "0"},
    {"Lensora Offset Y add", REG_DWORD, "0"},
    {"Lensora F speed", REG_DWORD, "10"},
    {"Lensora Color value red circle", REG_DWORD, "255"},
    {"Lensora Color value green circle", REG_DWORD, "0"},
    {"Lensora Color value blue circle", REG_DWORD, "0"},
    {"Lensora circle Diameter", REG_DWORD, "50"},
    {"Lensora Color value red crosshair", REG_DWORD, "255"},
    {"Lensora Color value green crosshair", REG_DWORD, "0"},
    {"Lensora Color value blue crosshair", REG_DWORD, "0"},
    {"Lensora Color value red rectangle", REG_DWORD, "0"},
    {"Lensora Color value green rectangle", REG_DWORD, "255"},
    {"Lensora Color value blue rectangle", REG_DWORD, "0"},
    {"Lensora Rectangle width", REG_DWORD, "20"},
    {"Lensora Rectangle height", REG_DWORD, "20"},
    {"Lensora Rectangle pen style", REG_DWORD, "0"},
    {"Lensora Rectangle On", REG_DWORD, "0"},
    {"Lensora Rectangle X size equals Y size", REG_DWORD, "0"},
    {"Lensora Show warning", REG_DWORD, "1"},
    {"Lensora Framerate", REG_DWORD, "1"},
    {"Lensora Keep focus on Mach3 after Cammera is startet by macro", REG_DWORD, "0"},
    {"Lensora No system menu bar", REG_DWORD, "0"},
    {"Lensora Wnd frame camera left", REG_DWORD, "20"},
    {"Lensora Wnd frame camera top", REG_DWORD, "40"},
    {"Lensora Wnd camera width", REG_DWORD, "640"},
    {"Lensora Wnd frame camera height", REG_DWORD, "560"},
    {"Lensora Wnd view left", REG_DWORD, "0"},
    {"Lensora Wnd view top", REG_DWORD, "0"},
    {"Lensora Wnd view width", REG_DWORD, "640"},
    {"Lensora Wnd view height", REG_DWORD, "480"},
    {"Lensora Size view window relative", REG_DWORD, "0"},
    {"Lensora Crosshair gap", REG_DWORD, "10"},
    {"Lensora Crosshair on", REG_DWORD, "1"},
    {"Lensora Circle on", REG_DWORD, "1"},
    {"Lensora Show coords", REG_DWORD, "0"},
    {"Lensora Show pos of axis X", REG_DWORD, "0"},
    {"Lensora Show pos of axis Y", REG_DWORD, "0"},
    {"Lensora Show pos of axis Z", REG_DWORD, "0"},
    {"Lensora Show pos of axis A", REG_DWORD, "0"},
    {"Lensora Show pos of axis B", REG_DWORD, "0"},
    {"Lensora Show pos of axis C", REG_DWORD, "0"},
    {"Lensora Font height", REG_DWORD, "14"},
    {"Lensora Font width", REG_DWORD, "7"},
    {"Lensora Font escapement", REG_DWORD, "0"},
    {"Lensora Font orientation", REG_DWORD, "0"},
    {"Lensora Font weight", REG_DWORD, "400"},
    {"Lensora Font italic", REG_DWORD, "0"},
    {"Lensora Font underline", REG_DWORD, "0"},
    {"Lensora Font strikeout", REG_DWORD, "0"},
    {"Lensora Font charset", REG_DWORD, "0"},
    {"Lensora Font out precision", REG_DWORD, "0"},
    {"Lensora Font clip precision", REG_DWORD, "0"},
    {"Lensora Font quality", REG_DWORD, "0"},
    {"Lensora Font pitch and family", REG_DWORD, "48"},
    {"Lensora Font face name", REG_SZ, "Arial"},
    {"Lensora Remember window position", REG_DWORD, "0"},
    {"Lensora Camera on / off macro controlled", REG_DWORD, "0"},
    {"Lensora LED nmb camera ON", REG_DWORD, "1102"},
    {"Lensora LED nmb camera OFF", REG_DWORD, "1103"},
    {"Lensora LED nmb camera toggle", REG_DWORD, "1104"},
    {"Lensora Report Errors", REG_DWORD, "0"},
    {"Lensora Crosshair Scroll X", REG_DWORD, "640"},
    {"Lensora Crosshair Scroll Y", REG_DWORD, "480"},
    {"Lensora Crosshair scrolling enabled", REG_DWORD, "0"},
    {"Lensora Move order X", REG_DWORD, "1"},
    {"Lensora Move order Y", REG_DWORD, "2"},
    {"Lensora Language", REG_DWORD, "1"},
    {"Camera Index", REG_DWORD, "-1"},
};
constexpr std::size_t kSettingCount = sizeof kExpectedSettings / sizeof kExpectedSettings[0];

// The bytes a default is written with: 4 for a number, 8 zero bytes for a double, the text
// and its terminating zero for a string.
std::string DefaultBytes(const ExpectedSetting& setting) {
    if (setting.type == REG_SZ) {
        return std::string(setting.shown, std::strlen(setting.shown) + 1);
    }
    if (setting.type == REG_BINARY) {
        return std::string(8, '\0');
    }
    const long number = std::strtol(setting.shown, nullptr, 10);
    std::string bytes(4, '\0');
    for (int i = 0; i < 4; ++i) {
        bytes[i] = static_cast<char>((static_cast<unsigned long>(number) >> (8 * i)) & 0xFF);
    }
    return bytes;
}

std::string DoubleBytes(double value) {
    std::string bytes(8, '\0');
    std::memcpy(&bytes[0], &value, 8);
    return bytes;
}

FILETIME LastWriteTime(HKEY key) {
    FILETIME time = {};
    RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                     nullptr, nullptr, &time);
    return time;
}

bool SameTime(const FILETIME& a, const FILETIME& b) {
    return a.dwLowDateTime == b.dwLowDateTime && a.dwHighDateTime == b.dwHighDateTime;
}

std::size_t IndexOf(const char* name) {
    for (std::size_t i = 0; i < kSettingCount; ++i) {
        if (std::strcmp(kExpectedSettings[i].name, name) == 0) {
            return i;
        }
    }
    return kSettingCount;
}

// The rows and log lines that the settings hold, in walk order.
struct SettingsRun {
    int result;
    std::vector<std::vector<std::string>> rows;
    std::vector<std::string> logLines;
    int cursorRow;
};

SettingsRun RunSection() {
    ReportDialogUnderTest dialog(AnalysisSectionListProc, 0);
    SettingsRun run;
    run.result = RunSettingsSection();
    run.rows = SectionRows(dialog);
    run.logLines = SplitLogLines(ReadFileBytes(kSettingsLog));
    run.cursorRow = g_rowCursor.iItem;
    return run;
}

class SettingsSectionTest : public testing::Test {
protected:
    void SetUp() override {
        // Plug-in settings in the prefix are not the tests' to change; and they are not
        // the bare prefix these tests expect.
        ASSERT_FALSE(KeyExists(HKEY_CURRENT_USER, kSettingsKey))
            << "HKCU\\" << kSettingsKey
            << " exists: an earlier test run that ended part way may have left it; delete it from "
               "the prefix";
        RemoveFile(kSettingsLog);
    }
    void TearDown() override { RemoveFile(kSettingsLog); }

    // Every setting listed with the value text of `shown` (default when not named there),
    // in the list and in the log.
    void ExpectListed(const SettingsRun& run, const std::vector<std::string>& shown) {
        ASSERT_EQ(run.rows.size(), kSettingCount);
        ASSERT_EQ(run.logLines.size(), kSettingCount + 1);
        EXPECT_TRUE(LooksLikeTimestamp(run.logLines[0])) << run.logLines[0];
        for (std::size_t i = 0; i < kSettingCount; ++i) {
            const std::string name = kExpectedSettings[i].name;
            EXPECT_EQ(run.rows[i], (std::vector<std::string>{name, shown[i], ""})) << i;
            EXPECT_EQ(run.logLines[i + 1], PaddedName(name) + shown[i]) << i;
        }
        EXPECT_EQ(run.cursorRow, static_cast<int>(kSettingCount));
    }

    std::vector<std::string> Defaults() const {
        std::vector<std::string> shown;
        for (const ExpectedSetting& setting : kExpectedSettings) {
            shown.push_back(setting.shown);
        }
        return shown;
    }

    MessageBoxRecorder boxes_;
};

TEST_F(SettingsSectionTest, MissingKeyGivesOneMessageNoRowsAndLeavesTheOldLog) {
    const std::string oldLog = "01.02.2020 03:04 05\r\n" + PaddedName("Lensora F speed") + "10\r\n";
    WriteFileBytes(kSettingsLog, oldLog);
    const SettingsRun run = RunSection();
    EXPECT_EQ(run.result, 0);
    ASSERT_EQ(boxes_.Boxes().size(), 1u);
    EXPECT_EQ(boxes_.Boxes()[0].text, "Plugin not installed, or not at least started once");
    EXPECT_EQ(boxes_.Boxes()[0].subject, "HKCU\\Software\\Brenhold-Soft\\Mach3Lensora");
    EXPECT_EQ(boxes_.Boxes()[0].caption, "Vorlix Error");
    EXPECT_EQ(boxes_.Boxes()[0].owner, nullptr);
    EXPECT_EQ(boxes_.Boxes()[0].style, static_cast<UINT>(MB_TASKMODAL | MB_ICONERROR));
    EXPECT_TRUE(run.rows.empty());
    EXPECT_EQ(run.cursorRow, 0);
    EXPECT_EQ(ReadFileBytes(kSettingsLog), oldLog);
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, kSettingsKey));
}

TEST_F(SettingsSectionTest, EmptyKeyGetsEveryDefaultWrittenAndListedThenNothingMore) {
    TemporaryKey key(HKEY_CURRENT_USER, kSettingsKey);
    ASSERT_TRUE(key.Valid());
    const SettingsRun first = RunSection();
    EXPECT_EQ(first.result, 1);
    EXPECT_TRUE(boxes_.Boxes().empty());
    ExpectListed(first, Defaults());
    EXPECT_EQ(ReadFileBytes(kSettingsLog).substr(ReadFileBytes(kSettingsLog).size() - 2), "\r\n");

    EXPECT_EQ(key.ValueCount(), kSettingCount);
    for (const ExpectedSetting& setting : kExpectedSettings) {
        DWORD type = 0;
        std::string bytes;
        ASSERT_TRUE(key.Read(setting.name, &type, &bytes)) << setting.name;
        EXPECT_EQ(type, setting.type) << setting.name;
        EXPECT_EQ(bytes, DefaultBytes(setting)) << setting.name;
    }
    DWORD type = 0;
    std::string bytes;
    ASSERT_TRUE(key.Read("Camera Index", &type, &bytes));
    EXPECT_EQ(bytes, std::string(4, '\xFF'));
    ASSERT_TRUE(key.Read(kFaceName, &type, &bytes));
    EXPECT_EQ(bytes, std::string("Arial", 6));

    // A second run finds every value: it lists what is stored and writes nothing.
    const FILETIME afterFirstRun = LastWriteTime(key.Get());
    Sleep(50);
    ASSERT_EQ(key.SetDword("Lensora F speed", 33), ERROR_SUCCESS);
    const FILETIME beforeSecondRun = LastWriteTime(key.Get());
    ASSERT_FALSE(SameTime(afterFirstRun, beforeSecondRun)) << "the key's write time must move";
    Sleep(50);
    const SettingsRun second = RunSection();
    EXPECT_EQ(second.result, 1);
    EXPECT_TRUE(boxes_.Boxes().empty());
    std::vector<std::string> shown = Defaults();
    shown[IndexOf("Lensora F speed")] = "33";
    ExpectListed(second, shown);
    EXPECT_TRUE(SameTime(LastWriteTime(key.Get()), beforeSecondRun));
    EXPECT_EQ(key.ValueCount(), kSettingCount);
}

TEST_F(SettingsSectionTest, OnlyMissingValuesAreWrittenAndStoredOnesAreShown) {
    TemporaryKey key(HKEY_CURRENT_USER, kSettingsKey);
    ASSERT_TRUE(key.Valid());
    ASSERT_EQ(key.SetDword("Lensora F speed", 77), ERROR_SUCCESS);
    ASSERT_EQ(key.SetDword("Camera Index", 0xFFFFFFFE), ERROR_SUCCESS);
    ASSERT_EQ(key.SetBytes("Lensora Offset Y", REG_BINARY, DoubleBytes(-1.25)), ERROR_SUCCESS);
    ASSERT_EQ(key.SetText(kFaceName, "Courier New"), ERROR_SUCCESS);

    const SettingsRun run = RunSection();
    EXPECT_TRUE(boxes_.Boxes().empty());
    std::vector<std::string> shown = Defaults();
    shown[IndexOf("Lensora F speed")] = "77";
    shown[IndexOf("Camera Index")] = "-2";
    shown[IndexOf("Lensora Offset Y")] = "-1.250";
    shown[IndexOf(kFaceName)] = "Courier New";
    ExpectListed(run, shown);

    DWORD type = 0;
    std::string bytes;
    ASSERT_TRUE(key.Read("Lensora Offset Y", &type, &bytes));
    EXPECT_EQ(bytes, DoubleBytes(-1.25));
    ASSERT_TRUE(key.Read(kFaceName, &type, &bytes));
    EXPECT_EQ(bytes, std::string("Courier New", 12));
    EXPECT_EQ(key.ValueCount(), kSettingCount);
}

// The value buffers live for the whole process; a value stored shorter than its buffer must
// not show what an earlier run left in the rest of it.
TEST_F(SettingsSectionTest, FourBytesWhereADoubleBelongsShowNoBytesOfAnEarlierRun) {
    TemporaryKey key(HKEY_CURRENT_USER, kSettingsKey);
    ASSERT_TRUE(key.Valid());
    // 1.5 is 00 00 00 00 00 00 F8 3F: all of its weight lies in the upper four bytes.
    ASSERT_EQ(key.SetBytes("Lensora Offset X", REG_BINARY, DoubleBytes(1.5)), ERROR_SUCCESS);
    const SettingsRun first = RunSection();
    ASSERT_FALSE(first.rows.empty());
    EXPECT_EQ(first.rows[0][1], "1.500");

    ASSERT_EQ(key.SetDword("Lensora Offset X", 0), ERROR_SUCCESS);
    const SettingsRun second = RunSection();
    EXPECT_TRUE(boxes_.Boxes().empty());
    ASSERT_EQ(second.rows.size(), kSettingCount);
    EXPECT_EQ(second.rows[0], (std::vector<std::string>{"Lensora Offset X", "0.000", ""}));
    EXPECT_EQ(second.logLines[1], PaddedName("Lensora Offset X") + "0.000");
    // The stored value itself is left as it is: it is not missing.
    DWORD type = 0;
    std::string bytes;
    ASSERT_TRUE(key.Read("Lensora Offset X", &type, &bytes));
    EXPECT_EQ(type, static_cast<DWORD>(REG_DWORD));
    EXPECT_EQ(bytes, std::string(4, '\0'));
}

TEST_F(SettingsSectionTest, TextThatDoesNotFitIsRefusedWithTheSystemText) {
    const struct {
        std::size_t length;
        bool listed;
    } cases[] = {{127, true}, {128, false}, {300, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.length);
        TemporaryKey key(HKEY_CURRENT_USER, kSettingsKey);
        ASSERT_TRUE(key.Valid());
        const std::string text(c.length, 'W');
        ASSERT_EQ(key.SetText(kFaceName, text), ERROR_SUCCESS);
        boxes_.Clear();
        const SettingsRun run = RunSection();
        EXPECT_EQ(run.result, 1);
        const std::size_t face = IndexOf(kFaceName);
        if (c.listed) {
            EXPECT_TRUE(boxes_.Boxes().empty());
            ASSERT_EQ(run.rows.size(), kSettingCount);
            EXPECT_EQ(run.rows[face][1], text);
            EXPECT_EQ(run.logLines[face + 1], PaddedName(kFaceName) + text);
            continue;
        }
        ASSERT_EQ(boxes_.Boxes().size(), 1u);
        EXPECT_EQ(boxes_.Boxes()[0].text, SystemText(ERROR_MORE_DATA));
        EXPECT_EQ(boxes_.Boxes()[0].subject,
                  "HKCU\\Software\\Brenhold-Soft\\Mach3Lensora \"Lensora Font face name\"");
        EXPECT_EQ(boxes_.Boxes()[0].caption, "Vorlix Error");
        EXPECT_EQ(boxes_.Boxes()[0].owner, nullptr);
        EXPECT_EQ(boxes_.Boxes()[0].style, static_cast<UINT>(MB_TASKMODAL | MB_ICONERROR));
        // No row and no line for it; the next setting follows without a gap.
        ASSERT_EQ(run.rows.size(), kSettingCount - 1);
        ASSERT_EQ(run.logLines.size(), kSettingCount);
        EXPECT_EQ(run.rows[face - 1][0], kExpectedSettings[face - 1].name);
        EXPECT_EQ(run.rows[face][0], kExpectedSettings[face + 1].name);
        EXPECT_EQ(run.logLines[face + 1],
                  PaddedName(kExpectedSettings[face + 1].name) + kExpectedSettings[face + 1].shown);
        EXPECT_EQ(run.cursorRow, static_cast<int>(kSettingCount - 1));
        // The stored text is left as it is: it is not missing.
        DWORD type = 0;
        std::string bytes;
        ASSERT_TRUE(key.Read(kFaceName, &type, &bytes));
        EXPECT_EQ(bytes, std::string(text.c_str(), text.size() + 1));
    }
}

TEST_F(SettingsSectionTest, TextStoredWithoutItsZeroEndsWithinTheBytesRead) {
    TemporaryKey key(HKEY_CURRENT_USER, kSettingsKey);
    ASSERT_TRUE(key.Valid());
    // The setting after the face name holds "ABC" from this first run, so reading past the
    // face name's buffer would show it.
    ASSERT_EQ(key.SetDword("Lensora Remember window position", 0x00434241), ERROR_SUCCESS);
    ASSERT_EQ(key.SetText(kFaceName, "ABCDEFGHIJ"), ERROR_SUCCESS);
    const std::size_t face = IndexOf(kFaceName);
    ASSERT_EQ(RunSection().rows[face][1], "ABCDEFGHIJ");

    const std::string cases[] = {"Cour", std::string(128, 'X')};
    for (const std::string& text : cases) {
        SCOPED_TRACE(text.size());
        ASSERT_EQ(key.SetTextWithoutZero(kFaceName, text), ERROR_SUCCESS);
        DWORD type = 0;
        std::string stored;
        ASSERT_TRUE(key.Read(kFaceName, &type, &stored));
        ASSERT_EQ(stored, text) << "the value must be stored without its zero";
        const SettingsRun run = RunSection();
        EXPECT_TRUE(boxes_.Boxes().empty());
        ASSERT_EQ(run.rows.size(), kSettingCount);
        EXPECT_EQ(run.rows[face][1], text);
        EXPECT_EQ(run.logLines[face + 1], PaddedName(kFaceName) + text);
        EXPECT_EQ(run.rows[face + 1][1], "4407873");
    }
}

TEST_F(SettingsSectionTest, UnwritableLogEndsTheSectionBeforeAnyValueIsWritten) {
    TemporaryKey key(HKEY_CURRENT_USER, kSettingsKey);
    ASSERT_TRUE(key.Valid());
    WriteFileBytes(kSettingsLog, "old\r\n");
    SetFileAttributesA(kSettingsLog, FILE_ATTRIBUTE_READONLY);
    const SettingsRun run = RunSection();
    EXPECT_EQ(run.result, 1);
    ASSERT_EQ(boxes_.Boxes().size(), 1u);
    EXPECT_EQ(boxes_.Boxes()[0].caption, "Vorlix   CreateFile");
    EXPECT_EQ(boxes_.Boxes()[0].text, SystemText(ERROR_ACCESS_DENIED));
    EXPECT_TRUE(run.rows.empty());
    EXPECT_EQ(run.cursorRow, 0);
    EXPECT_EQ(key.ValueCount(), 0u);
    EXPECT_EQ(ReadFileBytes(kSettingsLog), "old\r\n");
}

}  // namespace
