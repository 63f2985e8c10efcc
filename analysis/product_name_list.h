// The growable list of installed product names that the analysis fills while it enumerates
// the Windows Installer products.
#pragma once

#include <cstddef>
#include <memory>
#include <vector>

class ProductNameList {
public:
    static constexpr std::size_t kCapacityStep = 10;

    // Empty, with capacity kCapacityStep.
    ProductNameList();
    ~ProductNameList();
    ProductNameList(const ProductNameList&) = delete;
    ProductNameList& operator=(const ProductNameList&) = delete;

    // Stores a copy of name at position Count() (nullptr stores an empty text); the capacity
    // grows by kCapacityStep whenever the count reaches it.
    void Append(const char* name);

    // Replaces the text at j with a copy of name (to compact the list over skipped products);
    // false, changing nothing, when j >= Count().
    bool ReplaceAt(std::size_t j, const char* name);

    // As above, for registry data that may lack its zero: the text ends at the first zero
    // within byteCount bytes.
    bool ReplaceAt(std::size_t j, const char* bytes, std::size_t byteCount);

    // Shrinks the count to j, freeing the texts that fall off; the capacity stays. False,
    // changing nothing, when j > Count().
    bool SetCount(std::size_t j);

    std::size_t Count() const { return count_; }
    std::size_t Capacity() const { return slots_.size(); }

    // The text at position i, or nullptr when i >= Count().
    const char* At(std::size_t i) const;

private:
    std::vector<std::unique_ptr<char[]>> slots_;
    std::size_t count_ = 0;
};
