// The low layer of the stored window data: little-endian words, counted texts
// and blocks, zero-terminated texts. It knows nothing of windows.
//
// Every length is checked against what remains before anything is allocated,
// so a forged length costs nothing but the error. Every failure throws
// StreamError; the layer above catches it in one place.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <stdexcept>
#include <string>
#include <vector>

namespace velmora {

class StreamError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

class StreamReader {
  public:
    explicit StreamReader(std::span<const uint8_t> bytes) : bytes_(bytes) {}

    size_t Position() const { return position_; }
    size_t Remaining() const { return bytes_.size() - position_; }
    bool AtEnd() const { return position_ == bytes_.size(); }

    // `what` names the field in the error message.
    uint32_t Word(const char* what);
    int32_t SignedWord(const char* what) { return static_cast<int32_t>(Word(what)); }
    uint16_t HalfWord(const char* what);
    std::span<const uint8_t> Bytes(size_t n, const char* what);
    // A 32-bit length, then that many bytes.
    std::string CountedText(const char* what);
    std::vector<uint8_t> CountedBlock(const char* what);
    std::span<const uint8_t> CountedSpan(const char* what);
    // Bytes up to a 0 byte, which is consumed but not kept.
    std::string ZeroText(const char* what);
    // A reader over the next n bytes; this reader moves past them.
    StreamReader Sub(size_t n, const char* what) { return StreamReader(Bytes(n, what)); }
    // Everything not yet read.
    std::span<const uint8_t> Rest();
    // Fails unless at least count * size bytes remain: for counts read from
    // the stream, before anything is reserved for them.
    void ExpectItems(uint32_t count, size_t size, const char* what) const;

    [[noreturn]] void Fail(const std::string& message) const;

  private:
    void Need(size_t n, const char* what) const;

    std::span<const uint8_t> bytes_;
    size_t position_ = 0;
};

}  // namespace velmora
