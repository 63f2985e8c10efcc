#include "report/log_file_win.h"

#include <cstdio>
#include <string>
#include <vector>

#include "platform/shell_state_win.h"
#include "platform/error_text_win.h"
#include "platform/message_box_win.h"
#include "report/log_format.h"

UniqueFile g_currentLogFile;

namespace {

// The path of the current log, which the messages about its writing name; empty when no
// log is open.
std::string g_currentLogName;

// A failure about a log file, shown with the system's text and the file as its subject.
void ShowLogFailure(DWORD code, const char* caption, const char* fileName,
                    UINT style = kErrorBoxStyle) {
    const MessageSubject subject(fileName);
    ShowSystemError(code, caption, nullptr, style);
}

void NameCurrentLog(const char* fileName) {
    g_currentLogName = fileName;
}

bool FileExists(const char* fileName) {
    return GetFileAttributesA(fileName) != INVALID_FILE_ATTRIBUTES;
}

HANDLE CreateLogHandle(const char* fileName, DWORD disposition) {
    return CreateFileA(fileName, GENERIC_READ | GENERIC_WRITE, 0, nullptr, disposition,
                       FILE_ATTRIBUTE_NORMAL, nullptr);
}

bool MoveToStart(HANDLE file) {
    LARGE_INTEGER distance;
    distance.QuadPart = 0;
    return SetFilePointerEx(file, distance, nullptr, FILE_BEGIN) != FALSE;
}

// Positions a freshly opened current log at its start and writes the
// timestamp line; reports a failed seek and closes the log.
int StartCurrentLog(const char* fileName) {
    NameCurrentLog(fileName);
    if (!MoveToStart(g_currentLogFile.Get())) {
        ShowLogFailure(GetLastError(), "Vorlix   SetFilePointer", fileName);
        CloseCurrentLog();
        return 0;
    }
    char timestamp[128];
    FormatLocalTimestamp(timestamp, sizeof timestamp);
    WriteLogField(0, timestamp, true);
    return 1;
}

// Serves bytes from blocks, so that a field costs a few system calls instead
// of one per byte; the scanner tracks the position itself.
class FileBlockSource : public LogByteSource {
public:
    FileBlockSource(HANDLE file, size_t blockSize) : file_(file), block_(blockSize) {}

    int ByteAt(int64_t offset) override {
        if (offset < blockStart_ || offset >= blockStart_ + blockLength_) {
            if (!Load(offset)) {
                return -1;
            }
        }
        return static_cast<unsigned char>(block_[offset - blockStart_]);
    }

private:
    bool Load(int64_t offset) {
        LARGE_INTEGER distance;
        distance.QuadPart = offset;
        DWORD read = 0;
        if (!SetFilePointerEx(file_, distance, nullptr, FILE_BEGIN) ||
            !ReadFile(file_, block_.data(), static_cast<DWORD>(block_.size()), &read, nullptr) ||
            read == 0) {
            blockLength_ = 0;
            return false;
        }
        blockStart_ = offset;
        blockLength_ = read;
        return true;
    }

    HANDLE file_;
    std::vector<char> block_;
    int64_t blockStart_ = 0;
    int64_t blockLength_ = 0;
};

// A single field is rarely longer than a line.
constexpr size_t kSingleFieldBlock = 512;

// Leaves the file where a reader of single bytes would have left it.
void SyncFilePosition(HANDLE file, int64_t position) {
    LARGE_INTEGER distance;
    distance.QuadPart = position;
    SetFilePointerEx(file, distance, nullptr, FILE_BEGIN);
}

}  // namespace

void CloseCurrentLog() {
    g_currentLogFile.Reset();
    g_currentLogName.clear();
}

void FormatLocalTimestamp(char* text, size_t size) {
    SYSTEMTIME now;
    GetLocalTime(&now);
    std::snprintf(
        text, size, "%s",
        FormatTimestamp(now.wDay, now.wMonth, now.wYear, now.wHour, now.wMinute, now.wSecond)
            .c_str());
}

