// The entry table: the thirteen runtime entry points through which the
// application reaches everything it does not compute itself.
//
// A command call: the caller lays its arguments out as one array of value
// records, first argument first; the dispatcher zero-fills a result record and
// calls the command routine with (result, count, arguments). The command
// writes its value into bytes 0-7 and a tag only when its result type is not
// fixed. Commands never keep or free their arguments; a text, byte set or
// array in the result is a fresh heap block that the caller frees.
#pragma once

#include <cstddef>
#include <cstdint>

#include "runtime/value.h"

namespace velmora {

using CommandRoutine = void (*)(ValueRecord* result, int argumentCount, ValueRecord* arguments);

// The library a command or data type belongs to.
enum LibraryIndex : int {
    kCoreLibrary = 0,
    kBrowserLibrary = 1,
    kExtendedUiLibrary = 2,
    kSpecialFunctionsLibrary = 3,
    kInternetLibrary = 4,
};

struct EntryTable {
    void (*RaiseRuntimeError)(int code);
    uint64_t (*CallDllCommand)(int importIndex, int argumentCount, const uint64_t* arguments);
    ValueRecord (*CallLibraryCommand)(int libraryIndex, CommandRoutine command, int argumentCount,
                                      ValueRecord* arguments);
    ValueRecord (*CallCoreCommand)(CommandRoutine command, int argumentCount,
                                   ValueRecord* arguments);
    uint64_t (*ReadProperty)(uint32_t windowId, uint32_t controlId, int property, int element);
    void (*WriteProperty)(uint32_t windowId, uint32_t controlId, int property, int element,
                          uint32_t low, uint32_t high);
    void* (*Allocate)(size_t size);
    void* (*Reallocate)(void* block, size_t size);
    void (*Free)(void* block);
    void (*ExitProgram)(int code);
    void (*RunMessageLoop)();
    void (*LoadWindow)(uint32_t windowId);
    uint64_t (*RuntimeService)(int service, int argumentCount, const uint64_t* arguments);
};

const EntryTable& Entries();

// Service numbers of the RuntimeService slot.
enum RuntimeServiceNumber : int {
    kServiceFindFile = 0,
    kServiceEndFind = 1,
    kServiceMakeArrayWritable = 2,
    kServiceSetEndRoutine = 3,
    kServiceReadObjectProperty = 4,
    kServiceWriteObjectProperty = 5,
    kServiceInitialise = 6,
};

}  // namespace velmora
