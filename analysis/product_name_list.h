// The growable list of installed product names that the analysis fills while it enumerates
// the Windows Installer products.
#pragma once

#include <cstddef>
#include <memory>
#include <vector>

class ProductNameList {
public:
    static constexpr std::size_t kCapacityStep = 10;

    // Empty, with capacity 10.
    ProductNameList();
    ~ProductNameList();
    ProductNameList(const ProductNameList&) = delete;
    ProductNameList& operator=(const ProductNameList&) = delete;

    // Stores a copy of name at position Count() (nullptr stores an empty text). When the count
    // then reaches the capacity, the capacity grows by 10 (10, 20, 30, ...).
    void Append(const char* name);

    // Replaces the text at position j (j < Count()) with a copy of name; used to compact the
    // list over products that were skipped. Returns false, changing nothing, when j is out of
    // range.
    bool ReplaceAt(std::size_t j, const char* name);

    // As above, for registry data that may lack its terminating zero: the text is the bytes up
    // to the first zero within byteCount bytes.
    bool ReplaceAt(std::size_t j, const char* bytes, std::size_t byteCount);

    // Shrinks the count to j, freeing the texts that fall off. Returns false, changing
    // nothing, when j is greater than Count(). The capacity stays.
    bool SetCount(std::size_t j);

    std::size_t Count() const { return count_; }
    std::size_t Capacity() const { return slots_.size(); }

    // The text at position i, or nullptr when i >= Count().
    const char* At(std::size_t i) const;

private:
    std::vector<std::unique_ptr<char[]>> slots_;
    std::size_t count_ = 0;
};