int OpenSectionLog(const char* fileName) {
    // Only one log is open at a time.
    CloseCurrentLog();
    const DWORD disposition = FileExists(fileName) ? TRUNCATE_EXISTING : CREATE_ALWAYS;
    *g_currentLogFile.Put() = CreateLogHandle(fileName, disposition);
    if (!g_currentLogFile) {
        ShowLogFailure(GetLastError(), "Vorlix   CreateFile", fileName);
        return 0;
    }
    return StartCurrentLog(fileName);
}

SectionLog::SectionLog(const char* fileName, Mode mode) {
    if (mode == Mode::Truncate) {
        opened_ = OpenSectionLog(fileName) != 0;
        return;
    }
    opened_ = OpenExistingLog(fileName, g_currentLogFile.Put()) != 0;
    if (opened_) {
        NameCurrentLog(fileName);
        LARGE_INTEGER distance;
        distance.QuadPart = 0;
        SetFilePointerEx(g_currentLogFile.Get(), distance, nullptr, FILE_END);
    }
}

SectionLog::~SectionLog() {
    if (opened_) {
        CloseCurrentLog();
    }
}

int OpenRewrittenLog(const char* fileName, const char* existingFailureCaption,
                     const char* newFailureCaption) {
    CloseCurrentLog();
    const bool exists = FileExists(fileName);
    if (exists) {
        SetFileAttributesA(fileName, FILE_ATTRIBUTE_NORMAL);
    }
    *g_currentLogFile.Put() = CreateLogHandle(fileName, exists ? TRUNCATE_EXISTING : CREATE_ALWAYS);
    if (!g_currentLogFile) {
        ShowLogFailure(GetLastError(), exists ? existingFailureCaption : newFailureCaption,
                       fileName);
        return 0;
    }
    return StartCurrentLog(fileName);
}

namespace {

int FinishOpenExisting(const char* fileName, HANDLE* file) {
    if (*file == INVALID_HANDLE_VALUE) {
        ShowLogFailure(GetLastError(), "CreateFile", fileName, MB_TASKMODAL | MB_ICONINFORMATION);
        return 0;
    }
    SetFilePointer(*file, 0, nullptr, FILE_BEGIN);
    return 1;
}

}  // namespace

int OpenExistingLog(const char* fileName, HANDLE* file) {
    *file = CreateLogHandle(fileName, OPEN_EXISTING);
    return FinishOpenExisting(fileName, file);
}

int OpenLogForReading(const char* fileName, HANDLE* file) {
    *file = CreateFileA(fileName, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                        FILE_ATTRIBUTE_NORMAL, nullptr);
    return FinishOpenExisting(fileName, file);
}

int WriteLogField(int width, const char* text, bool last) {
    // After a failed write has closed the log, the rest of the section's
    // writes do nothing: the user has seen the failure once.
    if (!g_currentLogFile) {
        return 0;
    }
    const LogFieldBytes field = BuildLogField(width, text, last);
    const DWORD size = static_cast<DWORD>(field.bytes.size());
    DWORD written = 0;
    const BOOL ok = WriteFile(g_currentLogFile.Get(), field.bytes.data(), size, &written, nullptr);
    if (!ok || written != size) {
        DWORD error = GetLastError();
        // A short write without an error code means the disk is full; never
        // report a failure with the text for success.
        if (ok || error == ERROR_SUCCESS) {
            error = ERROR_DISK_FULL;
        }
        ShowLogFailure(error, "Vorlix   WriteFile", g_currentLogName.c_str());
        CloseCurrentLog();
        return 0;
    }
    if (field.overflow) {
        // Which text of which log went without its padding.
        const MessageSubject subject(g_currentLogName + " \"" + text + "\"");
        ShowMessageBox(nullptr, "BLANK_TAB < len", kErrorCaption, MB_TASKMODAL | MB_ICONWARNING);
    }
    return 1;
}

namespace {

int ReportTooLong(FieldEnd end) {
    if (end == FieldEnd::TooLong) {
        ShowMessageBox(g_mainWindow, "String buffer too small", kErrorCaption, MB_ICONERROR);
        return 0;
    }
    return 1;
}

}  // namespace

