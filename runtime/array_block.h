// Array blocks: dimension count d, d dimension sizes, then the packed elements.
// Text and byte-set elements are pointers (8 bytes here), each owning its block.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace velmora {

// Bytes one element of a basic type takes in an array (0 for non-array types).
size_t ArrayElementSize(uint32_t elementTag);

// A one-dimensional array of `count` zeroed elements; never null.
void* MakeArrayBlock(size_t elementSize, uint32_t count);

// Resizes a one-dimensional array to `count` elements, zeroing any new ones;
// may move the block. Elements cut off are not freed.
void* ResizeArrayBlock(void* block, size_t elementSize, uint32_t count);

uint32_t ArrayDimensionCount(const void* block);
// The product of the dimension sizes; 0 for a null block.
uint64_t ArrayElementCount(const void* block);
uint8_t* ArrayElements(void* block);
const uint8_t* ArrayElements(const void* block);

inline void* ArrayPointerAt(const void* block, uint64_t zeroBasedIndex) {
    void* p;
    std::memcpy(&p, ArrayElements(block) + zeroBasedIndex * sizeof(void*), sizeof p);
    return p;
}
inline void SetArrayPointerAt(void* block, uint64_t zeroBasedIndex, void* p) {
    std::memcpy(ArrayElements(block) + zeroBasedIndex * sizeof(void*), &p, sizeof p);
}

// Frees every element block of a text or byte-set array, then the array itself.
void FreeArrayOfBlocks(void* block);

// Service 2: when *arrayVariable lies in a constant range, replaces it with a
// heap copy of header and elements so that the program may write to it.
void MakeArrayWritable(size_t elementSize, void** arrayVariable);

}  // namespace velmora
