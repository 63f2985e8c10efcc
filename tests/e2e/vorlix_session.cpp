#include "tests/e2e/vorlix_session.h"

#include <gtest/gtest.h>

#include <commctrl.h>
#include <shlobj.h>

#include <cstdlib>

namespace {

// The program's path as a Windows path (the build passes a Unix one).
std::string ProgramPath() {
    const char* path = std::getenv("VORLIX_EXE");
    std::string result = path ? path : "vorlix.exe";
    if (!result.empty() && result[0] == '/') {
        result = "Z:" + result;
        for (char& c : result) {
            if (c == '/') {
                c = '\\';
            }
        }
    }
    return result;
}

struct FindDialog {
    DWORD processId;
    std::string caption;
    HWND found;
};

struct CollectDialogs {
    DWORD processId;
    bool hidden;
    const char* windowClass;
    std::vector<HWND> found;
};

BOOL CALLBACK AddDialog(HWND window, LPARAM parameter) {
    CollectDialogs* collect = reinterpret_cast<CollectDialogs*>(parameter);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    char windowClass[32] = {};
    GetClassNameA(window, windowClass, sizeof windowClass);
    if (owner == collect->processId && (collect->hidden || IsWindowVisible(window)) &&
        std::string(windowClass) == collect->windowClass) {
        collect->found.push_back(window);
    }
    return TRUE;
}

BOOL CALLBACK MatchDialog(HWND window, LPARAM parameter) {
    FindDialog* find = reinterpret_cast<FindDialog*>(parameter);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    char windowClass[32] = {};
    GetClassNameA(window, windowClass, sizeof windowClass);
    if (owner == find->processId && IsWindowVisible(window) &&
        std::string(windowClass) == "#32770" && WindowText(window) == find->caption) {
        find->found = window;
        return FALSE;
    }
    return TRUE;
}

// Memory inside the program's process, for list-view messages that carry
// pointers.
class RemoteBuffer {
public:
    RemoteBuffer(HANDLE process, SIZE_T size)
        : process_(process),
          address_(VirtualAllocEx(process, nullptr, size, MEM_COMMIT, PAGE_READWRITE)) {}
    ~RemoteBuffer() {
        if (address_) {
            VirtualFreeEx(process_, address_, 0, MEM_RELEASE);
        }
    }
    char* At(SIZE_T offset) const { return static_cast<char*>(address_) + offset; }
    void Write(SIZE_T offset, const void* data, SIZE_T size) {
        WriteProcessMemory(process_, At(offset), data, size, nullptr);
    }
    void Read(SIZE_T offset, void* data, SIZE_T size) {
        ReadProcessMemory(process_, At(offset), data, size, nullptr);
    }

private:
    HANDLE process_;
    void* address_;
};

constexpr SIZE_T kTextOffset = 256;
constexpr SIZE_T kTextSize = 4096;

}  // namespace

bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs) {
    const DWORD start = GetTickCount();
    while (!condition()) {
        if (GetTickCount() - start > timeoutMs) {
            return false;
        }
        Sleep(10);
    }
    return true;
}

bool BringToFront(HWND window) {
    SetForegroundWindow(window);
    return WaitUntil([&] { return GetForegroundWindow() == window; }, 5000);
}

std::string WindowText(HWND window) {
    char text[1024] = {};
    SendMessageTimeoutA(window, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text),
                        SMTO_ABORTIFHUNG, 5000, nullptr);
    return text;
}

VorlixSession::VorlixSession(const std::string& arguments) {
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    std::string commandLine = "\"" + ProgramPath() + "\"";
    if (!arguments.empty()) {
        commandLine += " " + arguments;
    }
    if (!CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process_)) {
        return;
    }
    WaitForInputIdle(process_.hProcess, 20000);
    for (int i = 0; i < 1000 && !mainWindow_; ++i) {
        HWND window = FindWindowA("VORLIX", "Vorlix");
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        if (window && owner == process_.dwProcessId) {
            mainWindow_ = window;
        } else {
            Sleep(20);
        }
    }
}

VorlixSession::~VorlixSession() {
    if (process_.hProcess) {
        if (WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT) {
            TerminateProcess(process_.hProcess, 1);
            WaitForSingleObject(process_.hProcess, 5000);
        }
        CloseHandle(process_.hThread);
        CloseHandle(process_.hProcess);
    }
}

