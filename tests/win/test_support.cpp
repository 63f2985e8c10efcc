#include "tests/win/test_support.h"

#include <cctype>
#include <cstdio>
#include <cstring>

#include "platform/message_box_win.h"
#include "res/resource.h"

namespace {

std::vector<RecordedBox> g_boxes;

int RecordBox(HWND owner, const char* text, const char* caption, UINT style, const char* subject) {
    g_boxes.push_back({owner, text ? text : "", caption ? caption : "", style, subject});
    return IDOK;
}

}  // namespace

MessageBoxRecorder::MessageBoxRecorder() {
    g_boxes.clear();
    SetMessageBoxTarget(RecordBox);
}

MessageBoxRecorder::~MessageBoxRecorder() {
    g_boxes.clear();
}

const std::vector<RecordedBox>& MessageBoxRecorder::Boxes() const {
    return g_boxes;
}

void MessageBoxRecorder::Clear() {
    g_boxes.clear();
}

ReportDialogUnderTest::ReportDialogUnderTest(DLGPROC procedure, LPARAM parameter)
    : dialog_(CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_REPORT), nullptr,
                                 procedure, parameter)) {}

ReportDialogUnderTest::~ReportDialogUnderTest() {
    if (dialog_) {
        DestroyWindow(dialog_);
    }
}

HWND ReportDialogUnderTest::List() const {
    return GetDlgItem(dialog_, IDC_REPORT_LIST);
}

int ReportDialogUnderTest::RowCount() const {
    return static_cast<int>(SendMessageA(List(), LVM_GETITEMCOUNT, 0, 0));
}

int ReportDialogUnderTest::ColumnCount() const {
    HWND header = reinterpret_cast<HWND>(SendMessageA(List(), LVM_GETHEADER, 0, 0));
    return static_cast<int>(SendMessageA(header, HDM_GETITEMCOUNT, 0, 0));
}

std::string ReportDialogUnderTest::ColumnTitle(int column) const {
    char title[260] = {};
    LVCOLUMNA record = {};
    record.mask = LVCF_TEXT;
    record.pszText = title;
    record.cchTextMax = sizeof title;
    if (!SendMessageA(List(), LVM_GETCOLUMNA, column, reinterpret_cast<LPARAM>(&record))) {
        return "<no column>";
    }
    return title;
}

int ReportDialogUnderTest::ColumnWidth(int column) const {
    return static_cast<int>(SendMessageA(List(), LVM_GETCOLUMNWIDTH, column, 0));
}

std::string ReportDialogUnderTest::Cell(int row, int column) const {
    static char text[4096];
    text[0] = '\0';
    LVITEMA item = {};
    item.iSubItem = column;
    item.pszText = text;
    item.cchTextMax = sizeof text;
    SendMessageA(List(), LVM_GETITEMTEXTA, row, reinterpret_cast<LPARAM>(&item));
    return text;
}

std::vector<std::string> ReportDialogUnderTest::Row(int row) const {
    std::vector<std::string> cells;
    for (int column = 0; column < ColumnCount(); ++column) {
        cells.push_back(Cell(row, column));
    }
    return cells;
}

bool ReportDialogUnderTest::ControlVisible(int id) const {
    return (GetWindowLongA(GetDlgItem(dialog_, id), GWL_STYLE) & WS_VISIBLE) != 0;
}

std::string ReportDialogUnderTest::ControlText(int id) const {
    char text[2048] = {};
    GetDlgItemTextA(dialog_, id, text, sizeof text);
    return text;
}

bool ReportDialogUnderTest::Checked(int id) const {
    return SendDlgItemMessageA(dialog_, id, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

LRESULT ReportDialogUnderTest::Command(int id) {
    return SendMessageA(dialog_, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                        reinterpret_cast<LPARAM>(GetDlgItem(dialog_, id)));
}

namespace {

struct ModalRun {
    DLGPROC procedure;
    const std::vector<PostedMessage>* messages;
    UINT timeoutMs;
};
ModalRun* g_modalRun = nullptr;
constexpr UINT_PTR kTimeoutTimer = 0x7E57;

INT_PTR CALLBACK ModalWrapper(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_TIMER && wParam == kTimeoutTimer) {
        KillTimer(dialog, kTimeoutTimer);
        EndDialog(dialog, -1);
        return TRUE;
    }
    const INT_PTR result = g_modalRun->procedure(dialog, message, wParam, lParam);
    if (message == WM_INITDIALOG) {
        for (const PostedMessage& posted : *g_modalRun->messages) {
            PostMessageA(dialog, posted.message, posted.wParam, posted.lParam);
        }
        SetTimer(dialog, kTimeoutTimer, g_modalRun->timeoutMs, nullptr);
    }
    return result;
}

}  // namespace

INT_PTR RunReportDialogModal(DLGPROC procedure, LPARAM parameter,
                             const std::vector<PostedMessage>& messages, UINT timeoutMs) {
    ModalRun run{procedure, &messages, timeoutMs};
    g_modalRun = &run;
    const INT_PTR result = DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_REPORT),
                                           nullptr, ModalWrapper, parameter);
    g_modalRun = nullptr;
    return result;
}

