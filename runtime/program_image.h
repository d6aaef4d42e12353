// The static tables a program carries for the runtime: the program header, one
// record per command library, and the names of the functions it imports from
// outside libraries. The runtime reads them once, at initialisation.
//
// These are typed records rather than byte images: pointer fields are 8 bytes
// here, and nothing outside this process ever reads the tables as bytes.
#pragma once

#include <cstddef>
#include <cstdint>

#include "runtime/entry_table.h"
#include "runtime/notification.h"

namespace velmora {

struct DataTypeEntry;  // a library's data-type table entry, owned by the window layer

inline constexpr uint32_t kLibraryTextsGbk = 1;

struct LibraryRecord {
    uint8_t magic[4] = {'e', '-', '1', 0x01};
    const char* identifier = nullptr;  // 32 hexadecimal digits
    uint32_t majorVersion = 0;
    uint32_t minorVersion = 0;
    uint32_t buildNumber = 0;
    uint32_t minRuntimeMajor = 0;
    uint32_t minRuntimeMinor = 0;
    uint32_t minCompilerMajor = 0;
    uint32_t minCompilerMinor = 0;
    const char* name = nullptr;  // GBK
    uint32_t language = kLibraryTextsGbk;
    uint32_t flags = 0;
    uint32_t dataTypeCount = 0;
    const DataTypeEntry* dataTypes = nullptr;
    uint32_t commandCount = 0;  // only the commands the program calls
    const CommandRoutine* commands = nullptr;
    NotificationRoutine notify = nullptr;
};

struct ProgramHeader {
    uint32_t buildKind = 0;  // 2 = debug build; this runtime treats every kind alike
    uint32_t reserved = 0;
    uint32_t programValue = 0;             // kept in the runtime state plus one; nothing reads it
    const void* handlerBase = nullptr;     // stored event-handler offsets are relative to this
    const void* constantRegion = nullptr;  // the literal texts and byte sets of the program
    size_t constantRegionSize = 0;
    const void* windowBlock = nullptr;  // the stored window descriptions
    size_t windowBlockSize = 0;
    uint32_t libraryCount = 0;
    const LibraryRecord* const* libraries = nullptr;  // in library-index order
    uint32_t dllCommandCount = 0;
    const char* const* dllFileNames = nullptr;      // GBK; empty = search the system libraries
    const char* const* dllFunctionNames = nullptr;  // "#n" names an ordinal
};

}  // namespace velmora
