// Helpers shared by the tests that run the real Win32 code under Wine.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <string>
#include <vector>

#include "tests/win/file_support.h"

struct RecordedBox {
    HWND owner;
    std::string text;
    std::string caption;
    UINT style;
    // What the box is about, as the collect run writes it beside the text; "" when nothing.
    std::string subject;
};

// Records every message box instead of showing it, while it lives.
class MessageBoxRecorder {
public:
    MessageBoxRecorder();
    ~MessageBoxRecorder();
    const std::vector<RecordedBox>& Boxes() const;
    void Clear();
};

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
    std::string ControlText(int id) const;
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

// Escape, the close box and "OK", and what the export check, the service listing and the
// comparison end their dialog with for each.
struct ReportClosing {
    const char* how;
    PostedMessage message;
    INT_PTR result;
};
extern const ReportClosing kReportClosings[3];

// The timestamp line form: "dd.mm.yyyy hh:mm ss".
bool LooksLikeTimestamp(const std::string& text);

// The tests are built for 64-bit Windows on machines that cannot run 32-bit
// programs; the few expectations that hold only for the 32-bit program are
// skipped there with this reason.
constexpr bool kBuiltFor64Bits = sizeof(void*) == 8;
constexpr const char* kOnlyThe32BitProgram =
    "holds only for the 32-bit program; this is the 64-bit build (64-bit mode)";

// Splits log bytes into lines at CR LF; a last line without CR LF is kept.
std::vector<std::string> SplitLogLines(const std::string& bytes);

// The text padded with blanks to `width` characters, as a non-last log field (unchanged when
// it is as long or longer).
std::string PadTo(const std::string& text, size_t width);

// Sets (or, with nullptr, removes) a variable of the test process for the life of the
// object, then restores what it was.
class ScopedEnvironmentVariable {
public:
    ScopedEnvironmentVariable(const char* name, const char* value);
    ~ScopedEnvironmentVariable();
    ScopedEnvironmentVariable(const ScopedEnvironmentVariable&) = delete;
    ScopedEnvironmentVariable& operator=(const ScopedEnvironmentVariable&) = delete;
    // False when the system refused the value.
    bool Applied() const { return applied_; }

private:
    std::string name_;
    std::string saved_;
    bool existed_;
    bool applied_;
};

// Points this program's import of dll!function at `replacement` while it lives, so that a
// test can make one system call fail, or watch its arguments, as the code under test makes it.
class ImportPatch {
public:
    ImportPatch(const char* dll, const char* function, void* replacement);
    ~ImportPatch();
    ImportPatch(const ImportPatch&) = delete;
    ImportPatch& operator=(const ImportPatch&) = delete;

    bool Active() const { return slot_ != nullptr; }
    // The system's own function, for replacements that pass calls on.
    template <typename Function>
    Function Original() const {
        return reinterpret_cast<Function>(original_);
    }

private:
    void** slot_;
    void* original_;
};

struct ChildRun {
    DWORD exitCode;  // -1 when the child was ended after the time-out
    std::string output;
    // Whether a test named by the filter ran and passed (a filter that matches nothing also
    // exits with 0).
    bool passed;
};

// Runs a copy of a test program with the arguments (in `folder`, or in this one's with
// nullptr), its output going through a file, and ends it after `timeoutMs`.
ChildRun RunTestProgram(const std::string& program, const std::string& arguments, DWORD timeoutMs,
                        const char* folder = nullptr);

// The path of this test program.
std::string ThisProgram();
