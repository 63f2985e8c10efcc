#include <windows.h>
#include <direct.h>
#include <io.h>

#include <cstdint>
#include <cstring>
#include <string>

#include "analysis/analysis_sections_win.h"
#include "analysis/analysis_state_win.h"
#include "analysis/system_tables.h"
#include "platform/error_text_win.h"
#include "platform/handles_win.h"
#include "platform/message_box_win.h"
#include "report/log_file_win.h"
#include "report/column_sets.h"
#include "report/report_list_win.h"
#include "report/log_paths.h"

namespace {

constexpr char kPluginFolder[] = "C:\\Mach3\\plugins";
constexpr char kPluginPattern[] = "*.dll";
constexpr char kDisplayNameValue[] = "DisplayName";
constexpr DWORD kDisplayNameSize = 260;

const char* UninstallKeyName() {
    return ChooseUninstallKey(g_versionRecord.dwMajorVersion, g_versionRecord.dwMinorVersion);
}

UniqueKey OpenUninstallKey() {
    // Versions without a known uninstall key are treated like a key that
    // cannot be opened: nothing is queried, no row, the log stays as it was.
    const char* keyName = UninstallKeyName();
    if (keyName == nullptr) {
        return UniqueKey();
    }
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, keyName, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) {
        return UniqueKey();
    }
    return UniqueKey(key);
}

}  // namespace

int RunPluginVersionSection() {
    UniqueKey key = OpenUninstallKey();
    if (!key) {
        return 0;
    }
    const SectionLog log(kPluginVersionLogPath);
    if (!log.Opened()) {
        return 1;
    }
    char data[kDisplayNameSize];
    DWORD size = sizeof data;
    const LONG result = RegQueryValueExA(key.Get(), kDisplayNameValue, nullptr, nullptr,
                                         reinterpret_cast<BYTE*>(data), &size);
    if (result != ERROR_SUCCESS) {
        const MessageSubject subject(
            ValueSubject(std::string("HKLM\\") + UninstallKeyName(), kDisplayNameValue));
        ShowSystemError(static_cast<DWORD>(result), "Vorlix   RegQueryValueEx");
        return 0;
    }
    // The data need not end in a zero: all bytes read are then the name.
    const void* zero = std::memchr(data, '\0', size);
    const std::string displayName(data,
                                  zero != nullptr ? static_cast<const char*>(zero) - data : size);
    RowStart("Version");
    RowLastCell(kResultColumn, displayName.c_str());
    return 1;
}

// The search runs in the plug-in folder made current, and the folder stays current for the
// rest of the process: the export check's loader then finds the DLLs that lie beside the
// plug-in, as Mach3's does. A missing folder lists nothing rather than whatever folder
// happened to be current.
int RunPluginFolderSection() {
    const SectionLog log(kPluginsLogPath);
    if (!log.Opened()) {
        return 1;
    }
    if (_chdir(kPluginFolder) != 0) {
        return 1;
    }
    _finddata_t entry;
    UniqueCrtFind search(_findfirst(kPluginPattern, &entry));
    if (!search) {
        return 1;
    }
    do {
        RowStart("Installed Plugin");
        RowLastCell(kValueColumn, entry.name);
    } while (_findnext(search.Get(), &entry) == 0);
    return 1;
}
