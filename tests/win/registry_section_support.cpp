#include "tests/win/registry_section_support.h"

#include "platform/message_box_win.h"
#include "report/report_list_win.h"

bool KeyExists(HKEY root, const std::string& path) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) {
        return false;
    }
    RegCloseKey(key);
    return true;
}

void DeleteKeyTree(HKEY root, const std::string& path) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &key) == ERROR_SUCCESS) {
        std::vector<std::string> children;
        char name[MAX_PATH];
        for (DWORD index = 0;; ++index) {
            DWORD size = sizeof name;
            if (RegEnumKeyExA(key, index, name, &size, nullptr, nullptr, nullptr, nullptr) !=
                ERROR_SUCCESS) {
                break;
            }
            children.push_back(name);
        }
        RegCloseKey(key);
        for (const std::string& child : children) {
            DeleteKeyTree(root, path + "\\" + child);
        }
    }
    RegDeleteKeyA(root, path.c_str());
}

TemporaryKey::TemporaryKey(HKEY root, const std::string& path) : root_(root) {
    std::string::size_type end = 0;
    while (createdTop_.empty()) {
        end = path.find('\\', end + 1);
        const std::string prefix = path.substr(0, end);
        if (!KeyExists(root, prefix)) {
            createdTop_ = prefix;
        }
        if (end == std::string::npos) {
            break;
        }
    }
    RegCreateKeyExA(root, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key_, nullptr);
}

TemporaryKey::~TemporaryKey() {
    if (key_) {
        RegCloseKey(key_);
    }
    if (!createdTop_.empty()) {
        DeleteKeyTree(root_, createdTop_);
    }
}

LONG TemporaryKey::SetBytes(const char* name, DWORD type, const std::string& bytes) {
    return RegSetValueExA(key_, name, 0, type, reinterpret_cast<const BYTE*>(bytes.data()),
                          static_cast<DWORD>(bytes.size()));
}

LONG TemporaryKey::SetText(const char* name, const std::string& text) {
    return SetBytes(name, REG_SZ, std::string(text.c_str(), text.size() + 1));
}

LONG TemporaryKey::SetDword(const char* name, DWORD value) {
    return SetBytes(name, REG_DWORD, std::string(reinterpret_cast<const char*>(&value), 4));
}

LONG TemporaryKey::SetTextWithoutZero(const char* name, const std::string& text) {
    const std::string bytes = text + "!";
    return RegSetValueExA(key_, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(bytes.data()),
                          static_cast<DWORD>(text.size()));
}

void TemporaryKey::DeleteValue(const char* name) {
    RegDeleteValueA(key_, name);
}

bool TemporaryKey::Read(const char* name, DWORD* type, std::string* bytes) const {
    DWORD size = 0;
    if (RegQueryValueExA(key_, name, nullptr, type, nullptr, &size) != ERROR_SUCCESS) {
        return false;
    }
    bytes->assign(size, '\0');
    return RegQueryValueExA(key_, name, nullptr, type, reinterpret_cast<BYTE*>(&(*bytes)[0]),
                            &size) == ERROR_SUCCESS;
}

DWORD TemporaryKey::ValueCount() const {
    DWORD values = 0;
    RegQueryInfoKeyA(key_, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &values, nullptr,
                     nullptr, nullptr, nullptr);
    return values;
}

INT_PTR CALLBACK AnalysisSectionListProc(HWND dialog, UINT message, WPARAM, LPARAM) {
    if (message == WM_INITDIALOG) {
        PrepareReportList(dialog, kAnalysisColumns, ListStyle::GridAndFullRow);
        g_rowCursor.iItem = 0;
        InsertReportRow(kHeaderRowText);
    }
    return FALSE;
}

std::vector<std::vector<std::string>> SectionRows(const ReportDialogUnderTest& dialog) {
    std::vector<std::vector<std::string>> rows;
    for (int row = 1; row < dialog.RowCount(); ++row) {
        rows.push_back(dialog.Row(row));
    }
    return rows;
}

std::string PaddedName(const std::string& name) {
    return PadTo(name, 90);
}

namespace {

HWND g_timedList = nullptr;
std::vector<TimedBox> g_timedBoxes;
MessageBoxTarget g_previousTarget = nullptr;

int RecordTimedBox(HWND owner, const char* text, const char* caption, UINT style,
                   const char* subject) {
    const int rows = static_cast<int>(SendMessageA(g_timedList, LVM_GETITEMCOUNT, 0, 0));
    g_timedBoxes.push_back(
        {{owner, text ? text : "", caption ? caption : "", style, subject}, rows});
    return IDOK;
}

}  // namespace

TimedBoxRecorder::TimedBoxRecorder(HWND list) {
    g_timedList = list;
    g_timedBoxes.clear();
    g_previousTarget = SetMessageBoxTarget(RecordTimedBox);
}

TimedBoxRecorder::~TimedBoxRecorder() {
    SetMessageBoxTarget(g_previousTarget);
    g_timedBoxes.clear();
    g_timedList = nullptr;
}

const std::vector<TimedBox>& TimedBoxRecorder::Boxes() const {
    return g_timedBoxes;
}
