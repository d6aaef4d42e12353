// The system's outside libraries: loading one by its native file name and
// finding an export in it, by name or, for "#n", by ordinal n (mod 65536).
#pragma once

#include <span>
#include <string>

namespace velmora {

// Null when the library cannot be loaded.
void* LoadLibraryFile(const std::string& nativeName);
// Null when the library has no such export.
void* FindExport(void* module, const std::string& functionName);
void FreeLibraryFile(void* module);

// Searched, in order, for a command declared without a library name.
std::span<const char* const> SystemLibraries();

}  // namespace velmora
