// A runtime heap text that grows by appending at its end. The block keeps
// spare room and doubles when full, so building n bytes costs O(n) whatever
// the pieces; it stays zero-terminated, so the text can be read as it grows.
#pragma once

#include <cstddef>
#include <string_view>

namespace velmora {

class GrowingText {
  public:
    // Room for `expected` bytes from the start, for a caller that knows roughly.
    explicit GrowingText(size_t expected = 0);
    GrowingText(const GrowingText&) = delete;
    GrowingText& operator=(const GrowingText&) = delete;
    ~GrowingText();

    void Append(std::string_view more);
    // Never null: the constant empty text while nothing has been appended.
    const char* c_str() const;
    std::string_view view() const { return {c_str(), length_}; }
    // The text as a block of its exact size, null when empty; the caller owns
    // it and the builder starts over empty.
    char* Release();

  private:
    void Reserve(size_t capacity);

    char* block_ = nullptr;
    size_t length_ = 0;
    size_t capacity_ = 0;
};

}  // namespace velmora
