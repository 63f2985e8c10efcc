// Dialog 129 as every command sees it, and the row forms.
#include <gtest/gtest.h>

#include "analysis/analysis_dialog_win.h"
#include "checks/export_check_win.h"
#include "report/log_file_win.h"
#include "report/report_list_win.h"
#include "res/resource.h"
#include "tests/win/test_support.h"

namespace {

INT_PTR CALLBACK BareProc(HWND, UINT message, WPARAM, LPARAM) {
    return message == WM_INITDIALOG ? TRUE : FALSE;
}

struct ControlTemplate {
    int id;
    const char* windowClass;
    const char* text;
    int x, y, width, height;
    DWORD style;
};

const ControlTemplate kControls[] = {
    {IDC_REPORT_OK, "Button", "OK", 599, 412, 50, 14, BS_PUSHBUTTON | WS_TABSTOP},
    {IDC_REPORT_LIST, "SysListView32", "", 17, 7, 641, 345,
     LVS_REPORT | LVS_SHOWSELALWAYS | LVS_ALIGNLEFT | WS_BORDER | WS_TABSTOP},
    {IDC_SORT_CASE_SENSITIVE, "Button", "Sort case sensitive", 562, 374, 76, 10,
     BS_AUTOCHECKBOX | WS_TABSTOP},
    {IDC_SEARCH_GROUP, "Button", "Search", 18, 362, 509, 65, BS_GROUPBOX},
    {IDC_SEARCH_TEXT, "Edit", "", 207, 382, 309, 14, ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP},
    {IDC_SEARCH_LABEL, "Static", "Search string", 204, 369, 47, 8, SS_LEFT | WS_GROUP},
    {IDC_SEARCH, "Button", "Search", 335, 402, 50, 14, BS_PUSHBUTTON | WS_TABSTOP},
    {IDC_SEARCH_CASE_SENSITIVE, "Button", "Search case sensitive", 217, 404, 87, 10,
     BS_AUTOCHECKBOX | WS_TABSTOP},
    {IDC_SEARCH_NAME_COLUMN, "Button", "Column  Name", 31, 383, 61, 10,
     BS_AUTOCHECKBOX | WS_TABSTOP},
    {IDC_SEARCH_VALUE_COLUMN, "Button", "Column  Value", 31, 404, 61, 10,
     BS_AUTOCHECKBOX | WS_TABSTOP},
    {IDC_NEXT, "Button", "Next", 401, 402, 50, 14, BS_PUSHBUTTON | WS_TABSTOP},
};

TEST(ReportDialog, TemplateHasEveryControlInTabOrderWithItsTextPlaceAndStyle) {
    ReportDialogUnderTest dialog(BareProc, 0);
    ASSERT_NE(dialog.Dialog(), nullptr);
    char text[256];
    GetWindowTextA(dialog.Dialog(), text, sizeof text);
    EXPECT_STREQ(text, "Vorlix");
    const LONG dialogStyle = GetWindowLongA(dialog.Dialog(), GWL_STYLE);
    EXPECT_TRUE(dialogStyle & WS_CAPTION);
    EXPECT_TRUE(dialogStyle & WS_SYSMENU);
    EXPECT_TRUE(dialogStyle & WS_POPUP);

    HWND child = GetWindow(dialog.Dialog(), GW_CHILD);
    for (const ControlTemplate& control : kControls) {
        ASSERT_NE(child, nullptr) << control.id;
        EXPECT_EQ(GetDlgCtrlID(child), control.id);
        GetClassNameA(child, text, sizeof text);
        EXPECT_STRCASEEQ(text, control.windowClass) << control.id;
        GetWindowTextA(child, text, sizeof text);
        EXPECT_STREQ(text, control.text) << control.id;
        DWORD style = static_cast<DWORD>(GetWindowLongA(child, GWL_STYLE));
        // Edit controls trade WS_BORDER for a client edge when they are created.
        if (GetWindowLongA(child, GWL_EXSTYLE) & WS_EX_CLIENTEDGE) {
            style |= WS_BORDER;
        }
        EXPECT_EQ(style & control.style, control.style) << control.id;
        EXPECT_TRUE(style & WS_VISIBLE) << control.id;
        if (control.id == IDC_REPORT_OK) {
            EXPECT_FALSE(style & BS_DEFPUSHBUTTON);
        }

        // The dialog manager converts position and size separately.
        RECT place = {control.x, control.y, control.width, control.height};
        MapDialogRect(dialog.Dialog(), &place);
        RECT actual;
        GetWindowRect(child, &actual);
        MapWindowPoints(nullptr, dialog.Dialog(), reinterpret_cast<POINT*>(&actual), 2);
        EXPECT_EQ(actual.left, place.left) << control.id;
        EXPECT_EQ(actual.top, place.top) << control.id;
        EXPECT_EQ(actual.right - actual.left, place.right) << control.id;
        EXPECT_EQ(actual.bottom - actual.top, place.bottom) << control.id;
        child = GetWindow(child, GW_HWNDNEXT);
    }
    EXPECT_EQ(child, nullptr);
    EXPECT_EQ(GetDlgItem(dialog.Dialog(), IDOK), nullptr);
    EXPECT_EQ(GetDlgItem(dialog.Dialog(), IDCANCEL), nullptr);
}

// Measured in the dialog's own font, as the system draws it.
TEST(ReportDialog, EveryTextIsShownWhole) {
    ReportDialogUnderTest dialog(BareProc, 0);
    ASSERT_NE(dialog.Dialog(), nullptr);
    EXPECT_EQ(TextsNotShownWhole(dialog.Dialog()), std::vector<std::string>{});
}

TEST(ReportDialog, ShowSearchControlsShowsAndHidesTheSearchGroupOnly) {
    ReportDialogUnderTest dialog(BareProc, 0);
    const int search[] = {IDC_SEARCH_NAME_COLUMN,
                          IDC_SEARCH_VALUE_COLUMN,
                          IDC_SEARCH_GROUP,
                          IDC_SEARCH_TEXT,
                          IDC_SEARCH_CASE_SENSITIVE,
                          IDC_SEARCH,
                          IDC_NEXT,
                          IDC_SEARCH_LABEL};
    ShowSearchControls(dialog.Dialog(), SW_HIDE);
    for (int id : search) {
        EXPECT_FALSE(dialog.ControlVisible(id)) << id;
    }
    EXPECT_TRUE(dialog.ControlVisible(IDC_SORT_CASE_SENSITIVE));
    EXPECT_TRUE(dialog.ControlVisible(IDC_REPORT_LIST));
    EXPECT_TRUE(dialog.ControlVisible(IDC_REPORT_OK));
    ShowSearchControls(dialog.Dialog(), SW_SHOWNORMAL);
    for (int id : search) {
        EXPECT_TRUE(dialog.ControlVisible(id)) << id;
    }
}

INT_PTR CALLBACK AnalysisListProc(HWND dialog, UINT message, WPARAM, LPARAM) {
    if (message == WM_INITDIALOG) {
        PrepareReportList(dialog, kAnalysisColumns, ListStyle::GridAndFullRow);
    }
    return FALSE;
}

INT_PTR CALLBACK ExportListProc(HWND dialog, UINT message, WPARAM, LPARAM) {
    if (message == WM_INITDIALOG) {
        PrepareReportList(dialog, kExportColumns, ListStyle::Plain);
    }
    return FALSE;
}

INT_PTR CALLBACK ServiceListProc(HWND dialog, UINT message, WPARAM, LPARAM) {
    if (message == WM_INITDIALOG) {
        PrepareReportList(dialog, kServiceColumns, ListStyle::Plain);
    }
    return FALSE;
}

// The sets' own titles and widths are checked on the host; here, that each reaches the list.
TEST(ReportDialog, ColumnSetsAreInsertedUpToTheirEndEntry) {
    const struct {
        DLGPROC procedure;
        const ColumnSpec* columns;
        int count;
        DWORD extendedStyle;
    } cases[] = {
        {AnalysisListProc, kAnalysisColumns, 3, LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT},
        {ExportListProc, kExportColumns, 2, 0},
        {ServiceListProc, kServiceColumns, 6, 0},
    };
    for (const auto& c : cases) {
        ReportDialogUnderTest dialog(c.procedure, 0);
        ASSERT_EQ(dialog.ColumnCount(), c.count);
        for (int i = 0; i < c.count; ++i) {
            EXPECT_EQ(dialog.ColumnTitle(i), c.columns[i].title);
            EXPECT_EQ(dialog.ColumnWidth(i), c.columns[i].pixelWidth);
        }
        EXPECT_EQ(SendMessageA(dialog.List(), LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0),
                  static_cast<LRESULT>(c.extendedStyle));
    }
}

class RowFormsTest : public testing::Test {
protected:
    const char* kLog = "C:\\vorlix_rows.logAnalyzeTest";
    void SetUp() override { RemoveFile(kLog); }
    void TearDown() override {
        CloseCurrentLog();
        RemoveFile(kLog);
    }
    MessageBoxRecorder boxes_;
};

TEST_F(RowFormsTest, EachFindingBecomesAListRowAndALogLine) {
    ReportDialogUnderTest dialog(AnalysisListProc, 0);
    ASSERT_EQ(OpenSectionLog(kLog), 1);
    g_rowCursor.iItem = 0;
    InsertReportRow("header");  // list-only
    RowStart("N");
    RowLastCell(2, "found");
    RowStartTight("CPU brand");
    RowLastCell(1, "Intel");
    RowStart("Installed Plugin");
    RowLastCell(1, "a.dll");
    SingleFieldRow("Processor Architecture");
    LogOnlyLine("x86");
    CloseCurrentLog();

    ASSERT_EQ(dialog.RowCount(), 5);
    EXPECT_EQ(dialog.Row(0), (std::vector<std::string>{"header", "", ""}));
    EXPECT_EQ(dialog.Row(1), (std::vector<std::string>{"N", "", "found"}));
    EXPECT_EQ(dialog.Row(2), (std::vector<std::string>{"CPU brand", "Intel", ""}));
    EXPECT_EQ(dialog.Row(3), (std::vector<std::string>{"Installed Plugin", "a.dll", ""}));
    EXPECT_EQ(dialog.Row(4), (std::vector<std::string>{"Processor Architecture", "", ""}));

    const std::vector<std::string> lines = SplitLogLines(ReadFileBytes(kLog));
    ASSERT_EQ(lines.size(), 6u);
    EXPECT_EQ(lines[1], "N" + std::string(89, ' ') + "found");
    EXPECT_EQ(lines[2], "CPU brand Intel");
    EXPECT_EQ(lines[3], "Installed Plugin" + std::string(74, ' ') + "a.dll");
    EXPECT_EQ(lines[4], "Processor Architecture");
    EXPECT_EQ(lines[5], "x86");
    EXPECT_TRUE(boxes_.Boxes().empty());
}

TEST_F(RowFormsTest, AFailingLogLeavesTheListFilledAndAFailingCellLeavesTheLog) {
    ReportDialogUnderTest dialog(AnalysisListProc, 0);
    WriteFileBytes(kLog, "");
    g_currentLogFile.Reset(CreateFileA(kLog, GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    g_rowCursor.iItem = -1;
    RowStart("a");
    RowLastCell(2, "b");
    RowStart("c");
    RowLastCell(2, "d");
    ASSERT_EQ(dialog.RowCount(), 2);
    EXPECT_EQ(dialog.Row(1), (std::vector<std::string>{"c", "", "d"}));
    EXPECT_EQ(boxes_.Boxes().size(), 1u);

    ASSERT_EQ(OpenSectionLog(kLog), 1);
    g_rowCursor.iItem = 50;
    SetReportCell(1, "nowhere");
    LogOnlyLine("kept");
    CloseCurrentLog();
    EXPECT_EQ(dialog.RowCount(), 2);
    EXPECT_EQ(SplitLogLines(ReadFileBytes(kLog)).back(), "kept");
}

TEST(ReportDialog, TestDialogsHideTheSearchGroupAndTheSortBox) {
    for (DLGPROC procedure : {AnalysisDialogProc, ExportCheckDialogProc}) {
        MessageBoxRecorder boxes;
        ReportDialogUnderTest dialog(procedure, 0);
        EXPECT_FALSE(dialog.ControlVisible(IDC_SORT_CASE_SENSITIVE));
        EXPECT_FALSE(dialog.ControlVisible(IDC_SEARCH_GROUP));
        EXPECT_FALSE(dialog.ControlVisible(IDC_SEARCH_TEXT));
        EXPECT_FALSE(dialog.ControlVisible(IDC_NEXT));
        EXPECT_TRUE(dialog.ControlVisible(IDC_REPORT_OK));
    }
}

}  // namespace
