#include "app/image/shipped_files.h"
#include "runtime/heap.h"
#include "tools/marketsim/pages.h"

namespace velmora::marketsim {

// The maker's site publishes the page the program carries.
std::string InstructionsPage() {
    return std::string(reinterpret_cast<const char*>(ByteSetData(app::kInstructionsPageFile)),
                       ByteSetLength(app::kInstructionsPageFile));
}

}  // namespace velmora::marketsim
