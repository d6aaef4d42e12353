// Conversions between stored property fields and the value records that the
// property routines pass: words as integers, texts and byte data as fresh
// heap blocks that the reader frees.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "controls/font_data.h"
#include "runtime/value.h"

namespace velmora::controls {

ValueRecord ValueOf(uint32_t word);
ValueRecord ValueOf(int32_t word);
ValueRecord ValueOf(const std::string& text);
ValueRecord ValueOf(const std::vector<uint8_t>& bytes);
ValueRecord ValueOf(const std::optional<FontData>& font);
ValueRecord ValueOf(const std::vector<std::string>& texts);
ValueRecord ValueOf(const std::vector<int32_t>& words);

void Assign(uint32_t& field, const ValueRecord& value);
void Assign(int32_t& field, const ValueRecord& value);
void Assign(std::string& field, const ValueRecord& value);
void Assign(std::vector<uint8_t>& field, const ValueRecord& value);
// Byte data that is not a 60-byte font record selects the system font.
void Assign(std::optional<FontData>& field, const ValueRecord& value);
// A list that cannot be read leaves the field as it was.
void Assign(std::vector<std::string>& field, const ValueRecord& value);
void Assign(std::vector<int32_t>& field, const ValueRecord& value);

std::vector<uint8_t> BytesOf(const ValueRecord& byteSet);

// Byte data of a list of texts: a 32-bit count, then each text counted.
std::vector<uint8_t> TextListBytes(const std::vector<std::string>& texts);
std::optional<std::vector<std::string>> TextListFrom(const std::vector<uint8_t>& bytes);
// Byte data of a list of integers: a 32-bit count, then the words.
std::vector<uint8_t> WordListBytes(const std::vector<int32_t>& words);
std::optional<std::vector<int32_t>> WordListFrom(const std::vector<uint8_t>& bytes);

// The 60-byte form of a font, empty for the system font.
std::vector<uint8_t> FontBytes(const std::optional<FontData>& font);
std::optional<FontData> FontFrom(const std::vector<uint8_t>& bytes);

}  // namespace velmora::controls
