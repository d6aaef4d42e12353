// The runtime's own display texts, as GBK bytes. The definitions are compiled
// with a GBK execution character set so that the source stays readable.
#pragma once

#include <string>

namespace velmora {
namespace texts {
extern const char kAllocationFailed[];  // takes the requested size as %lld
extern const char kRuntimeErrorHeading[];
extern const char kErrorTitle[];
extern const char kTrue[];
extern const char kFalse[];
extern const char kDateFormat[];
extern const char kHourMinuteSecondFormat[];
extern const char kHourMinuteFormat[];
extern const char kHourFormat[];
extern const char kWindowBlockUnreadable[];
extern const char kUnitNotLoaded[];
extern const char kEventWindowMissing[];
extern const char kEventUnitMissing[];
extern const char kEventUnitInvalid[];
}  // namespace texts

// printf-style formatting into a std::string of GBK bytes.
std::string FormatText(const char* format, ...) __attribute__((format(printf, 1, 2)));

}  // namespace velmora
