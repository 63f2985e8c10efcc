// The collect run: the three test commands without a window.
#pragma once

#include <string>

// Runs the three test commands as the menu would, in report dialogs never shown, with
// their message boxes going to the messages log; then copies every log written into
// `folder` (a full path) unless it is empty. Returns kExitNoMessage or kExitMessages.
int RunCollect(const std::string& folder);
