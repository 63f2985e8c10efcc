// Drives the real vorlix.exe from another process: starts it, sends menu
// commands, finds its dialogs and message boxes, reads its list view and
// answers what it asks, as a user would.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "tests/win/file_support.h"

class VorlixSession {
public:
    // Starts the program with the arguments (none by default) and waits for
    // its main window.
    explicit VorlixSession(const std::string& arguments = "");
    ~VorlixSession();
    VorlixSession(const VorlixSession&) = delete;
    VorlixSession& operator=(const VorlixSession&) = delete;

    bool Started() const { return mainWindow_ != nullptr; }
    HWND MainWindow() const { return mainWindow_; }
    DWORD ExitCode(DWORD waitMs);

    // Posts a menu command to the main window.
    void Command(int id);
    // A visible top-level dialog of the program with that caption, or nullptr
    // when none appears within the time.
    HWND WaitForDialog(const std::string& caption, DWORD timeoutMs = 20000);
    // Every visible dialog or message box of the program; with `hidden`, also those not
    // (or not yet) shown.
    std::vector<HWND> Dialogs(bool hidden = false);
    // Returns once the program's thread has handled what it was doing and turns to its
    // messages again (a message sent to the main window comes back). A dialog that it
    // opened meanwhile exists by then, if not yet shown.
    bool WaitUntilIdle(DWORD timeoutMs = 20000);
    // A visible menu of the program (a context menu that is open), or nullptr.
    HWND OpenMenu();
    // Waits until the window is gone.
    bool WaitUntilClosed(HWND window, DWORD timeoutMs = 20000);

    // The list view of a report dialog, read across the process boundary.
    int RowCount(HWND dialog);
    std::vector<std::string> ColumnTitles(HWND dialog);
    std::string Cell(HWND dialog, int row, int column);
    int SelectedCount(HWND dialog);
    // The middle of a row's first cell, in screen coordinates.
    POINT RowPoint(HWND dialog, int row);
    // The middle of a column's title, in screen coordinates.
    POINT ColumnTitlePoint(HWND dialog, int column);
    // Hands the names to the main window as the shell does on a drop.
    void DropFiles(const std::vector<std::string>& paths);

    // The text of a message box (its static text that is not the icon).
    std::string MessageBoxText(HWND box);
    // Types a path into the file-open dialog and presses "Open".
    void ChooseFile(HWND fileDialog, const std::string& path);
    // Selects the folder in the system's folder picker (as its owner may, BFFM_SETSELECTION)
    // and presses "OK".
    void ChooseFolder(HWND picker, const std::string& path);

private:
    PROCESS_INFORMATION process_ = {};
    HWND mainWindow_ = nullptr;
};

std::string WindowText(HWND window);

// Checks the condition every few milliseconds until it holds (true) or the time is up
// (false): the tests wait on what they wait for, never for a fixed time.
bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs = 10000);

// Brings the window to the front and waits until it is there.
bool BringToFront(HWND window);

// The report dialog whose first column has the title (other than `other`), or nullptr when
// none shows within the time.
HWND WaitForReport(VorlixSession& session, const char* firstTitle, HWND other = nullptr,
                   DWORD timeoutMs = 30000);
// Clicks the row's first cell until the row is the one selected.
void ClickRow(VorlixSession& session, HWND dialog, int row);
// The first row whose cell in the column holds the text; -1 when none does.
int RowOfCell(VorlixSession& session, HWND dialog, int column, const std::string& text);

// A run of the program that ends by itself (such as "/collect"): its exit
// code, what it wrote to its standard output, and whether any window of it
// became visible meanwhile.
struct FinishedRun {
    DWORD exitCode = STILL_ACTIVE;
    std::string output;
    bool showedWindow = false;
};
FinishedRun RunToEnd(const std::string& arguments, const char* currentDirectory = nullptr,
                     DWORD timeoutMs = 120000);

// The CF_TEXT text on the clipboard.
std::string ClipboardText();

// Asks scripts/screenshots.sh (which watches the folder named by
// VORLIX_SCREENSHOT_DIR) to photograph the screen now, and waits for it.
void TakeScreenshot(const std::string& name);

// Presses the key with the modifiers held, released in reverse order, as a
// user would.
void PressChord(const std::vector<BYTE>& modifiers, BYTE key);
