// "List Services" against Wine's real service control manager, and against
// a stand-in for it where a test needs services or failures of its own.
#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <vector>

#include "checks/service_listing_win.h"
#include "report/service_texts.h"
#include "report/column_sets.h"
#include "report/log_file_win.h"
#include "res/resource.h"
#include "tests/win/checks_test_support.h"
#include "tests/win/test_support.h"

namespace {

const char kServiceLog[] = "C:\\Lensora_Brenhold.logServices";

struct SystemService {
    std::string displayName;
    DWORD type;
    DWORD state;
};

using ServiceMap = std::map<std::string, SystemService>;

// The services as the test itself asks the system for them, by service name.
ServiceMap EnumerateServices() {
    ServiceMap services;
    SC_HANDLE manager = OpenSCManagerA(nullptr, nullptr, SC_MANAGER_ENUMERATE_SERVICE);
    if (manager == nullptr) {
        ADD_FAILURE() << "OpenSCManagerA: " << SystemText(GetLastError());
        return services;
    }
    std::vector<DWORD> buffer(64 * 1024 / sizeof(DWORD));
    DWORD resume = 0;
    for (;;) {
        DWORD needed = 0;
        DWORD count = 0;
        const BOOL done =
            EnumServicesStatusExA(manager, SC_ENUM_PROCESS_INFO, SERVICE_DRIVER | SERVICE_WIN32,
                                  SERVICE_STATE_ALL, reinterpret_cast<BYTE*>(buffer.data()),
                                  buffer.size() * sizeof(DWORD), &needed, &count, &resume, nullptr);
        const DWORD error = GetLastError();
        const auto* records = reinterpret_cast<const ENUM_SERVICE_STATUS_PROCESSA*>(buffer.data());
        for (DWORD i = 0; i < count; ++i) {
            services[records[i].lpServiceName] = {records[i].lpDisplayName,
                                                  records[i].ServiceStatusProcess.dwServiceType,
                                                  records[i].ServiceStatusProcess.dwCurrentState};
        }
        if (done) {
            break;
        }
        if (error != ERROR_MORE_DATA) {
            ADD_FAILURE() << "EnumServicesStatusExA: " << SystemText(error);
            break;
        }
        buffer.resize(buffer.size() + needed / sizeof(DWORD) + 1);
    }
    CloseServiceHandle(manager);
    return services;
}

// Whether a row shows the service with the texts of its type and state (the text tables are
// checked on the host; here, that the listing gives them the system's codes).
bool RowShows(const std::vector<std::string>& cells, const std::string& name,
              const SystemService& service) {
    return cells.size() == 6 && cells[0] == service.displayName && cells[1] == name &&
           cells[2] == ServiceTypeText(service.type) &&
           cells[3] == ServiceStateText(service.state) && cells[4].empty() && cells[5].empty();
}

// Whether the list shows exactly the services of one answer of the system,
// each on one row of its own.
bool ListShows(const ReportDialogUnderTest& dialog, const ServiceMap& answer) {
    if (dialog.RowCount() != static_cast<int>(answer.size())) {
        return false;
    }
    std::set<std::string> listed;
    for (int row = 0; row < dialog.RowCount(); ++row) {
        const std::vector<std::string> cells = dialog.Row(row);
        const auto service = answer.find(cells[1]);
        if (service == answer.end() || !listed.insert(cells[1]).second ||
            !RowShows(cells, service->first, service->second)) {
            return false;
        }
    }
    return true;
}

std::string Describe(const ReportDialogUnderTest& dialog) {
    std::string text;
    for (int row = 0; row < dialog.RowCount(); ++row) {
        for (const std::string& cell : dialog.Row(row)) {
            text += cell + " | ";
        }
        text += "\n";
    }
    return text;
}

std::string Describe(const ServiceMap& answer) {
    std::string text;
    for (const auto& service : answer) {
        text += service.second.displayName + " | " + service.first + " | type " +
                std::to_string(service.second.type) + " | state " +
                std::to_string(service.second.state) + "\n";
    }
    return text;
}

// The service log that the rows of the list call for, after `timestampLine`.
std::string LogOfRows(const ReportDialogUnderTest& dialog, const std::string& timestampLine) {
    std::string log = timestampLine + "\r\n";
    for (int row = 0; row < dialog.RowCount(); ++row) {
        log += PadTo(dialog.Cell(row, 0), 90) + PadTo(dialog.Cell(row, 1), 60) +
               PadTo(dialog.Cell(row, 2), 25) + dialog.Cell(row, 3) + "\r\n";
    }
    return log;
}

// Fields too long for their width are written without padding and warned of.
int OverflowingFields(const ReportDialogUnderTest& dialog) {
    int count = 0;
    for (int row = 0; row < dialog.RowCount(); ++row) {
        count += dialog.Cell(row, 0).size() >= 90;
        count += dialog.Cell(row, 1).size() >= 60;
        count += dialog.Cell(row, 2).size() >= 25;
    }
    return count;
}

bool OpenableExclusively(const char* path) {
    HANDLE file = CreateFileA(path, GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return false;
    }
    CloseHandle(file);
    return true;
}

// A service as a stand-in service control manager reports it.
struct FakeService {
    std::string displayName;
    std::string serviceName;
    DWORD type;
    DWORD state;
};

struct EnumCall {
    DWORD types;
    DWORD states;
    DWORD bufferSize;
    DWORD neededOnEntry;
    DWORD countOnEntry;
    DWORD resumeOnEntry;
    DWORD neededOnReturn;
    DWORD resumeOnReturn;
};

// Stands in for the service control manager calls of the program while it
// lives: passes them on and records them, or answers as told.
class ServiceManagerStandIn {
public:
    enum class Answer { PassOn, FailOpen, FailSizeQuery, FailFetch, NothingToList, Services };

