#include "runtime/array_block.h"

#include "runtime/heap.h"
#include "runtime/value.h"

namespace velmora {

size_t ArrayElementSize(uint32_t elementTag) {
    switch (tag::Base(elementTag)) {
        case tag::kByte:
            return 1;
        case tag::kShort:
            return 2;
        case tag::kInteger:
        case tag::kFloat:
        case tag::kLogical:
        case tag::kSubroutine:
            return 4;
        case tag::kLong:
        case tag::kDouble:
        case tag::kDateTime:
        case tag::kWide8:
            return 8;
        case tag::kText:
        case tag::kByteSet:
            return sizeof(void*);
        default:
            return 0;
    }
}

void* MakeArrayBlock(size_t elementSize, uint32_t count) {
    size_t bytes = 8 + elementSize * count;
    auto* block = static_cast<uint8_t*>(Allocate(bytes));
    uint32_t header[2] = {1, count};
    std::memcpy(block, header, sizeof header);
    std::memset(block + 8, 0, bytes - 8);
    return block;
}

void* ResizeArrayBlock(void* block, size_t elementSize, uint32_t count) {
    uint64_t old = ArrayElementCount(block);
    auto* resized = static_cast<uint8_t*>(Reallocate(block, 8 + elementSize * count));
    uint32_t header[2] = {1, count};
    std::memcpy(resized, header, sizeof header);
    if (count > old) std::memset(resized + 8 + elementSize * old, 0, elementSize * (count - old));
    return resized;
}

uint32_t ArrayDimensionCount(const void* block) {
    if (!block) return 0;
    uint32_t d;
    std::memcpy(&d, block, sizeof d);
    return d;
}

uint64_t ArrayElementCount(const void* block) {
    uint32_t d = ArrayDimensionCount(block);
    if (d == 0) return 0;
    uint64_t count = 1;
    for (uint32_t i = 0; i < d; ++i) {
        uint32_t size;
        std::memcpy(&size, static_cast<const uint8_t*>(block) + 4 + 4 * i, sizeof size);
        count *= size;
    }
    return count;
}

const uint8_t* ArrayElements(const void* block) {
    return static_cast<const uint8_t*>(block) + 4 + 4 * ArrayDimensionCount(block);
}
uint8_t* ArrayElements(void* block) {
    return static_cast<uint8_t*>(block) + 4 + 4 * ArrayDimensionCount(block);
}

void FreeArrayOfBlocks(void* block) {
    if (!block) return;
    if (!IsConstant(block)) {
        uint64_t n = ArrayElementCount(block);
        for (uint64_t i = 0; i < n; ++i) Free(ArrayPointerAt(block, i));
    }
    Free(block);
}

void MakeArrayWritable(size_t elementSize, void** arrayVariable) {
    void* block = *arrayVariable;
    if (!block || !IsConstant(block)) return;
    size_t header = 4 + 4 * ArrayDimensionCount(block);
    size_t bytes = header + elementSize * ArrayElementCount(block);
    void* copy = Allocate(bytes);
    std::memcpy(copy, block, bytes);
    *arrayVariable = copy;
}

}  // namespace velmora
