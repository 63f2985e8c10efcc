#include "checks/service_listing_win.h"

#include <commctrl.h>

#include <string>

#include "report/service_texts.h"
#include "platform/dialog_guard_win.h"
#include "platform/error_text_win.h"
#include "platform/handles_win.h"
#include "platform/list_view_win.h"
#include "platform/message_box_win.h"
#include "report/column_sets.h"
#include "report/log_file_win.h"
#include "report/report_list_win.h"
#include "res/resource.h"
#include "report/log_paths.h"

namespace {

const char kEnumFailureCaption[] = "Vorlix   EnumServicesStatus";
// What the listing's failures concern, beside the system's text.
const char kManagerSubject[] = "Service Control Manager";

// Drivers of every kind and both kinds of Win32 service, running or not.
constexpr DWORD kListedTypes = SERVICE_DRIVER | SERVICE_WIN32;
static_assert(kListedTypes == 0x3B, "kernel, file system and recogniser drivers, Win32 services");
constexpr DWORD kListedStates = SERVICE_STATE_ALL;
constexpr DWORD kRecordSize = sizeof(ENUM_SERVICE_STATUSA);

// The columns the listing fills, in the order of the service column set.
enum ServiceColumn { kDisplayName, kServiceName, kServiceType, kCurrentState };

struct ServiceStatusList {
    UniqueLocalMemory buffer;
    DWORD count = 0;

    const ENUM_SERVICE_STATUSA& operator[](DWORD i) const {
        return static_cast<const ENUM_SERVICE_STATUSA*>(buffer.Get())[i];
    }
};

enum class FetchResult { Fetched, NothingToList, Failed };

// Asks for the size first, then fetches everything in one buffer with room
// for one more record than the size query asked for, in case a service was
// added in between.
FetchResult FetchServices(SC_HANDLE manager, ServiceStatusList& services) {
    ENUM_SERVICE_STATUSA probe;
    DWORD needed = 0;
    DWORD resume = 0;
    services.count = 0;
    if (EnumServicesStatusA(manager, kListedTypes, kListedStates, &probe, kRecordSize, &needed,
                            &services.count, &resume)) {
        // One record's room holds the answer only when there is nothing to list.
        return FetchResult::NothingToList;
    }
    const DWORD sizeError = GetLastError();
    if (sizeError != ERROR_MORE_DATA) {
        ShowSystemError(sizeError, kEnumFailureCaption);
        return FetchResult::Failed;
    }
    const DWORD size = needed + kRecordSize;
    services.buffer.Reset(LocalAlloc(LMEM_FIXED, size));
    if (!services.buffer) {
        const DWORD error = GetLastError();
        const MessageSubject subject("service list of " + std::to_string(size) + " bytes");
        // Named after the failing call, like every other failure of the listing.
        ShowSystemError(error, "Vorlix   LocalAlloc");
        return FetchResult::Failed;
    }
    auto* records = static_cast<ENUM_SERVICE_STATUSA*>(services.buffer.Get());
    if (!EnumServicesStatusA(manager, kListedTypes, kListedStates, records, size, &needed,
                             &services.count, &resume)) {
        ShowSystemError(GetLastError(), kEnumFailureCaption);
        return FetchResult::Failed;
    }
    return FetchResult::Fetched;
}

// The listing's own item record on the dialog's list view; each cell also
// becomes its field of the service log line.
class ServiceRows {
public:
    explicit ServiceRows(HWND list) : list_(list), item_() { item_.mask = LVIF_TEXT; }

    void Add(int row, const ENUM_SERVICE_STATUSA& service) {
        item_.iItem = row;
        Cell(kDisplayName, TextOf(service.lpDisplayName));
        Cell(kServiceName, TextOf(service.lpServiceName));
        Cell(kServiceType, ServiceTypeText(service.ServiceStatus.dwServiceType).c_str());
        Cell(kCurrentState, ServiceStateText(service.ServiceStatus.dwCurrentState).c_str());
    }

private:
    static const char* TextOf(const char* text) { return text != nullptr ? text : ""; }

    void Cell(ServiceColumn column, const char* text) {
        item_.iSubItem = column;
        item_.pszText = const_cast<char*>(text);
        if (column == kDisplayName) {
            list_.InsertItem(item_);
        } else {
            list_.SetItem(item_);
        }
        const bool last = column == kCurrentState;
        WriteLogField(last ? 0 : LogFieldWidthOf(kServiceColumns, column), text, last);
    }

    ListView list_;
    LVITEMA item_;
};

void RunServiceListing(HWND dialog) {
    HideCompareControls(dialog);
    if (!OpenRewrittenLog(kServiceLogPath, "Vorlix   CreateFile",
                          "Vorlix   CreateFile LogFileAnalyze")) {
        return;
    }
    CurrentLogScope log;
    const MessageSubject subject(kManagerSubject);
    UniqueService manager(OpenSCManagerA(nullptr, nullptr, SC_MANAGER_ALL_ACCESS));
    if (!manager) {
        ShowSystemError(GetLastError(), "Vorlix   OpenSCManager");
        return;
    }
    ServiceStatusList services;
    if (FetchServices(manager.Get(), services) != FetchResult::Fetched) {
        return;
    }
    const HWND list = GetDlgItem(dialog, IDC_REPORT_LIST);
    LVCOLUMNA column;
    InsertColumnSet(list, kServiceColumns, column);
    ServiceRows rows(list);
    for (DWORD i = 0; i < services.count; ++i) {
        rows.Add(static_cast<int>(i), services[i]);
    }
}

}  // namespace

INT_PTR CALLBACK ServiceListingDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
        case WM_INITDIALOG:
            return GuardDialogMessage([&] {
                RunServiceListing(dialog);
                return FALSE;
            });
        case WM_COMMAND:
            return EndReportOnOkOrCancel(dialog, wParam);
        default:
            return FALSE;
    }
}
