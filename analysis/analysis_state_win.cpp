#include "analysis/analysis_state_win.h"

#include <cstring>

OSVERSIONINFOEXA g_versionRecord;
char g_programFilesFolder[MAX_PATH];
std::unique_ptr<ProductNameList> g_productNames;

bool QueryVersionRecord() {
    std::memset(&g_versionRecord, 0, sizeof g_versionRecord);
    g_versionRecord.dwOSVersionInfoSize = sizeof g_versionRecord;
    return GetVersionExA(reinterpret_cast<OSVERSIONINFOA*>(&g_versionRecord)) != FALSE;
}
