// The dispatcher behind the CallCoreCommand and CallLibraryCommand slots.
#pragma once

#include "runtime/entry_table.h"

namespace velmora {

ValueRecord CallCoreCommand(CommandRoutine command, int argumentCount, ValueRecord* arguments);
ValueRecord CallLibraryCommand(int libraryIndex, CommandRoutine command, int argumentCount,
                               ValueRecord* arguments);

}  // namespace velmora
