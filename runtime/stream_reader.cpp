#include "runtime/stream_reader.h"

#include <cstring>

namespace velmora {

void StreamReader::Fail(const std::string& message) const {
    throw StreamError("at byte " + std::to_string(position_) + ": " + message);
}

void StreamReader::Need(size_t n, const char* what) const {
    if (n > Remaining())
        Fail(std::string(what) + ": needs " + std::to_string(n) + " bytes, " +
             std::to_string(Remaining()) + " remain");
}

void StreamReader::ExpectItems(uint32_t count, size_t size, const char* what) const {
    // Divide rather than multiply so that a forged count cannot overflow.
    if (count > Remaining() / size)
        Fail(std::string(what) + ": " + std::to_string(count) + " items of " +
             std::to_string(size) + " bytes do not fit in " + std::to_string(Remaining()));
}

uint32_t StreamReader::Word(const char* what) {
    Need(4, what);
    const uint8_t* p = bytes_.data() + position_;
    position_ += 4;
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

uint16_t StreamReader::HalfWord(const char* what) {
    Need(2, what);
    const uint8_t* p = bytes_.data() + position_;
    position_ += 2;
    return static_cast<uint16_t>(p[0] | p[1] << 8);
}

std::span<const uint8_t> StreamReader::Bytes(size_t n, const char* what) {
    Need(n, what);
    auto out = bytes_.subspan(position_, n);
    position_ += n;
    return out;
}

std::span<const uint8_t> StreamReader::CountedSpan(const char* what) {
    uint32_t n = Word(what);
    return Bytes(n, what);
}

std::string StreamReader::CountedText(const char* what) {
    auto bytes = CountedSpan(what);
    return std::string(bytes.begin(), bytes.end());
}

std::vector<uint8_t> StreamReader::CountedBlock(const char* what) {
    auto bytes = CountedSpan(what);
    return std::vector<uint8_t>(bytes.begin(), bytes.end());
}

std::string StreamReader::ZeroText(const char* what) {
    // An empty view may have no address at all; memchr must not see it.
    if (AtEnd()) Fail(std::string(what) + ": no terminating 0 byte");
    const uint8_t* start = bytes_.data() + position_;
    const void* end = std::memchr(start, 0, Remaining());
    if (!end) Fail(std::string(what) + ": no terminating 0 byte");
    size_t n = static_cast<size_t>(static_cast<const uint8_t*>(end) - start);
    position_ += n + 1;
    return std::string(reinterpret_cast<const char*>(start), n);
}

std::span<const uint8_t> StreamReader::Rest() {
    return Bytes(Remaining(), "rest");
}

}  // namespace velmora
