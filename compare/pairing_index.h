// Finds the first-log row that a second-log service record pairs with.
//
// A row pairs with a key when the row's whole "Value" text equals the key with
// the ASCII letters taken without regard to case. Of several such rows the one
// nearest the top wins. The index gives exactly that row in constant time per
// lookup instead of a scan over all rows.
#pragma once

#include <string>
#include <unordered_map>

class PairingIndex {
public:
    // Adds a first-log row's "Value" text. Rows may come in any order.
    void Add(const std::string& valueText, int row);
    // The pairing row for a key, or -1 when no row pairs.
    int Find(const std::string& key) const;

private:
    std::unordered_map<std::string, int> firstRowByFoldedText_;
};
