#include <cstdint>

#include "runtime/constants.h"

// The markers sort before and after ".rdata$velmora_m", the constants' own.
__attribute__((section(".rdata$velmora_a"), used)) extern const char kVelmoraConstantsStart[] = "";
__attribute__((section(".rdata$velmora_z"), used)) extern const char kVelmoraConstantsEnd[] = "";

namespace velmora {

const void* ConstantRegionStart() {
    return kVelmoraConstantsStart;
}
size_t ConstantRegionSize() {
    return static_cast<size_t>(reinterpret_cast<uintptr_t>(kVelmoraConstantsEnd) -
                               reinterpret_cast<uintptr_t>(kVelmoraConstantsStart));
}

}  // namespace velmora