DWORD VorlixSession::ExitCode(DWORD waitMs) {
    if (WaitForSingleObject(process_.hProcess, waitMs) != WAIT_OBJECT_0) {
        return STILL_ACTIVE;
    }
    DWORD code = 0;
    GetExitCodeProcess(process_.hProcess, &code);
    return code;
}

void VorlixSession::Command(int id) {
    PostMessageA(mainWindow_, WM_COMMAND, id, 0);
}

HWND VorlixSession::WaitForDialog(const std::string& caption, DWORD timeoutMs) {
    const DWORD start = GetTickCount();
    do {
        FindDialog find = {process_.dwProcessId, caption, nullptr};
        EnumWindows(MatchDialog, reinterpret_cast<LPARAM>(&find));
        if (find.found) {
            return find.found;
        }
        Sleep(10);
    } while (GetTickCount() - start < timeoutMs);
    return nullptr;
}

std::vector<HWND> VorlixSession::Dialogs(bool hidden) {
    CollectDialogs collect = {process_.dwProcessId, hidden, "#32770", {}};
    EnumWindows(AddDialog, reinterpret_cast<LPARAM>(&collect));
    return collect.found;
}

bool VorlixSession::WaitUntilIdle(DWORD timeoutMs) {
    DWORD_PTR result = 0;
    return SendMessageTimeoutA(mainWindow_, WM_NULL, 0, 0, SMTO_NORMAL, timeoutMs, &result) != 0;
}

HWND VorlixSession::OpenMenu() {
    CollectDialogs collect = {process_.dwProcessId, false, "#32768", {}};
    EnumWindows(AddDialog, reinterpret_cast<LPARAM>(&collect));
    return collect.found.empty() ? nullptr : collect.found.front();
}

bool VorlixSession::WaitUntilClosed(HWND window, DWORD timeoutMs) {
    const DWORD start = GetTickCount();
    while (IsWindow(window) && IsWindowVisible(window)) {
        if (GetTickCount() - start > timeoutMs) {
            return false;
        }
        Sleep(10);
    }
    return true;
}

int VorlixSession::RowCount(HWND dialog) {
    return static_cast<int>(SendMessageA(GetDlgItem(dialog, 1000), LVM_GETITEMCOUNT, 0, 0));
}

std::vector<std::string> VorlixSession::ColumnTitles(HWND dialog) {
    std::vector<std::string> titles;
    HWND list = GetDlgItem(dialog, 1000);
    RemoteBuffer remote(process_.hProcess, kTextOffset + kTextSize);
    for (int i = 0;; ++i) {
        LVCOLUMNA column = {};
        column.mask = LVCF_TEXT;
        column.pszText = remote.At(kTextOffset);
        column.cchTextMax = kTextSize;
        remote.Write(0, &column, sizeof column);
        if (!SendMessageA(list, LVM_GETCOLUMNA, i, reinterpret_cast<LPARAM>(remote.At(0)))) {
            break;
        }
        char text[kTextSize] = {};
        remote.Read(kTextOffset, text, sizeof text - 1);
        titles.push_back(text);
    }
    return titles;
}

std::string VorlixSession::Cell(HWND dialog, int row, int column) {
    RemoteBuffer remote(process_.hProcess, kTextOffset + kTextSize);
    LVITEMA item = {};
    item.iSubItem = column;
    item.pszText = remote.At(kTextOffset);
    item.cchTextMax = kTextSize;
    remote.Write(0, &item, sizeof item);
    char empty = 0;
    remote.Write(kTextOffset, &empty, 1);
    SendMessageA(GetDlgItem(dialog, 1000), LVM_GETITEMTEXTA, row,
                 reinterpret_cast<LPARAM>(remote.At(0)));
    char text[kTextSize] = {};
    remote.Read(kTextOffset, text, sizeof text - 1);
    return text;
}

int VorlixSession::SelectedCount(HWND dialog) {
    return static_cast<int>(SendMessageA(GetDlgItem(dialog, 1000), LVM_GETSELECTEDCOUNT, 0, 0));
}

