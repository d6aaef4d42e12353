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
extern const char kStartupWindowFailed[];
extern const char kUnitNotLoaded[];
extern const char kPropertyWindowMissing[];
extern const char kPropertyWindowNotBuilt[];
extern const char kEventWindowMissing[];
extern const char kEventUnitMissing[];
extern const char kEventUnitInvalid[];
extern const char kExportMissing[];      // takes the function name as %s
extern const char kFileExportMissing[];  // takes the file and the function name as %s
extern const char kErrorCodeLabel[];
extern const char kErrorMessageLabel[];
// The messages of runtime errors 1 to kRuntimeErrorMessageCount, in code order.
extern const char* const kRuntimeErrorMessages[];
extern const int kRuntimeErrorMessageCount;
}  // namespace texts

// printf-style formatting into a std::string of GBK bytes.
std::string FormatText(const char* format, ...) __attribute__((format(printf, 1, 2)));

}  // namespace velmora
