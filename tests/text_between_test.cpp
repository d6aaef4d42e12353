#include "app/text_between.h"

#include <gtest/gtest.h>

#include <climits>
#include <random>
#include <string>

#include "runtime/heap.h"
#include "tests/test_support.h"
#include "tests/text_reference.h"

namespace velmora::app {
namespace {

using velmora::testing::Gbk;

class TextBetweenTest : public ::testing::Test {
  protected:
    void SetUp() override { before_ = LiveBlockCount(); }
    void TearDown() override { EXPECT_EQ(LiveBlockCount(), before_) << "blocks leaked"; }
    long before_ = 0;
};

TEST_F(TextBetweenTest, CutsBetweenMarkers) {
    // 乕 and 乚 are two-byte characters whose second bytes are '[' and ']'.
    const std::string fakeOpen = Gbk("乕"), fakeClose = Gbk("乚");
    struct Case {
        std::string source, start, end;
        int position;
        std::string expected;
    } cases[] = {
        {"abc[x]def", "[", "]", 0, "x"},
        {"abc[x]def", "[", "]]", 0, ""},        // end marker absent
        {"abc[x]def", "", "[", 0, "abc"},       // empty start marker: from the beginning
        {"abc[x]def", "<<", "d", 0, "abc[x]"},  // absent start marker: from byte 1
        {"abc[x]def", "<<<", "d", 0, "bc[x]"},  // ...from byte 2
        {"abc[x]def", "{", "d", 0, ""},         // ...from byte 0, which does not exist
        {"", "[", "]", 0, ""},
        {"", "", "", 0, ""},
        {"[a][b]", "[", "]", 2, "b"},
        {"[a][b]", "[", "]", 1, "a"},
        {"[a][b]", "[", "]", -7, "a"},
        {"[a][b]", "[", "]", 9, ""},
        {"abc[", "[", "]", 0, ""},   // start marker ends the source
        {"a[]b]", "[", "]", 0, ""},  // end marker right behind the start marker
        {"a[b]", "[", "", 0, ""},
        {"[" + fakeClose + "]", "[", "]", 0, fakeClose},
        {fakeOpen + "x]", "[", "]", 0, ""},
        {Gbk("掌柜：张三<span>"), Gbk("掌柜："), "<span", 0, Gbk("张三")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.source + " " + c.start + " " + c.end);
        Text cut = TextBetween(c.source.c_str(), c.start.c_str(), c.end.c_str(), c.position);
        EXPECT_EQ(cut.view(), c.expected);
        char* block = cut.release();
        EXPECT_EQ(block == nullptr, c.expected.empty()) << "an empty cut is null, never a block";
        Free(block);
    }
}

TEST_F(TextBetweenTest, RemainderAfterTheStartMarker) {
    const std::string loopEnd(16, '#');
    struct Case {
        std::string source, start, expected;
    } cases[] = {
        {"abc[x]def", "[", "x]def"},
        {"abc[x]def", "<<<", "bc[x]def"},
        {"abc[", "[", ""},
        {"", "", ""},
        {"0123456789abcdefghij", loopEnd, "efghij"},  // an absent 16-byte marker: from byte 15
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.source);
        EXPECT_EQ(RemainderAfter(c.source.c_str(), c.start.c_str(), 0).view(), c.expected);
    }
}

// The cut searches the source in place; it must give what a search in a copy
// of the remainder gives, also where positions fall inside characters.
TEST_F(TextBetweenTest, AgreesWithCuttingACopyOfTheRemainder) {
    std::mt19937 random(11);
    const char alphabet[] = {'[', ']', 'a', char(0x81), char(0xB0), char(0x5D)};
    auto draw = [&](size_t length) {
        std::string s;
        while (s.size() < length) s += alphabet[random() % sizeof alphabet];
        return s;
    };
    for (int round = 0; round < 500; ++round) {
        std::string source = draw(random() % 30), start = draw(random() % 3),
                    end = draw(random() % 3);
        int position = int(random() % 34) - 2;
        SCOPED_TRACE(round);
        EXPECT_EQ(TextBetween(source.c_str(), start.c_str(), end.c_str(), position).view(),
                  velmora::testing::ReferenceTextBetween(source, start, end, position));
    }
}

TEST(RuntimeTextTest, OwnsAndHandsOverItsBlock) {
    long before = LiveBlockCount();
    {
        Text a(CopyText("abc"));
        Text b = std::move(a);
        EXPECT_EQ(a.c_str(), kEmptyText);  // a moved-from text reads as empty, never null
        EXPECT_EQ(b.view(), "abc");
        b = Text(CopyText("def"));  // the old block is freed on assignment
        EXPECT_EQ(LiveBlockCount(), before + 1);
        char* handed = b.release();
        EXPECT_TRUE(b.empty());
        Free(handed);
    }
    EXPECT_EQ(LiveBlockCount(), before);
}

}  // namespace
}  // namespace velmora::app