POINT VorlixSession::RowPoint(HWND dialog, int row) {
    RemoteBuffer remote(process_.hProcess, sizeof(RECT));
    RECT rect = {};
    rect.left = LVIR_LABEL;
    remote.Write(0, &rect, sizeof rect);
    const HWND list = GetDlgItem(dialog, 1000);
    SendMessageA(list, LVM_GETITEMRECT, row, reinterpret_cast<LPARAM>(remote.At(0)));
    remote.Read(0, &rect, sizeof rect);
    POINT point = {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
    ClientToScreen(list, &point);
    return point;
}

POINT VorlixSession::ColumnTitlePoint(HWND dialog, int column) {
    const HWND header =
        reinterpret_cast<HWND>(SendMessageA(GetDlgItem(dialog, 1000), LVM_GETHEADER, 0, 0));
    RemoteBuffer remote(process_.hProcess, sizeof(RECT));
    RECT rect = {};
    SendMessageA(header, HDM_GETITEMRECT, column, reinterpret_cast<LPARAM>(remote.At(0)));
    remote.Read(0, &rect, sizeof rect);
    POINT point = {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
    ClientToScreen(header, &point);
    return point;
}

// The shell hands a drop over as a DROPFILES block in the receiver's memory;
// the block is placed there the same way.
void VorlixSession::DropFiles(const std::vector<std::string>& paths) {
    std::string names;
    for (const std::string& path : paths) {
        names += path + '\0';
    }
    names += '\0';
    DROPFILES header = {};
    header.pFiles = sizeof header;
    std::string block(reinterpret_cast<const char*>(&header), sizeof header);
    block += names;
    void* remote =
        VirtualAllocEx(process_.hProcess, nullptr, block.size(), MEM_COMMIT, PAGE_READWRITE);
    WriteProcessMemory(process_.hProcess, remote, block.data(), block.size(), nullptr);
    PostMessageA(mainWindow_, WM_DROPFILES, reinterpret_cast<WPARAM>(remote), 0);
}

std::string VorlixSession::MessageBoxText(HWND box) {
    std::string longest;
    for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        char windowClass[32] = {};
        GetClassNameA(child, windowClass, sizeof windowClass);
        const std::string text = WindowText(child);
        if (lstrcmpiA(windowClass, "Static") == 0 && text.size() > longest.size()) {
            longest = text;
        }
    }
    return longest;
}

void VorlixSession::ChooseFile(HWND fileDialog, const std::string& path) {
    SendMessageA(GetDlgItem(fileDialog, 0x47C), WM_SETTEXT, 0,
                 reinterpret_cast<LPARAM>(path.c_str()));
    PostMessageA(fileDialog, WM_COMMAND, IDOK, 0);
}

void VorlixSession::ChooseFolder(HWND picker, const std::string& path) {
    RemoteBuffer remote(process_.hProcess, path.size() + 1);
    remote.Write(0, path.c_str(), path.size() + 1);
    SendMessageA(picker, BFFM_SETSELECTIONA, TRUE, reinterpret_cast<LPARAM>(remote.At(0)));
    SendMessageA(picker, WM_COMMAND, IDOK, 0);
}

namespace {

bool HasColumnTitled(VorlixSession& session, HWND dialog, const char* title) {
    const std::vector<std::string> titles = session.ColumnTitles(dialog);
    return !titles.empty() && titles[0] == title;
}

}  // namespace

HWND WaitForReport(VorlixSession& session, const char* firstTitle, HWND other, DWORD timeoutMs) {
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < timeoutMs) {
        for (HWND window : session.Dialogs()) {
            if (window != other && GetDlgItem(window, 1000) != nullptr &&
                HasColumnTitled(session, window, firstTitle)) {
                return window;
            }
        }
        Sleep(50);
    }
    return nullptr;
}

void ClickRow(VorlixSession& session, HWND dialog, int row) {
    HWND list = GetDlgItem(dialog, 1000);
    for (int attempt = 0; attempt < 10; ++attempt) {
        SetForegroundWindow(dialog);
        const POINT point = session.RowPoint(dialog, row);
        SetCursorPos(point.x, point.y);
        mouse_event(MOUSEEVENTF_LEFTDOWN, 0, 0, 0, 0);
        mouse_event(MOUSEEVENTF_LEFTUP, 0, 0, 0, 0);
        for (int wait = 0; wait < 20; ++wait) {
            Sleep(25);
            if (SendMessageA(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED) ==
                row) {
                return;
            }
        }
    }
    ADD_FAILURE() << "row " << row << " could not be selected";
}

