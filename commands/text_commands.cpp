#include "commands/text_commands.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "commands/c_library.h"
#include "commands/text_search.h"
#include "runtime/array_block.h"
#include "runtime/command_arguments.h"
#include "runtime/growing_text.h"
#include "runtime/heap.h"
#include "runtime/value_text.h"

namespace velmora::commands {
namespace {

constexpr size_t kNotFound = TextScanner::kNotFound;

// An optional 1-based start position as a 0-based offset: 0 when omitted or
// when it lies before the text.
size_t StartOffset(const ValueRecord& start) {
    if (start.Omitted()) return 0;
    int64_t offset = int64_t(start.Int()) - 1;
    return offset < 0 ? 0 : static_cast<size_t>(offset);
}

void ReturnInteger(ValueRecord* result, int64_t value) {
    result->low = uint32_t(int32_t(value));
}
void ReturnPointer(ValueRecord* result, const void* block) {
    result->SetBits(uint64_t(reinterpret_cast<uintptr_t>(block)));
}
void ReturnText(ValueRecord* result, std::string_view bytes) {
    ReturnPointer(result, MakeText(bytes.data(), static_cast<long>(bytes.size())));
}
void ReturnDouble(ValueRecord* result, double value) {
    uint64_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    result->SetBits(bits);
}

// Full-width GBK characters that have an ASCII counterpart become it; every
// other character, and a lead byte at the very end, stays as it is.
std::string FullWidthToAscii(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        auto first = static_cast<uint8_t>(text[i]);
        if (first < 0x80 || i + 1 == text.size()) {
            out += text[i];
            continue;
        }
        auto second = static_cast<uint8_t>(text[++i]);
        if (first == 0xA3 && second >= 0xA1 && second <= 0xFE)
            out += static_cast<char>(second & 0x7F);
        else if (first == 0xA1 && second == 0xA1)
            out += ' ';
        else if (first == 0xA1 && second == 0xAB)
            out += '~';
        else if (first == 0xA1 && (second == 0xEE || second == 0xEF))
            out += '*';
        else
            out.append({static_cast<char>(first), static_cast<char>(second)});
    }
    return out;
}

}  // namespace

void TextLength(ValueRecord* result, int count, ValueRecord* args) {
    const CommandArguments arg(count, args);
    ReturnInteger(result, int64_t(std::strlen(arg[0].Text())));
}

void LeftText(ValueRecord* result, int count, ValueRecord* args) {
    const CommandArguments arg(count, args);
    const char* text = arg[0].Text();
    int32_t wanted = arg[1].Int();
    if (wanted <= 0) return;
    ReturnText(result, {text, strnlen(text, size_t(wanted))});
}

void RightText(ValueRecord* result, int count, ValueRecord* args) {
    const CommandArguments arg(count, args);
    std::string_view text = arg[0].Text();
    int32_t wanted = arg[1].Int();
    if (wanted <= 0) return;
    size_t n = std::min(text.size(), size_t(wanted));
    ReturnText(result, text.substr(text.size() - n));
}

void MiddleText(ValueRecord* result, int count, ValueRecord* args) {
    const CommandArguments arg(count, args);
    const char* text = arg[0].Text();
    int32_t start = arg[1].Int();
    int32_t wanted = arg[2].Int();
    if (start < 1 || wanted <= 0) return;
    // Measure only as far as the cut reaches; a cut near the front of a long
    // page must not pay for the whole page.
    size_t from = size_t(start) - 1;
    size_t end = strnlen(text, from + size_t(wanted));
    if (end <= from) return;  // start lies beyond the text
    ReturnText(result, {text + from, end - from});
}

void FindText(ValueRecord* result, int count, ValueRecord* args) {
    const CommandArguments arg(count, args);
    const char* text = arg[0].Text();
    std::string_view sought = arg[1].Text();
    size_t from = StartOffset(arg[2]);
    // Only the exact value 1 asks for case folding.
    bool foldCase = arg[3].low == 1;
    TextScanner scanner(text);
    int64_t position = -1;
    if (scanner.Holds(from)) {
        if (sought.empty()) {
            position = 1;
        } else {
            size_t at = scanner.Find(from, sought, foldCase);
            if (at != kNotFound) position = int64_t(at) + 1;
        }
    }
    ReturnInteger(result, position);
}

