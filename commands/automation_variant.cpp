#include "commands/automation_variant.h"

#include <cstring>

#include "commands/automation_object.h"
#include "runtime/heap.h"

namespace velmora::commands {

Variant MakeI4Variant(int32_t value) {
    Variant v{};
    v.vt = vt::kI4;
    v.i4 = value;
    return v;
}

Variant MakeBoolVariant(bool value) {
    Variant v{};
    v.vt = vt::kBool;
    v.boolean = value ? kVariantTrue : kVariantFalse;
    return v;
}

Variant MakeStringVariant(std::u16string_view text) {
    Variant v{};
    v.vt = vt::kString;
    v.string = AllocString(text);
    return v;
}

Variant MakeErrorVariant(Status code) {
    Variant v{};
    v.vt = vt::kError;
    v.error = code;
    return v;
}

Variant MakeMissingArgument() {
    return MakeErrorVariant(status::kParamNotFound);
}

Variant MakeByteArrayVariant(const void* bytes, size_t count) {
    Variant v{};
    v.vt = vt::kArray | vt::kUI1;
    const auto* first = static_cast<const uint8_t*>(bytes);
    v.array = new SafeArray{vt::kUI1, {{static_cast<uint32_t>(count), 0}}, {first, first + count}};
    return v;
}

void VariantClear(Variant* v) {
    if (!(v->vt & vt::kByRef)) {
        if (v->vt & vt::kArray) {
            DestroyArray(v->array);
        } else if (v->vt == vt::kString) {
            FreeString(v->string);
        } else if ((v->vt == vt::kUnknown || v->vt == vt::kDispatch) && v->unknown) {
            v->unknown->Release();
        }
    }
    *v = Variant{};
}

void VariantCopy(Variant* destination, const Variant& source) {
    Variant copy = source;
    if (!(source.vt & vt::kByRef)) {
        if (source.vt & vt::kArray) {
            copy.array = source.array ? CopyArray(*source.array) : nullptr;
        } else if (source.vt == vt::kString) {
            copy.string = source.string ? AllocString(StringView(source.string)) : nullptr;
        } else if ((source.vt == vt::kUnknown || source.vt == vt::kDispatch) && source.unknown) {
            source.unknown->AddRef();
        }
    }
    VariantClear(destination);
    *destination = copy;
}

const Variant& Dereferenced(const Variant& v, Variant& scratch) {
    if (!(v.vt & vt::kByRef)) return v;
    if (!v.reference) {
        scratch = Variant{};
        return scratch;
    }
    VarType target = v.vt & ~vt::kByRef;
    if (target == vt::kVariant) return Dereferenced(*v.variantRef, scratch);
    scratch = Variant{};
    scratch.vt = target;
    size_t size = (target & vt::kArray)                     ? sizeof(SafeArray*)
                  : target == vt::kI1 || target == vt::kUI1 ? 1
                  : target == vt::kI2 || target == vt::kUI2 || target == vt::kBool ? 2
                  : target == vt::kI4 || target == vt::kUI4 || target == vt::kR4 ||
                          target == vt::kInt || target == vt::kUInt || target == vt::kError
                      ? 4
                      : 8;
    std::memcpy(&scratch.i8, v.reference, size);
    return scratch;
}

void VariantCopyIndirect(Variant* destination, const Variant& source) {
    Variant scratch;
    const Variant& value = Dereferenced(source, scratch);
    VariantCopy(destination, value);
}

char16_t* AllocString(std::u16string_view text) {
    uint32_t bytes = static_cast<uint32_t>(text.size() * sizeof(char16_t));
    auto* block = static_cast<uint8_t*>(Allocate(sizeof bytes + bytes + sizeof(char16_t)));
    std::memcpy(block, &bytes, sizeof bytes);
    auto* chars = reinterpret_cast<char16_t*>(block + sizeof bytes);
    if (bytes) std::memcpy(chars, text.data(), bytes);
    chars[text.size()] = u'\0';
    return chars;
}

void FreeString(char16_t* s) {
    if (s) Free(reinterpret_cast<uint8_t*>(s) - sizeof(uint32_t));
}

std::u16string_view StringView(const char16_t* s) {
    if (!s) return {};
    uint32_t bytes;
    std::memcpy(&bytes, reinterpret_cast<const uint8_t*>(s) - sizeof bytes, sizeof bytes);
    return {s, bytes / sizeof(char16_t)};
}

size_t ArrayElementSize(VarType elementType) {
    return elementType == vt::kVariant ? sizeof(Variant) : 1;
}

size_t ArrayElementCount(const SafeArray& array) {
    size_t count = array.bounds.empty() ? 0 : 1;
    for (const SafeArrayBound& b : array.bounds) count *= b.count;
    return count;
}

SafeArray* CreateArray(VarType elementType, std::vector<SafeArrayBound> bounds) {
    auto* array = new SafeArray{elementType, std::move(bounds), {}};
    // Zeroed storage: bytes of 0, or empty variants.
    array->storage.assign(ArrayElementCount(*array) * ArrayElementSize(elementType), 0);
    return array;
}

Variant* ArrayVariantAt(SafeArray& array, size_t i) {
    return reinterpret_cast<Variant*>(array.storage.data() + i * sizeof(Variant));
}

const Variant* ArrayVariantAt(const SafeArray& array, size_t i) {
    return reinterpret_cast<const Variant*>(array.storage.data() + i * sizeof(Variant));
}

void DestroyArray(SafeArray* array) {
    if (!array) return;
    if (array->elementType == vt::kVariant)
        for (size_t i = 0; i < ArrayElementCount(*array); ++i)
            VariantClear(ArrayVariantAt(*array, i));
    delete array;
}

SafeArray* CopyArray(const SafeArray& array) {
    SafeArray* copy = CreateArray(array.elementType, array.bounds);
    if (array.elementType != vt::kVariant) {
        copy->storage = array.storage;
        return copy;
    }
    for (size_t i = 0; i < ArrayElementCount(array); ++i)
        VariantCopy(ArrayVariantAt(*copy, i), *ArrayVariantAt(array, i));
    return copy;
}

}  // namespace velmora::commands
