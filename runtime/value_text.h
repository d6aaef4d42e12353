// Turning a value record into text or into raw bytes, as the conversion
// commands and the message box do.
#pragma once

#include <cstddef>
#include <string>

#include "runtime/value.h"

namespace velmora {

// The value's text form as GBK bytes (empty for types without one).
std::string ValueToString(const ValueRecord& value);
// The same as a fresh heap text; null when empty.
char* ValueToText(const ValueRecord& value);

// A date-time (days since 30 December 1899) as "Y年M月D日" plus the time of day.
std::string DateTimeToString(double days);

// Where a basic value's data lies and how many bytes it has: 4 for logical,
// subroutine, integer and float; 8 for long, double, date-time; 1 byte; 2 short;
// a text with its terminator; a byte set's data bytes; nothing otherwise.
struct ValueBytes {
    const void* data = nullptr;
    size_t size = 0;
};
ValueBytes SizeAndData(const ValueRecord& value);

}  // namespace velmora
