// Opening, writing and reading the program's log files.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "platform/handles_win.h"
#include "report/log_field_scanner.h"

// The one log that WriteLogField writes to, owned here; invalid when none is open.
extern UniqueFile g_currentLogFile;

// Creates or truncates the file as the current log and writes its timestamp
// line. Returns 1, or 0 after showing why not.
int OpenSectionLog(const char* fileName);

// Opens an existing file without sharing, positioned at its start. The handle
// (invalid on failure) goes to *file. Returns 1, or 0 after showing why not.
int OpenExistingLog(const char* fileName, HANDLE* file);

// Like OpenExistingLog, for a log that is only read (the comparison): read
// access only, so a read-only log opens; shared with readers only, so the same
// log may be open twice, but never while a program writes to it.
int OpenLogForReading(const char* fileName, HANDLE* file);

// Opens a log that a command rewrites whatever attributes it carries: the
// attributes are reset first, then it is truncated (or created). Shows the
// failure under the caption for an existing or a new file. On success the
// file is the current log, holding its timestamp line.
int OpenRewrittenLog(const char* fileName, const char* existingFailureCaption,
                     const char* newFailureCaption);

// Writes one field to the current log: the text, then CR LF when `last`, else
// blanks up to `width`. Returns 0 when the write failed (shown once; the log
// is then closed and later calls write nothing), else 1.
int WriteLogField(int width, const char* text, bool last);

// Closes the current log unless a failed write already did.
void CloseCurrentLog();

// The log of one section as the current log, for the life of the object:
// opened when made (Truncate: created or truncated, with its timestamp line;
// Append: an existing log, positioned at its end) and closed when it ends.
// When it could not be opened the user has been told why and Opened() is false.
class SectionLog {
public:
    enum class Mode { Truncate, Append };
    explicit SectionLog(const char* fileName, Mode mode = Mode::Truncate);
    ~SectionLog();
    SectionLog(const SectionLog&) = delete;
    SectionLog& operator=(const SectionLog&) = delete;
    bool Opened() const { return opened_; }

private:
    bool opened_;
};

// Closes the current log at the end of a scope.
class CurrentLogScope {
public:
    CurrentLogScope() = default;
    CurrentLogScope(const CurrentLogScope&) = delete;
    CurrentLogScope& operator=(const CurrentLogScope&) = delete;
    ~CurrentLogScope() { CloseCurrentLog(); }
};

// The local time as a timestamp line text (without CR LF).
void FormatLocalTimestamp(char* text, size_t size);

// Reads one field at *position (which must be the file's position) into
// `field` (at least kLogFieldBufferSize bytes). Returns 1 with *position and
// the file position at the next field, or 0 after "String buffer too small".
int ReadLogField(int64_t* position, HANDLE file, char* field);

// Logs are far smaller; a larger file is no log of ours, and reading it whole
// would take the memory of a 32-bit process.
constexpr int64_t kMaxComparedLogSize = 64 * 1024 * 1024;

// Reads a whole log that is open for reading, from its start, into `bytes`.
// Returns 1, or 0 after telling the user why not in a box that names the file
// (a failed read: `bytes` then holds what was read before it; a log too large
// to compare: nothing); `reason`, when given, then gets the why in one line.
int ReadWholeLog(HANDLE file, const char* fileName, std::string& bytes,
                 std::string* reason = nullptr);

// ReadWholeLog in two halves. The first reads and says nothing, and takes nothing from the C
// runtime's heap, so that a second thread may read many bundles while the first lays them out:
// under Wine every allocation of that heap takes one lock, and a reader contending for it
// loses more than the second thread gains.
struct RawLogRead {
    HeapBlock bytes;                   // in the heap given; what was read before a failure
    const char* failedCall = nullptr;  // "Vorlix   ReadFile"...; nullptr when nothing failed
    DWORD error = 0;
    bool tooLarge = false;  // larger than the most asked for: nothing read

    bool Whole() const { return failedCall == nullptr && !tooLarge; }
};
RawLogRead ReadWholeLogRaw(HANDLE file, HANDLE heap, int64_t largest = kMaxComparedLogSize);
// The second half, on the program's own thread: the box and `reason` as ReadWholeLog gives
// them, and the bytes copied to `bytes` (the block is let go). Returns 1 when it was whole.
int TakeWholeLogRead(RawLogRead& read, const char* fileName, std::string& bytes,
                     std::string* reason = nullptr);
