#include "runtime/constants.h"

namespace velmora {

VELMORA_CONSTANT const char kEmptyText[1] = "";
VELMORA_CONSTANT const uint32_t kEmptyByteSet[2] = {1, 0};

}  // namespace velmora