int ReadLogField(int64_t* position, HANDLE file, char* field) {
    FileBlockSource source(file, kSingleFieldBlock);
    const FieldEnd end = ScanLogField(source, *position, field);
    SyncFilePosition(file, *position);
    return ReportTooLong(end);
}

namespace {

// A failed step of reading a whole log: the box names the file, since the
// folder summary reads many.
void ShowReadFailure(DWORD code, const char* caption, const char* fileName, std::string* reason) {
    const std::string text = OneLineSystemText(code);
    ShowMessageBox(nullptr, (std::string(fileName) + "  " + text).c_str(), caption, kErrorBoxStyle);
    if (reason != nullptr) {
        *reason = text;
    }
}

// Reads the file whole from its start into what `place(size)` gives for its size (nullptr:
// no room) and returns how many bytes it read; a file larger than `largest` is not read. A
// failure goes to `read`.
template <typename Place>
std::size_t ReadWhole(HANDLE file, int64_t largest, RawLogRead& read, Place place) {
    LARGE_INTEGER size;
    if (!GetFileSizeEx(file, &size)) {
        read.failedCall = "Vorlix   GetFileSize";
        read.error = GetLastError();
        return 0;
    }
    if (size.QuadPart > largest) {
        read.tooLarge = true;
        return 0;
    }
    SyncFilePosition(file, 0);
    const std::size_t wanted = static_cast<std::size_t>(size.QuadPart);
    char* const data = place(wanted);
    if (data == nullptr) {
        read.failedCall = "Vorlix   HeapAlloc";
        read.error = ERROR_NOT_ENOUGH_MEMORY;
        return 0;
    }
    std::size_t held = 0;
    while (held < wanted) {
        DWORD got = 0;
        if (!ReadFile(file, data + held, static_cast<DWORD>(wanted - held), &got, nullptr)) {
            read.failedCall = "Vorlix   ReadFile";
            read.error = GetLastError();
            return held;
        }
        if (got == 0) {
            break;  // the file became shorter since its size was taken
        }
        held += got;
    }
    return held;
}

// The box and `reason` of a failed read, as ReadWholeLog gives them; 1 when nothing failed.
int SayWholeLogRead(const RawLogRead& read, const char* fileName, std::string* reason) {
    if (read.tooLarge) {
        const std::string text =
            std::string(fileName) + "  is larger than 64 MiB: too large to be a log of Vorlix.";
        ShowMessageBox(nullptr, text.c_str(), kErrorCaption, kErrorBoxStyle);
        if (reason != nullptr) {
            *reason = "larger than 64 MiB";
        }
        return 0;
    }
    if (read.failedCall != nullptr) {
        ShowReadFailure(read.error, read.failedCall, fileName, reason);
        return 0;
    }
    return 1;
}

}  // namespace

RawLogRead ReadWholeLogRaw(HANDLE file, HANDLE heap, int64_t largest) {
    RawLogRead read;
    const std::size_t held = ReadWhole(file, largest, read, [&](std::size_t size) {
        // One byte more, never none: an empty log has a block too.
        read.bytes = HeapBlock(heap, static_cast<char*>(HeapAlloc(heap, 0, size + 1)));
        return read.bytes.Data();
    });
    read.bytes.size = held;
    return read;
}

int TakeWholeLogRead(RawLogRead& read, const char* fileName, std::string& bytes,
                     std::string* reason) {
    bytes.assign(read.bytes.Data() != nullptr ? read.bytes.Data() : "", read.bytes.size);
    read.bytes.Reset();
    return SayWholeLogRead(read, fileName, reason);
}

int ReadWholeLog(HANDLE file, const char* fileName, std::string& bytes, std::string* reason) {
    // Straight into `bytes`: a log of 100,000 records is not copied once more.
    RawLogRead read;
    bytes.clear();
    const std::size_t held = ReadWhole(file, kMaxComparedLogSize, read, [&](std::size_t size) {
        bytes.resize(size);
        return &bytes[0];
    });
    bytes.resize(held);
    return SayWholeLogRead(read, fileName, reason);
}
