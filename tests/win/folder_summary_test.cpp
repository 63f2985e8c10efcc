// The summary of two folders of collected logs in its window, on logs written
// by the program's own writer.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "compare/folder_summary_win.h"
#include "platform/handles_win.h"
#include "report/collect_manifest.h"
#include "report/log_file_win.h"
#include "res/resource.h"
#include "tests/win/test_support.h"

namespace {

const char kGood[] = "C:\\vorlix_summary_good";
const char kBad[] = "C:\\vorlix_summary_bad";

std::string In(const char* folder, const char* name) {
    return std::string(folder) + "\\" + name;
}

void WriteLog(const std::string& path, const std::vector<std::vector<std::string>>& lines,
              const std::vector<int>& widths) {
    ASSERT_EQ(OpenSectionLog(path.c_str()), 1);
    for (const auto& line : lines) {
        for (size_t i = 0; i < line.size(); ++i) {
            const bool last = i + 1 == line.size();
            WriteLogField(last ? 0 : widths[i], line[i].c_str(), last);
        }
    }
    CloseCurrentLog();
}

std::vector<std::vector<std::string>> Services(const char* spoolerState) {
    return {{"Print Spooler", "Spooler", "Win32_OWN_PROCESS", spoolerState},
            {"Windows Time", "W32Time", "WIN32_SHARE_PROCESS", "Service Stopped"}};
}

const char* const kFiles[] = {"Lensora_Brenhold.logAnalyzePATH", "Lensora_Brenhold.logDlls",
                              "Lensora_Brenhold.logServices", "Lensora_Brenhold.logMessages",
                              "manifest.txt"};

class FolderSummaryTest : public testing::Test {
protected:
    void SetUp() override {
        for (const char* folder : {kGood, kBad}) {
            Clear(folder);
            CreateDirectoryA(folder, nullptr);
        }
        const std::vector<int> serviceWidths = {90, 60, 25};
        WriteLog(In(kGood, "Lensora_Brenhold.logServices"), Services("Service Running"),
                 serviceWidths);
        WriteLog(In(kBad, "Lensora_Brenhold.logServices"), Services("Service Stopped"),
                 serviceWidths);
        WriteLog(In(kGood, "Lensora_Brenhold.logDlls"), {{"Config", "found"}, {"Stop", "found"}},
                 {30});
        // Left by an earlier run: the manifest of this one does not list it.
        WriteLog(In(kGood, "Lensora_Brenhold.logAnalyzePATH"), {{"C:\\windows", "PATH"}}, {90});
        const std::string message = "Vorlix Error\tHKCU\\Software  Plugin not installed\r\n";
        WriteFileBytes(In(kGood, "Lensora_Brenhold.logMessages"), message);
        WriteFileBytes(In(kBad, "Lensora_Brenhold.logMessages"), message);
        CollectManifest manifest;
        manifest.program = "Vorlix V1.05";
        manifest.run = "09.12.2026 14:03 27";
        for (const char* name : {"Lensora_Brenhold.logDlls", "Lensora_Brenhold.logServices",
                                 "Lensora_Brenhold.logMessages"}) {
            manifest.files.push_back({name, ReadFileBytes(In(kGood, name)).size()});
        }
        WriteFileBytes(In(kGood, "manifest.txt"), FormatManifest(manifest));
    }
    void TearDown() override {
        Clear(kGood);
        Clear(kBad);
    }
    static void Clear(const char* folder) {
        for (const char* name : kFiles) {
            RemoveFile(In(folder, name));
        }
        RemoveDirectoryA(folder);
    }
    MessageBoxRecorder boxes_;
};

void FocusRow(HWND list, int row) {
    LVITEMA state = {};
    state.stateMask = LVIS_FOCUSED | LVIS_SELECTED;
    state.state = LVIS_FOCUSED | LVIS_SELECTED;
    SendMessageA(list, LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&state));
}