    explicit ServiceManagerStandIn(Answer answer, DWORD error = 0,
                                   std::vector<FakeService> services = {})
        : answer_(answer),
          error_(error),
          services_(std::move(services)),
          open_("advapi32.dll", "OpenSCManagerA", reinterpret_cast<void*>(OpenHook)),
          enumerate_("advapi32.dll", "EnumServicesStatusA", reinterpret_cast<void*>(EnumHook)),
          close_("advapi32.dll", "CloseServiceHandle", reinterpret_cast<void*>(CloseHook)) {
        current_ = this;
    }
    ~ServiceManagerStandIn() { current_ = nullptr; }

    bool Active() const { return open_.Active() && enumerate_.Active() && close_.Active(); }
    const std::vector<EnumCall>& EnumCalls() const { return calls_; }
    const std::vector<SC_HANDLE>& Closed() const { return closed_; }
    SC_HANDLE Opened() const { return opened_; }
    bool OpenedWithAllAccessOnThisMachine() const { return openArgumentsRight_; }

private:
    static SC_HANDLE WINAPI OpenHook(LPCSTR machine, LPCSTR database, DWORD access) {
        ServiceManagerStandIn& self = *current_;
        self.openArgumentsRight_ = machine == nullptr && database == nullptr && access == 0xF003F;
        if (self.answer_ == Answer::FailOpen) {
            SetLastError(self.error_);
            return nullptr;
        }
        self.opened_ = self.open_.Original<decltype(&OpenSCManagerA)>()(machine, database, access);
        return self.opened_;
    }

    static BOOL WINAPI EnumHook(SC_HANDLE manager, DWORD types, DWORD states,
                                LPENUM_SERVICE_STATUSA buffer, DWORD size, LPDWORD needed,
                                LPDWORD count, LPDWORD resume) {
        ServiceManagerStandIn& self = *current_;
        EnumCall call = {types, states, size, *needed, *count, resume ? *resume : 0xBAD, 0, 0};
        const BOOL result =
            self.Respond(manager, types, states, buffer, size, needed, count, resume);
        const DWORD error = GetLastError();
        call.neededOnReturn = *needed;
        call.resumeOnReturn = resume ? *resume : 0xBAD;
        self.calls_.push_back(call);
        SetLastError(error);
        return result;
    }

    static BOOL WINAPI CloseHook(SC_HANDLE handle) {
        current_->closed_.push_back(handle);
        return current_->close_.Original<decltype(&CloseServiceHandle)>()(handle);
    }

    BOOL Respond(SC_HANDLE manager, DWORD types, DWORD states, LPENUM_SERVICE_STATUSA buffer,
                 DWORD size, LPDWORD needed, LPDWORD count, LPDWORD resume) {
        const bool sizeQuery = calls_.empty();
        switch (answer_) {
            case Answer::FailSizeQuery:
            case Answer::FailFetch:
                if (sizeQuery == (answer_ == Answer::FailSizeQuery)) {
                    SetLastError(error_);
                    return FALSE;
                }
                break;
            case Answer::NothingToList:
                *needed = 0;
                *count = 0;
                return TRUE;
            case Answer::Services:
                return AnswerWithServices(buffer, size, needed, count);
            default:
                break;
        }
        return enumerate_.Original<decltype(&EnumServicesStatusA)>()(manager, types, states, buffer,
                                                                     size, needed, count, resume);
    }

