// The automation layer's tagged value: a 16-byte variant, UTF-16 strings with
// a length prefix, and arrays with bounds per dimension. A variant owns what
// it holds (string, array, object reference) unless it holds it by reference.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace velmora::commands {

class AutomationObject;
class DispatchObject;

using VarType = uint16_t;
namespace vt {
inline constexpr VarType kEmpty = 0;
inline constexpr VarType kNull = 1;
inline constexpr VarType kI2 = 2;
inline constexpr VarType kI4 = 3;
inline constexpr VarType kR4 = 4;
inline constexpr VarType kR8 = 5;
inline constexpr VarType kCurrency = 6;
inline constexpr VarType kDate = 7;
inline constexpr VarType kString = 8;
inline constexpr VarType kDispatch = 9;
inline constexpr VarType kError = 10;
inline constexpr VarType kBool = 11;
inline constexpr VarType kVariant = 12;
inline constexpr VarType kUnknown = 13;
inline constexpr VarType kDecimal = 14;
inline constexpr VarType kI1 = 16;
inline constexpr VarType kUI1 = 17;
inline constexpr VarType kUI2 = 18;
inline constexpr VarType kUI4 = 19;
inline constexpr VarType kI8 = 20;
inline constexpr VarType kUI8 = 21;
inline constexpr VarType kInt = 22;
inline constexpr VarType kUInt = 23;
inline constexpr VarType kVoid = 24;
inline constexpr VarType kHResult = 25;
inline constexpr VarType kPointer = 26;
inline constexpr VarType kSafeArray = 27;
inline constexpr VarType kCArray = 28;
inline constexpr VarType kUserDefined = 29;
inline constexpr VarType kRecord = 36;
inline constexpr VarType kArray = 0x2000;
inline constexpr VarType kByRef = 0x4000;
inline constexpr VarType kTypeMask = 0x0FFF;
}  // namespace vt

// Status codes of the automation layer, with the platform's values.
using Status = int32_t;
namespace status {
inline constexpr Status kOk = 0;
inline constexpr Status kMemberNotFound = int32_t(0x80020003);
inline constexpr Status kParamNotFound = int32_t(0x80020004);
inline constexpr Status kTypeMismatch = int32_t(0x80020005);
inline constexpr Status kNoNamedArgs = int32_t(0x80020007);
inline constexpr Status kBadVarType = int32_t(0x80020008);
inline constexpr Status kException = int32_t(0x80020009);
inline constexpr Status kOverflow = int32_t(0x8002000A);
inline constexpr Status kBadParamCount = int32_t(0x8002000E);
inline constexpr Status kParamNotOptional = int32_t(0x8002000F);
inline constexpr Status kInvalidArgument = int32_t(0x80070057);
inline constexpr Status kFail = int32_t(0x80004005);
}  // namespace status

inline constexpr int16_t kVariantTrue = -1;
inline constexpr int16_t kVariantFalse = 0;

struct SafeArrayBound {
    uint32_t count;
    int32_t lowerBound;
};

// Elements are bytes (kUI1, kI1) or variants (kVariant).
struct SafeArray {
    VarType elementType;
    std::vector<SafeArrayBound> bounds;  // first dimension first
    std::vector<uint8_t> storage;        // elements packed in storage order
};

struct Variant {
    VarType vt;
    uint16_t reserved[3];
    union {
        int8_t i1;
        uint8_t ui1;
        int16_t i2;
        uint16_t ui2;
        int32_t i4;
        uint32_t ui4;
        int64_t i8;
        uint64_t ui8;
        float r4;
        double r8;
        double date;
        int16_t boolean;
        Status error;
        char16_t* string;
        AutomationObject* unknown;
        DispatchObject* dispatch;
        SafeArray* array;
        Variant* variantRef;  // kByRef | kVariant
        void* reference;      // any other kByRef
    };
};
static_assert(sizeof(Variant) == 16, "a variant block is 16 bytes");

// A zeroed variant is empty.
inline Variant EmptyVariant() {
    return Variant{};
}
Variant MakeI4Variant(int32_t value);
Variant MakeBoolVariant(bool value);
Variant MakeStringVariant(std::u16string_view text);
Variant MakeErrorVariant(Status code);
Variant MakeMissingArgument();  // the mark of an omitted optional argument
Variant MakeByteArrayVariant(const void* bytes, size_t count);

// Frees what the variant owns and leaves it empty.
void VariantClear(Variant* v);
// A deep copy; a reference is copied as a reference.
void VariantCopy(Variant* destination, const Variant& source);
// A deep copy of the value a reference points at (or of the value itself).
void VariantCopyIndirect(Variant* destination, const Variant& source);
// The variant with its reference followed: what it finally holds.
const Variant& Dereferenced(const Variant& v, Variant& scratch);

// Strings: UTF-16 with a 4-byte length prefix, on the runtime heap. Null is a
// valid empty string.
char16_t* AllocString(std::u16string_view text);
void FreeString(char16_t* s);
std::u16string_view StringView(const char16_t* s);

SafeArray* CreateArray(VarType elementType, std::vector<SafeArrayBound> bounds);
void DestroyArray(SafeArray* array);
SafeArray* CopyArray(const SafeArray& array);
size_t ArrayElementCount(const SafeArray& array);
size_t ArrayElementSize(VarType elementType);
// Element i (0-based, storage order) of a variant array.
Variant* ArrayVariantAt(SafeArray& array, size_t i);
const Variant* ArrayVariantAt(const SafeArray& array, size_t i);

}  // namespace velmora::commands