const ReportClosing kReportClosings[3] = {
    {"Escape", {WM_COMMAND, MAKEWPARAM(IDCANCEL, 0), 0}, IDCANCEL},
    {"close box", {WM_CLOSE, 0, 0}, IDCANCEL},
    {"OK", {WM_COMMAND, MAKEWPARAM(IDC_REPORT_OK, BN_CLICKED), 0}, IDC_REPORT_OK},
};

bool LooksLikeTimestamp(const std::string& text) {
    const char* form = "dd.dd.dddd dd:dd dd";
    if (text.size() != 19) {
        return false;
    }
    for (size_t i = 0; i < text.size(); ++i) {
        if (form[i] == 'd' ? !std::isdigit(static_cast<unsigned char>(text[i]))
                           : text[i] != form[i]) {
            return false;
        }
    }
    return true;
}

std::vector<std::string> SplitLogLines(const std::string& bytes) {
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < bytes.size()) {
        const size_t end = bytes.find("\r\n", start);
        if (end == std::string::npos) {
            lines.push_back(bytes.substr(start));
            break;
        }
        lines.push_back(bytes.substr(start, end - start));
        start = end + 2;
    }
    return lines;
}

std::string PadTo(const std::string& text, size_t width) {
    return text.size() < width ? text + std::string(width - text.size(), ' ') : text;
}

ScopedEnvironmentVariable::ScopedEnvironmentVariable(const char* name, const char* value)
    : name_(name) {
    const DWORD size = GetEnvironmentVariableA(name, nullptr, 0);
    existed_ = size != 0 || GetLastError() != ERROR_ENVVAR_NOT_FOUND;
    if (size != 0) {
        saved_.assign(size, '\0');
        saved_.resize(GetEnvironmentVariableA(name, &saved_[0], size));
    }
    applied_ = SetEnvironmentVariableA(name, value) != FALSE;
}

ScopedEnvironmentVariable::~ScopedEnvironmentVariable() {
    SetEnvironmentVariableA(name_.c_str(), existed_ ? saved_.c_str() : nullptr);
}

namespace {

// The import address slot of dll!function in this program's import table.
void** FindImportSlot(const char* dll, const char* function) {
    auto* base = reinterpret_cast<BYTE*>(GetModuleHandleA(nullptr));
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& imports =
        nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    if (imports.VirtualAddress == 0) {
        return nullptr;
    }
    auto* descriptor = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + imports.VirtualAddress);
    for (; descriptor->Name != 0; ++descriptor) {
        if (lstrcmpiA(reinterpret_cast<const char*>(base + descriptor->Name), dll) != 0) {
            continue;
        }
        const DWORD nameTable = descriptor->OriginalFirstThunk != 0 ? descriptor->OriginalFirstThunk
                                                                    : descriptor->FirstThunk;
        auto* names = reinterpret_cast<IMAGE_THUNK_DATA*>(base + nameTable);
        auto* slots = reinterpret_cast<IMAGE_THUNK_DATA*>(base + descriptor->FirstThunk);
        for (; names->u1.AddressOfData != 0; ++names, ++slots) {
            if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal)) {
                continue;
            }
            const auto* byName =
                reinterpret_cast<const IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData);
            if (std::strcmp(reinterpret_cast<const char*>(byName->Name), function) == 0) {
                return reinterpret_cast<void**>(&slots->u1.Function);
            }
        }
    }
    return nullptr;
}

void WriteSlot(void** slot, void* value) {
    DWORD protection = 0;
    VirtualProtect(slot, sizeof *slot, PAGE_READWRITE, &protection);
    *slot = value;
    VirtualProtect(slot, sizeof *slot, protection, &protection);
}

}  // namespace

ImportPatch::ImportPatch(const char* dll, const char* function, void* replacement)
    : slot_(FindImportSlot(dll, function)), original_(slot_ ? *slot_ : nullptr) {
    if (slot_) {
        WriteSlot(slot_, replacement);
    }
}

