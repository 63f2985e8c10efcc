// Reading one plug-in setting, with its default written when it is missing.
#pragma once

#include <windows.h>

#include "analysis/settings_table.h"

// Fills the record's value buffer (bufferSize bytes) from the open settings key. A missing
// value is first written with its default, which then fills the buffer. *bytesHeld receives
// how many bytes of the buffer are valid: a REG_SZ value may have been stored without its
// terminating zero, and its text must end within those bytes. Returns 1 when the buffer holds
// the value to show, 0 when the setting failed and the user has been told why.
int ReadSettingValue(const SettingRecord& record, DWORD bufferSize, HKEY key, DWORD* bytesHeld);
