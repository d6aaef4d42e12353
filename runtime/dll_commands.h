// Functions the program imports from outside libraries ("DLL commands"):
// resolved on their first call, loaded from a fixed sequence of places.
//
// Search for a library named without a directory: the configured directory,
// the program directory, the program directory recorded at process start,
// then the bare name through the system's own search. A name with a directory
// of its own is loaded as given. "#n" names an ordinal, n taken modulo 65536
// (see library_loader.h for what that is on each system).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "runtime/program_image.h"

namespace velmora {

// Initialisation: one unresolved entry per DLL command of the header.
void PrepareDllCommands(const ProgramHeader& header);

// Where a library is looked for, in order (GBK paths): a name with its own
// directory as given; otherwise the configured directory, the program's
// directory, the directory recorded at process start, then the bare name.
std::vector<std::string> DllSearchPlaces(const std::string& fileName);

// The address of command `index`, loading its library on first use. A missing
// library or export is a fatal runtime error.
void* ResolveDllCommand(int index);

// The CallDllCommand slot: resolves, calls with the given machine words, and
// raises runtime error 6 when the call left the stack pointer moved.
uint64_t CallDllCommand(int index, int argumentCount, const uint64_t* arguments);

// The optional first directory of the search (GBK); empty means none.
void SetDllSearchDirectory(const std::string& gbkDirectory);

// Shutdown: frees every module loaded for DLL commands and the tables.
void ReleaseDllCommands();

}  // namespace velmora
