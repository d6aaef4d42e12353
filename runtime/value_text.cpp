#include "runtime/value_text.h"

#include <algorithm>
#include <cinttypes>
#include <cmath>
#include <cstring>

#include "runtime/array_block.h"
#include "runtime/heap.h"
#include "runtime/runtime_texts.h"

namespace velmora {
namespace {

constexpr double kLatestDay = 2958465;   // 31 December 9999
constexpr double kEarliestDay = -657434;  // 1 January 100
constexpr int64_t kDaysFrom1970To1899Epoch = 25569;

struct CivilDate {
    int year;
    int month;
    int day;
};

// Days since 1970-01-01 to a proleptic Gregorian date.
CivilDate CivilFromDays(int64_t z) {
    z += 719468;
    const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const int64_t doe = z - era * 146097;
    const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const int64_t mp = (5 * doy + 2) / 153;
    const int d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    const int m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    const int y = static_cast<int>(yoe + era * 400 + (m <= 2));
    return {y, m, d};
}

std::string BytesUpToZero(const void* data, size_t size) {
    if (size == 0) return {};
    const auto* bytes = static_cast<const char*>(data);
    const void* zero = std::memchr(bytes, 0, size);
    return std::string(bytes, zero ? static_cast<const char*>(zero) - bytes : size);
}

}  // namespace

std::string DateTimeToString(double days) {
    if (std::isnan(days)) days = 0;
    days = std::clamp(days, kEarliestDay, kLatestDay);
    // The whole part names the day; the fraction, whatever the sign, the time.
    double whole = std::trunc(days);
    auto dayIndex = static_cast<int64_t>(whole);
    auto seconds = static_cast<int64_t>(std::llround(std::fabs(days - whole) * 86400.0));
    if (seconds >= 86400) {
        seconds -= 86400;
        ++dayIndex;
    }
    CivilDate date = CivilFromDays(dayIndex - kDaysFrom1970To1899Epoch);
    std::string out = FormatText(texts::kDateFormat, date.year, date.month, date.day);
    int hour = static_cast<int>(seconds / 3600);
    int minute = static_cast<int>(seconds / 60 % 60);
    int second = static_cast<int>(seconds % 60);
    if (second != 0)
        out += FormatText(texts::kHourMinuteSecondFormat, hour, minute, second);
    else if (minute != 0)
        out += FormatText(texts::kHourMinuteFormat, hour, minute);
    else if (hour != 0)
        out += FormatText(texts::kHourFormat, hour);
    return out;
}

std::string ValueToString(const ValueRecord& v) {
    const uint32_t base = v.BaseTag();
    if (tag::IsIndirect(v.tag)) {
        // A numeric array: its element bytes, up to the first zero byte.
        if (!tag::IsNumeric(base) || !v.Pointer()) return {};
        const void* block = v.Pointer();
        return BytesUpToZero(ArrayElements(block),
                             ArrayElementCount(block) * ArrayElementSize(base));
    }
    switch (base) {
        case tag::kByte: return FormatText("%u", static_cast<unsigned>(v.low & 0xFF));
        case tag::kShort: return FormatText("%d", static_cast<int>(static_cast<int16_t>(v.low)));
        case tag::kInteger: return FormatText("%d", v.Int());
        case tag::kLong: return FormatText("%" PRId64, v.Long());
        case tag::kFloat: return FormatText("%.6g", static_cast<double>(v.Float()));
        case tag::kDouble: return FormatText("%.13g", v.Double());
        case tag::kLogical: return v.Logical() ? texts::kTrue : texts::kFalse;
        case tag::kDateTime: return DateTimeToString(v.Double());
        case tag::kText: return v.Text();
        case tag::kByteSet:
            return BytesUpToZero(ByteSetData(v.Pointer()), ByteSetLength(v.Pointer()));
        default: return {};
    }
}

char* ValueToText(const ValueRecord& value) {
    std::string s = ValueToString(value);
    return MakeText(s.data(), static_cast<long>(s.size()));
}

ValueBytes SizeAndData(const ValueRecord& v) {
    switch (v.BaseTag()) {
        case tag::kLogical:
        case tag::kSubroutine:
        case tag::kInteger:
        case tag::kFloat: return {&v.low, 4};
        case tag::kDateTime:
        case tag::kLong:
        case tag::kDouble:
        case tag::kWide8: return {&v.low, 8};
        case tag::kByte: return {&v.low, 1};
        case tag::kShort: return {&v.low, 2};
        case tag::kText: {
            const char* text = v.Text();
            return {text, std::strlen(text) + 1};
        }
        case tag::kByteSet: return {ByteSetData(v.Pointer()), ByteSetLength(v.Pointer())};
        default: return {};
    }
}

}  // namespace velmora
