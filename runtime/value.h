// The value record: the 12-byte unit of every command argument and result,
// and the type tags that say what it holds.
//
// Ownership, stated once: a text, byte set, array or object block that a
// command or a property read returns belongs to the caller, who frees it with
// Free (runtime/heap.h). Null is the empty text and the empty byte set; blocks
// inside a constant range are shared and never freed. Arguments are never
// taken over by the command they are passed to.
#pragma once

#include <cstdint>
#include <cstring>

namespace velmora {

namespace tag {
inline constexpr uint32_t kOmitted = 0x00000000;
inline constexpr uint32_t kByte = 0x80000101;
inline constexpr uint32_t kShort = 0x80000201;
inline constexpr uint32_t kInteger = 0x80000301;
inline constexpr uint32_t kLong = 0x80000401;
inline constexpr uint32_t kFloat = 0x80000501;
inline constexpr uint32_t kDouble = 0x80000601;
inline constexpr uint32_t kLogical = 0x80000002;
inline constexpr uint32_t kDateTime = 0x80000003;
inline constexpr uint32_t kText = 0x80000004;
inline constexpr uint32_t kByteSet = 0x80000005;
inline constexpr uint32_t kSubroutine = 0x80000006;
inline constexpr uint32_t kWide8 = 0x80000008;  // the other 8-byte basic value; travels like a date

// Set on top of a tag when bytes 0-7 hold the address of the value (an array
// block, or the caller's variable for a by-reference argument).
inline constexpr uint32_t kIndirect = 0x20000000;
inline constexpr uint32_t kBaseMask = 0xDFFFFFFF;

constexpr uint32_t Base(uint32_t t) { return t & kBaseMask; }
constexpr bool IsIndirect(uint32_t t) { return (t & kIndirect) != 0; }
constexpr bool IsBasic(uint32_t t) { return (Base(t) & 0xC0000000u) == 0x80000000u; }
constexpr bool IsNumeric(uint32_t t) { return IsBasic(t) && (Base(t) & 0xFF) == 0x01; }
constexpr bool IsProgramType(uint32_t t) { return (Base(t) & 0xC0000000u) == 0x40000000u; }

// A library's data type: ((library index + 1) << 16) | 1-based type number.
constexpr uint32_t LibraryType(uint32_t libraryIndex, uint32_t typeNumber) {
    return ((libraryIndex + 1) << 16) | typeNumber;
}
constexpr uint32_t LibraryIndexOf(uint32_t t) { return (Base(t) >> 16) - 1; }
constexpr uint32_t TypeNumberOf(uint32_t t) { return Base(t) & 0xFFFF; }

inline constexpr uint32_t kEditBox = LibraryType(0, 5);
inline constexpr uint32_t kComboBox = LibraryType(0, 14);
inline constexpr uint32_t kListBox = LibraryType(0, 15);
inline constexpr uint32_t kComObject = LibraryType(0, 48);
inline constexpr uint32_t kVariant = LibraryType(0, 49);
inline constexpr uint32_t kHtmlViewer = LibraryType(1, 1);
inline constexpr uint32_t kListView = LibraryType(2, 4);
}  // namespace tag

// Bytes 0-3 low word, 4-7 high word, 8-11 tag. Kept as three words so that an
// array of records has no padding and no member is under-aligned.
struct ValueRecord {
    uint32_t low = 0;
    uint32_t high = 0;
    uint32_t tag = tag::kOmitted;

    bool Omitted() const { return tag == tag::kOmitted; }
    uint32_t BaseTag() const { return tag::Base(tag); }

    uint64_t Bits() const { return uint64_t(low) | (uint64_t(high) << 32); }
    void SetBits(uint64_t bits) {
        low = uint32_t(bits);
        high = uint32_t(bits >> 32);
    }

    int32_t Int() const { return int32_t(low); }
    int64_t Long() const { return int64_t(Bits()); }
    bool Logical() const { return low != 0; }
    float Float() const {
        float f;
        std::memcpy(&f, &low, sizeof f);
        return f;
    }
    double Double() const {
        uint64_t bits = Bits();
        double d;
        std::memcpy(&d, &bits, sizeof d);
        return d;
    }
    void* Pointer() const { return reinterpret_cast<void*>(uintptr_t(Bits())); }
    // A text argument; never null by contract, but a null result reads as "".
    const char* Text() const {
        auto* p = static_cast<const char*>(Pointer());
        return p ? p : "";
    }
    // Control references: window id in the low word, control id in the high word.
    uint32_t WindowId() const { return low; }
    uint32_t ControlId() const { return high; }
};
static_assert(sizeof(ValueRecord) == 12, "a value record is 12 bytes");

inline ValueRecord MakeValue(uint32_t t, uint64_t bits) {
    ValueRecord r;
    r.SetBits(bits);
    r.tag = t;
    return r;
}
inline ValueRecord Omitted() { return ValueRecord{}; }
inline ValueRecord MakeByte(uint8_t v) { return MakeValue(tag::kByte, v); }
inline ValueRecord MakeShort(int16_t v) { return MakeValue(tag::kShort, uint16_t(v)); }
inline ValueRecord MakeInteger(int32_t v) { return MakeValue(tag::kInteger, uint32_t(v)); }
inline ValueRecord MakeLong(int64_t v) { return MakeValue(tag::kLong, uint64_t(v)); }
inline ValueRecord MakeLogical(bool v) { return MakeValue(tag::kLogical, v ? 1 : 0); }
inline ValueRecord MakeFloat(float v) {
    uint32_t bits;
    std::memcpy(&bits, &v, sizeof bits);
    return MakeValue(tag::kFloat, bits);
}
inline ValueRecord MakeDouble(double v, uint32_t t = tag::kDouble) {
    uint64_t bits;
    std::memcpy(&bits, &v, sizeof bits);
    return MakeValue(t, bits);
}
inline ValueRecord MakeDateTime(double days) { return MakeDouble(days, tag::kDateTime); }
inline ValueRecord MakePointer(uint32_t t, const void* p) {
    return MakeValue(t, uint64_t(reinterpret_cast<uintptr_t>(p)));
}
// Wraps a text without copying it; the record does not own it.
inline ValueRecord MakeTextValue(const char* text) { return MakePointer(tag::kText, text); }
inline ValueRecord MakeByteSetValue(const void* block) { return MakePointer(tag::kByteSet, block); }
inline ValueRecord MakeControlReference(uint32_t dataType, uint32_t windowId, uint32_t controlId) {
    ValueRecord r;
    r.low = windowId;
    r.high = controlId;
    r.tag = dataType;
    return r;
}

}  // namespace velmora
