#include "analysis/product_name_list.h"

#include "report/bounded_text.h"

#include <cstring>

namespace {

std::unique_ptr<char[]> CopyText(const char* text, std::size_t length) {
    std::unique_ptr<char[]> copy(new char[length + 1]);
    if (length > 0) {
        std::memcpy(copy.get(), text, length);
    }
    copy[length] = '\0';
    return copy;
}

}  // namespace

ProductNameList::ProductNameList() : slots_(kCapacityStep) {}

ProductNameList::~ProductNameList() = default;

void ProductNameList::Append(const char* name) {
    const char* text = name != nullptr ? name : "";
    slots_[count_] = CopyText(text, std::strlen(text));
    ++count_;
    if (count_ == slots_.size()) {
        slots_.resize(slots_.size() + kCapacityStep);
    }
}

bool ProductNameList::ReplaceAt(std::size_t j, const char* name) {
    const char* text = name != nullptr ? name : "";
    return ReplaceAt(j, text, std::strlen(text));
}

bool ProductNameList::ReplaceAt(std::size_t j, const char* bytes, std::size_t byteCount) {
    if (j >= count_) {
        return false;
    }
    const std::size_t length = bytes != nullptr ? BoundedLength(bytes, byteCount) : 0;
    slots_[j] = CopyText(bytes, length);
    return true;
}

bool ProductNameList::SetCount(std::size_t j) {
    if (j > count_) {
        return false;
    }
    for (std::size_t i = j; i < count_; ++i) {
        slots_[i].reset();
    }
    count_ = j;
    return true;
}

const char* ProductNameList::At(std::size_t i) const {
    return i < count_ ? slots_[i].get() : nullptr;
}