void ReplaceText(ValueRecord* result, int count, ValueRecord* args) {
    const CommandArguments arg(count, args);
    std::string_view text = arg[0].Text();
    std::string_view sought = arg[1].Text();
    std::string_view replacement = arg[2].Text();
    size_t offset = StartOffset(arg[3]);
    // Any negative count, like an omitted one, means every occurrence.
    int64_t limit = arg.Int(4, -1);
    // Note the sense: false or omitted folds case, anything else compares exactly.
    bool foldCase = arg[5].low == 0;

    if (text.empty() || sought.empty() || offset >= text.size() || limit == 0) {
        ReturnText(result, text);
        return;
    }
    TextScanner scanner(text);
    GrowingText out(text.size());
    out.Append(text.substr(0, offset));
    size_t pos = offset;
    for (int64_t done = 0; limit < 0 || done < limit; ++done) {
        size_t at = scanner.Find(pos, sought, foldCase);
        if (at == kNotFound) break;
        out.Append(text.substr(pos, at - pos));
        out.Append(replacement);
        pos = at + sought.size();
    }
    out.Append(text.substr(pos));
    ReturnPointer(result, out.Release());
}

void SplitText(ValueRecord* result, int count, ValueRecord* args) {
    const CommandArguments arg(count, args);
    const char* text = arg[0].Text();
    std::string_view delimiter = arg.Text(1, ",");
    int64_t maximum = arg.Given(2) ? std::max<int64_t>(arg[2].Int(), 0) : -1;

    // The array grows in place, doubling, and is cut to its count at the end.
    uint32_t pieces = 0, capacity = 16;
    void* array = MakeArrayBlock(sizeof(char*), capacity);
    auto add = [&](const char* piece, size_t length) {
        if (pieces == capacity) array = ResizeArrayBlock(array, sizeof(char*), capacity *= 2);
        SetArrayPointerAt(array, pieces++, MakeText(piece, static_cast<long>(length)));
    };
    auto full = [&] { return maximum >= 0 && int64_t(pieces) >= maximum; };

    if (*text && maximum != 0) {
        TextScanner scanner(text);
        size_t pos = 0;
        while (!delimiter.empty() && !full()) {
            size_t at = scanner.Find(pos, delimiter, false);
            if (at == kNotFound) break;
            add(text + pos, at - pos);
            pos = at + delimiter.size();
        }
        // A text ending in the delimiter gives no trailing empty piece.
        if (!full() && scanner.Holds(pos)) add(text + pos, scanner.Length() - pos);
    }
    ReturnPointer(result, ResizeArrayBlock(array, sizeof(char*), pieces));
}

void ToNumber(ValueRecord* result, int count, ValueRecord* args) {
    const CommandArguments arg(count, args);
    const ValueRecord& v = arg[0];
    double value = 0;
    if (!tag::IsIndirect(v.tag)) {
        switch (v.BaseTag()) {
            case tag::kLogical:
            case tag::kInteger:
                value = v.Int();
                break;
            case tag::kByte:
                value = uint8_t(v.low);
                break;
            case tag::kShort:
                value = int16_t(v.low);
                break;
            case tag::kLong:
                value = double(v.Long());
                break;
            case tag::kFloat:
                value = v.Float();
                break;
            case tag::kDouble:
                value = v.Double();
                break;
            case tag::kSubroutine:
                value = double(v.Bits());
                break;
            case tag::kText:
                value = ReadDecimal(FullWidthToAscii(v.Text()));
                break;
            default:
                break;
        }
    }
    ReturnDouble(result, value);
}

void ToText(ValueRecord* result, int count, ValueRecord* args) {
    const CommandArguments arg(count, args);
    ReturnPointer(result, ValueToText(arg[0]));
}

void ToByteSet(ValueRecord* result, int count, ValueRecord* args) {
    const CommandArguments arg(count, args);
    const ValueRecord& v = arg[0];
    const uint32_t base = v.BaseTag();
    void* bytes = nullptr;
    if (tag::IsIndirect(v.tag)) {
        const void* array = v.Pointer();
        if (tag::IsNumeric(base) && ArrayDimensionCount(array) == 1)
            bytes = MakeByteSet(ArrayElements(array),
                                ArrayElementCount(array) * ArrayElementSize(base));
    } else if (base == tag::kText) {
        const char* text = v.Text();
        bytes = MakeByteSet(text, std::strlen(text));
    } else if (tag::IsBasic(v.tag)) {
        ValueBytes data = SizeAndData(v);
        bytes = MakeByteSet(data.data, data.size);
    }
    ReturnPointer(result, bytes);
}

void ByteSetLength(ValueRecord* result, int count, ValueRecord* args) {
    const CommandArguments arg(count, args);
    ReturnInteger(result, velmora::ByteSetLength(arg[0].Pointer()));
}

}  // namespace velmora::commands
