#include "report/copy_text.h"

void AppendCopyLine(std::string& text, const std::vector<std::string>& cells) {
    for (size_t i = 0; i < cells.size(); ++i) {
        if (i > 0) {
            text.push_back('\t');
        }
        for (char c : cells[i]) {
            text.push_back(c == '\t' || c == '\r' || c == '\n' ? ' ' : c);
        }
    }
    text.append("\r\n");
}
