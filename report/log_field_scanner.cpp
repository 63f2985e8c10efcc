#include "report/log_field_scanner.h"

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

}  // namespace

FieldEnd ScanLogField(LogByteSource& source, int64_t& position, char* field) {
    int stored = 0;
    int blanksInRow = 0;
    for (;;) {
        const int byte = source.ByteAt(position);
        if (byte < 0) {
            // The file ends inside the field (or before it): what was stored
            // is the field, and the caller's size test ends its loop.
            field[stored] = '\0';
            return FieldEnd::FileEnd;
        }
        ++position;
        if (byte == '\r') {
            field[stored] = '\0';
            SkipWhile(source, position, IsLineFeedOrBlank);
            return FieldEnd::LineEnd;
        }
        if (stored == kMaxLogFieldLength) {
            field[stored] = '\0';
            return FieldEnd::TooLong;
        }
        field[stored++] = static_cast<char>(byte);
        if (byte != ' ') {
            blanksInRow = 0;
            continue;
        }
        if (++blanksInRow == 2) {
            field[stored - 2] = '\0';
            SkipWhile(source, position, IsBlank);
            return FieldEnd::Blanks;
        }
    }
}