    // Records whose names point at the stand-in's own strings.
    BOOL AnswerWithServices(LPENUM_SERVICE_STATUSA buffer, DWORD size, LPDWORD needed,
                            LPDWORD count) {
        const DWORD wanted = static_cast<DWORD>(services_.size() * sizeof(ENUM_SERVICE_STATUSA));
        *count = 0;
        if (size < wanted) {
            *needed = wanted;
            SetLastError(ERROR_MORE_DATA);
            return FALSE;
        }
        for (const FakeService& service : services_) {
            ENUM_SERVICE_STATUSA& record = buffer[(*count)++];
            record = ENUM_SERVICE_STATUSA();
            record.lpDisplayName = const_cast<char*>(service.displayName.c_str());
            record.lpServiceName = const_cast<char*>(service.serviceName.c_str());
            record.ServiceStatus.dwServiceType = service.type;
            record.ServiceStatus.dwCurrentState = service.state;
        }
        *needed = 0;
        return TRUE;
    }

    static ServiceManagerStandIn* current_;
    Answer answer_;
    DWORD error_;
    std::vector<FakeService> services_;
    std::vector<EnumCall> calls_;
    std::vector<SC_HANDLE> closed_;
    SC_HANDLE opened_ = nullptr;
    bool openArgumentsRight_ = false;
    ImportPatch open_;
    ImportPatch enumerate_;
    ImportPatch close_;
};

ServiceManagerStandIn* ServiceManagerStandIn::current_ = nullptr;

class ServiceListing : public testing::Test {
protected:
    ServiceListing() : log_(kServiceLog) { RemoveFile(kServiceLog); }
    ~ServiceListing() override { CloseCurrentLog(); }

    std::string TimestampLine() const {
        const std::vector<std::string> lines = SplitLogLines(ReadFileBytes(kServiceLog));
        return lines.empty() ? std::string() : lines[0];
    }

