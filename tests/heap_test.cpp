#include "runtime/heap.h"

#include <gtest/gtest.h>

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/mman.h>
#include <unistd.h>
#endif

#include <cstring>
#include <string>

#include "runtime/array_block.h"
#include "runtime/constants.h"
#include "runtime/growing_text.h"

namespace velmora {
namespace {

// Constant data of this test binary, registered like the program's region.
VELMORA_CONSTANT const char kLiteral[] = "literal";
VELMORA_CONSTANT const uint32_t kLiteralArray[4] = {1, 2, 7, 9};

class HeapTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ClearConstantRanges();
        RegisterConstantRange(ConstantRegionStart(), ConstantRegionSize());
        before_ = LiveBlockCount();
    }
    void TearDown() override { EXPECT_EQ(LiveBlockCount(), before_) << "blocks leaked"; }
    long before_ = 0;
};

TEST_F(HeapTest, ConstantRegionHoldsTheSharedEmptyValues) {
    EXPECT_TRUE(IsConstant(kEmptyText));
    EXPECT_TRUE(IsConstant(kEmptyByteSet));
    EXPECT_TRUE(IsConstant(kLiteral));
    EXPECT_EQ(kEmptyByteSet[0], 1u);
    EXPECT_EQ(kEmptyByteSet[1], 0u);
    char onStack = 0;
    EXPECT_FALSE(IsConstant(&onStack));
    EXPECT_FALSE(IsConstant(nullptr));
}

TEST_F(HeapTest, FreeIgnoresNullAndConstants) {
    Free(nullptr);
    Free(const_cast<char*>(kLiteral));
    Free(const_cast<char*>(kEmptyText));
    EXPECT_STREQ(kLiteral, "literal");
}

TEST_F(HeapTest, ReallocateCopiesOutOfAConstantRangeAndLeavesTheLiteral) {
    auto* copy = static_cast<uint32_t*>(Reallocate(const_cast<uint32_t*>(kLiteralArray), 16));
    ASSERT_NE(static_cast<const void*>(copy), static_cast<const void*>(kLiteralArray));
    EXPECT_FALSE(IsConstant(copy));
    EXPECT_EQ(copy[2], 7u);
    copy[2] = 100;
    EXPECT_EQ(kLiteralArray[2], 7u);
    Free(copy);
}

