#include "runtime/windowless_start.h"

#include "runtime/shutdown.h"
#include "runtime/startup.h"

namespace velmora {

int RunWindowlessProgram(const ProgramHeader& header, EntryRoutine entry) {
    BeginProgram(header, nullptr, nullptr);
    entry();
    Shutdown(0);
    return 0;
}

}  // namespace velmora
