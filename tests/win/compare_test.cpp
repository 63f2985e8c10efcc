// The comparison view on logs written by the program's own writer.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/handles_win.h"
#include "platform/shell_state_win.h"
#include "compare/compare_dialog_win.h"
#include "compare/compare_state_win.h"
#include "compare/compare_view_win.h"
#include "compare/sort_highlight_win.h"
#include "report/log_file_win.h"
#include "res/resource.h"
#include "tests/win/test_support.h"

namespace {

const char kFirst[] = "C:\\vorlix_first.logServices";
const char kSecond[] = "C:\\vorlix_second.logServices";

struct Service {
    std::string display, name, type, state;
};

void WriteServiceLog(const char* path, const std::vector<Service>& services) {
    RemoveFile(path);
    ASSERT_EQ(OpenSectionLog(path), 1);
    for (const Service& s : services) {
        WriteLogField(90, s.display.c_str(), false);
        WriteLogField(60, s.name.c_str(), false);
        WriteLogField(25, s.type.c_str(), false);
        WriteLogField(0, s.state.c_str(), true);
    }
    CloseCurrentLog();
}

void WriteLines(const char* path, const std::vector<std::vector<std::string>>& lines,
                const std::vector<int>& widths) {
    RemoveFile(path);
    ASSERT_EQ(OpenSectionLog(path), 1);
    for (const auto& line : lines) {
        for (size_t i = 0; i < line.size(); ++i) {
            const bool last = i + 1 == line.size();
            WriteLogField(last ? 0 : widths[i], line[i].c_str(), last);
        }
    }
    CloseCurrentLog();
}

void ChooseLogs(const char* first, const char* second) {
    lstrcpyA(g_firstLogName, first);
    lstrcpyA(g_secondLogName, second);
}

using Rows = std::vector<std::vector<std::string>>;

Rows AllRows(const ReportDialogUnderTest& dialog) {
    Rows rows;
    for (int row = 0; row < dialog.RowCount(); ++row) {
        rows.push_back(dialog.Row(row));
    }
    return rows;
}

const std::vector<Service> kWorkedFirst = {
    {"Print Spooler", "Spooler", "Win32_OWN_PROCESS", "Service Running"},
    {"Windows Time", "W32Time", "WIN32_SHARE_PROCESS", "Service Stopped"},
    {"Fax", "Fax", "Win32_OWN_PROCESS", "Service Stopped"},
};
const std::vector<Service> kWorkedSecond = {
    {"Print Spooler", "spooler", "Win32_OWN_PROCESS", "Service Running"},
    {"Windows Time", "W32Time", "WIN32_SHARE_PROCESS", "Service Running"},
    {"Remote Registry", "RemoteRegistry", "Win32_OWN_PROCESS", "Service Stopped"},
};

class CompareTest : public testing::Test {
protected:
    void SetUp() override { g_search.matches.Clear(); }
    void TearDown() override {
        RemoveFile(kFirst);
        RemoveFile(kSecond);
        g_search.matches.Clear();
    }
    MessageBoxRecorder boxes_;
};

TEST_F(CompareTest, WorkedExampleComesOutRowForRow) {
    WriteServiceLog(kFirst, kWorkedFirst);
    WriteServiceLog(kSecond, kWorkedSecond);
    ChooseLogs(kFirst, kSecond);
    ReportDialogUnderTest dialog(CompareDialogProc, 3);
    EXPECT_EQ(AllRows(dialog),
              (Rows{
                  {"Print Spooler", "Spooler", "Win32_OWN_PROCESS", "Service Running",
                   "Service Running", ""},
                  {"Windows Time", "W32Time", "WIN32_SHARE_PROCESS", "Service Stopped",
                   "Service Running", "Different"},
                  {"Fax", "Fax", "Win32_OWN_PROCESS", "Service Stopped", "", "Different"},
                  {"Remote Registry", "RemoteRegistry", "Win32_OWN_PROCESS", "", "Service Stopped",
                   "Different"},
              }));
    EXPECT_TRUE(boxes_.Boxes().empty());
    // The view of a comparison that opened both logs.
    const char* titles[] = {"Name",  "Value", "Service Type", "Current State 1", "Current State 2",
                            "Result"};
    ASSERT_EQ(dialog.ColumnCount(), 6);
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(dialog.ColumnTitle(i), titles[i]);
    }
    EXPECT_TRUE(dialog.ControlVisible(IDC_SEARCH_GROUP));
    EXPECT_TRUE(dialog.ControlVisible(IDC_SORT_CASE_SENSITIVE));
    EXPECT_TRUE(dialog.Checked(IDC_SEARCH_NAME_COLUMN));
    EXPECT_TRUE(dialog.Checked(IDC_SEARCH_VALUE_COLUMN));
    EXPECT_FALSE(dialog.Checked(IDC_SEARCH_CASE_SENSITIVE));
    EXPECT_FALSE(dialog.Checked(IDC_SORT_CASE_SENSITIVE));
    EXPECT_EQ(SendMessageA(dialog.List(), LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0),
              LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT);
    // Both logs are closed again.
    HANDLE file = INVALID_HANDLE_VALUE;
    ASSERT_EQ(OpenExistingLog(kFirst, &file), 1);
    CloseHandle(file);
    ASSERT_EQ(OpenExistingLog(kSecond, &file), 1);
    CloseHandle(file);
}

