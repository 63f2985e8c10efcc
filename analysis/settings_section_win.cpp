#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "analysis/analysis_sections_win.h"
#include "analysis/settings_table.h"
#include "platform/shell_state_win.h"
#include "platform/error_text_win.h"
#include "platform/handles_win.h"
#include "platform/message_box_win.h"
#include "report/log_file_win.h"
#include "report/column_sets.h"
#include "report/report_list_win.h"
#include "report/log_paths.h"

namespace {


std::string SettingsKeyText() {
    return std::string("HKCU\\") + kSettingsKeyPath;
}

void ShowUnknownType(int type) {
    char text[48];
    std::snprintf(text, sizeof text, "Unknown registry Type: %d", type);
    ShowMessageBox(g_mainWindow, text, kErrorCaption, kErrorBoxStyle);
}

// The Result cell stays empty.
void EmitSettingRow(const SettingRecord& record, DWORD bytesHeld) {
    RowStart(record.name);
    RowLastCell(kValueColumn, FormatSettingValue(record, bytesHeld).c_str());
}

// A record of a type the section does not know has no buffer size to read or write with, so
// the registry is left alone; the row still names the setting, with an empty value.
void EmitUnknownTypeRow(const SettingRecord& record) {
    RowStart(record.name);
    {
        const MessageSubject subject(ValueSubject(SettingsKeyText(), record.name));
        ShowUnknownType(record.type);
    }
    RowLastCell(kValueColumn, "");
}

// Fills the value buffer from the open key, writing a missing value's default first.
// *bytesHeld gets the valid byte count, within which a REG_SZ without its zero must end.
// 1 when the buffer holds the value to show, 0 when the user has been told of a failure.
int ReadSettingValue(const SettingRecord& record, DWORD bufferSize, HKEY key, DWORD* bytesHeld) {
    const MessageSubject subject(ValueSubject(SettingsKeyText(), record.name));
    // A value stored shorter than the buffer (4 bytes where a double belongs) must not show
    // the bytes of an earlier run beside it: whatever the registry does not return is zero.
    std::memset(record.value, 0, bufferSize);
    DWORD size = bufferSize;
    // The stored type is not asked for: the bytes are shown as the table's type says.
    const LONG query = RegQueryValueExA(key, record.name, nullptr, nullptr,
                                        static_cast<BYTE*>(record.value), &size);
    if (query == ERROR_SUCCESS) {
        *bytesHeld = size;
        return 1;
    }
    if (query != ERROR_FILE_NOT_FOUND) {
        ShowSystemError(static_cast<DWORD>(query), kErrorCaption);
        return 0;
    }
    const LONG write = RegSetValueExA(key, record.name, 0, static_cast<DWORD>(record.type),
                                      static_cast<const BYTE*>(record.defaultValue),
                                      SettingDefaultWriteSize(record));
    if (write != ERROR_SUCCESS) {
        ShowSystemError(static_cast<DWORD>(write), kErrorCaption);
        return 0;
    }
    std::memcpy(record.value, record.defaultValue, bufferSize);
    *bytesHeld = bufferSize;
    return 1;
}

}  // namespace

int RunSettingsSection() {
    UniqueKey key;
    const LONG open = RegOpenKeyExA(HKEY_CURRENT_USER, kSettingsKeyPath, 0,
                                    KEY_QUERY_VALUE | KEY_SET_VALUE, key.Put());
    if (open != ERROR_SUCCESS) {
        const MessageSubject subject(SettingsKeyText());
        if (open == ERROR_FILE_NOT_FOUND) {
            ShowMessageBox(nullptr, "Plugin not installed, or not at least started once",
                           kErrorCaption, kErrorBoxStyle);
        } else {
            ShowSystemError(static_cast<DWORD>(open), kErrorCaption);
        }
        return 0;
    }
    const SectionLog log(kSettingsLogPath);
    if (!log.Opened()) {
        return 1;
    }
    for (const SettingRecord* record = kSettings; record->name != nullptr; ++record) {
        if (!IsKnownSettingType(record->type)) {
            EmitUnknownTypeRow(*record);
            continue;
        }
        DWORD bytesHeld = 0;
        if (ReadSettingValue(*record, SettingBufferSize(record->type), key.Get(), &bytesHeld)) {
            EmitSettingRow(*record, bytesHeld);
        }
    }
    return 1;
}
