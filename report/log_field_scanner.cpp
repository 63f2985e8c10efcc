#include "report/log_field_scanner.h"

#include <cstring>

namespace {

// Skips bytes while `skip` accepts them; stops in front of the first other
// byte or at the end of the file.
template <typename Predicate>
void SkipWhile(LogByteSource& source, int64_t& position, Predicate skip) {
    for (;;) {
        const int byte = source.ByteAt(position);
        if (byte < 0 || !skip(byte)) {
            return;
        }
        ++position;
    }
}

bool IsBlank(int byte) {
    return byte == ' ';
}
bool IsLineFeedOrBlank(int byte) {
    return byte == '\n' || byte == ' ';
}

LongFieldScan Scan(LogByteSource& source, int64_t& position, char* field, bool cutLongFields) {
    int stored = 0;
    int blanksInRow = 0;
    bool cut = false;
    for (;;) {
        const int byte = source.ByteAt(position);
        if (byte < 0) {
            // The file ends inside the field (or before it): what was stored
            // is the field, and the caller's size test ends its loop.
            field[stored] = '\0';
            return {FieldEnd::FileEnd, cut};
        }
        ++position;
        if (byte == '\r') {
            field[stored] = '\0';
            SkipWhile(source, position, IsLineFeedOrBlank);
            return {FieldEnd::LineEnd, cut};
        }
        if (stored == kMaxLogFieldLength && !cut) {
            field[stored] = '\0';
            if (!cutLongFields) {
                return {FieldEnd::TooLong, false};
            }
            cut = true;
            std::memcpy(field + kMaxLogFieldLength - 3, "...", 3);
        }
        if (!cut) {
            field[stored++] = static_cast<char>(byte);
        }
        if (byte != ' ') {
            blanksInRow = 0;
            continue;
        }
        if (++blanksInRow == 2) {
            if (!cut) {
                field[stored - 2] = '\0';
            }
            SkipWhile(source, position, IsBlank);
            return {FieldEnd::Blanks, cut};
        }
    }
}

}  // namespace

FieldEnd ScanLogField(LogByteSource& source, int64_t& position, char* field) {
    return Scan(source, position, field, false).end;
}

LongFieldScan ScanLogFieldCutting(LogByteSource& source, int64_t& position, char* field) {
    return Scan(source, position, field, true);
}