    PreservedFile log_;
    MessageBoxRecorder boxes_;
};

TEST_F(ServiceListing, ListsEveryServiceOnceWithItsDisplayNameTypeAndState) {
    // Services may start or stop while the test looks, and in a Wine prefix
    // that has just been made a second service manager answers every other
    // connection for a while: the list must be exactly one of the answers
    // that the system gives just before and just after it.
    std::vector<ServiceMap> answers;
    for (int look = 0; look < 3; ++look) {
        answers.push_back(EnumerateServices());
    }
    ReportDialogUnderTest dialog(ServiceListingDialogProc, 0);
    for (int look = 0; look < 3; ++look) {
        answers.push_back(EnumerateServices());
    }
    ASSERT_FALSE(answers.back().empty());
    bool shown = false;
    for (const ServiceMap& answer : answers) {
        shown = shown || ListShows(dialog, answer);
    }
    EXPECT_TRUE(shown) << "list:\n" << Describe(dialog) << "system:\n" << Describe(answers.back());

    // The service set (checked on the host), through the listing's own column record.
    ASSERT_EQ(dialog.ColumnCount(), 6);
    for (int column = 0; column < 6; ++column) {
        EXPECT_EQ(dialog.ColumnTitle(column), kServiceColumns[column].title);
        EXPECT_EQ(dialog.ColumnWidth(column), kServiceColumns[column].pixelWidth);
    }
    EXPECT_EQ(SendMessageA(dialog.List(), LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0), 0);
    EXPECT_FALSE(dialog.ControlVisible(IDC_SORT_CASE_SENSITIVE));
    EXPECT_FALSE(dialog.ControlVisible(IDC_SEARCH_GROUP));
    EXPECT_FALSE(dialog.ControlVisible(IDC_SEARCH_TEXT));

    // Wine's manager has drivers and services, running and stopped ones.
    std::set<std::string> types;
    std::set<std::string> states;
    for (int row = 0; row < dialog.RowCount(); ++row) {
        types.insert(dialog.Cell(row, 2));
        states.insert(dialog.Cell(row, 3));
    }
    for (const char* type : {"KERNEL_DRIVER", "Win32_OWN_PROCESS", "WIN32_SHARE_PROCESS"}) {
        EXPECT_TRUE(types.count(type)) << type;
    }
    EXPECT_TRUE(states.count("Service Running"));
    EXPECT_TRUE(states.count("Service Stopped"));
    EXPECT_EQ(static_cast<int>(boxes_.Boxes().size()), OverflowingFields(dialog));
}

TEST_F(ServiceListing, LogLinesHaveTheFieldWidthsThatCompareServicesReadsBack) {
    ReportDialogUnderTest dialog(ServiceListingDialogProc, 0);
    ASSERT_GT(dialog.RowCount(), 0);
    const std::string timestamp = TimestampLine();
    EXPECT_TRUE(LooksLikeTimestamp(timestamp)) << timestamp;
    const std::string log = ReadFileBytes(kServiceLog);
    EXPECT_EQ(log, LogOfRows(dialog, timestamp));

    // Read as "Compare Services" reads it: four fields a record.
    HANDLE file = INVALID_HANDLE_VALUE;
    ASSERT_EQ(OpenExistingLog(kServiceLog, &file), 1);
    char field[520];
    int64_t position = 0;
    ASSERT_EQ(ReadLogField(&position, file, field), 1);
    EXPECT_EQ(field, timestamp);
    for (int row = 0; row < dialog.RowCount(); ++row) {
        for (int column = 0; column < 4; ++column) {
            ASSERT_EQ(ReadLogField(&position, file, field), 1);
            EXPECT_EQ(field, dialog.Cell(row, column)) << "row " << row << " column " << column;
        }
    }
    EXPECT_EQ(position, static_cast<int64_t>(log.size()));
    CloseHandle(file);
}

TEST_F(ServiceListing, AReadOnlyLogIsClearedAndRewritten) {
    WriteFileBytes(kServiceLog, std::string(200000, 's'));
    SetFileAttributesA(kServiceLog, FILE_ATTRIBUTE_READONLY);
    ReportDialogUnderTest dialog(ServiceListingDialogProc, 0);
    EXPECT_EQ(GetFileAttributesA(kServiceLog) & FILE_ATTRIBUTE_READONLY, 0u);
    ASSERT_GT(dialog.RowCount(), 0);
    EXPECT_EQ(ReadFileBytes(kServiceLog), LogOfRows(dialog, TimestampLine()));
}

TEST_F(ServiceListing, AsksForDriversAndServicesInAnyStateWithASizeQueryFirst) {
    ServiceManagerStandIn manager(ServiceManagerStandIn::Answer::PassOn);
    ASSERT_TRUE(manager.Active());
    ReportDialogUnderTest dialog(ServiceListingDialogProc, 0);
    EXPECT_TRUE(manager.OpenedWithAllAccessOnThisMachine());
    const std::vector<EnumCall>& calls = manager.EnumCalls();
    ASSERT_EQ(calls.size(), 2u);
    for (const EnumCall& call : calls) {
        EXPECT_EQ(call.types, 0x3Bu);
        EXPECT_EQ(call.states, 3u);
    }
    // One ENUM_SERVICE_STATUSA: two pointers and a SERVICE_STATUS of seven DWORDs.
    const DWORD recordBytes = kBuiltFor64Bits ? 48 : 36;
    EXPECT_EQ(calls[0].bufferSize, recordBytes);
    EXPECT_EQ(calls[0].neededOnEntry, 0u);
    EXPECT_EQ(calls[0].countOnEntry, 0u);
    EXPECT_EQ(calls[0].resumeOnEntry, 0u);
    EXPECT_EQ(calls[1].bufferSize, calls[0].neededOnReturn + recordBytes);
    EXPECT_EQ(calls[1].resumeOnEntry, calls[0].resumeOnReturn);
    EXPECT_GT(dialog.RowCount(), 0);
    EXPECT_EQ(manager.Closed(), std::vector<SC_HANDLE>{manager.Opened()});
}

TEST_F(ServiceListing, WritesEachServiceAsItsFourFieldsInTheOrderGiven) {
    const std::string longDisplayName(95, 'D');
    const std::string longServiceName(60, 's');
    const std::vector<FakeService> services = {
        {"Zulu Service Of Several Words", "zulu", 0x10, 4},
        {"Alpha", "alpha", 0x20, 1},
        {"Kernel Driver", "kdrv", 0x1, 2},
        {"File System Driver", "fsdrv", 0x2, 3},
        {"Continuing", "cont", 0x10, 5},
        {"Pausing", "pausing", 0x20, 6},
        {"Paused", "paused", 0x10, 7},
        {"Never Reported", "zero", 0x10, 0},
        {longDisplayName, longServiceName, 0x20, 1},
        {"Beyond The Table", "beyond", 0x10, 8},
        {"Far Beyond", "far", 0x20, 0xFFFFFFFF},
        {"Recogniser", "recog", 0x8, 1},
    };
    // The type and state texts as the list and the log must show them; the
    // last three are the listing's own names for codes that have none.
    const char* const types[] = {"Win32_OWN_PROCESS",  "WIN32_SHARE_PROCESS", "KERNEL_DRIVER",
                                 "FILE_SYSTEM_DRIVER", "Win32_OWN_PROCESS",   "WIN32_SHARE_PROCESS",
                                 "Win32_OWN_PROCESS",  "Win32_OWN_PROCESS",   "WIN32_SHARE_PROCESS",
                                 "Win32_OWN_PROCESS",  "WIN32_SHARE_PROCESS", "RECOGNIZER_DRIVER"};
    const char* const states[] = {"Service Running",          "Service Stopped",
                                  "Service Start Pending",    "Service Stop Pending",
                                  "Service Continue Pending", "Service Pause Pending",
                                  "Service Paused",           "Undefined",
                                  "Service Stopped",          "Unknown state 8",
                                  "Unknown state 4294967295", "Service Stopped"};
    ServiceManagerStandIn manager(ServiceManagerStandIn::Answer::Services, 0, services);
    ReportDialogUnderTest dialog(ServiceListingDialogProc, 0);

    ASSERT_EQ(dialog.RowCount(), static_cast<int>(services.size()));
    std::string expectedLog = TimestampLine() + "\r\n";
    for (size_t i = 0; i < services.size(); ++i) {
        const FakeService& s = services[i];
        EXPECT_EQ(
            dialog.Row(static_cast<int>(i)),
            (std::vector<std::string>{s.displayName, s.serviceName, types[i], states[i], "", ""}));
        expectedLog += PadTo(s.displayName, 90) + PadTo(s.serviceName, 60) + PadTo(types[i], 25) +
                       states[i] + "\r\n";
    }
    EXPECT_EQ(ReadFileBytes(kServiceLog), expectedLog);
    // The 95-character display name and the 60-character service name fill
    // their fields: written without a blank after them, each with a warning.
    ASSERT_EQ(boxes_.Boxes().size(), 2u);
    for (const RecordedBox& box : boxes_.Boxes()) {
        EXPECT_EQ(box.caption, "Vorlix Error");
        EXPECT_EQ(box.text, "BLANK_TAB < len");
        EXPECT_EQ(box.style, static_cast<UINT>(MB_TASKMODAL | MB_ICONWARNING));
    }
}

enum class LogAfter { Unchanged, Missing, Empty, TimestampOnly };

struct FailureCase {
    const char* situation;
    bool logExists;
    DWORD failingDisposition;  // 0: the log opens
    bool seekFails;
    ServiceManagerStandIn::Answer answer;
    DWORD error;
    const char* caption;  // nullptr: no box
    LogAfter log;
    bool managerOpened;
};

const FailureCase kFailureCases[] = {
    {"existing log held open elsewhere", true, 0, false, ServiceManagerStandIn::Answer::PassOn,
     ERROR_SHARING_VIOLATION, "Vorlix   CreateFile", LogAfter::Unchanged, false},
    {"new log that cannot be created", false, CREATE_ALWAYS, false,
     ServiceManagerStandIn::Answer::PassOn, ERROR_ACCESS_DENIED,
     "Vorlix   CreateFile LogFileAnalyze", LogAfter::Missing, false},
    {"log that cannot be rewound", true, 0, true, ServiceManagerStandIn::Answer::PassOn,
     ERROR_NEGATIVE_SEEK, "Vorlix   SetFilePointer", LogAfter::Empty, false},
    {"service manager that cannot be opened", false, 0, false,
     ServiceManagerStandIn::Answer::FailOpen, ERROR_ACCESS_DENIED, "Vorlix   OpenSCManager",
     LogAfter::TimestampOnly, false},
    {"size query failing", false, 0, false, ServiceManagerStandIn::Answer::FailSizeQuery,
     ERROR_INVALID_PARAMETER, "Vorlix   EnumServicesStatus", LogAfter::TimestampOnly, true},
    {"services added beyond the room of one record", false, 0, false,
     ServiceManagerStandIn::Answer::FailFetch, ERROR_MORE_DATA, "Vorlix   EnumServicesStatus",
     LogAfter::TimestampOnly, true},
    {"nothing to list", false, 0, false, ServiceManagerStandIn::Answer::NothingToList, 0, nullptr,
     LogAfter::TimestampOnly, true},
};

TEST_F(ServiceListing, EveryFailureIsShownAndLeavesNoColumnsNoRowsAndNothingOpen) {
    for (const FailureCase& c : kFailureCases) {
        SCOPED_TRACE(c.situation);
        boxes_.Clear();
        RemoveFile(kServiceLog);
        HANDLE holder = INVALID_HANDLE_VALUE;
        if (c.logExists) {
            WriteFileBytes(kServiceLog, "kept\r\n");
        }
        if (c.error == ERROR_SHARING_VIOLATION) {
            holder = CreateFileA(kServiceLog, GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        }
        std::vector<SC_HANDLE> closed;
        SC_HANDLE opened = nullptr;
        {
            ServiceManagerStandIn manager(c.answer, c.error);
            LogOpenWatch watch(kServiceLog);
            ASSERT_TRUE(manager.Active() && watch.Active());
            if (c.failingDisposition != 0) {
                watch.FailOpen(c.failingDisposition, c.error);
            }
            if (c.seekFails) {
                watch.FailSeek(c.error);
            }
            ReportDialogUnderTest dialog(ServiceListingDialogProc, 0);
            EXPECT_EQ(dialog.ColumnCount(), 0);
            EXPECT_EQ(dialog.RowCount(), 0);
            closed = manager.Closed();
            opened = manager.Opened();
        }
        if (holder != INVALID_HANDLE_VALUE) {
            CloseHandle(holder);
        }
        EXPECT_EQ(g_currentLogFile.Get(), INVALID_HANDLE_VALUE);
        if (c.caption != nullptr) {
            ASSERT_EQ(boxes_.Boxes().size(), 1u);
            EXPECT_EQ(boxes_.Boxes()[0].caption, c.caption);
            EXPECT_EQ(boxes_.Boxes()[0].text, SystemText(c.error));
            // The log failed when the manager was left alone, else the manager.
            EXPECT_EQ(boxes_.Boxes()[0].subject, c.answer == ServiceManagerStandIn::Answer::PassOn
                                                     ? kServiceLog
                                                     : "Service Control Manager");
            EXPECT_EQ(boxes_.Boxes()[0].style, static_cast<UINT>(MB_TASKMODAL | MB_ICONERROR));
            EXPECT_EQ(boxes_.Boxes()[0].owner, nullptr);
        } else {
            EXPECT_TRUE(boxes_.Boxes().empty());
        }
        EXPECT_EQ(closed,
                  c.managerOpened ? std::vector<SC_HANDLE>{opened} : std::vector<SC_HANDLE>{});
        if (c.log != LogAfter::Missing) {
            EXPECT_TRUE(OpenableExclusively(kServiceLog));
        }
        const std::string log = ReadFileBytes(kServiceLog);
        switch (c.log) {
            case LogAfter::Unchanged:
                EXPECT_EQ(log, "kept\r\n");
                break;
            case LogAfter::Missing:
                EXPECT_FALSE(FileExistsAt(kServiceLog));
                break;
            case LogAfter::Empty:
                EXPECT_TRUE(FileExistsAt(kServiceLog));
                EXPECT_EQ(log, "");
                break;
            case LogAfter::TimestampOnly:
                EXPECT_EQ(log.size(), 21u) << log.substr(0, 40);
                EXPECT_TRUE(LooksLikeTimestamp(log.substr(0, 19)));
                break;
        }
    }
}

TEST_F(ServiceListing, EscapeAndTheCloseBoxEndWithTwoAndOkWith1010) {
    for (const ReportClosing& c : kReportClosings) {
        ServiceManagerStandIn manager(ServiceManagerStandIn::Answer::NothingToList);
        EXPECT_EQ(RunReportDialogModal(ServiceListingDialogProc, 0, {c.message}), c.result)
            << c.how;
    }
}

}  // namespace
