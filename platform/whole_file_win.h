// Writing a file whole or not at all.
#pragma once

#include <windows.h>

#include <string>

// What went wrong: the call that failed ("CreateFile", "WriteFile", "MoveFileEx") and its
// error code; error 0 when the file was written.
struct WholeFileFailure {
    const char* call = "";
    DWORD error = 0;

    // "Vorlix   MoveFileEx": the caption of the box or message line that reports it.
    std::string Caption() const { return std::string("Vorlix   ") + call; }
};

// Writes `bytes` to a new file beside `path` and moves it into `path`'s place only when it
// is written and flushed whole: a failed write leaves the earlier file as it was and no
// cut file behind. A read-only file at `path` is the user's to keep: it is refused
// (ERROR_ACCESS_DENIED), as writing over it in place would be.
WholeFileFailure WriteWholeFile(const std::string& path, const std::string& bytes);