int RowOfCell(VorlixSession& session, HWND dialog, int column, const std::string& text) {
    for (int row = 0; row < session.RowCount(dialog); ++row) {
        if (session.Cell(dialog, row, column) == text) {
            return row;
        }
    }
    return -1;
}

namespace {

BOOL CALLBACK FindVisibleWindow(HWND window, LPARAM parameter) {
    auto* run = reinterpret_cast<std::pair<DWORD, bool>*>(parameter);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == run->first && IsWindowVisible(window)) {
        run->second = true;
        return FALSE;
    }
    return TRUE;
}

}  // namespace

FinishedRun RunToEnd(const std::string& arguments, const char* currentDirectory, DWORD timeoutMs) {
    FinishedRun run;
    char outputPath[MAX_PATH];
    char folder[MAX_PATH];
    GetTempPathA(sizeof folder, folder);
    GetTempFileNameA(folder, "vxo", 0, outputPath);
    SECURITY_ATTRIBUTES inheritable = {sizeof inheritable, nullptr, TRUE};
    HANDLE output = CreateFileA(outputPath, GENERIC_WRITE, FILE_SHARE_READ, &inheritable,
                                CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = output;
    startup.hStdError = output;
    std::string commandLine = "\"" + ProgramPath() + "\" " + arguments;
    PROCESS_INFORMATION process = {};
    if (CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, TRUE, 0, nullptr,
                       currentDirectory, &startup, &process)) {
        const DWORD start = GetTickCount();
        while (WaitForSingleObject(process.hProcess, 20) == WAIT_TIMEOUT &&
               GetTickCount() - start < timeoutMs) {
            std::pair<DWORD, bool> seen(process.dwProcessId, false);
            EnumWindows(FindVisibleWindow, reinterpret_cast<LPARAM>(&seen));
            run.showedWindow = run.showedWindow || seen.second;
        }
        if (WaitForSingleObject(process.hProcess, 0) == WAIT_OBJECT_0) {
            GetExitCodeProcess(process.hProcess, &run.exitCode);
        } else {
            TerminateProcess(process.hProcess, 1);
        }
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }
    const DWORD startError = process.hProcess == nullptr ? GetLastError() : 0;
    CloseHandle(output);
    run.output = ReadFileBytes(outputPath);
    DeleteFileA(outputPath);
    if (process.hProcess == nullptr) {
        // A test that finds no report then says why: the program never ran.
        run.output = "CreateProcess failed with error " + std::to_string(startError) + ": " +
                     commandLine + "\r\n" + run.output;
    }
    return run;
}

std::string ClipboardText() {
    std::string text;
    for (int attempt = 0; attempt < 50 && !OpenClipboard(nullptr); ++attempt) {
        Sleep(20);
    }
    if (HANDLE data = GetClipboardData(CF_TEXT)) {
        if (const char* bytes = static_cast<const char*>(GlobalLock(data))) {
            text = bytes;
            GlobalUnlock(data);
        }
    }
    CloseClipboard();
    return text;
}

void TakeScreenshot(const std::string& name) {
    const char* folder = std::getenv("VORLIX_SCREENSHOT_DIR");
    if (folder == nullptr) {
        return;
    }
    std::string request = std::string("Z:") + folder + "/request";
    for (char& c : request) {
        if (c == '/') {
            c = '\\';
        }
    }
    Sleep(700);
    WriteFileBytes(request, name);
    for (int i = 0; i < 200 && GetFileAttributesA(request.c_str()) != INVALID_FILE_ATTRIBUTES;
         ++i) {
        Sleep(100);
    }
}

// Presses the key with the modifiers held, released in reverse order, as a
// user would.
void PressChord(const std::vector<BYTE>& modifiers, BYTE key) {
    for (BYTE modifier : modifiers) {
        keybd_event(modifier, 0, 0, 0);
    }
    keybd_event(key, 0, 0, 0);
    keybd_event(key, 0, KEYEVENTF_KEYUP, 0);
    for (auto modifier = modifiers.rbegin(); modifier != modifiers.rend(); ++modifier) {
        keybd_event(*modifier, 0, KEYEVENTF_KEYUP, 0);
    }
}
