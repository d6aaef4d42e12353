// Calling an automation object's member by name with runtime values: binding
// through the type information, the conversions between value records and
// variants, by-reference write-back and the outcome codes.
//
// Outcome codes: 0 success; -1 empty ComObject; -2 no dispatch interface;
// -3 no member of that name for the kinds tried; -4 no type information;
// -5 more arguments than the member takes; -7 an argument that cannot be
// passed; -8 a result that cannot be converted; -9 to -17 the invoke
// failures bad parameter count, bad variant type, exception, member not
// found, no named arguments, overflow, parameter not found, type mismatch,
// parameter not optional; -18 any other invoke failure.
#pragma once

#include <cstdint>

#include "commands/automation_variant.h"
#include "runtime/value.h"

namespace velmora::commands {

// The storage block of a ComObject value: two pointer-sized words. Word 1
// would hold a record's data; no class here makes records, so it stays null.
struct ComObjectBlock {
    AutomationObject* object;
    void* record;
};

// The invoke kinds tried, in order: a call tries method, property get, put
// and put by reference; a read tries property get, then method; a write
// tries put, put by reference, then method.
enum class KindList { kCall, kRead, kWrite };

// args[0] is the ComObject, args[1] the member name (text), the rest the
// member's arguments. With a result tag (0 for none) the result record
// receives a fresh value of that type, the empty one on failure. The code is
// returned and kept as the calling thread's last automation error.
int InvokeByName(KindList kinds, uint32_t resultTag, int count, const ValueRecord* args,
                 ValueRecord* result);
int LastAutomationError();

// The argument table: a runtime value (by value; a by-reference argument is
// read through first) as a variant for a parameter of the declared type.
// 0, or -7 for a type that cannot be passed.
int ArgumentToVariant(const ValueRecord& argument, VarType declared, Variant* out);

// The result table: the variant as a fresh runtime value of the wanted type
// (bytes 0-7 of a value record). False when it cannot be converted.
bool VariantToRuntime(const Variant& v, uint32_t wantedTag, uint64_t* bits);

// The value a by-reference argument points at, as a by-value record.
// False for a null address.
bool ReadThrough(const ValueRecord& byReference, ValueRecord* value);

// Empties the block: the object released, a record block freed.
void ReleaseComObject(ComObjectBlock* block);

}  // namespace velmora::commands
