// Fatal runtime errors. Every condition the program cannot continue from ends
// here: one report (standard error always, a message box when there is a
// display), then shutdown without the end routine and exit code -1.
#pragma once

#include <string>

#include "runtime/runtime_state.h"

namespace velmora {

enum RuntimeErrorCode : int {
    kErrorIndexAboveCount = 1,
    kErrorNotNumeric = 2,
    kErrorDimensionMismatch = 3,
    kErrorIndexBelowOne = 4,
    kErrorTypeMismatch = 5,
    kErrorStackChanged = 6,
    kErrorNoResult = 7,
    kErrorOnlyEquality = 8,
    kErrorChoiceIndex = 9,
    kErrorRedimension = 10,
    kErrorArgumentType = 11,
};

// The table message of an error code (GBK); empty for a code outside the table.
const char* RuntimeErrorMessage(int code);

// The report: the heading, a blank line, the code line unless code is 0, and
// the message line unless the message is empty. GBK with CR LF line ends.
std::string RuntimeErrorReport(int code, const std::string& gbkMessage);

// The common path behind every fatal report; code 0 shows no code.
[[noreturn]] void ReportRuntimeError(const std::string& gbkMessage, int code);
// The RaiseRuntimeError slot: the table message of `code`.
[[noreturn]] void RaiseRuntimeError(int code);
// A fatal report that carries only a message.
[[noreturn]] void FatalRuntimeMessage(const std::string& gbkMessage);

// The program's error hook; its guard keeps an error inside the hook from
// calling the hook again.
void SetRuntimeErrorHook(RuntimeErrorHook hook);

}  // namespace velmora
