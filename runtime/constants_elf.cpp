#include "runtime/constants.h"

// Bounds the linker places around a section whose name is a C identifier.
extern "C" const char __start_velmora_constants[];
extern "C" const char __stop_velmora_constants[];

namespace velmora {

const void* ConstantRegionStart() {
    return __start_velmora_constants;
}
size_t ConstantRegionSize() {
    return static_cast<size_t>(__stop_velmora_constants - __start_velmora_constants);
}

}  // namespace velmora
