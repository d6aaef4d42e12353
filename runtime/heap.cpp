#include "runtime/heap.h"

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "runtime/runtime_error.h"
#include "runtime/runtime_texts.h"

namespace velmora {
namespace {

struct Range {
    uintptr_t start;
    uintptr_t end;
};

std::vector<Range>& ConstantRanges() {
    static std::vector<Range> ranges;
    return ranges;
}

std::atomic<long> liveBlocks{0};

const Range* RangeOf(const void* address) {
    auto a = reinterpret_cast<uintptr_t>(address);
    for (const Range& r : ConstantRanges())
        if (a >= r.start && a < r.end) return &r;
    return nullptr;
}

[[noreturn]] void OutOfMemory(size_t size) {
    FatalRuntimeMessage(FormatText(texts::kAllocationFailed, static_cast<long long>(size)));
}

}  // namespace

void RegisterConstantRange(const void* start, size_t size) {
    if (size == 0) return;
    auto s = reinterpret_cast<uintptr_t>(start);
    ConstantRanges().push_back({s, s + size});
}

void ClearConstantRanges() { ConstantRanges().clear(); }

bool IsConstant(const void* address) { return address && RangeOf(address); }

long LiveBlockCount() { return liveBlocks.load(); }

void* TryAllocate(size_t size) {
    // malloc(0) may answer null; a zero-size request still gets a real block.
    void* block = std::malloc(size ? size : 1);
    if (block) ++liveBlocks;
    return block;
}

void* Allocate(size_t size) {
    void* block = TryAllocate(size);
    if (!block) OutOfMemory(size);
    return block;
}

void Free(void* block) {
    if (!block || RangeOf(block)) return;
    std::free(block);
    --liveBlocks;
}

void* Reallocate(void* block, size_t size) {
    if (!block) return Allocate(size);
    if (const Range* r = RangeOf(block)) {
        void* copy = Allocate(size);
        size_t available = r->end - reinterpret_cast<uintptr_t>(block);
        std::memcpy(copy, block, std::min(size, available));
        return copy;
    }
    void* moved = std::realloc(block, size ? size : 1);
    if (!moved) OutOfMemory(size);
    return moved;
}

char* CopyText(const char* text) {
    if (!text || !*text) return nullptr;
    return MakeText(text, static_cast<long>(std::strlen(text)));
}

char* MakeText(const void* bytes, long n) {
    if (n < 1) return nullptr;
    auto* text = static_cast<char*>(Allocate(static_cast<size_t>(n) + 1));
    std::memcpy(text, bytes, static_cast<size_t>(n));
    text[n] = '\0';
    return text;
}

void* MakeByteSet(const void* bytes, size_t n) {
    if (n == 0) return nullptr;
    auto* block = static_cast<uint8_t*>(Allocate(n + sizeof(ByteSetHeader)));
    ByteSetHeader header{1, static_cast<uint32_t>(n)};
    std::memcpy(block, &header, sizeof header);
    std::memcpy(block + sizeof header, bytes, n);
    return block;
}

}  // namespace velmora
