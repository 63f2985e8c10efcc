#include "compare/pairing_index.h"

#include "platform/ascii_case.h"

// Names are compared whole: a cut (such as the 127 characters that the list
// hands out) would make two long names that differ only behind it pair, and a
// name longer than the cut never pair with itself.
void PairingIndex::Add(const std::string& valueText, int row) {
    const auto inserted = firstRowByFoldedText_.emplace(FoldAsciiCase(valueText), row);
    if (!inserted.second && row < inserted.first->second) {
        inserted.first->second = row;
    }
}

int PairingIndex::Find(const std::string& key) const {
    const auto found = firstRowByFoldedText_.find(FoldAsciiCase(key));
    return found == firstRowByFoldedText_.end() ? -1 : found->second;
}
