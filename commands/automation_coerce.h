// Changing a variant into another variant type, as arguments and results
// need it. References are followed first. Numbers round half to even and
// fail with kOverflow outside the target's range; texts parse as numbers;
// a logical becomes "-1" or "0" as text; a string becomes the bytes of its
// UTF-16 form as a byte array and back. Anything else is kTypeMismatch.
#pragma once

#include "commands/automation_variant.h"

namespace velmora::commands {

// `destination` may be the source itself. On failure it is left untouched.
Status ChangeType(Variant* destination, const Variant& source, VarType target);

}  // namespace velmora::commands
