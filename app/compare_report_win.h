// "/compare ... /report FILE": the comparison without a window, written to a file.
#pragma once

#include "app/command_line.h"

// Compares the two logs or folders of the request and writes the report;
// every message goes to standard output. Returns kExitNoMessage when nothing
// differs, kExitMessages when something does, kExitBadArguments when a log
// or folder cannot be read or the report cannot be written.
int RunCompareReport(const StartRequest& request);
