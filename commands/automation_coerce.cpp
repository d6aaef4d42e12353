#include "commands/automation_coerce.h"

#include <cctype>
#include <cerrno>
#include <cfloat>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <optional>
#include <string>

#include "commands/automation_object.h"

namespace velmora::commands {
namespace {

// A numeric value on its way between types: exact integers stay integers.
struct Number {
    bool integral = true;
    int64_t i = 0;
    double d = 0;
    double AsDouble() const { return integral ? double(i) : d; }
};

std::optional<Number> ParseNumber(std::u16string_view text, bool forLogical) {
    std::string ascii;
    for (char16_t c : text) {
        if (c > 0x7F) return std::nullopt;
        ascii += static_cast<char>(c);
    }
    size_t first = ascii.find_first_not_of(" \t");
    size_t last = ascii.find_last_not_of(" \t");
    if (first == std::string::npos) return std::nullopt;
    ascii = ascii.substr(first, last - first + 1);
    if (forLogical) {
        std::string lower = ascii;
        for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        if (lower == "true") return Number{true, -1, 0};
        if (lower == "false") return Number{true, 0, 0};
    }
    char* end = nullptr;
    errno = 0;
    long long integer = std::strtoll(ascii.c_str(), &end, 10);
    if (*end == '\0' && errno == 0) return Number{true, integer, 0};
    double real = std::strtod(ascii.c_str(), &end);
    if (*end == '\0') return Number{false, 0, real};
    return std::nullopt;
}

// The source as a number; null when it is not one.
std::optional<Number> NumberOf(const Variant& s, VarType target) {
    switch (s.vt) {
        case vt::kEmpty:
            return Number{};
        case vt::kBool:
            return Number{true, s.boolean ? -1 : 0, 0};
        case vt::kI1:
            return Number{true, s.i1, 0};
        case vt::kUI1:
            return Number{true, s.ui1, 0};
        case vt::kI2:
            return Number{true, s.i2, 0};
        case vt::kUI2:
            return Number{true, s.ui2, 0};
        case vt::kI4:
        case vt::kInt:
            return Number{true, s.i4, 0};
        case vt::kUI4:
        case vt::kUInt:
            return Number{true, s.ui4, 0};
        case vt::kI8:
            return Number{true, s.i8, 0};
        case vt::kUI8:
            if (s.ui8 > uint64_t(std::numeric_limits<int64_t>::max()))
                return Number{false, 0, double(s.ui8)};
            return Number{true, int64_t(s.ui8), 0};
        case vt::kR4:
            return Number{false, 0, s.r4};
        case vt::kR8:
        case vt::kDate:
            return Number{false, 0, s.r8};
        case vt::kString:
            return ParseNumber(StringView(s.string), target == vt::kBool);
        default:
            return std::nullopt;
    }
}

// The number as an integer within [low, high]; rounding half to even.
Status IntegerIn(const Number& n, int64_t low, int64_t high, int64_t* out) {
    if (n.integral) {
        if (n.i < low || n.i > high) return status::kOverflow;
        *out = n.i;
        return status::kOk;
    }
    double r = std::nearbyint(n.d);
    if (!(r >= double(low) && r <= double(high))) return status::kOverflow;
    // The upper end of a 64-bit range does not survive a trip through double.
    if (r >= 9.2233720368547758e18) return status::kOverflow;
    *out = static_cast<int64_t>(r);
    return status::kOk;
}

Status ToNumeric(const Number& n, VarType target, Variant* out) {
    int64_t i = 0;
    Status s = status::kOk;
    out->vt = target;
    switch (target) {
        case vt::kI1:
            s = IntegerIn(n, INT8_MIN, INT8_MAX, &i);
            out->i1 = int8_t(i);
            break;
        case vt::kUI1:
            s = IntegerIn(n, 0, UINT8_MAX, &i);
            out->ui1 = uint8_t(i);
            break;
        case vt::kI2:
            s = IntegerIn(n, INT16_MIN, INT16_MAX, &i);
            out->i2 = int16_t(i);
            break;
        case vt::kUI2:
            s = IntegerIn(n, 0, UINT16_MAX, &i);
            out->ui2 = uint16_t(i);
            break;
        case vt::kI4:
        case vt::kInt:
            s = IntegerIn(n, INT32_MIN, INT32_MAX, &i);
            out->i4 = int32_t(i);
            break;
        case vt::kUI4:
        case vt::kUInt:
            s = IntegerIn(n, 0, UINT32_MAX, &i);
            out->ui4 = uint32_t(i);
            break;
        case vt::kI8:
            s = IntegerIn(n, INT64_MIN, INT64_MAX, &i);
            out->i8 = i;
            break;
        case vt::kUI8:
            s = IntegerIn(n, 0, INT64_MAX, &i);
            out->ui8 = uint64_t(i);
            break;
        case vt::kR4: {
            double d = n.AsDouble();
            if (std::isfinite(d) && std::fabs(d) > FLT_MAX) return status::kOverflow;
            out->r4 = float(d);
            break;
        }
        case vt::kR8:
        case vt::kDate:
            out->r8 = n.AsDouble();
            break;
        case vt::kBool:
            out->boolean = n.AsDouble() != 0 ? kVariantTrue : kVariantFalse;
            break;
        default:
            return status::kTypeMismatch;
    }
    return s;
}

std::string NumberText(const Variant& s) {
    char buffer[64];
    switch (s.vt) {
        case vt::kR4:
            std::snprintf(buffer, sizeof buffer, "%.7g", double(s.r4));
            return buffer;
        case vt::kR8:
            std::snprintf(buffer, sizeof buffer, "%.15g", s.r8);
            return buffer;
        case vt::kUI8:
            return std::to_string(s.ui8);
        default:
            return std::to_string(NumberOf(s, vt::kI8)->i);
    }
}

bool IsNumericType(VarType t) {
    switch (t) {
        case vt::kI1:
        case vt::kUI1:
        case vt::kI2:
        case vt::kUI2:
        case vt::kI4:
        case vt::kUI4:
        case vt::kI8:
        case vt::kUI8:
        case vt::kInt:
        case vt::kUInt:
        case vt::kR4:
        case vt::kR8:
        case vt::kDate:
        case vt::kBool:
            return true;
        default:
            return false;
    }
}

Status Convert(const Variant& s, VarType target, Variant* out) {
    constexpr VarType kByteArray = vt::kArray | vt::kUI1;
    if (s.vt == target) {
        VariantCopy(out, s);
        return status::kOk;
    }
    if (s.vt == vt::kNull || s.vt == vt::kError || s.vt == vt::kRecord)
        return target == vt::kEmpty ? status::kOk : status::kTypeMismatch;
    if (target == vt::kEmpty) return status::kOk;
    if (target == vt::kNull) {
        out->vt = vt::kNull;
        return status::kOk;
    }
    if (target == kByteArray) {
        if (s.vt != vt::kString) return status::kTypeMismatch;
        std::u16string_view text = StringView(s.string);
        *out = MakeByteArrayVariant(text.data(), text.size() * sizeof(char16_t));
        return status::kOk;
    }
    if (s.vt == kByteArray && target == vt::kString) {
        const SafeArray* a = s.array;
        size_t bytes = a ? ArrayElementCount(*a) : 0;
        std::u16string text(bytes / sizeof(char16_t), u'\0');
        if (!text.empty())
            std::memcpy(text.data(), a->storage.data(), text.size() * sizeof(char16_t));
        *out = MakeStringVariant(text);
        return status::kOk;
    }
    if ((s.vt & vt::kArray) || (target & vt::kArray)) return status::kTypeMismatch;

    if (s.vt == vt::kUnknown || s.vt == vt::kDispatch) {
        if (target == vt::kUnknown) {
            if (s.unknown) s.unknown->AddRef();
            out->vt = vt::kUnknown;
            out->unknown = s.unknown;
            return status::kOk;
        }
        if (target == vt::kDispatch) {
            DispatchObject* d = s.unknown ? s.unknown->QueryDispatch() : nullptr;
            if (s.unknown && !d) return status::kTypeMismatch;
            out->vt = vt::kDispatch;
            out->dispatch = d;
            return status::kOk;
        }
        return status::kTypeMismatch;
    }

    if (target == vt::kString) {
        if (s.vt == vt::kEmpty) {
            *out = MakeStringVariant(u"");
            return status::kOk;
        }
        if (!IsNumericType(s.vt) || s.vt == vt::kDate) return status::kTypeMismatch;
        std::string ascii = NumberText(s);
        *out = MakeStringVariant(std::u16string(ascii.begin(), ascii.end()));
        return status::kOk;
    }
    if (!IsNumericType(target)) return status::kTypeMismatch;
    std::optional<Number> n = NumberOf(s, target);
    if (!n) return status::kTypeMismatch;
    Variant result{};
    Status st = ToNumeric(*n, target, &result);
    if (st == status::kOk) *out = result;
    return st;
}

}  // namespace

Status ChangeType(Variant* destination, const Variant& source, VarType target) {
    Variant scratch;
    const Variant& value = Dereferenced(source, scratch);
    Variant converted{};
    Status st = Convert(value, target, &converted);
    if (st != status::kOk) {
        VariantClear(&converted);
        return st;
    }
    VariantClear(destination);
    *destination = converted;
    return status::kOk;
}

}  // namespace velmora::commands
