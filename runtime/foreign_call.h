// Calls a function of an outside library with plain machine words.
#pragma once

#include <cstddef>
#include <cstdint>

namespace velmora {

struct ForeignCallResult {
    uint64_t value;
    // How far the stack pointer moved across the call; 0 for a well-behaved callee.
    intptr_t stackDrift;
};

// Calls `function` under the system's x86-64 convention with `count` integer
// or pointer arguments: System V takes the first six in registers, Win64 the
// first four above 32 bytes of shadow space; the rest are pushed last to
// first. Under both the caller removes the arguments, so an honest callee
// never moves the stack pointer; a drift shows a callee that popped bytes on
// return (a "ret n" written for another convention) or that returned with a
// damaged stack. It cannot show a wrong argument count, since surplus
// arguments are simply ignored, nor harm done to memory or to the registers
// the callee should have saved.
ForeignCallResult CallForeign(const void* function, const uint64_t* arguments, size_t count);

}  // namespace velmora
