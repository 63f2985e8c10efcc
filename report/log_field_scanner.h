// The field reader's state machine, independent of where the bytes come from.
//
// A field ends at two consecutive blanks (neither belongs to it, and all
// blanks after them are skipped) or at a CR (after which LF and blanks are
// skipped). A single blank inside a field stays part of it.
#pragma once

#include <cstddef>
#include <cstdint>

constexpr int kMaxLogFieldLength = 512;
constexpr int kLogFieldBufferSize = kMaxLogFieldLength + 1;

class LogByteSource {
public:
    virtual ~LogByteSource() = default;
    // The byte at the given file offset, or -1 at or past the end.
    virtual int ByteAt(int64_t offset) = 0;
};

enum class FieldEnd {
    Blanks,   // two blanks ended it; more fields follow on the line
    LineEnd,  // a CR ended it; the next field starts a new line
    FileEnd,  // the file ended inside the field or before it
    TooLong,  // more than kMaxLogFieldLength characters before an end
};

// Reads one field at `position` into `field` (kLogFieldBufferSize bytes), zero-terminated,
// and moves `position` to the next field. On TooLong one byte beyond kMaxLogFieldLength
// has been consumed and `field` holds the first kMaxLogFieldLength characters.
FieldEnd ScanLogField(LogByteSource& source, int64_t& position, char* field);

// A source over bytes in memory (tests, fuzzing, benchmarks).
class MemoryByteSource : public LogByteSource {
public:
    MemoryByteSource(const char* data, size_t size) : data_(data), size_(size) {}
    int ByteAt(int64_t offset) override {
        if (offset < 0 || static_cast<uint64_t>(offset) >= size_) {
            return -1;
        }
        return static_cast<unsigned char>(data_[offset]);
    }

private:
    const char* data_;
    size_t size_;
};
