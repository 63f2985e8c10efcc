// How the program lays out the lines of each of its logs: the widths to which
// the writer pads each field but the last, and what the last one holds. The
// reader of travelled logs checks lines against it, to tell a log that changed
// on its way (wrapped by a mail program, blanks collapsed, saved as CSV) from
// one as written, and to undo what the layout shows unambiguously.
#pragma once

#include <cstddef>
#include <string>

struct LogLayout;

// The layout of the log that the path names, told by its extension as the
// compare kinds are (".logServices", ".logAnalyzeSettings", ".logMessages",
// in any case) for each log of report/log_paths.h; nullptr for any other name,
// whose lines are then taken as they come.
const LogLayout* LayoutOfLogName(const std::string& path);

// The layout of each log the table knows, for the tests; nullptr past the last.
const LogLayout* LayoutAt(int index);
// The log the layout belongs to, as report/log_paths.h names it.
const char* LayoutLogPath(const LogLayout& layout);

// How a reading note names a log of the layout: "a service log", "a Settings log".
const char* LayoutName(const LogLayout& layout);

// Whether a line (without its line end; blanks and tabs at its end count for
// nothing) has a shape in which the writer writes lines of the log.
// `firstRecord`: the first line after the timestamp line.
bool HasLineShape(const LogLayout& layout, const char* line, size_t size, bool firstRecord);

// Whether a line (as for HasLineShape) holds a field at the second column of
// a layout of columns. Every line of a log may look like a name whose value is
// empty, or one too long for its padding; when no line has a field there, the
// log has lost its padding (blanks collapsed, saved as CSV). True for layouts
// of other lines.
bool ReachesSecondField(const LogLayout& layout, const char* line, size_t size);
