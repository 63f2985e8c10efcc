// The text form of list rows for the clipboard.
#pragma once

#include <string>
#include <vector>

// Appends one line: the cells separated by tabs, ended by CR LF. A tab, CR or
// LF inside a cell becomes a blank, so every cell stays in its column and
// every row on its line wherever the text is pasted.
void AppendCopyLine(std::string& text, const std::vector<std::string>& cells);
