#include "controls/property_values.h"

#include "runtime/heap.h"
#include "runtime/stream_reader.h"
#include "runtime/stream_writer.h"

namespace velmora::controls {

ValueRecord ValueOf(uint32_t word) {
    return MakeInteger(static_cast<int32_t>(word));
}

ValueRecord ValueOf(int32_t word) {
    return MakeInteger(word);
}

ValueRecord ValueOf(const std::string& text) {
    return MakeTextValue(MakeText(text.data(), static_cast<long>(text.size())));
}

ValueRecord ValueOf(const std::vector<uint8_t>& bytes) {
    return MakeByteSetValue(MakeByteSet(bytes.data(), bytes.size()));
}

ValueRecord ValueOf(const std::optional<FontData>& font) {
    return ValueOf(FontBytes(font));
}

ValueRecord ValueOf(const std::vector<std::string>& texts) {
    return ValueOf(TextListBytes(texts));
}

ValueRecord ValueOf(const std::vector<int32_t>& words) {
    return ValueOf(WordListBytes(words));
}

void Assign(uint32_t& field, const ValueRecord& value) {
    field = value.low;
}

void Assign(int32_t& field, const ValueRecord& value) {
    field = value.Int();
}

void Assign(std::string& field, const ValueRecord& value) {
    field = value.Text();
}

void Assign(std::vector<uint8_t>& field, const ValueRecord& value) {
    field = BytesOf(value);
}

void Assign(std::optional<FontData>& field, const ValueRecord& value) {
    field = FontFrom(BytesOf(value));
}

void Assign(std::vector<std::string>& field, const ValueRecord& value) {
    if (auto list = TextListFrom(BytesOf(value))) field = std::move(*list);
}

void Assign(std::vector<int32_t>& field, const ValueRecord& value) {
    if (auto list = WordListFrom(BytesOf(value))) field = std::move(*list);
}

std::vector<uint8_t> BytesOf(const ValueRecord& byteSet) {
    const void* block = byteSet.Pointer();
    const uint8_t* data = ByteSetData(block);
    return data ? std::vector<uint8_t>(data, data + ByteSetLength(block)) : std::vector<uint8_t>{};
}

std::vector<uint8_t> TextListBytes(const std::vector<std::string>& texts) {
    StreamWriter out;
    out.Word(static_cast<uint32_t>(texts.size()));
    for (const std::string& text : texts) out.CountedText(text);
    return out.Take();
}

std::optional<std::vector<std::string>> TextListFrom(const std::vector<uint8_t>& bytes) {
    if (bytes.empty()) return std::vector<std::string>{};
    try {
        StreamReader in(bytes);
        uint32_t count = in.Word("item count");
        in.ExpectItems(count, 4, "items");
        std::vector<std::string> texts;
        for (uint32_t i = 0; i < count; ++i) texts.push_back(in.CountedText("item"));
        return texts;
    } catch (const StreamError&) {
        return std::nullopt;
    }
}

std::vector<uint8_t> WordListBytes(const std::vector<int32_t>& words) {
    StreamWriter out;
    out.Word(static_cast<uint32_t>(words.size()));
    for (int32_t word : words) out.SignedWord(word);
    return out.Take();
}

std::optional<std::vector<int32_t>> WordListFrom(const std::vector<uint8_t>& bytes) {
    if (bytes.empty()) return std::vector<int32_t>{};
    try {
        StreamReader in(bytes);
        uint32_t count = in.Word("value count");
        in.ExpectItems(count, 4, "values");
        std::vector<int32_t> words;
        for (uint32_t i = 0; i < count; ++i) words.push_back(in.SignedWord("value"));
        return words;
    } catch (const StreamError&) {
        return std::nullopt;
    }
}

std::vector<uint8_t> FontBytes(const std::optional<FontData>& font) {
    if (!font) return {};
    StreamWriter out;
    WriteFont(out, font);
    std::vector<uint8_t> counted = out.Take();
    return std::vector<uint8_t>(counted.begin() + 4, counted.end());
}

std::optional<FontData> FontFrom(const std::vector<uint8_t>& bytes) {
    StreamWriter counted;
    counted.CountedBlock(bytes);
    StreamReader in(counted.Data());
    return ReadFont(in);
}

}  // namespace velmora::controls
