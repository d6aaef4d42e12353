#include "runtime/value.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string_view>

#include "runtime/array_block.h"
#include "runtime/command_call.h"
#include "runtime/entry_table.h"
#include "runtime/heap.h"
#include "runtime/notification.h"
#include "runtime/value_text.h"
#include "tests/test_support.h"

namespace velmora {
namespace {

using testing::Gbk;

TEST(TypeTags, ClassifyBasicLibraryAndIndirectTags) {
    EXPECT_EQ(tag::kEditBox, 0x00010005u);
    EXPECT_EQ(tag::kComObject, 0x00010030u);
    EXPECT_EQ(tag::kHtmlViewer, 0x00020001u);
    EXPECT_EQ(tag::kListView, 0x00030004u);
    EXPECT_TRUE(tag::IsNumeric(tag::kFloat));
    EXPECT_FALSE(tag::IsNumeric(tag::kText));
    EXPECT_FALSE(tag::IsBasic(tag::kEditBox));
    EXPECT_TRUE(tag::IsProgramType(0x40000001));
    EXPECT_EQ(tag::Base(0xA0000004), tag::kText);
    EXPECT_TRUE(tag::IsIndirect(0xA0000004));
    EXPECT_EQ(tag::LibraryIndexOf(tag::kListView), 2u);
    EXPECT_EQ(tag::TypeNumberOf(tag::kListView), 4u);
}

TEST(ValueRecords, KeepTheirWordsWhereTheLayoutSays) {
    ValueRecord r = MakeControlReference(tag::kEditBox, 0x52010001, 0x16010002);
    uint32_t words[3];
    std::memcpy(words, &r, sizeof words);
    EXPECT_EQ(words[0], 0x52010001u);
    EXPECT_EQ(words[1], 0x16010002u);
    EXPECT_EQ(words[2], tag::kEditBox);

    EXPECT_EQ(MakeDouble(2.5).Double(), 2.5);
    EXPECT_EQ(MakeFloat(-1.5f).Float(), -1.5f);
    EXPECT_EQ(MakeLong(-5).Long(), -5);
    EXPECT_EQ(MakeShort(-2).low, 0xFFFEu);
    EXPECT_EQ(MakeLogical(true).low, 1u);
    EXPECT_TRUE(Omitted().Omitted());
    int x = 0;
    EXPECT_EQ(MakePointer(tag::kText, &x).Pointer(), &x);
    EXPECT_STREQ(MakeTextValue(nullptr).Text(), "");
}

struct TextCase {
    const char* name;
    ValueRecord value;
    const char* utf8;
};

void PrintTo(const TextCase& c, std::ostream* os) {
    *os << c.name;
}

class ValueToTextTest : public ::testing::TestWithParam<TextCase> {};

TEST_P(ValueToTextTest, GivesTheTableText) {
    EXPECT_EQ(ValueToString(GetParam().value), Gbk(GetParam().utf8));
}

constexpr double kJan1st2024 = 45292;  // days since 30 December 1899

INSTANTIATE_TEST_SUITE_P(
    Conversions, ValueToTextTest,
    ::testing::Values(
        TextCase{"byte", MakeByte(200), "200"}, TextCase{"short", MakeShort(-300), "-300"},
        TextCase{"integer", MakeInteger(-7), "-7"},
        TextCase{"long", MakeLong(-9000000000LL), "-9000000000"},
        TextCase{"float", MakeFloat(0.1f), "0.1"},
        TextCase{"double", MakeDouble(1.0 / 3), "0.3333333333333"},
        TextCase{"doubleWhole", MakeDouble(42), "42"}, TextCase{"true", MakeLogical(true), "真"},
        TextCase{"trueAnyValue", MakeValue(tag::kLogical, 5), "真"},
        TextCase{"false", MakeLogical(false), "假"},
        TextCase{"midnight", MakeDateTime(kJan1st2024), "2024年1月1日"},
        TextCase{"hour", MakeDateTime(kJan1st2024 + 0.5), "2024年1月1日12时"},
        TextCase{"minute", MakeDateTime(kJan1st2024 + 0.25 + 1.0 / 1440), "2024年1月1日6时1分"},
        TextCase{"second", MakeDateTime(kJan1st2024 + 1.0 / 86400), "2024年1月1日0时0分1秒"},
        TextCase{"epoch", MakeDateTime(0), "1899年12月30日"},
        TextCase{"beforeEpoch", MakeDateTime(-1.25), "1899年12月29日6时"},
        TextCase{"clampedHigh", MakeDateTime(1e9), "9999年12月31日"},
        TextCase{"clampedLow", MakeDateTime(-1e9), "100年1月1日"},
        TextCase{"roundsUpToNextDay", MakeDateTime(kJan1st2024 - 1e-9), "2024年1月1日"},
        TextCase{"omitted", Omitted(), ""},
        TextCase{"control", MakeControlReference(tag::kEditBox, 1, 2), ""}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ValueToText, TextsByteSetsAndNumericArraysGiveTheirBytesUpToZero) {
    EXPECT_EQ(ValueToString(MakeTextValue("abc")), "abc");
    void* set = MakeByteSet("ab\0cd", 5);
    EXPECT_EQ(ValueToString(MakeByteSetValue(set)), "ab");
    Free(set);
    EXPECT_EQ(ValueToString(MakeByteSetValue(nullptr)), "");

    void* array = MakeArrayBlock(4, 2);
    std::memcpy(ArrayElements(array), "hi\0\0xyz\0", 8);
    EXPECT_EQ(ValueToString(MakePointer(tag::kInteger | tag::kIndirect, array)), "hi");
    EXPECT_EQ(ValueToString(MakePointer(tag::kText | tag::kIndirect, array)), "");
    Free(array);
}

TEST(ValueToText, EmptyResultIsNullNotABlock) {
    EXPECT_EQ(ValueToText(MakeTextValue("")), nullptr);
    char* text = ValueToText(MakeInteger(12));
    EXPECT_STREQ(text, "12");
    Free(text);
}

TEST(SizeAndData, CoversEveryBasicType) {
    struct Case {
        ValueRecord value;
        size_t size;
    } cases[] = {
        {MakeLogical(true), 4},    {MakeValue(tag::kSubroutine, 1), 4},
        {MakeInteger(1), 4},       {MakeFloat(1), 4},
        {MakeDateTime(1), 8},      {MakeLong(1), 8},
        {MakeDouble(1), 8},        {MakeValue(tag::kWide8, 1), 8},
        {MakeByte(1), 1},          {MakeShort(1), 2},
        {MakeTextValue("abc"), 4}, {Omitted(), 0},
    };
    for (const Case& c : cases) EXPECT_EQ(SizeAndData(c.value).size, c.size) << c.value.tag;
    void* set = MakeByteSet("xyz", 3);
    ValueBytes b = SizeAndData(MakeByteSetValue(set));
    EXPECT_EQ(b.size, 3u);
    EXPECT_EQ(std::memcmp(b.data, "xyz", 3), 0);
    Free(set);
}

// A command that reports what it saw, to check the dispatcher's contract.
void EchoCommand(ValueRecord* result, int count, ValueRecord* args) {
    EXPECT_EQ(result->low, 0u);
    EXPECT_EQ(result->high, 0u);
    EXPECT_EQ(result->tag, 0u);
    result->SetBits(static_cast<uint64_t>(count) << 32 | args[count - 1].low);
    if (args[0].Omitted()) result->tag = tag::kVariant;
}

TEST(CommandCall, PassesRecordsInOrderAndReturnsTheResultRecord) {
    ValueRecord args[] = {MakeInteger(1), MakeInteger(77)};
    ValueRecord r = Entries().CallCoreCommand(EchoCommand, 2, args);
    EXPECT_EQ(r.high, 2u);
    EXPECT_EQ(r.low, 77u);
    EXPECT_EQ(r.tag, 0u) << "a fixed-type command leaves the tag alone";

    ValueRecord omitted[] = {Omitted(), MakeInteger(5)};
    r = Entries().CallLibraryCommand(kExtendedUiLibrary, EchoCommand, 2, omitted);
    EXPECT_EQ(r.tag, tag::kVariant);
}

TEST(EntryTable, MemorySlotsAreTheRuntimeHeap) {
    const EntryTable& e = Entries();
    EXPECT_EQ(e.Allocate, &Allocate);
    EXPECT_EQ(e.Reallocate, &Reallocate);
    EXPECT_EQ(e.Free, &Free);
}

TEST(Notifications, AllocateAndFreeThroughTheRuntime) {
    long before = LiveBlockCount();
    auto block = RuntimeNotify(kNotifyAllocate, 64, 0);
    ASSERT_NE(block, 0);
    EXPECT_EQ(LiveBlockCount(), before + 1);
    EXPECT_EQ(RuntimeNotify(kNotifyFree, static_cast<uintptr_t>(block), 0), 0);
    EXPECT_EQ(LiveBlockCount(), before);
    EXPECT_EQ(RuntimeNotify(kNotifyAllocate, SIZE_MAX / 2, 1), 0) << "may-fail answers null";
    EXPECT_EQ(RuntimeNotify(99999, 1, 2), 0);
}

TEST(Gbk, ConvertsBothWaysAndRefusesWhatItCannotHold) {
    std::string shouji = "\xCA\xD6\xBB\xFA";  // 手机
    EXPECT_EQ(GbkToUtf8(shouji).value(), "手机");
    EXPECT_EQ(Utf8ToGbk("手机").value(), shouji);
    EXPECT_EQ(GbkToUtf16(shouji).value(), u"手机");
    EXPECT_EQ(Utf16ToGbk(u"手机").value(), shouji);
    // 数 is D3 5C in GBK: its trail byte is a backslash and must survive.
    EXPECT_EQ(Utf8ToGbk("数").value(), "\xCA\xFD");
    EXPECT_EQ(Utf8ToGbk("表").value(), "\xB1\xED");
    EXPECT_EQ(GbkToUtf8("\x95\x5C").value(), "昞");
    EXPECT_FALSE(GbkToUtf8("\xCA").has_value()) << "a lead byte alone is not a character";
    EXPECT_FALSE(Utf8ToGbk("😀").has_value());
    EXPECT_EQ(GbkToUtf8Lossy("a\xFF"
                             "b"),
              "a?b");
    EXPECT_EQ(Utf16ToGbkKeepingBytes(u"x😀\uF700"), "x???");
    // Bytes GBK cannot read come back unchanged, a cut character at the end too.
    const std::string notGbk = "a\x80\xE2\x82\xAC\xFF" + shouji + "\xCA";
    EXPECT_EQ(Utf16ToGbkKeepingBytes(GbkToUtf16KeepingBytes(notGbk)), notGbk);
    EXPECT_EQ(GbkToUtf8("").value(), "");
}

// UTF-8 templates travel as GB18030; each system's converter must agree on
// what an unreadable byte becomes.
TEST(Gb18030, CarriesEveryCharacterAndReplacesOneUnreadableByteAtATime) {
    if (!Utf8ToGb18030("a")) GTEST_SKIP() << "the system has no GB18030 converter (wine has none)";
    const struct {
        std::string_view gb18030;
        std::string_view utf8;
    } back[] = {
        {"a\x80"
         "b",
         "a€b"},  // GBK's one-byte euro sign
        {"\xA2\xE3", "€"},
        {"\xFF", "\uFFFD"},
        {"\x81\x30\x81\x30", "\u0080"},
        {"\x90\x30\x81\x30", "𐀀"},
        {"\x81\x30", "\uFFFD0"},                 // a four-byte form cut short
        {"\x81\x7F", "\uFFFD\x7F"},              // no trail byte
        {"\xE3\x32\x9A\x36", "\uFFFD2\uFFFD6"},  // past U+10FFFF
        {"\xA1\xA1\x80\xA1", "\u3000€\uFFFD"},   // a lead byte at the end
        {"", ""},
    };
    for (const auto& c : back) EXPECT_EQ(Gb18030ToUtf8(c.gb18030), c.utf8) << c.gb18030;
    for (std::string_view text : {"手机 €", "😀", "\u0080", ""})
        EXPECT_EQ(Gb18030ToUtf8(Utf8ToGb18030(text).value()), text);
    EXPECT_EQ(Utf8ToGb18030("😀").value(), "\x94\x39\xFC\x36");
    EXPECT_FALSE(Utf8ToGb18030("a\xFF").has_value());
    EXPECT_FALSE(Utf8ToGb18030("\xED\xA0\x80").has_value()) << "a surrogate";
}

}  // namespace
}  // namespace velmora
