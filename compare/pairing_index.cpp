#include "compare/pairing_index.h"

namespace {

std::string FoldAsciiCase(const std::string& text) {
    std::string folded(text);
    for (char& c : folded) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return folded;
}

}  // namespace

void PairingIndex::Add(const std::string& valueText, int row) {
    const auto inserted =
        firstRowByFoldedText_.emplace(FoldAsciiCase(valueText.substr(0, kPairingTextLimit)), row);
    if (!inserted.second && row < inserted.first->second) {
        inserted.first->second = row;
    }
}

int PairingIndex::Find(const std::string& key) const {
    if (key.size() > kPairingTextLimit) {
        return -1;
    }
    const auto found = firstRowByFoldedText_.find(FoldAsciiCase(key));
    return found == firstRowByFoldedText_.end() ? -1 : found->second;
}
