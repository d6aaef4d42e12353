// The core library's automation commands. A ComObject value holds the address
// of a two-word block (see ComObjectBlock) that the program allocates zeroed
// and frees after ReleaseObject; a Variant value the address of a 16-byte
// variant block. No command here reports failure except through its result;
// the outcome of the last call by name is kept per thread (LastAutomationError).
#pragma once

#include "runtime/value.h"

namespace velmora::commands {

// ComObject, class name (ProgID or class id in braces)[, type library path]
// -> logical. On failure the ComObject keeps what it held.
void CreateAutomationObject(ValueRecord* result, int count, ValueRecord* args);
// ComObject, member name, the member's arguments (by value or by reference).
void CallObjectMethod(ValueRecord* result, int count, ValueRecord* args);
// ComObject, member name[, arguments] -> Variant, always a fresh block.
void ReadObjectProperty(ValueRecord* result, int count, ValueRecord* args);
// Variant[, 1-based element position] -> byte set.
void VariantToByteSet(ValueRecord* result, int count, ValueRecord* args);
// Variant: its content cleared, the block kept.
void ClearVariant(ValueRecord* result, int count, ValueRecord* args);
// ComObject: the object released, the block kept and empty.
void ReleaseObject(ValueRecord* result, int count, ValueRecord* args);

}  // namespace velmora::commands
