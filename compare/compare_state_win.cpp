#include "compare/compare_state_win.h"

HWND g_compareDialog = nullptr;
SearchState g_search;
