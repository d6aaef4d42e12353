#include "runtime/program_image.h"

namespace velmora {

intptr_t RuntimeLink::Handle(int code, uintptr_t word1, uintptr_t /*word2*/) {
    if (code == kLibraryStart) entry_ = reinterpret_cast<NotificationRoutine>(word1);
    return 0;  // requests a library does not handle change nothing
}

intptr_t RuntimeLink::Notify(int code, uintptr_t word1, uintptr_t word2) const {
    return entry_ ? entry_(code, word1, word2) : 0;
}

}  // namespace velmora
