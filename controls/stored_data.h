// Shared frame of every type's stored property data: an empty block means
// all defaults; otherwise a layout version comes first, and a version newer
// than the type knows, or data cut short, cannot be used.
//
// Each type's data lists its fields once, in stored order, in a static
// `Fields(io, data)`; the same list is read by FieldReader and written by
// FieldWriter, so the two directions cannot drift apart.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <stdexcept>
#include <string>
#include <vector>

#include "controls/font_data.h"
#include "runtime/stream_reader.h"
#include "runtime/stream_writer.h"

namespace velmora::controls {

class FieldReader {
  public:
    explicit FieldReader(StreamReader& in) : in_(in) {}

    void operator()(uint32_t& word, const char* what) { word = in_.Word(what); }
    void operator()(int32_t& word, const char* what) { word = in_.SignedWord(what); }
    void operator()(uint16_t& half, const char* what) { half = in_.HalfWord(what); }
    void operator()(std::string& text, const char* what) { text = in_.CountedText(what); }
    void operator()(std::vector<uint8_t>& block, const char* what) {
        block = in_.CountedBlock(what);
    }
    void operator()(std::optional<FontData>& font, const char*) { font = ReadFont(in_); }
    template <size_t N>
    void operator()(std::array<uint32_t, N>& words, const char* what) {
        for (uint32_t& word : words) word = in_.Word(what);
    }
    // A list behind a word count.
    template <typename Item>
    void operator()(std::vector<Item>& items, const char* what) {
        ReadItems(items, in_.Word(what), what);
    }
    // A list of texts behind a half-word count.
    void HalfCounted(std::vector<std::string>& items, const char* what) {
        ReadItems(items, in_.HalfWord(what), what);
    }
    // A block behind a signed length; zero or less is an empty block.
    void SignedBlock(std::vector<uint8_t>& block, const char* what) {
        auto bytes = SignedSpan(what);
        block.assign(bytes.begin(), bytes.end());
    }
    void SignedFont(std::optional<FontData>& font) {
        // The font goes through the shared reader, which expects its own length.
        StreamWriter counted;
        counted.CountedBlock(SignedSpan("font"));
        StreamReader in(counted.Data());
        font = ReadFont(in);
    }

  private:
    template <typename Item>
    void ReadItems(std::vector<Item>& items, uint32_t count, const char* what) {
        in_.ExpectItems(count, 4, what);
        for (uint32_t i = 0; i < count; ++i) (*this)(items.emplace_back(), what);
    }
    std::span<const uint8_t> SignedSpan(const char* what) {
        int32_t length = in_.SignedWord(what);
        if (length <= 0) return {};
        return in_.Bytes(static_cast<size_t>(length), what);
    }

    StreamReader& in_;
};

class FieldWriter {
  public:
    explicit FieldWriter(StreamWriter& out) : out_(out) {}

    void operator()(uint32_t word, const char*) { out_.Word(word); }
    void operator()(int32_t word, const char*) { out_.SignedWord(word); }
    void operator()(uint16_t half, const char*) { out_.HalfWord(half); }
    void operator()(const std::string& text, const char*) { out_.CountedText(text); }
    void operator()(const std::vector<uint8_t>& block, const char*) { out_.CountedBlock(block); }
    void operator()(const std::optional<FontData>& font, const char*) { WriteFont(out_, font); }
    template <size_t N>
    void operator()(const std::array<uint32_t, N>& words, const char*) {
        for (uint32_t word : words) out_.Word(word);
    }
    template <typename Item>
    void operator()(const std::vector<Item>& items, const char* what) {
        out_.Word(static_cast<uint32_t>(items.size()));
        for (const Item& item : items) (*this)(item, what);
    }
    void HalfCounted(const std::vector<std::string>& items, const char* what) {
        if (items.size() > 0xFFFF)
            throw std::invalid_argument(std::string(what) + ": more than 65535");
        out_.HalfWord(static_cast<uint16_t>(items.size()));
        for (const std::string& item : items) out_.CountedText(item);
    }
    // Lengths written are never negative, so these are the counted forms.
    void SignedBlock(const std::vector<uint8_t>& block, const char*) { out_.CountedBlock(block); }
    void SignedFont(const std::optional<FontData>& font) { WriteFont(out_, font); }

  private:
    StreamWriter& out_;
};

// Data has a `version` member, a static kVersion and a static Fields listing
// what follows the version word according to data.version.
template <typename Data>
std::optional<Data> ReadStoredData(std::span<const uint8_t> bytes) {
    Data data;
    if (bytes.empty()) return data;
    try {
        StreamReader in(bytes);
        data.version = in.Word("layout version");
        if (data.version > Data::kVersion) return std::nullopt;
        FieldReader reader(in);
        Data::Fields(reader, data);
        return data;
    } catch (const StreamError&) {
        return std::nullopt;
    }
}

template <typename Data>
std::vector<uint8_t> WriteStoredData(const Data& data) {
    StreamWriter out;
    out.Word(data.version);
    FieldWriter writer(out);
    Data::Fields(writer, data);
    return out.Take();
}

}  // namespace velmora::controls
