#include "runtime/stream_writer.h"

#include <stdexcept>

namespace velmora {

void StreamWriter::Word(uint32_t value) {
    for (int shift = 0; shift < 32; shift += 8) bytes_.push_back(uint8_t(value >> shift));
}

void StreamWriter::HalfWord(uint16_t value) {
    bytes_.push_back(uint8_t(value));
    bytes_.push_back(uint8_t(value >> 8));
}

void StreamWriter::Bytes(std::span<const uint8_t> bytes) {
    bytes_.insert(bytes_.end(), bytes.begin(), bytes.end());
}

void StreamWriter::CountedText(std::string_view text) {
    Word(static_cast<uint32_t>(text.size()));
    bytes_.insert(bytes_.end(), text.begin(), text.end());
}

void StreamWriter::CountedBlock(std::span<const uint8_t> bytes) {
    Word(static_cast<uint32_t>(bytes.size()));
    Bytes(bytes);
}

void StreamWriter::ZeroText(std::string_view text) {
    // A reader would stop at an inner 0 and misread every later field.
    if (text.find('\0') != std::string_view::npos)
        throw std::invalid_argument("a zero-terminated text cannot hold a 0 byte");
    bytes_.insert(bytes_.end(), text.begin(), text.end());
    bytes_.push_back(0);
}

void StreamWriter::PatchWord(size_t position, uint32_t value) {
    for (int i = 0; i < 4; ++i) bytes_.at(position + i) = uint8_t(value >> (8 * i));
}

}  // namespace velmora
