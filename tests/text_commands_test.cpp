#include "commands/text_commands.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "runtime/array_block.h"
#include "runtime/constants.h"
#include "runtime/entry_table.h"
#include "runtime/heap.h"
#include "tests/test_support.h"
#include "tests/text_reference.h"

namespace velmora::commands {
namespace {

using velmora::testing::Gbk;

// 乤 is the bytes 0x81 'a': a character whose second byte reads as a letter.
const std::string kTrailA = Gbk("乤");
const std::string kZhong = Gbk("中");
const std::string kLead = kZhong.substr(0, 1);   // a lead byte on its own
const std::string kTrail = kZhong.substr(1, 1);  // the second byte of 中

ValueRecord Call(CommandRoutine routine, std::vector<ValueRecord> args) {
    ValueRecord r = Entries().CallCoreCommand(routine, int(args.size()), args.data());
    EXPECT_EQ(r.tag, 0u) << "fixed result types carry no tag";
    return r;
}
ValueRecord T(const std::string& s) {
    return MakeTextValue(s.c_str());
}
ValueRecord T(const char* literal) {
    return MakeTextValue(literal);
}

// Reads and frees a returned text; an empty result must be null.
std::string Take(const ValueRecord& r) {
    auto* p = static_cast<char*>(r.Pointer());
    EXPECT_TRUE(p == nullptr || *p != '\0') << "empty text returned as a block";
    std::string s = p ? p : "";
    Free(p);
    return s;
}
std::string TakeBytes(const ValueRecord& r) {
    void* block = r.Pointer();
    EXPECT_TRUE(block == nullptr || velmora::ByteSetLength(block) != 0)
        << "empty byte set as a block";
    std::string s(reinterpret_cast<const char*>(ByteSetData(block)), velmora::ByteSetLength(block));
    Free(block);
    return s;
}

class TextCommandTest : public ::testing::Test {
  protected:
    void SetUp() override { before_ = LiveBlockCount(); }
    void TearDown() override { EXPECT_EQ(LiveBlockCount(), before_) << "blocks leaked"; }
    long before_ = 0;
};

TEST_F(TextCommandTest, CutsByCount) {
    struct Case {
        CommandRoutine routine;
        std::string text;
        int a, b;
        std::string expected;
    } cases[] = {
        {LeftText, "abc", 2, 0, "ab"},
        {LeftText, "abc", 10, 0, "abc"},
        {LeftText, "abc", 0, 0, ""},
        {LeftText, "abc", -1, 0, ""},
        {LeftText, kZhong, 1, 0, kLead},
        {RightText, "abc", 2, 0, "bc"},
        {RightText, "abc", 9, 0, "abc"},
        {RightText, "abc", 0, 0, ""},
        {RightText, kZhong, 1, 0, kTrail},
        {MiddleText, "abcdef", 5, 10, "ef"},
        {MiddleText, "abcdef", 3, 2, "cd"},
        {MiddleText, "abcdef", 6, 1, "f"},
        {MiddleText, "abcdef", 0, 2, ""},
        {MiddleText, "abcdef", 7, 1, ""},
        {MiddleText, "abcdef", 2, 0, ""},
        {MiddleText, "abcdef", 1, INT_MAX, "abcdef"},
        {MiddleText, "abcdef", INT_MAX, 1, ""},
        {MiddleText, "", 1, 1, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text + " " + std::to_string(c.a) + " " + std::to_string(c.b));
        EXPECT_EQ(Take(Call(c.routine, {T(c.text), MakeInteger(c.a), MakeInteger(c.b)})),
                  c.expected);
    }
    EXPECT_EQ(Call(TextLength, {T(Gbk("中文") + "a")}).Int(), 5);
    EXPECT_EQ(Call(TextLength, {T("")}).Int(), 0);
}

TEST_F(TextCommandTest, FindTextStepsOverCharactersAndAppliesItsDefaults) {
    const ValueRecord omitted = Omitted();
    struct Case {
        std::string text, sought;
        ValueRecord start, fold;
        int expected;
    } cases[] = {
        {"abc", "", omitted, omitted, 1},
        {"abc", "", MakeInteger(3), omitted, 1},   // empty sought: 1 whatever the start
        {"abc", "", MakeInteger(4), omitted, -1},  // ...unless nothing remains
        {"", "", omitted, omitted, -1},
        {"", "a", omitted, omitted, -1},
        {"abcabc", "c", omitted, omitted, 3},
        {"abcabc", "c", MakeInteger(4), omitted, 6},
        {"abcabc", "c", MakeInteger(0), omitted, 3},
        {"abcabc", "c", MakeInteger(-5), omitted, 3},
        {"abc", "c", MakeInteger(5), omitted, -1},
        {"abc", "abcd", omitted, omitted, -1},
        {kZhong + "a", "a", omitted, omitted, 3},
        {kZhong + "a", kTrail, omitted, omitted, -1},
        {kZhong + "a", kTrail + "a", MakeInteger(2), omitted, 2},  // the start counts as a boundary
        {kTrailA + "a", "a", omitted, omitted, 3},  // a letter as second byte is not a match
        {kLead + kTrailA + "a", "a", omitted, omitted, 3},
        {"x" + kLead + kLead + kLead + "a", "a", omitted, omitted, -1},
        {"a" + kLead, kLead, omitted, omitted, 2},  // a lead byte at the very end
        {kLead, "x", omitted, omitted, -1},
        {"xABCx", "abc", omitted, MakeLogical(true), 2},
        {"xABCx", "abc", omitted, MakeLogical(false), -1},
        {"xABCx", "abc", omitted, omitted, -1},
        {"xABCx", "abc", omitted, MakeValue(tag::kLogical, 2), -1},  // only exactly 1 folds
        {"x[", "{", omitted, MakeLogical(true), -1},                 // folding is letters only
        {kTrailA + "A", "A", omitted, MakeLogical(true), 3},
        // Long texts, measured in steps while searched.
        {std::string(4094, 'x') + "abc", "abc", omitted, omitted, 4095},
        {std::string(12000, 'x'), "xy", omitted, omitted, -1},
        {std::string(4095, kLead[0]) + "a", "a", omitted, omitted, -1},
        {std::string(4096, kLead[0]) + "a", "a", omitted, omitted, 4097},
        {std::string(5000, kLead[0]) + "a", kLead + "a", omitted, omitted, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text + " / " + c.sought);
        EXPECT_EQ(Call(FindText, {T(c.text), T(c.sought), c.start, c.fold}).Int(), c.expected);
    }
    // Arguments past the count read as omitted.
    std::string text = "ab", sought = "b";
    EXPECT_EQ(Call(FindText, {T(text), T(sought)}).Int(), 2);
}

// Random mixes of ASCII, lead bytes and letters, long enough to cross the
// steps in which a zero-terminated text is measured.
TEST_F(TextCommandTest, FindTextAgreesWithTheStepByStepSearch) {
    std::mt19937 random(7);
    const char alphabet[] = {'a', 'b', 'A', char(0x81), char(0xB0), char(0xA1)};
    for (int round = 0; round < 300; ++round) {
        size_t length = random() % (round < 250 ? 40 : 9000);
        std::string text;
        for (size_t i = 0; i < length; ++i) text += alphabet[random() % sizeof alphabet];
        std::string sought;
        for (size_t i = 1 + random() % 3; i > 0; --i)
            sought += alphabet[random() % sizeof alphabet];
        int start = int(random() % (length + 2));
        bool fold = random() % 2;
        SCOPED_TRACE(round);
        long expected = velmora::testing::ReferenceFind(text, sought, start ? start - 1 : 0, fold);
        EXPECT_EQ(Call(FindText, {T(text), T(sought), MakeInteger(start), MakeLogical(fold)}).Int(),
                  expected < 0 ? -1 : expected + 1);
    }
}

TEST_F(TextCommandTest, ReplaceText) {
    const ValueRecord omitted = Omitted();
    struct Case {
        std::string text, sought;
        ValueRecord replacement;
        ValueRecord start, count, exact;
        std::string expected;
    } cases[] = {
        {"x<span>y<span>", "<span>", T(""), omitted, omitted, MakeLogical(true), "xy"},
        {"x<span>y<span>", "<span>", T(""), omitted, MakeInteger(1), MakeLogical(true), "xy<span>"},
        {"x<SPAN>y", "<span>", T(""), omitted, omitted, omitted, "xy"},  // omitted folds case
        {"x<SPAN>y", "<span>", T(""), omitted, omitted, MakeLogical(false), "xy"},
        {"x<SPAN>y", "<span>", T(""), omitted, omitted, MakeLogical(true), "x<SPAN>y"},
        {"x<SPAN>y", "<span>", T(""), omitted, omitted, MakeInteger(2), "x<SPAN>y"},
        {"aaa", "a", omitted, omitted, omitted, omitted, ""},  // omitted replacement: removed
        {"aaa", "a", T("b"), MakeInteger(2), omitted, omitted, "abb"},
        {"aaa", "a", T("b"), MakeInteger(-3), omitted, omitted, "bbb"},
        {"aaa", "a", T("b"), MakeInteger(4), omitted, omitted, "aaa"},
        {"aaa", "a", T("b"), omitted, MakeInteger(0), omitted, "aaa"},
        {"aaa", "a", T("b"), omitted, MakeInteger(2), omitted, "bba"},
        {"aaa", "a", T("b"), omitted, MakeInteger(-1), omitted, "bbb"},
        {"aa", "a", T("aa"), omitted, omitted, omitted, "aaaa"},  // no rescanning
        {"", "a", T("b"), omitted, omitted, omitted, ""},
        {"abc", "", T("b"), omitted, omitted, omitted, "abc"},
        {kZhong + "a", kTrail + "a", T("!"), omitted, omitted, omitted, kZhong + "a"},
        {kTrailA + "A", "a", T("!"), omitted, omitted, omitted, kTrailA + "!"},
        {"a" + kLead, "x", T("y"), omitted, omitted, omitted, "a" + kLead},
        {"a" + kLead, kLead, T("z"), omitted, omitted, omitted, "az"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text + " / " + c.sought);
        ValueRecord r =
            Call(ReplaceText, {T(c.text), T(c.sought), c.replacement, c.start, c.count, c.exact});
        if (!c.text.empty()) {
            EXPECT_NE(r.Pointer(), c.text.c_str()) << "must be a fresh copy";
        }
        EXPECT_EQ(Take(r), c.expected);
    }
}

// Returns the pieces and frees the array with them.
std::vector<std::string> TakePieces(const ValueRecord& r) {
    void* array = r.Pointer();
    EXPECT_NE(array, nullptr);
    EXPECT_EQ(ArrayDimensionCount(array), 1u);
    std::vector<std::string> pieces;
    for (uint64_t i = 0; i < ArrayElementCount(array); ++i) {
        auto* piece = static_cast<const char*>(ArrayPointerAt(array, i));
        EXPECT_TRUE(piece == nullptr || *piece != '\0') << "empty piece as a block";
        pieces.push_back(piece ? piece : "");
    }
    FreeArrayOfBlocks(array);
    return pieces;
}

TEST_F(TextCommandTest, SplitText) {
    using Pieces = std::vector<std::string>;
    const ValueRecord omitted = Omitted();
    struct Case {
        std::string text;
        ValueRecord delimiter, maximum;
        Pieces expected;
    } cases[] = {
        {"a\r\n\r\nb\r\n", T("\r\n"), omitted, {"a", "", "b"}},
        {"", T(","), omitted, {}},
        {"a,b,c", omitted, omitted, {"a", "b", "c"}},
        {"a,b,c", T(","), MakeInteger(2), {"a", "b"}},
        {"a,b", T(","), MakeInteger(3), {"a", "b"}},
        {"a,b,", T(","), MakeInteger(2), {"a", "b"}},
        {"a,b", T(","), MakeInteger(0), {}},
        {"a,b", T(","), MakeInteger(-4), {}},
        {"abc", T(""), omitted, {"abc"}},
        {",a,,", T(","), omitted, {"", "a", ""}},
        {"a", T(","), omitted, {"a"}},
        {kZhong + "a" + kZhong, T(kTrail), omitted, {kZhong + "a" + kZhong}},
        {kZhong + kTrail + "x", T(kTrail), omitted, {kZhong, "x"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(TakePieces(Call(SplitText, {T(c.text), c.delimiter, c.maximum})), c.expected);
    }
    // Enough pieces to make the array grow several times.
    std::string many;
    Pieces expected;
    for (int i = 0; i < 100; ++i) {
        many += std::to_string(i) + ",";
        expected.push_back(std::to_string(i));
    }
    EXPECT_EQ(TakePieces(Call(SplitText, {T(many), Omitted(), Omitted()})), expected);
}

TEST_F(TextCommandTest, ToNumber) {
    const std::string texts[] = {Gbk("１２"),     "abc",       "  3.5xyz",
                                 Gbk("－１．５"), Gbk("　７"), Gbk("１２") + kLead,
                                 "1e3",           ""};
    struct Case {
        ValueRecord value;
        double expected;
    } cases[] = {
        {T(texts[0]), 12},
        {T(texts[1]), 0},
        {T(texts[2]), 3.5},
        {T(texts[3]), -1.5},
        {T(texts[4]), 7},
        {T(texts[5]), 12},
        {T(texts[6]), 1000},
        {T(texts[7]), 0},
        {MakeInteger(-5), -5},
        {MakeByte(200), 200},
        {MakeShort(-2), -2},
        {MakeLong(int64_t(1) << 40), 1099511627776.0},
        {MakeFloat(1.5f), 1.5},
        {MakeDouble(-2.25), -2.25},
        {MakeLogical(true), 1},
        {MakeValue(tag::kSubroutine, 0x1234), 0x1234},
        {MakeDateTime(40000.5), 0},
        {MakeByteSetValue(kEmptyByteSet), 0},
        {Omitted(), 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.expected);
        EXPECT_DOUBLE_EQ(Call(ToNumber, {c.value}).Double(), c.expected);
    }
}

TEST_F(TextCommandTest, ToTextAndToByteSet) {
    const std::string abc = "abc";
    const unsigned char setBytes[] = {1, 0, 0, 0, 5, 0, 0, 0, 'a', 'b', 0, 'c', 'd'};
    const uint32_t ints[] = {1, 2, 0x01020304, 0x0A0B0C0D};  // one dimension of two
    const uint32_t grid[] = {2, 1, 1, 7, 0};                 // two dimensions
    EXPECT_EQ(Take(Call(ToText, {MakeInteger(-5)})), "-5");
    EXPECT_EQ(Take(Call(ToText, {MakeLogical(true)})), Gbk("真"));
    EXPECT_EQ(Take(Call(ToText, {MakeByteSetValue(setBytes)})), "ab");
    EXPECT_EQ(Take(Call(ToText, {T("")})), "");
    ValueRecord copy = Call(ToText, {T(abc)});
    EXPECT_NE(copy.Pointer(), abc.c_str());
    EXPECT_EQ(Take(copy), "abc");

    struct Case {
        ValueRecord value;
        std::string expected;
    } cases[] = {
        {T(abc), "abc"},
        {T(""), ""},
        {MakeByteSetValue(setBytes), std::string("ab\0cd", 5)},
        {MakeByteSetValue(kEmptyByteSet), ""},
        {MakeInteger(0x01020304), "\x04\x03\x02\x01"},
        {MakeShort(0x0102), "\x02\x01"},
        {MakeByte(0x41), "A"},
        {MakeLong(0x0102030405060708), "\x08\x07\x06\x05\x04\x03\x02\x01"},
        {MakeLogical(true), std::string("\x01\0\0\0", 4)},
        {MakePointer(tag::kInteger | tag::kIndirect, ints), "\x04\x03\x02\x01\x0D\x0C\x0B\x0A"},
        {MakePointer(tag::kInteger | tag::kIndirect, grid), ""},
        {MakePointer(tag::kText | tag::kIndirect, ints), ""},
        {MakeControlReference(tag::kEditBox, 1, 2), ""},
        {Omitted(), ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.expected.size());
        EXPECT_EQ(TakeBytes(Call(ToByteSet, {c.value})), c.expected);
    }
    EXPECT_EQ(Call(ByteSetLength, {MakeByteSetValue(setBytes)}).Int(), 5);
    EXPECT_EQ(Call(ByteSetLength, {MakeByteSetValue(kEmptyByteSet)}).Int(), 0);
    EXPECT_EQ(Call(ByteSetLength, {MakeByteSetValue(nullptr)}).Int(), 0);
}

}  // namespace
}  // namespace velmora::commands