ImportPatch::~ImportPatch() {
    if (slot_) {
        WriteSlot(slot_, original_);
    }
}

std::string ThisProgram() {
    char program[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, program, sizeof program);
    return program;
}

ChildRun RunTestProgram(const std::string& program, const std::string& arguments, DWORD timeoutMs,
                        const char* folder) {
    ChildRun run{static_cast<DWORD>(-1), std::string(), false};
    char outputPath[MAX_PATH];
    char temporary[MAX_PATH];
    GetTempPathA(sizeof temporary, temporary);
    GetTempFileNameA(temporary, "vlx", 0, outputPath);

    SECURITY_ATTRIBUTES inheritable = {sizeof inheritable, nullptr, TRUE};
    HANDLE output = CreateFileA(outputPath, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                &inheritable, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    std::string commandLine = "\"" + program + "\" " + arguments;
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = output;
    startup.hStdError = output;
    PROCESS_INFORMATION process = {};
    BOOL started = FALSE;
    {
        // The child must not overwrite the report of the run that started it.
        ScopedEnvironmentVariable noReport("GTEST_OUTPUT", nullptr);
        started = CreateProcessA(program.c_str(), &commandLine[0], nullptr, nullptr, TRUE, 0,
                                 nullptr, folder, &startup, &process);
    }
    CloseHandle(output);
    if (started) {
        if (WaitForSingleObject(process.hProcess, timeoutMs) != WAIT_OBJECT_0) {
            TerminateProcess(process.hProcess, static_cast<UINT>(-1));
            WaitForSingleObject(process.hProcess, INFINITE);
            run.output = "child ended after the time-out\n";
        }
        GetExitCodeProcess(process.hProcess, &run.exitCode);
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    } else {
        run.output = "child not started: " + SystemText(GetLastError());
    }
    run.output += ReadFileBytes(outputPath);
    DeleteFileA(outputPath);
    run.passed = run.exitCode == 0 && run.output.find("[       OK ]") != std::string::npos &&
                 run.output.find("[  FAILED  ]") == std::string::npos;
    return run;
}

namespace {

// Pixels of a control's client width that its text cannot use: the box and the gap before
// the text of a check box or radio button (the gap is half a digit, as the system button
// draws it), the edges of a push button or group box. -1 for a control without a text
// that the user reads.
int PixelsBesideText(HWND control, HDC dc) {
    char windowClass[32] = {};
    GetClassNameA(control, windowClass, sizeof windowClass);
    if (lstrcmpiA(windowClass, "Static") == 0) {
        return 0;
    }
    if (lstrcmpiA(windowClass, "Button") != 0) {
        return -1;
    }
    switch (GetWindowLongA(control, GWL_STYLE) & BS_TYPEMASK) {
        case BS_CHECKBOX:
        case BS_AUTOCHECKBOX:
        case BS_3STATE:
        case BS_AUTO3STATE:
        case BS_RADIOBUTTON:
        case BS_AUTORADIOBUTTON: {
            INT digit = 0;
            GetCharWidth32A(dc, '0', '0', &digit);
            return GetSystemMetrics(SM_CXMENUCHECK) + digit / 2;
        }
        default:
            return 4 * GetSystemMetrics(SM_CXEDGE);
    }
}

}  // namespace

std::vector<std::string> TextsNotShownWhole(HWND dialog) {
    std::vector<std::string> clipped;
    for (HWND control = GetWindow(dialog, GW_CHILD); control != nullptr;
         control = GetWindow(control, GW_HWNDNEXT)) {
        char text[256] = {};
        const int length = GetWindowTextA(control, text, sizeof text);
        if (length == 0) {
            continue;
        }
        HDC dc = GetDC(control);
        const HGDIOBJ oldFont =
            SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(control, WM_GETFONT, 0, 0)));
        const int beside = PixelsBesideText(control, dc);
        SIZE extent = {};
        GetTextExtentPoint32A(dc, text, length, &extent);
        SelectObject(dc, oldFont);
        ReleaseDC(control, dc);
        RECT client;
        GetClientRect(control, &client);
        if (beside >= 0 && (extent.cx + beside > client.right || extent.cy > client.bottom)) {
            char note[400];
            std::snprintf(note, sizeof note, "\"%s\" needs %ld x %ld pixels, has %ld x %ld", text,
                          static_cast<long>(extent.cx + beside), static_cast<long>(extent.cy),
                          static_cast<long>(client.right), static_cast<long>(client.bottom));
            clipped.push_back(note);
        }
    }
    return clipped;
}
