// Helpers shared by the tests that run the real Win32 code under Wine.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <string>
#include <vector>

struct RecordedBox {
    HWND owner;
    std::string text;
    std::string caption;
    UINT style;
};

// Records every message box instead of showing it, while it lives.
class MessageBoxRecorder {
public:
    MessageBoxRecorder();
    ~MessageBoxRecorder();
    const std::vector<RecordedBox>& Boxes() const;
    void Clear();
};

// Files under C:\ of the private test prefix.
std::string ReadFileBytes(const std::string& path);
void WriteFileBytes(const std::string& path, const std::string& bytes);
void RemoveFile(const std::string& path);
bool FileExistsAt(const std::string& path);
std::string SystemText(DWORD code);

// Dialog 129, created modeless with a command procedure, destroyed at the end.
class ReportDialogUnderTest {
public:
    ReportDialogUnderTest(DLGPROC procedure, LPARAM parameter);
    ~ReportDialogUnderTest();
    HWND Dialog() const { return dialog_; }
    HWND List() const;
    int RowCount() const;
    int ColumnCount() const;
    std::string ColumnTitle(int column) const;
    int ColumnWidth(int column) const;
    std::string Cell(int row, int column) const;
    std::vector<std::string> Row(int row) const;
    bool ControlVisible(int id) const;
    bool Checked(int id) const;
    LRESULT Command(int id);

private:
    HWND dialog_;
};

// Runs dialog 129 modally with the procedure; after initialisation the given
// messages are posted to it in order. A dialog still open after `timeoutMs`
// is ended with -1, so a dialog that ignores the messages cannot hang a test.
struct PostedMessage {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};
INT_PTR RunReportDialogModal(DLGPROC procedure, LPARAM parameter,
                             const std::vector<PostedMessage>& messages, UINT timeoutMs = 3000);

// The texts of a dialog's static controls and buttons that their control cannot show whole
// on one line in its own font, each noted with the pixels it needs and has; empty when every
// text is shown whole.
std::vector<std::string> TextsNotShownWhole(HWND dialog);

// The timestamp line form: "dd.mm.yyyy hh:mm ss".
bool LooksLikeTimestamp(const std::string& text);

// Whether the tests run under Wine, for the few checks where Wine differs.
bool RunningUnderWine();

// The tests are built for 64-bit Windows on machines that cannot run 32-bit
// programs; the few expectations that hold only for the 32-bit program are
// skipped there with this reason.
constexpr bool kBuiltFor64Bits = sizeof(void*) == 8;
constexpr const char* kOnlyThe32BitProgram =
    "holds only for the 32-bit program; this is the 64-bit build (64-bit mode)";

// Splits log bytes into lines at CR LF; a last line without CR LF is kept.
std::vector<std::string> SplitLogLines(const std::string& bytes);
