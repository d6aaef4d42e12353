#include "runtime/runtime_link.h"

#include "runtime/notification.h"

namespace velmora {
namespace {

NotificationRoutine& Entry() {
    static NotificationRoutine entry = RuntimeNotify;
    return entry;
}

}  // namespace

intptr_t LibraryNotify(int code, uintptr_t word1, uintptr_t) {
    if (code == kLibraryStart) Entry() = reinterpret_cast<NotificationRoutine>(word1);
    if (code == kLibraryEnding) Entry() = nullptr;
    return 0;
}

intptr_t CallRuntime(int code, uintptr_t word1, uintptr_t word2) {
    NotificationRoutine entry = Entry();
    return entry ? entry(code, word1, word2) : 0;
}

bool RuntimeReachable() {
    return Entry() != nullptr;
}

}  // namespace velmora