TEST_F(CompareTest, ReadOnlyLogsAndTheSameLogTwiceCompare) {
    WriteServiceLog(kFirst, kWorkedFirst);
    SetFileAttributesA(kFirst, FILE_ATTRIBUTE_READONLY);
    ChooseLogs(kFirst, kFirst);
    {
        // Another program that merely reads the log does not stand in the way.
        UniqueFile reader(
            CreateFileA(kFirst, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
        ASSERT_TRUE(reader);
        ReportDialogUnderTest dialog(CompareDialogProc, 3);
        EXPECT_TRUE(boxes_.Boxes().empty());
        ASSERT_EQ(dialog.RowCount(), 3);
        for (int row = 0; row < 3; ++row) {
            EXPECT_EQ(dialog.Cell(row, 3), kWorkedFirst[row].state);
            EXPECT_EQ(dialog.Cell(row, 4), kWorkedFirst[row].state);
            EXPECT_EQ(dialog.Cell(row, 5), "");
        }
    }
    // A program writing to the log keeps the comparison out.
    SetFileAttributesA(kFirst, FILE_ATTRIBUTE_NORMAL);
    UniqueFile writer(
        CreateFileA(kFirst, GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(writer);
    ReportDialogUnderTest dialog(CompareDialogProc, 3);
    ASSERT_EQ(boxes_.Boxes().size(), 1u);
    EXPECT_EQ(boxes_.Boxes()[0].caption, "CreateFile");
    EXPECT_EQ(boxes_.Boxes()[0].text, SystemText(ERROR_SHARING_VIOLATION));
    EXPECT_EQ(dialog.ColumnCount(), 0);
}

TEST_F(CompareTest, AMissingLogShowsTheSystemText) {
    WriteServiceLog(kFirst, kWorkedFirst);
    ChooseLogs(kFirst, "C:\\vorlix_missing.logServices");
    ReportDialogUnderTest dialog(CompareDialogProc, 3);
    ASSERT_EQ(boxes_.Boxes().size(), 1u);
    EXPECT_EQ(boxes_.Boxes()[0].text, SystemText(ERROR_FILE_NOT_FOUND));
    EXPECT_EQ(boxes_.Boxes()[0].style, static_cast<UINT>(MB_TASKMODAL | MB_ICONINFORMATION));
    EXPECT_EQ(dialog.ColumnCount(), 0);
}

TEST_F(CompareTest, EmptyAndTimestampOnlyLogs) {
    WriteServiceLog(kSecond, kWorkedSecond);
    ChooseLogs(kFirst, kSecond);
    // A first log of 0 bytes lists the second log's records as one holding only
    // its timestamp line does.
    for (bool zeroBytes : {true, false}) {
        if (zeroBytes) {
            WriteFileBytes(kFirst, "");
        } else {
            WriteServiceLog(kFirst, {});
        }
        ReportDialogUnderTest dialog(CompareDialogProc, 3);
        EXPECT_EQ(dialog.ColumnCount(), 6);
        ASSERT_EQ(dialog.RowCount(), 3);
        for (int row = 0; row < 3; ++row) {
            EXPECT_EQ(dialog.Cell(row, 1), kWorkedSecond[row].name);
            EXPECT_EQ(dialog.Cell(row, 3), "");
            EXPECT_EQ(dialog.Cell(row, 4), kWorkedSecond[row].state);
            EXPECT_EQ(dialog.Cell(row, 5), "Different");
        }
    }
    WriteServiceLog(kFirst, kWorkedFirst);
    WriteFileBytes(kSecond, "");
    {
        ReportDialogUnderTest dialog(CompareDialogProc, 3);
        ASSERT_EQ(dialog.RowCount(), 3);
        EXPECT_EQ(dialog.Cell(0, 5), "Different");
    }
    EXPECT_TRUE(boxes_.Boxes().empty());
}

TEST_F(CompareTest, ALogCutOffInsideARecordShowsItCutAndSaysSo) {
    WriteServiceLog(kFirst, kWorkedFirst);
    WriteServiceLog(kSecond, kWorkedSecond);
    std::string bytes = ReadFileBytes(kSecond);
    // The last line loses "opped" and its line end, as in a partial download.
    WriteFileBytes(kSecond, bytes.substr(0, bytes.size() - 7));
    ChooseLogs(kFirst, kSecond);
    ReportDialogUnderTest dialog(CompareDialogProc, 3);
    ASSERT_EQ(dialog.RowCount(), 4);
    EXPECT_EQ(dialog.Row(3),
              (std::vector<std::string>{"Remote Registry", "RemoteRegistry", "Win32_OWN_PROCESS",
                                        "", "Service St...", "Different"}));
    EXPECT_EQ(dialog.ControlText(IDC_COMPARE_NAMES), std::string("First log: ") + kFirst +
                                                         "    Second log: " + kSecond +
                                                         " (ends inside a record)");
    EXPECT_TRUE(boxes_.Boxes().empty());
}

TEST_F(CompareTest, AnOverlongFieldIsCutAndEveryOtherRecordStillPairs) {
    // 10,000 characters in the first log's display name, 513 in a second-log state.
    WriteServiceLog(kFirst, kWorkedFirst);
    std::string firstBytes = ReadFileBytes(kFirst);
    firstBytes.replace(firstBytes.find("Print Spooler"), 13, std::string(10000, 'd'));
    WriteFileBytes(kFirst, firstBytes);
    std::vector<Service> second = kWorkedSecond;
    second[1].state = std::string(513, 's');
    WriteServiceLog(kSecond, second);
    ChooseLogs(kFirst, kSecond);
    boxes_.Clear();
    ReportDialogUnderTest dialog(CompareDialogProc, 3);
    EXPECT_TRUE(boxes_.Boxes().empty());
    const std::string cutState = std::string(509, 's') + "...";
    EXPECT_EQ(AllRows(dialog),
              (Rows{
                  {std::string(509, 'd') + "...", "Spooler", "Win32_OWN_PROCESS", "Service Running",
                   "Service Running", ""},
                  {"Windows Time", "W32Time", "WIN32_SHARE_PROCESS", "Service Stopped", cutState,
                   "Different"},
                  {"Fax", "Fax", "Win32_OWN_PROCESS", "Service Stopped", "", "Different"},
                  {"Remote Registry", "RemoteRegistry", "Win32_OWN_PROCESS", "", "Service Stopped",
                   "Different"},
              }));
    // Neither the padding left after the long name nor a state of 513
    // characters is as the program writes a service log.
    EXPECT_EQ(dialog.ControlText(IDC_COMPARE_NAMES),
              std::string("First log: ") + kFirst +
                  " (lines do not have the shape of a service log from line 2, long fields cut)"
                  "    Second log: " +
                  kSecond +
                  " (lines do not have the shape of a service log from line 3, long fields cut)");
}

TEST_F(CompareTest, AFirstLineThatIsNoTimestampIsARecordOfItsOwn) {
    const std::string longStamp(600, 't');
    for (int kind : {1, 2}) {
        WriteFileBytes(kFirst, longStamp + "\r\nConfig" + std::string(24, ' ') + "found\r\n");
        WriteFileBytes(kSecond,
                       "01.02.2024 10:11 12\r\nConfig" + std::string(24, ' ') + "Not found\r\n");
        ChooseLogs(kFirst, kSecond);
        ReportDialogUnderTest dialog(CompareDialogProc, kind);
        EXPECT_TRUE(boxes_.Boxes().empty()) << kind;
        EXPECT_EQ(AllRows(dialog),
                  (Rows{{std::string(509, 't') + "...", "", "", "", "", "Different"},
                        {"Config", "", "", "found", "Not found", "Different"}}))
            << kind;
        EXPECT_NE(
            dialog.ControlText(IDC_COMPARE_NAMES).find("(no timestamp line, long fields cut)"),
            std::string::npos)
            << kind;
    }
}

// Lines that the reader does not split into four fields, each followed by a
// well-formed one that must stay in step.
const std::vector<Service> kOddServices = {
    {std::string(89, 'd'), "AfterLongDisplay", "Win32_OWN_PROCESS", "Service Running"},
    {"Next One", "NextOne", "WIN32_SHARE_PROCESS", "Service Stopped"},
    {"Long Service Name", std::string(59, 's'), "KERNEL_DRIVER", "Service Running"},
    {"Second", "Second", "KERNEL_DRIVER", "Service Stopped"},
    {"", "NoDisplay", "FILE_SYSTEM_DRIVER", "Service Running"},
    {"Two  Blanks", "TwoBlanks", "TYPE 0x400", "Service Paused"},
    {"Last", "Last", "Win32_OWN_PROCESS", "Service Running"},
};

TEST_F(CompareTest, OddServiceLinesStayOneRecordEach) {
    WriteServiceLog(kFirst, kOddServices);
    WriteFileBytes(kSecond, ReadFileBytes(kFirst));
    ChooseLogs(kFirst, kSecond);
    boxes_.Clear();
    ReportDialogUnderTest dialog(CompareDialogProc, 3);
    EXPECT_TRUE(boxes_.Boxes().empty());
    const std::string joined = std::string(89, 'd') + " AfterLongDisplay";
    const std::string longName = std::string(59, 's') + " KERNEL_DRIVER";
    EXPECT_EQ(AllRows(dialog),
              (Rows{
                  {"", joined, "Win32_OWN_PROCESS", "Service Running", "Service Running", ""},
                  {"Next One", "NextOne", "WIN32_SHARE_PROCESS", "Service Stopped",
                   "Service Stopped", ""},
                  {"Long Service Name", longName, "", "Service Running", "Service Running", ""},
                  {"Second", "Second", "KERNEL_DRIVER", "Service Stopped", "Service Stopped", ""},
                  {"", "NoDisplay", "FILE_SYSTEM_DRIVER", "Service Running", "Service Running", ""},
                  {"Two Blanks", "TwoBlanks", "TYPE 0x400", "Service Paused", "Service Paused", ""},
                  {"Last", "Last", "Win32_OWN_PROCESS", "Service Running", "Service Running", ""},
              }));
}

TEST_F(CompareTest, LongServiceNamesPairWithTheirEqual) {
    const std::string name(150, 'L');
    // Written with its two blanks, as a name that fits its field would be.
    auto line = [&](const std::string& serviceName, const char* state) {
        return std::string("Long") + std::string(86, ' ') + serviceName + "  " +
               "Win32_OWN_PROCESS" + std::string(8, ' ') + state + "\r\n";
    };
    const std::string stamp = "01.02.2024 10:11 12\r\n";
    WriteFileBytes(kFirst, stamp + line(name, "Service Running"));
    std::string lowerName(150, 'l');
    WriteFileBytes(kSecond, stamp + line(lowerName, "Service Stopped"));
    ChooseLogs(kFirst, kSecond);
    ReportDialogUnderTest dialog(CompareDialogProc, 3);
    EXPECT_EQ(AllRows(dialog), (Rows{{"Long", name, "Win32_OWN_PROCESS", "Service Running",
                                      "Service Stopped", "Different"}}));
}

TEST_F(CompareTest, ExportLogsPairByExactEntryPointName) {
    const std::vector<int> widths = {30};
    WriteLines(kFirst, {{"Config", "found"}, {"DoDwell", "Not found"}, {"Home", "found"}}, widths);
    WriteLines(kSecond, {{"Config", "found"}, {"doDwell", "found"}, {"Home", "Not found"}}, widths);
    ChooseLogs(kFirst, kSecond);
    ReportDialogUnderTest dialog(CompareDialogProc, 2);
    EXPECT_EQ(AllRows(dialog), (Rows{
                                   {"Config", "", "", "found", "found", ""},
                                   {"DoDwell", "", "", "Not found", "", "Different"},
                                   {"Home", "", "", "found", "Not found", "Different"},
                                   {"doDwell", "", "", "", "found", "Different"},
                               }));
}

TEST_F(CompareTest, AnalysisLogsPairByNameAndRepeatedNamesByWholeLine) {
    const std::vector<int> widths = {90, 80};
    WriteLines(kFirst,
               {{"Installed Plugin", "a.dll"},
                {"Installed Plugin", "lensora.dll"},
                {"Lensora F speed", "10"},
                {std::string(600, 'p')}},
               widths);
    WriteLines(
        kSecond,
        {{"Installed Plugin", "lensora.dll"}, {"Lensora F speed", "12"}, {std::string(600, 'p')}},
        widths);
    ChooseLogs(kFirst, kSecond);
    ReportDialogUnderTest dialog(CompareDialogProc, 1);
    const std::string cut = std::string(509, 'p') + "...";
    EXPECT_EQ(AllRows(dialog), (Rows{
                                   {"Installed Plugin", "", "", "a.dll", "", "Different"},
                                   {"Installed Plugin", "", "", "lensora.dll", "lensora.dll", ""},
                                   {"Lensora F speed", "", "", "10", "12", "Different"},
                                   {cut, "", "", "", "", ""},
                               }));
    EXPECT_TRUE(boxes_.Boxes().empty());
}

void ClickHeader(HWND dialog, int column) {
    NMLISTVIEW click = {};
    click.hdr.hwndFrom = GetDlgItem(dialog, IDC_REPORT_LIST);
    click.hdr.idFrom = IDC_REPORT_LIST;
    click.hdr.code = LVN_COLUMNCLICK;
    click.iItem = -1;
    click.iSubItem = column;
    SendMessageA(dialog, WM_NOTIFY, IDC_REPORT_LIST, reinterpret_cast<LPARAM>(&click));
}

std::vector<std::string> Column(const ReportDialogUnderTest& dialog, int column) {
    std::vector<std::string> texts;
    for (int row = 0; row < dialog.RowCount(); ++row) {
        texts.push_back(dialog.Cell(row, column));
    }
    return texts;
}

TEST_F(CompareTest, HeaderClicksSortAscendingWithOrWithoutCase) {
    WriteServiceLog(kFirst, {{"b", "1", "t", "s"},
                             {"_x", "2", "t", "s"},
                             {"B", "3", "t", "s"},
                             {"a", "4", "t", "s"},
                             {"A", "5", "t", "s"}});
    WriteServiceLog(kSecond, {});
    ChooseLogs(kFirst, kSecond);
    ReportDialogUnderTest dialog(CompareDialogProc, 3);
    ClickHeader(dialog.Dialog(), 0);
    // Equal texts keep their order; "_" sorts before letters taken as lower case.
    EXPECT_EQ(Column(dialog, 0), (std::vector<std::string>{"_x", "a", "A", "b", "B"}));
    EXPECT_EQ(Column(dialog, 1), (std::vector<std::string>{"2", "4", "5", "1", "3"}));
    ClickHeader(dialog.Dialog(), 0);
    EXPECT_EQ(Column(dialog, 0), (std::vector<std::string>{"_x", "a", "A", "b", "B"}));

    SendDlgItemMessageA(dialog.Dialog(), IDC_SORT_CASE_SENSITIVE, BM_SETCHECK, BST_CHECKED, 0);
    ClickHeader(dialog.Dialog(), 0);
    EXPECT_EQ(Column(dialog, 0), (std::vector<std::string>{"A", "B", "_x", "a", "b"}));
    ClickHeader(dialog.Dialog(), 1);
    EXPECT_EQ(Column(dialog, 1), (std::vector<std::string>{"1", "2", "3", "4", "5"}));
}

LRESULT Draw(HWND dialog, DWORD stage, DWORD_PTR row, int column, COLORREF* text = nullptr,
             COLORREF* background = nullptr) {
    NMLVCUSTOMDRAW draw = {};
    draw.nmcd.hdr.hwndFrom = GetDlgItem(dialog, IDC_REPORT_LIST);
    draw.nmcd.hdr.idFrom = IDC_REPORT_LIST;
    draw.nmcd.hdr.code = NM_CUSTOMDRAW;
    draw.nmcd.dwDrawStage = stage;
    draw.nmcd.dwItemSpec = row;
    draw.iSubItem = column;
    draw.clrText = 1;
    draw.clrTextBk = 2;
    // The dialog hands the list the result stored as its message result.
    const LRESULT result =
        SendMessageA(dialog, WM_NOTIFY, IDC_REPORT_LIST, reinterpret_cast<LPARAM>(&draw));
    EXPECT_EQ(result, GetWindowLongPtrA(dialog, DWLP_MSGRESULT));
    if (text) {
        *text = draw.clrText;
        *background = draw.clrTextBk;
    }
    return result;
}

void TypeAndSearch(HWND dialog, const char* pattern) {
    SetDlgItemTextA(dialog, IDC_SEARCH_TEXT, pattern);
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDC_SEARCH, BN_CLICKED), 0);
}

TEST_F(CompareTest, HitsAreColouredAtEachDrawStage) {
    WriteServiceLog(kFirst, kWorkedFirst);
    WriteServiceLog(kSecond, kWorkedSecond);
    ChooseLogs(kFirst, kSecond);
    ReportDialogUnderTest dialog(CompareDialogProc, 3);
    HWND d = dialog.Dialog();
    EXPECT_EQ(Draw(d, CDDS_PREPAINT, 0, 0), CDRF_NOTIFYITEMDRAW);
    EXPECT_EQ(Draw(d, CDDS_ITEMPREPAINT, 0, 0), CDRF_NEWFONT);

    TypeAndSearch(d, "W32*");
    EXPECT_TRUE(boxes_.Boxes().empty());
    EXPECT_EQ(Draw(d, CDDS_ITEMPREPAINT, 0, 0), CDRF_NOTIFYSUBITEMDRAW);
    COLORREF text, background;
    for (int column = 0; column < 3; ++column) {
        EXPECT_EQ(Draw(d, CDDS_ITEMPREPAINT | CDDS_SUBITEM, 1, column, &text, &background),
                  CDRF_NEWFONT);
        EXPECT_EQ(text, 0xFAFAFAu);
        EXPECT_EQ(background, 0xF00000u);
        EXPECT_EQ(Draw(d, CDDS_ITEMPREPAINT | CDDS_SUBITEM, 0, column, &text, &background),
                  CDRF_NEWFONT);
        EXPECT_EQ(text, 0x0000F0u);
        EXPECT_EQ(background, 0xFAFAFAu);
    }
    EXPECT_EQ(Draw(d, CDDS_ITEMPREPAINT | CDDS_SUBITEM, 1, 3, &text, &background), CDRF_DODEFAULT);
    EXPECT_EQ(text, 1u);
    EXPECT_EQ(Draw(d, CDDS_POSTPAINT, 0, 0), CDRF_DODEFAULT);
}

// The list hands one record through all the cells of a row, as both Windows
// and Wine do: colours set for "Service Type" must not stay for the states.
TEST_F(CompareTest, StatesAndResultKeepTheRowsColoursAfterAHighlightedCell) {
    WriteServiceLog(kFirst, kWorkedFirst);
    WriteServiceLog(kSecond, kWorkedSecond);
    ChooseLogs(kFirst, kSecond);
    ReportDialogUnderTest dialog(CompareDialogProc, 3);
    TypeAndSearch(dialog.Dialog(), "W32*");
    NMLVCUSTOMDRAW draw = {};
    draw.nmcd.hdr.hwndFrom = dialog.List();
    draw.nmcd.hdr.idFrom = IDC_REPORT_LIST;
    draw.nmcd.hdr.code = NM_CUSTOMDRAW;
    const auto send = [&](DWORD stage, int column) {
        draw.nmcd.dwDrawStage = stage;
        draw.iSubItem = column;
        SendMessageA(dialog.Dialog(), WM_NOTIFY, IDC_REPORT_LIST, reinterpret_cast<LPARAM>(&draw));
    };
    for (DWORD_PTR row : {0, 1}) {
        draw.nmcd.dwItemSpec = row;
        draw.clrText = 0x111111;
        draw.clrTextBk = 0x222222;
        send(CDDS_ITEMPREPAINT, 0);
        for (int column = 0; column < 6; ++column) {
            send(CDDS_ITEMPREPAINT | CDDS_SUBITEM, column);
            if (column >= 3) {
                EXPECT_EQ(draw.clrText, 0x111111u) << row << " " << column;
                EXPECT_EQ(draw.clrTextBk, 0x222222u) << row << " " << column;
            } else {
                EXPECT_EQ(draw.clrTextBk, row == 1 ? 0xF00000u : 0xFAFAFAu) << row << column;
            }
        }
    }
    // The same codes from anything but the list are no list notifications.
    draw.nmcd.hdr.idFrom = IDC_SEARCH;
    draw.nmcd.hdr.hwndFrom = GetDlgItem(dialog.Dialog(), IDC_SEARCH);
    draw.nmcd.dwDrawStage = CDDS_PREPAINT;
    SetWindowLongPtrA(dialog.Dialog(), DWLP_MSGRESULT, 77);
    EXPECT_EQ(SendMessageA(dialog.Dialog(), WM_NOTIFY, IDC_SEARCH, reinterpret_cast<LPARAM>(&draw)),
              0);
}

TEST_F(CompareTest, SearchMessagesAndTheFoldedNotFoundText) {
    WriteServiceLog(kFirst, kWorkedFirst);
    WriteServiceLog(kSecond, kWorkedSecond);
    ChooseLogs(kFirst, kSecond);
    ReportDialogUnderTest dialog(CompareDialogProc, 3);
    HWND d = dialog.Dialog();
    TypeAndSearch(d, "Fa**X");
    ASSERT_EQ(g_search.matches.hitCount(), 2);
    TypeAndSearch(d, "");
    TypeAndSearch(d, "NOPE**X");
    SendDlgItemMessageA(d, IDC_SEARCH_NAME_COLUMN, BM_SETCHECK, BST_UNCHECKED, 0);
    SendDlgItemMessageA(d, IDC_SEARCH_VALUE_COLUMN, BM_SETCHECK, BST_UNCHECKED, 0);
    TypeAndSearch(d, "Fax");
    ASSERT_EQ(boxes_.Boxes().size(), 3u);
    EXPECT_EQ(boxes_.Boxes()[0].text, "No search string specified!");
    EXPECT_EQ(boxes_.Boxes()[1].text, "\"nope*x\" not found");
    EXPECT_EQ(boxes_.Boxes()[2].text, "No search column selected!");
    for (const RecordedBox& box : boxes_.Boxes()) {
        EXPECT_EQ(box.caption, "Vorlix Error");
        EXPECT_EQ(box.owner, d);
        EXPECT_EQ(box.style, static_cast<UINT>(MB_ICONERROR | MB_OK));
    }
    char field[64];
    GetDlgItemTextA(d, IDC_SEARCH_TEXT, field, sizeof field);
    EXPECT_STREQ(field, "Fax");
}

TEST_F(CompareTest, NextScrollsTenRowsAboveEachHitAndSelectsIt) {
    std::vector<Service> services;
    for (int i = 0; i < 200; ++i) {
        const std::string name = (i == 7 || i == 25 || i == 40) ? "hit" : "row";
        services.push_back({name + std::to_string(i), "svc" + std::to_string(i), "t", "s"});
    }
    WriteServiceLog(kFirst, services);
    WriteServiceLog(kSecond, {});
    ChooseLogs(kFirst, kSecond);
    ReportDialogUnderTest dialog(CompareDialogProc, 3);
    HWND d = dialog.Dialog();
    HWND list = dialog.List();
    auto top = [&] { return static_cast<int>(SendMessageA(list, LVM_GETTOPINDEX, 0, 0)); };
    auto selected = [&](int row) {
        return SendMessageA(list, LVM_GETITEMSTATE, row, LVIS_SELECTED) == LVIS_SELECTED;
    };
    TypeAndSearch(d, "HIT?");
    ASSERT_EQ(g_search.matches.hitCount(), 1);
    EXPECT_EQ(top(), 7);
    TypeAndSearch(d, "hit*");
    ASSERT_EQ(g_search.matches.hitCount(), 3);
    EXPECT_EQ(top(), 7);
    EXPECT_TRUE(selected(7));
    SendMessageA(d, WM_COMMAND, IDC_NEXT, 0);
    EXPECT_EQ(top(), 15);
    EXPECT_TRUE(selected(25));
    EXPECT_TRUE(selected(7));
    SendMessageA(d, WM_COMMAND, IDC_NEXT, 0);
    EXPECT_EQ(top(), 30);
    // After the last hit, "Next" shows it again.
    SendMessageA(d, WM_COMMAND, IDC_NEXT, 0);
    EXPECT_EQ(top(), 30);
    EXPECT_TRUE(boxes_.Boxes().empty());
}

TEST_F(CompareTest, MoreThan1024HitsKeepTheFirst1024InRowOrder) {
    std::vector<Service> services;
    for (int i = 0; i < 1100; ++i) {
        services.push_back({"hit" + std::to_string(i), "svc" + std::to_string(i), "t", "s"});
    }
    WriteServiceLog(kFirst, services);
    WriteServiceLog(kSecond, {});
    ChooseLogs(kFirst, kSecond);
    ReportDialogUnderTest dialog(CompareDialogProc, 3);
    ASSERT_EQ(dialog.RowCount(), 1100);
    TypeAndSearch(dialog.Dialog(), "hit*");
    EXPECT_EQ(g_search.matches.hitCount(), 1024);
    EXPECT_TRUE(g_search.matches.RowIsHit(1023));
    EXPECT_FALSE(g_search.matches.RowIsHit(1024));
    // Stepping past the last kept hit stays on it. (Hidden, the view is not
    // repainted for each of the thousand steps.)
    ShowWindow(dialog.Dialog(), SW_HIDE);
    for (int i = 0; i < 1030; ++i) {
        SendMessageA(dialog.Dialog(), WM_COMMAND, IDC_NEXT, 0);
    }
    EXPECT_EQ(g_search.matches.CurrentHit()->row, 1023);
    EXPECT_TRUE(boxes_.Boxes().empty());
}

TEST_F(CompareTest, NextWithoutHitsDoesNothing) {
    WriteServiceLog(kFirst, kWorkedFirst);
    WriteServiceLog(kSecond, {});
    ChooseLogs(kFirst, kSecond);
    ReportDialogUnderTest dialog(CompareDialogProc, 3);
    SendMessageA(dialog.Dialog(), WM_COMMAND, IDC_NEXT, 0);
    EXPECT_EQ(SendMessageA(dialog.List(), LVM_GETSELECTEDCOUNT, 0, 0), 0);
    TypeAndSearch(dialog.Dialog(), "zzz");
    SendMessageA(dialog.Dialog(), WM_COMMAND, IDC_NEXT, 0);
    EXPECT_EQ(SendMessageA(dialog.List(), LVM_GETSELECTEDCOUNT, 0, 0), 0);
}

TEST_F(CompareTest, PatternsFindEveryTextTheyDescribe) {
    WriteServiceLog(kFirst, {{"aaab", "x1", "t", "s"},
                             {"ababc", "x2", "t", "s"},
                             {"abab", "x3", "t", "s"},
                             {"ab", "x4", "t", "s"}});
    WriteServiceLog(kSecond, {});
    ChooseLogs(kFirst, kSecond);
    ReportDialogUnderTest dialog(CompareDialogProc, 3);
    TypeAndSearch(dialog.Dialog(), "*aab*");
    ASSERT_EQ(g_search.matches.hitCount(), 1);
    EXPECT_EQ(g_search.matches.CurrentHit()->row, 0);
    TypeAndSearch(dialog.Dialog(), "*AB?");
    ASSERT_EQ(g_search.matches.hitCount(), 1);
    EXPECT_EQ(g_search.matches.CurrentHit()->row, 1);
    EXPECT_TRUE(boxes_.Boxes().empty());
}

TEST_F(CompareTest, EveryViewStartsWithoutHits) {
    WriteServiceLog(kFirst, kWorkedFirst);
    WriteServiceLog(kSecond, {});
    ChooseLogs(kFirst, kSecond);
    {
        ReportDialogUnderTest dialog(CompareDialogProc, 3);
        TypeAndSearch(dialog.Dialog(), "*");
        ASSERT_EQ(g_search.matches.hitCount(), 6);
    }
    ReportDialogUnderTest dialog(CompareDialogProc, 3);
    EXPECT_EQ(Draw(dialog.Dialog(), CDDS_ITEMPREPAINT, 0, 0), CDRF_NEWFONT);
    SendMessageA(dialog.Dialog(), WM_COMMAND, IDC_NEXT, 0);
    EXPECT_EQ(SendMessageA(dialog.List(), LVM_GETSELECTEDCOUNT, 0, 0), 0);
}

TEST_F(CompareTest, HitsFollowTheirRowsThroughASort) {
    WriteServiceLog(kFirst, {{"c hit", "1", "t", "s"},
                             {"b", "2", "t", "s"},
                             {"d", "3", "t", "s"},
                             {"a hit", "4", "t", "s"}});
    WriteServiceLog(kSecond, {});
    ChooseLogs(kFirst, kSecond);
    ReportDialogUnderTest dialog(CompareDialogProc, 3);
    HWND d = dialog.Dialog();
    TypeAndSearch(d, "*hit");
    ClickHeader(d, 0);
    ASSERT_EQ(Column(dialog, 0), (std::vector<std::string>{"a hit", "b", "c hit", "d"}));
    COLORREF text, background;
    const COLORREF expected[] = {0xF00000, 0xFAFAFA, 0xF00000, 0xFAFAFA};
    for (int row = 0; row < 4; ++row) {
        Draw(d, CDDS_ITEMPREPAINT | CDDS_SUBITEM, row, 0, &text, &background);
        EXPECT_EQ(background, expected[row]) << "row " << row;
    }
    // "Next" goes on from the top of the new order.
    SendMessageA(d, WM_COMMAND, IDC_NEXT, 0);
    EXPECT_EQ(SendMessageA(dialog.List(), LVM_GETNEXTITEM, -1, LVNI_FOCUSED), 0);
    SendMessageA(d, WM_COMMAND, IDC_NEXT, 0);
    EXPECT_EQ(SendMessageA(dialog.List(), LVM_GETNEXTITEM, -1, LVNI_FOCUSED), 2);
}

// The marker a row shows in front of its name (the list asks the dialog).
int MarkerOf(HWND list, int row) {
    LVITEMA item = {};
    item.mask = LVIF_IMAGE;
    item.iItem = row;
    item.iImage = -1;
    SendMessageA(list, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
    return item.iImage;
}

std::vector<int> Positions(HWND list, UINT state) {
    std::vector<int> positions;
    for (int row = static_cast<int>(SendMessageA(list, LVM_GETNEXTITEM, -1, state)); row >= 0;
         row = static_cast<int>(SendMessageA(list, LVM_GETNEXTITEM, row, state))) {
        positions.push_back(row);
    }
    return positions;
}

TEST_F(CompareTest, MarkersSayWhereADifferenceIsAndTheKeysStepTheFocusThroughThem) {
    WriteServiceLog(kFirst, kWorkedFirst);
    WriteServiceLog(kSecond, kWorkedSecond);
    ChooseLogs(kFirst, kSecond);
    ReportDialogUnderTest dialog(CompareDialogProc, 3);
    HWND d = dialog.Dialog();
    HWND list = dialog.List();
    // Images: none, "1" first log only, "2" second log only, "!" other values.
    HIMAGELIST markers =
        reinterpret_cast<HIMAGELIST>(SendMessageA(list, LVM_GETIMAGELIST, LVSIL_SMALL, 0));
    ASSERT_NE(markers, nullptr);
    EXPECT_EQ(ImageList_GetImageCount(markers), 4);
    const int expected[] = {0, 3, 1, 2};  // same, other value, first only, second only
    for (int row = 0; row < 4; ++row) {
        EXPECT_EQ(MarkerOf(list, row), expected[row]) << dialog.Cell(row, 0);
    }

    const struct {
        UINT key;
        int focused;  // and the only row selected
    } steps[] = {
        {VK_DOWN, 1}, {VK_DOWN, 2}, {VK_DOWN, 3}, {VK_DOWN, 3},
        {VK_UP, 2},   {VK_HOME, 1}, {VK_UP, 1},   {VK_END, 3},
    };
    for (const auto& step : steps) {
        EXPECT_TRUE(SelectDifference(d, step.key));
        EXPECT_EQ(Positions(list, LVNI_FOCUSED), std::vector<int>{step.focused}) << step.key;
        EXPECT_EQ(Positions(list, LVNI_SELECTED), std::vector<int>{step.focused}) << step.key;
    }
    EXPECT_FALSE(SelectDifference(d, VK_LEFT));

    // A sort and "Differences only" move the rows: focus, selection and
    // markers stay with theirs.
    ClickHeader(d, 0);
    ASSERT_EQ(Column(dialog, 0), (std::vector<std::string>{"Fax", "Print Spooler",
                                                           "Remote Registry", "Windows Time"}));
    EXPECT_EQ(Positions(list, LVNI_FOCUSED), std::vector<int>{2});
    EXPECT_EQ(Positions(list, LVNI_SELECTED), std::vector<int>{2});
    EXPECT_EQ(MarkerOf(list, 0), 1);
    EXPECT_EQ(MarkerOf(list, 2), 2);
    EXPECT_EQ(MarkerOf(list, 3), 3);
    SendDlgItemMessageA(d, IDC_DIFFERENCES_ONLY, BM_SETCHECK, BST_CHECKED, 0);
    dialog.Command(IDC_DIFFERENCES_ONLY);
    ASSERT_EQ(Column(dialog, 0),
              (std::vector<std::string>{"Fax", "Remote Registry", "Windows Time"}));
    EXPECT_EQ(Positions(list, LVNI_FOCUSED), std::vector<int>{1});
    EXPECT_EQ(MarkerOf(list, 1), 2);
    EXPECT_TRUE(SelectDifference(d, VK_HOME));
    EXPECT_EQ(Positions(list, LVNI_FOCUSED), std::vector<int>{0});
}

TEST_F(CompareTest, DialogEndsWithOkAndEscape) {
    WriteServiceLog(kFirst, kWorkedFirst);
    WriteServiceLog(kSecond, {});
    ChooseLogs(kFirst, kSecond);
    EXPECT_EQ(RunReportDialogModal(CompareDialogProc, 3, {{WM_COMMAND, IDC_REPORT_OK, 0}}),
              IDC_REPORT_OK);
    EXPECT_EQ(RunReportDialogModal(CompareDialogProc, 3, {{WM_COMMAND, IDCANCEL, 0}}), IDCANCEL);
}

}  // namespace