TEST_F(FolderSummaryTest, EveryLogARowThatSaysWhatWasComparedAndWhatWasNot) {
    // The second folder's messages log is held by another program: unreadable.
    UniqueFile held(CreateFileA(In(kBad, "Lensora_Brenhold.logMessages").c_str(), GENERIC_READ, 0,
                                nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(held);
    const FolderPair folders = {kGood, kBad};
    ReportDialogUnderTest dialog(FolderSummaryDialogProc, reinterpret_cast<LPARAM>(&folders));
    held.Reset();

    ASSERT_EQ(boxes_.Boxes().size(), 1u);
    EXPECT_EQ(boxes_.Boxes()[0].caption, "Vorlix   CreateFile");
    const std::string unreadable = In(kBad, "Lensora_Brenhold.logMessages") + "  ";
    EXPECT_EQ(boxes_.Boxes()[0].text.find(unreadable), 0u) << boxes_.Boxes()[0].text;
    const std::string reason = boxes_.Boxes()[0].text.substr(unreadable.size());
    EXPECT_NE(reason, "");

    const std::vector<std::vector<std::string>> expected = {
        {"Lensora_Brenhold.logAnalyzePATH", "analysis (PATH)", "0", "0", "0", "0",
         "only in the first folder; first: not in its manifest: left from an earlier run"},
        {"Lensora_Brenhold.logDlls", "exports", "2", "2", "2", "0", "only in the first folder"},
        {"Lensora_Brenhold.logServices", "services", "2", "1", "0", "0", ""},
        {"Lensora_Brenhold.logMessages", "messages", "", "", "", "",
         "second: unreadable: " + reason},
    };
    ASSERT_EQ(dialog.RowCount(), static_cast<int>(expected.size()));
    for (int row = 0; row < dialog.RowCount(); ++row) {
        EXPECT_EQ(dialog.Row(row), expected[row]) << row;
    }
    EXPECT_EQ(dialog.ControlText(IDC_COMPARE_NAMES),
              std::string("First folder: ") + kGood +
                  " (Vorlix V1.05, run 09.12.2026 14:03 27)    Second folder: " + kBad +
                  " (not a whole bundle: no manifest.txt)");
    EXPECT_EQ(dialog.ControlText(IDC_COMPARE_COUNTS),
              "4 logs, 2 with differences (2 in one folder only), 1 unreadable. Enter or a double "
              "click opens a log's comparison.");

    // Enter on a row that has no second log to compare says why instead.
    const struct {
        int row;
        const char* text;
    } refusals[] = {
        {0,
         "Lensora_Brenhold.logAnalyzePATH of the first folder is not in its manifest: it is "
         "left from an earlier run and not compared."},
        {1,
         "Lensora_Brenhold.logDlls is in the first folder only: there is no second log to "
         "compare it with."},
    };
    for (const auto& refusal : refusals) {
        boxes_.Clear();
        FocusRow(dialog.List(), refusal.row);
        dialog.Command(IDOK);
        ASSERT_EQ(boxes_.Boxes().size(), 1u) << refusal.row;
        EXPECT_EQ(boxes_.Boxes()[0].text, refusal.text);
        EXPECT_EQ(boxes_.Boxes()[0].owner, dialog.Dialog());
    }
}

TEST_F(FolderSummaryTest, FoldersWithoutLogsOpenNoSummary) {
    for (const char* name : kFiles) {
        RemoveFile(In(kGood, name));
        RemoveFile(In(kBad, name));
    }
    const FolderPair folders = {kGood, kBad};
    ReportDialogUnderTest dialog(FolderSummaryDialogProc, reinterpret_cast<LPARAM>(&folders));
    ASSERT_EQ(boxes_.Boxes().size(), 1u);
    EXPECT_EQ(boxes_.Boxes()[0].text, std::string("Neither ") + kGood + " nor " + kBad +
                                          " holds a log of Vorlix (Lensora_Brenhold.log...).");
    EXPECT_EQ(dialog.ColumnCount(), 0);
}

}  // namespace
