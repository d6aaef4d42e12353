#include "runtime/command_call.h"

namespace velmora {

ValueRecord CallCoreCommand(CommandRoutine command, int argumentCount, ValueRecord* arguments) {
    ValueRecord result;  // zero-filled: no value, no tag
    command(&result, argumentCount, arguments);
    return result;
}

ValueRecord CallLibraryCommand(int /*libraryIndex*/, CommandRoutine command, int argumentCount,
                               ValueRecord* arguments) {
    // The index names the library the routine belongs to; the routine is called directly.
    return CallCoreCommand(command, argumentCount, arguments);
}

}  // namespace velmora
