// "/collect": the three test commands without a window.
#pragma once

#include <string>

// Runs "Analyze", "Check Dll Fct Calls" and "List Services" as the menu
// would, each in a report dialog that is never shown; the messages they
// would show in boxes go to the messages log instead. With a folder (a full
// path), every log the run wrote is then copied there. Returns the exit code:
// kExitNoMessage or kExitMessages.
int RunCollect(const std::string& folder);
