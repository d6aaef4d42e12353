// The runtime heap and the blocks that live on it.
//
// Rules every caller relies on:
// - Allocate never returns null; running out of memory is a fatal runtime error.
// - Free ignores null and anything inside a registered constant range.
// - Reallocate never grows constant data in place; it copies it to the heap.
// - An empty text or byte set is never a block: making one yields null.
#pragma once

#include <cstddef>
#include <cstdint>

namespace velmora {

void* Allocate(size_t size);
void* Reallocate(void* block, size_t size);
void Free(void* block);

// Like Allocate, but answers null on failure instead of ending the program.
void* TryAllocate(size_t size);

void RegisterConstantRange(const void* start, size_t size);
void ClearConstantRanges();
bool IsConstant(const void* address);

// Heap blocks handed out and not yet freed; a leak check compares two readings.
long LiveBlockCount();

// A copy of a zero-terminated text; null for a null or empty source.
char* CopyText(const char* text);
// A text of n bytes plus terminator; null for n < 1.
char* MakeText(const void* bytes, long n);
// A byte-set block {1, n, bytes}; null for n == 0.
void* MakeByteSet(const void* bytes, size_t n);

// Byte-set block layout: dimension count (always 1), length, then the bytes.
struct ByteSetHeader {
    uint32_t dimensions;
    uint32_t length;
};
inline uint32_t ByteSetLength(const void* block) {
    return block ? static_cast<const ByteSetHeader*>(block)->length : 0;
}
inline const uint8_t* ByteSetData(const void* block) {
    return block ? static_cast<const uint8_t*>(block) + sizeof(ByteSetHeader) : nullptr;
}

}  // namespace velmora
