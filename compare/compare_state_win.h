// Process-wide state of the comparison view: the open compare dialog and the
// search, which outlives every dialog.
#pragma once

#include <windows.h>

#include <cstdint>

#include "compare/match_list.h"
#include "compare/search_pattern.h"

// The open (or last) comparison dialog; the sort reads its check box.
extern HWND g_compareDialog;

struct SearchState {
    char searchString[kSearchStringSize];
    int32_t pattern[kSearchTokenCount];
    MatchList matches;
    // Height of one list row in pixels, measured at each "Search".
    int rowHeight;
};
extern SearchState g_search;
