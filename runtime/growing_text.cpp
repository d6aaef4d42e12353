#include "runtime/growing_text.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "runtime/constants.h"
#include "runtime/heap.h"

namespace velmora {
namespace {
constexpr size_t kFirstCapacity = 64;
}  // namespace

GrowingText::GrowingText(size_t expected) {
    if (expected > 0) Reserve(expected + 1);
}

GrowingText::~GrowingText() {
    Free(block_);
}

void GrowingText::Reserve(size_t capacity) {
    block_ = static_cast<char*>(Reallocate(block_, capacity));
    block_[length_] = '\0';
    capacity_ = capacity;
}

void GrowingText::Append(std::string_view more) {
    if (more.empty()) return;
    const size_t wanted = length_ + more.size() + 1;
    if (wanted > capacity_) Reserve(std::max({capacity_ * 2, wanted, kFirstCapacity}));
    std::memcpy(block_ + length_, more.data(), more.size());
    length_ += more.size();
    block_[length_] = '\0';
}

const char* GrowingText::c_str() const {
    return block_ ? block_ : kEmptyText;
}

char* GrowingText::Release() {
    if (length_ == 0) return nullptr;
    char* text = static_cast<char*>(Reallocate(std::exchange(block_, nullptr), length_ + 1));
    length_ = capacity_ = 0;
    return text;
}

}  // namespace velmora
