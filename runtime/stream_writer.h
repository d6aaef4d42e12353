// The mirror of StreamReader: builds the same words, counted texts and blocks.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

namespace velmora {

class StreamWriter {
  public:
    void Word(uint32_t value);
    void SignedWord(int32_t value) { Word(static_cast<uint32_t>(value)); }
    void HalfWord(uint16_t value);
    void Bytes(std::span<const uint8_t> bytes);
    void CountedText(std::string_view text);
    void CountedBlock(std::span<const uint8_t> bytes);
    // The text must not hold a 0 byte; the terminator is added.
    void ZeroText(std::string_view text);

    // Overwrites a word written earlier, for sizes known only afterwards.
    void PatchWord(size_t position, uint32_t value);
    size_t Size() const { return bytes_.size(); }
    const std::vector<uint8_t>& Data() const { return bytes_; }
    std::vector<uint8_t> Take() { return std::move(bytes_); }

  private:
    std::vector<uint8_t> bytes_;
};

}  // namespace velmora