// Two pages, the second inaccessible; null when the system refuses.
#ifdef _WIN32
char* MapGuardedPages(size_t* page) {
    SYSTEM_INFO info;
    GetSystemInfo(&info);
    *page = info.dwPageSize;
    auto* base = static_cast<char*>(
        VirtualAlloc(nullptr, 2 * *page, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE));
    DWORD old = 0;
    if (base) VirtualProtect(base + *page, *page, PAGE_NOACCESS, &old);
    return base;
}
void UnmapPages(char* base, size_t) {
    VirtualFree(base, 0, MEM_RELEASE);
}
#else
char* MapGuardedPages(size_t* page) {
    *page = static_cast<size_t>(sysconf(_SC_PAGESIZE));
    void* map =
        mmap(nullptr, 2 * *page, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (map == MAP_FAILED) return nullptr;
    mprotect(static_cast<char*>(map) + *page, *page, PROT_NONE);
    return static_cast<char*>(map);
}
void UnmapPages(char* base, size_t page) {
    munmap(base, 2 * page);
}
#endif

// A range whose last page is followed by an inaccessible one, so that a copy
// reading past the range faults instead of passing unnoticed.
class GuardedRange {
  public:
    GuardedRange() : base_(MapGuardedPages(&page_)) {}
    ~GuardedRange() {
        if (base_) UnmapPages(base_, page_);
    }
    char* start() const { return base_; }
    size_t size() const { return page_; }

  private:
    size_t page_ = 0;
    char* base_ = nullptr;
};

TEST_F(HeapTest, ReallocateNearTheEndOfTheRangeCopiesOnlyWhatTheRangeHolds) {
    GuardedRange range;
    ASSERT_NE(range.start(), nullptr);
    std::memset(range.start(), 'x', range.size());
    RegisterConstantRange(range.start(), range.size());
    char* last = range.start() + range.size() - 3;
    auto* copy = static_cast<char*>(Reallocate(last, 4096));
    EXPECT_EQ(std::string(copy, 3), "xxx");
    Free(copy);
}

TEST_F(HeapTest, ReallocateOfNullAllocatesAndHeapBlocksKeepTheirBytes) {
    auto* block = static_cast<char*>(Reallocate(nullptr, 3));
    std::memcpy(block, "ab", 3);
    block = static_cast<char*>(Reallocate(block, 1 << 20));
    EXPECT_STREQ(block, "ab");
    Free(block);
}

TEST_F(HeapTest, EmptyTextsAndByteSetsAreNeverBlocks) {
    EXPECT_EQ(CopyText(nullptr), nullptr);
    EXPECT_EQ(CopyText(""), nullptr);
    EXPECT_EQ(MakeText("abc", 0), nullptr);
    EXPECT_EQ(MakeText("abc", -3), nullptr);
    EXPECT_EQ(MakeByteSet("abc", 0), nullptr);
    EXPECT_EQ(ByteSetLength(nullptr), 0u);
}

TEST_F(HeapTest, MadeTextsAndByteSetsHaveTheirLayouts) {
    char* text = MakeText("abcdef", 3);
    EXPECT_STREQ(text, "abc");
    Free(text);

    void* set = MakeByteSet("a\0b", 3);
    uint32_t header[2];
    std::memcpy(header, set, sizeof header);
    EXPECT_EQ(header[0], 1u);
    EXPECT_EQ(header[1], 3u);
    EXPECT_EQ(std::memcmp(ByteSetData(set), "a\0b", 3), 0);
    Free(set);
}

TEST_F(HeapTest, ArrayBlocksCountTheirElementsAndOwnThem) {
    void* array = MakeArrayBlock(sizeof(void*), 3);
    EXPECT_EQ(ArrayDimensionCount(array), 1u);
    EXPECT_EQ(ArrayElementCount(array), 3u);
    EXPECT_EQ(ArrayPointerAt(array, 1), nullptr);
    SetArrayPointerAt(array, 0, CopyText("x"));
    SetArrayPointerAt(array, 2, CopyText("z"));
    EXPECT_STREQ(static_cast<char*>(ArrayPointerAt(array, 2)), "z");
    FreeArrayOfBlocks(array);
    EXPECT_EQ(ArrayElementCount(nullptr), 0u);
}

TEST_F(HeapTest, ResizedArraysKeepTheirElementsAndZeroNewOnes) {
    void* array = MakeArrayBlock(sizeof(void*), 2);
    SetArrayPointerAt(array, 0, CopyText("a"));
    std::memset(ArrayElements(array) + sizeof(void*), 0xAB, sizeof(void*));
    array = ResizeArrayBlock(array, sizeof(void*), 1);
    array = ResizeArrayBlock(array, sizeof(void*), 40);
    ASSERT_EQ(ArrayElementCount(array), 40u);
    EXPECT_STREQ(static_cast<char*>(ArrayPointerAt(array, 0)), "a");
    for (uint64_t i = 1; i < 40; ++i) EXPECT_EQ(ArrayPointerAt(array, i), nullptr) << i;
    FreeArrayOfBlocks(array);
}

TEST_F(HeapTest, MakeArrayWritableCopiesOnlyConstantArrays) {
    void* variable = const_cast<uint32_t*>(kLiteralArray);
    MakeArrayWritable(4, &variable);
    ASSERT_NE(variable, static_cast<const void*>(kLiteralArray));
    EXPECT_EQ(ArrayElementCount(variable), 2u);
    EXPECT_EQ(static_cast<uint32_t*>(variable)[3], 9u);
    void* heapArray = variable;
    MakeArrayWritable(4, &variable);
    EXPECT_EQ(variable, heapArray);
    Free(variable);
}

// Many small pieces cross several doublings; the released text is the exact
// bytes in a block of its own, and the builder starts over empty (the fixture
// checks that nothing is left behind).
TEST_F(HeapTest, AGrowingTextKeepsEveryPieceAndHandsOverOneExactText) {
    GrowingText text(4);
    EXPECT_STREQ(text.c_str(), "");
    std::string expected;
    for (int i = 0; i < 500; ++i) {
        std::string piece = std::to_string(i) + ",";
        text.Append(piece);
        text.Append("");
        expected += piece;
    }
    EXPECT_EQ(text.view(), expected);
    EXPECT_EQ(std::strlen(text.c_str()), expected.size());
    char* released = text.Release();
    ASSERT_NE(released, nullptr);
    EXPECT_EQ(std::string(released), expected);
    Free(released);
    EXPECT_EQ(text.view(), "");
    EXPECT_EQ(text.Release(), nullptr) << "an empty text is no block";
    text.Append("again");
    EXPECT_STREQ(text.c_str(), "again");
}

}  // namespace
}  // namespace velmora
