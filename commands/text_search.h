// Searching a GBK text the way the text commands do: a match may begin only
// on a character boundary, where a byte with its top bit set starts a
// two-byte character. The position a search starts from counts as a boundary.
#pragma once

#include <cstddef>
#include <string_view>

namespace velmora::commands {

class TextScanner {
  public:
    static constexpr size_t kNotFound = static_cast<size_t>(-1);

    // A text whose length is known.
    explicit TextScanner(std::string_view text);
    // A zero-terminated text whose length is measured only as far as a
    // search needs it, so that a search costs what it walks, not the text's size.
    explicit TextScanner(const char* text);

    // Whether the text holds a byte at `offset`.
    bool Holds(size_t offset) { return Available(offset, 1); }
    // The whole length, measuring the rest of the text if need be.
    size_t Length();

    // The offset of the first occurrence of `sought` (not empty) at a
    // character boundary at or after `from`, or kNotFound. `foldCase` folds
    // only A-Z and a-z.
    size_t Find(size_t from, std::string_view sought, bool foldCase);

  private:
    // Whether `count` bytes are present from `offset` on.
    bool Available(size_t offset, size_t count);
    void Measure(size_t wanted);
    size_t FindExact(size_t from, std::string_view sought);
    size_t FindFolded(size_t from, std::string_view sought);
    bool IsBoundary(size_t knownBoundary, size_t offset) const;

    const char* text_;
    size_t measured_;  // bytes known to precede the terminator
    bool complete_;    // measured_ is the whole length
};

}  // namespace velmora::commands
