// Times the comparison of two service logs in the real compare dialog, and
// next to it, in the same run, the straightforward ways: reading one byte per
// system call, and pairing by scanning every first-log row for each record.
// Usage: vorlix_compare_bench <records> [<records> ...]
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/shell_state_win.h"
#include "compare/compare_dialog_win.h"
#include "compare/pairing_index.h"
#include "platform/message_box_win.h"
#include "report/log_file_win.h"
#include "report/log_format.h"
#include "report/log_lines.h"
#include "res/resource.h"

namespace {

double Now() {
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER counter;
    QueryPerformanceCounter(&counter);
    return static_cast<double>(counter.QuadPart) / frequency.QuadPart;
}

int NoBoxes(HWND, const char* text, const char* caption, UINT, const char*) {
    std::fprintf(stderr, "box: %s: %s\n", caption, text);
    return IDOK;
}

// Every record pairs: the second log lists the same services in reverse
// order, with every tenth state changed. The display names count down, so a
// click on the "Name" header reverses the whole view.
void WriteLog(const char* path, int records, bool second) {
    OpenSectionLog(path);
    for (int i = 0; i < records; ++i) {
        const int n = second ? records - 1 - i : i;
        char display[64];
        std::snprintf(display, sizeof display, "Service number %07d of the bench", records - 1 - n);
        const std::string name = "Svc" + std::to_string(n);
        const char* state = (second && n % 10 == 0) ? "Service Stopped" : "Service Running";
        WriteLogField(90, display, false);
        WriteLogField(60, name.c_str(), false);
        WriteLogField(25, "WIN32_SHARE_PROCESS", false);
        WriteLogField(0, state, true);
    }
    CloseCurrentLog();
}

// Reads every field of a log the straightforward way: one byte per call.
int ReadByteByByte(const char* path) {
    HANDLE file = CreateFileA(path, GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    char byte;
    DWORD read = 0;
    int fields = 0, blanks = 0;
    while (ReadFile(file, &byte, 1, &read, nullptr) && read == 1) {
        blanks = byte == ' ' ? blanks + 1 : 0;
        fields += (byte == '\r' || blanks == 2);
    }
    CloseHandle(file);
    return fields;
}

std::vector<std::string> Names(int records, bool reversed) {
    std::vector<std::string> names;
    for (int i = 0; i < records; ++i) {
        names.push_back("Svc" + std::to_string(reversed ? records - 1 - i : i));
    }
    return names;
}

int PairByLinearScan(const std::vector<std::string>& first,
                     const std::vector<std::string>& second) {
    int paired = 0;
    for (const std::string& key : second) {
        for (const std::string& row : first) {
            if (row.size() == key.size() && lstrcmpiA(row.c_str(), key.c_str()) == 0) {
                ++paired;
                break;
            }
        }
    }
    return paired;
}

int PairByIndex(const std::vector<std::string>& first, const std::vector<std::string>& second) {
    PairingIndex index;
    for (size_t row = 0; row < first.size(); ++row) {
        index.Add(first[row], static_cast<int>(row));
    }
    int paired = 0;
    for (const std::string& key : second) {
        paired += index.Find(key) >= 0;
    }
    return paired;
}

// A click on a column header, as the list view reports it to the dialog.
void ClickHeader(HWND dialog, int column) {
    NMLISTVIEW click = {};
    click.hdr.hwndFrom = GetDlgItem(dialog, IDC_REPORT_LIST);
    click.hdr.idFrom = IDC_REPORT_LIST;
    click.hdr.code = LVN_COLUMNCLICK;
    click.iItem = -1;
    click.iSubItem = column;
    SendMessageA(dialog, WM_NOTIFY, IDC_REPORT_LIST, reinterpret_cast<LPARAM>(&click));
}

bool TopCellIs(HWND dialog, const char* expected) {
    char text[128] = {};
    LVITEMA item = {};
    item.pszText = text;
    item.cchTextMax = sizeof text;
    SendDlgItemMessageA(dialog, IDC_REPORT_LIST, LVM_GETITEMTEXTA, 0,
                        reinterpret_cast<LPARAM>(&item));
    return lstrcmpA(text, expected) == 0;
}

// The field reader over 64 KiB blocks, each field kept as a text of its line,
// as the comparison read its logs before it took them whole: the baseline of
// the reading throughput.
class BlockSource : public LogByteSource {
public:
    explicit BlockSource(HANDLE file) : file_(file), block_(64 * 1024) {}
    int ByteAt(int64_t offset) override {
        if (offset < start_ || offset >= start_ + length_) {
            LARGE_INTEGER distance;
            distance.QuadPart = offset;
            DWORD read = 0;
            if (!SetFilePointerEx(file_, distance, nullptr, FILE_BEGIN) ||
                !ReadFile(file_, block_.data(), static_cast<DWORD>(block_.size()), &read,
                          nullptr) ||
                read == 0) {
                return -1;
            }
            start_ = offset;
            length_ = read;
        }
        return static_cast<unsigned char>(block_[offset - start_]);
    }

private:
    HANDLE file_;
    std::vector<char> block_;
    int64_t start_ = 0;
    int64_t length_ = 0;
};

size_t ReadFieldsInBlocks(const char* path) {
    HANDLE file = CreateFileA(path, GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    LARGE_INTEGER size;
    GetFileSizeEx(file, &size);
    BlockSource source(file);
    int64_t position = 0;
    char field[kLogFieldBufferSize];
    size_t fields = 0;
    std::vector<std::vector<std::string>> lines(1);
    while (position < size.QuadPart) {
        const FieldEnd end = ScanLogField(source, position, field);
        if (end == FieldEnd::TooLong) {
            break;
        }
        lines.back().emplace_back(field);
        if (end != FieldEnd::Blanks) {
            lines.emplace_back();
        }
        ++fields;
    }
    CloseHandle(file);
    return fields;
}

// The reading of the comparison now: the whole log, then its lines, by the
// layout of its kind.
size_t ReadLinesWhole(const char* path) {
    HANDLE file = CreateFileA(path, GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    std::string bytes;
    ReadWholeLog(file, path, bytes);
    CloseHandle(file);
    LogReadingRules rules;
    rules.layout = LayoutOfLogName(path);
    const LogLines lines = ReadLogLines(bytes.data(), bytes.size(), rules);
    size_t fields = 1;
    for (const LogLine& line : lines.lines) {
        fields += line.fields.size();
    }
    return fields;
}

void Command(HWND dialog, int id, int code = BN_CLICKED) {
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, code),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

// What a user waits for in an open view: a search that finds nothing, the
// "Differences only" box on and off, and Alt+Down and Alt+End.
struct ViewSeconds {
    double search, filterOn, filterOff, altDown, altEnd;
    int shownWhenFiltered;
};

ViewSeconds TimeViewActions(HWND dialog) {
    ViewSeconds seconds = {};
    HWND list = GetDlgItem(dialog, IDC_REPORT_LIST);
    SetDlgItemTextA(dialog, IDC_SEARCH_TEXT, "*no such service*");
    double start = Now();
    Command(dialog, IDC_SEARCH);
    seconds.search = Now() - start;
    CheckDlgButton(dialog, IDC_DIFFERENCES_ONLY, BST_CHECKED);
    start = Now();
    Command(dialog, IDC_DIFFERENCES_ONLY);
    seconds.filterOn = Now() - start;
    seconds.shownWhenFiltered = static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
    CheckDlgButton(dialog, IDC_DIFFERENCES_ONLY, BST_UNCHECKED);
    start = Now();
    Command(dialog, IDC_DIFFERENCES_ONLY);
    seconds.filterOff = Now() - start;
    start = Now();
    SendMessageA(list, WM_SYSKEYDOWN, VK_DOWN, 0);
    seconds.altDown = Now() - start;
    start = Now();
    SendMessageA(list, WM_SYSKEYDOWN, VK_END, 0);
    seconds.altEnd = Now() - start;
    return seconds;
}

}  // namespace

int main(int argc, char** argv) {
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&controls);
    g_programInstance = GetModuleHandleA(nullptr);
    FillBlankBuffer();
    SetMessageBoxTarget(NoBoxes);
    lstrcpyA(g_firstLogName, "C:\\vorlix_bench_1.logServices");
    lstrcpyA(g_secondLogName, "C:\\vorlix_bench_2.logServices");

    std::printf("%-8s %9s %8s %8s %9s %9s %9s %9s %9s %11s %11s %11s %11s %11s\n", "records",
                "dialog s", "rows", "sort s", "search s", "only on s", "only off", "alt+down",
                "alt+end", "1-byte rd s", "block rd s", "whole rd s", "scan pair s", "index pair");
    for (int a = 1; a < argc; ++a) {
        const int records = std::atoi(argv[a]);
        WriteLog(g_firstLogName, records, false);
        WriteLog(g_secondLogName, records, true);

        double start = Now();
        HWND dialog = CreateDialogParamA(g_programInstance, MAKEINTRESOURCEA(IDD_REPORT), nullptr,
                                         CompareDialogProc, 3);
        const double dialogSeconds = Now() - start;
        const LRESULT rows = SendDlgItemMessageA(dialog, IDC_REPORT_LIST, LVM_GETITEMCOUNT, 0, 0);
        start = Now();
        ClickHeader(dialog, 0);
        const double sortSeconds = Now() - start;
        const bool reversed = TopCellIs(dialog, "Service number 0000000 of the bench");
        const ViewSeconds view = TimeViewActions(dialog);
        DestroyWindow(dialog);

        // Both readers over the same whole log, the fields they find compared.
        start = Now();
        const size_t blockFields = ReadFieldsInBlocks(g_firstLogName);
        const double blockSeconds = Now() - start;
        start = Now();
        const size_t wholeFields = ReadLinesWhole(g_firstLogName);
        const double wholeSeconds = Now() - start;

        // The straightforward reader is measured on at most 10,000 records:
        // its cost per byte does not change with the size of the log.
        const int readRecords = records < 10000 ? records : 10000;
        if (readRecords != records) {
            WriteLog(g_firstLogName, readRecords, false);
        }
        start = Now();
        ReadByteByByte(g_firstLogName);
        const double byteSeconds = (Now() - start) * records / readRecords;

        const std::vector<std::string> first = Names(records, false);
        const std::vector<std::string> second = Names(records, true);
        const int scanRecords = records < 5000 ? records : 5000;
        start = Now();
        PairByLinearScan(Names(scanRecords, false), Names(scanRecords, true));
        // The scan grows with the square of the size.
        const double scanSeconds = (Now() - start) * (static_cast<double>(records) / scanRecords) *
                                   (static_cast<double>(records) / scanRecords);
        start = Now();
        PairByIndex(first, second);
        const double indexSeconds = Now() - start;
        std::printf(
            "%-8d %9.3f %8ld %7.3f%s %9.4f %9.4f %9.4f %9.4f %9.4f %11.3f %11.3f %10.3f%s "
            "%11.3f %11.4f\n",
            records, dialogSeconds, static_cast<long>(rows), sortSeconds, reversed ? " " : "!",
            view.search, view.filterOn, view.filterOff, view.altDown, view.altEnd, byteSeconds,
            blockSeconds, wholeSeconds, blockFields == wholeFields ? " " : "!", scanSeconds,
            indexSeconds);
        if (view.shownWhenFiltered != records / 10) {
            std::printf("  Differences only showed %d rows, not %d\n", view.shownWhenFiltered,
                        records / 10);
        }
        std::fflush(stdout);
    }
    // The logs of the last size stay for bench/run.sh's sort and join.
    WriteLog(g_firstLogName, std::atoi(argv[argc - 1]), false);
    return 0;
}
