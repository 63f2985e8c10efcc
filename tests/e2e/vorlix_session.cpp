#include "tests/e2e/vorlix_session.h"

#include <commctrl.h>

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
    std::vector<HWND> found;
};

BOOL CALLBACK AddDialog(HWND window, LPARAM parameter) {
    CollectDialogs* collect = reinterpret_cast<CollectDialogs*>(parameter);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    char windowClass[32] = {};
    GetClassNameA(window, windowClass, sizeof windowClass);
    if (owner == collect->processId && IsWindowVisible(window) &&
        std::string(windowClass) == "#32770") {
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

std::string WindowText(HWND window) {
    char text[1024] = {};
    SendMessageTimeoutA(window, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text),
                        SMTO_ABORTIFHUNG, 5000, nullptr);
    return text;
}

VorlixSession::VorlixSession() {
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    std::string commandLine = "\"" + ProgramPath() + "\"";
    if (!CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process_)) {
        return;
    }
    WaitForInputIdle(process_.hProcess, 20000);
    for (int i = 0; i < 200 && !mainWindow_; ++i) {
        HWND window = FindWindowA("VORLIX", "Vorlix");
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        if (window && owner == process_.dwProcessId) {
            mainWindow_ = window;
        } else {
            Sleep(100);
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
        Sleep(50);
    } while (GetTickCount() - start < timeoutMs);
    return nullptr;
}

std::vector<HWND> VorlixSession::Dialogs() {
    CollectDialogs collect = {process_.dwProcessId, {}};
    EnumWindows(AddDialog, reinterpret_cast<LPARAM>(&collect));
    return collect.found;
}

bool VorlixSession::WaitUntilClosed(HWND window, DWORD timeoutMs) {
    const DWORD start = GetTickCount();
    while (IsWindow(window) && IsWindowVisible(window)) {
        if (GetTickCount() - start > timeoutMs) {
            return false;
        }
        Sleep(50);
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
