#include "commands/automation_variant.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "commands/automation_coerce.h"
#include "commands/automation_invoke.h"
#include "commands/automation_type_info.h"
#include "runtime/heap.h"
#include "test_support.h"

namespace velmora::commands {
namespace {

using testing::Gbk;

class VariantTest : public ::testing::Test {
  protected:
    void SetUp() override { before_ = LiveBlockCount(); }
    void TearDown() override { EXPECT_EQ(LiveBlockCount(), before_) << "blocks leaked"; }
    long before_ = 0;
};

Variant Real(double d) {
    Variant v{};
    v.vt = vt::kR8;
    v.r8 = d;
    return v;
}

struct NumericCase {
    const char* name;
    Variant source;
    VarType target;
    Status expected;
    int64_t value;  // read back through an I8 coercion when expected is kOk
};

class NumericCoercion : public VariantTest, public ::testing::WithParamInterface<NumericCase> {};

TEST_P(NumericCoercion, ConvertsOrRefuses) {
    const NumericCase& c = GetParam();
    Variant source = c.source;
    Variant out{};
    ASSERT_EQ(ChangeType(&out, source, c.target), c.expected);
    if (c.expected == status::kOk) {
        EXPECT_EQ(out.vt, c.target);
        Variant wide{};
        ASSERT_EQ(ChangeType(&wide, out, vt::kI8), status::kOk);
        EXPECT_EQ(wide.i8, c.value);
    } else {
        EXPECT_EQ(out.vt, vt::kEmpty) << "a failed coercion leaves the destination alone";
    }
    VariantClear(&out);
}

INSTANTIATE_TEST_SUITE_P(
    Table, NumericCoercion,
    ::testing::Values(
        NumericCase{"HalfRoundsToEven", Real(2.5), vt::kI4, status::kOk, 2},
        NumericCase{"OtherHalfRoundsUp", Real(3.5), vt::kI4, status::kOk, 4},
        NumericCase{"ByteOverflow", MakeI4Variant(256), vt::kUI1, status::kOverflow, 0},
        NumericCase{"NegativeToByte", MakeI4Variant(-1), vt::kUI1, status::kOverflow, 0},
        NumericCase{"ShortEdge", MakeI4Variant(-32768), vt::kI2, status::kOk, -32768},
        NumericCase{"ShortOverflow", MakeI4Variant(32768), vt::kI2, status::kOverflow, 0},
        NumericCase{"HugeRealToI4", Real(1e10), vt::kI4, status::kOverflow, 0},
        NumericCase{"NotANumberToI4", Real(NAN), vt::kI4, status::kOverflow, 0},
        NumericCase{"TrueIsMinusOne", MakeBoolVariant(true), vt::kI4, status::kOk, -1},
        NumericCase{"NumberToLogical", MakeI4Variant(7), vt::kBool, status::kOk, -1},
        NumericCase{"EmptyIsZero", EmptyVariant(), vt::kI2, status::kOk, 0},
        NumericCase{"ErrorIsNoNumber", MakeMissingArgument(), vt::kI4, status::kTypeMismatch, 0}),
    [](const auto& info) { return std::string(info.param.name); });

struct TextCase {
    const char16_t* text;
    VarType target;
    Status expected;
    int64_t value;
};

class TextCoercion : public VariantTest, public ::testing::WithParamInterface<TextCase> {};

TEST_P(TextCoercion, ParsesNumbersAndLogicals) {
    const TextCase& c = GetParam();
    Variant text = MakeStringVariant(c.text);
    Variant out{};
    ASSERT_EQ(ChangeType(&out, text, c.target), c.expected);
    if (c.expected == status::kOk) {
        Variant wide{};
        ASSERT_EQ(ChangeType(&wide, out, vt::kI8), status::kOk);
        EXPECT_EQ(wide.i8, c.value);
    }
    VariantClear(&out);
    VariantClear(&text);
}

INSTANTIATE_TEST_SUITE_P(Table, TextCoercion,
                         ::testing::Values(TextCase{u" 42 ", vt::kI4, status::kOk, 42},
                                           TextCase{u"-7", vt::kI2, status::kOk, -7},
                                           TextCase{u"2.5", vt::kI4, status::kOk, 2},
                                           TextCase{u"300", vt::kUI1, status::kOverflow, 0},
                                           TextCase{u"12abc", vt::kI4, status::kTypeMismatch, 0},
                                           TextCase{u"", vt::kI4, status::kTypeMismatch, 0},
                                           TextCase{u"\u624b", vt::kI4, status::kTypeMismatch, 0},
                                           TextCase{u"TRUE", vt::kBool, status::kOk, -1},
                                           TextCase{u"false", vt::kBool, status::kOk, 0},
                                           TextCase{u"true", vt::kI4, status::kTypeMismatch, 0}));

TEST_F(VariantTest, NumbersAndLogicalsBecomeText) {
    struct {
        Variant source;
        std::u16string text;
    } cases[] = {{MakeI4Variant(-12), u"-12"},
                 {Real(0.1), u"0.1"},
                 {MakeBoolVariant(true), u"-1"},
                 {MakeBoolVariant(false), u"0"},
                 {EmptyVariant(), u""}};
    for (auto& c : cases) {
        Variant out{};
        ASSERT_EQ(ChangeType(&out, c.source, vt::kString), status::kOk);
        EXPECT_EQ(std::u16string(StringView(out.string)), c.text);
        VariantClear(&out);
    }
}

TEST_F(VariantTest, StringAndByteArrayConvertThroughUtf16Bytes) {
    Variant text = MakeStringVariant(u"AB");
    Variant bytes{};
    ASSERT_EQ(ChangeType(&bytes, text, vt::kArray | vt::kUI1), status::kOk);
    ASSERT_EQ(ArrayElementCount(*bytes.array), 4u);
    EXPECT_EQ(bytes.array->storage, (std::vector<uint8_t>{'A', 0, 'B', 0}));
    Variant back{};
    ASSERT_EQ(ChangeType(&back, bytes, vt::kString), status::kOk);
    EXPECT_EQ(std::u16string(StringView(back.string)), u"AB");
    Variant number = MakeI4Variant(5);
    Variant refused{};
    EXPECT_EQ(ChangeType(&refused, number, vt::kArray | vt::kUI1), status::kTypeMismatch);
    for (Variant* v : {&text, &bytes, &back}) VariantClear(v);
}

TEST_F(VariantTest, CoercionInPlaceAndThroughAReference) {
    Variant v = MakeStringVariant(u"17");
    ASSERT_EQ(ChangeType(&v, v, vt::kI4), status::kOk);
    EXPECT_EQ(v.vt, vt::kI4);
    EXPECT_EQ(v.i4, 17);

    int16_t target = 99;
    Variant ref{};
    ref.vt = vt::kByRef | vt::kI2;
    ref.reference = &target;
    Variant out{};
    ASSERT_EQ(ChangeType(&out, ref, vt::kString), status::kOk);
    EXPECT_EQ(std::u16string(StringView(out.string)), u"99");
    VariantClear(&out);
}

TEST_F(VariantTest, CopiesAreDeepAndClearingFreesThem) {
    Variant original = MakeByteArrayVariant("xyz", 3);
    Variant copy{};
    VariantCopy(&copy, original);
    ASSERT_NE(copy.array, original.array);
    copy.array->storage[0] = 'Q';
    EXPECT_EQ(original.array->storage[0], 'x');

    Variant list{};
    list.vt = vt::kArray | vt::kVariant;
    list.array = CreateArray(vt::kVariant, {{2, 0}});
    *ArrayVariantAt(*list.array, 1) = MakeStringVariant(u"inner");
    Variant listCopy{};
    VariantCopy(&listCopy, list);
    EXPECT_NE(ArrayVariantAt(*listCopy.array, 1)->string, ArrayVariantAt(*list.array, 1)->string);
    for (Variant* v : {&original, &copy, &list, &listCopy}) VariantClear(v);
}

TEST_F(VariantTest, DeclaredTypesReduceToVariantTypes) {
    static constexpr TypeDescription kLong{vt::kI4};
    static constexpr TypeDescription kText{vt::kString};
    static constexpr TypeDescription kEnum{vt::kUserDefined, nullptr, UserType::kEnumeration};
    static constexpr TypeDescription kAliasOfText{vt::kUserDefined, &kText, UserType::kAlias};
    struct {
        TypeDescription type;
        VarType expected;
    } cases[] = {
        {{vt::kInt}, vt::kI4},
        {{vt::kUInt}, vt::kUI4},
        {{vt::kPointer, &kLong}, vt::kByRef | vt::kI4},
        {{vt::kSafeArray, &kText}, vt::kArray | vt::kString},
        {{vt::kPointer, &kEnum}, vt::kByRef | vt::kI4},
        {{vt::kUserDefined, nullptr, UserType::kDispatchInterface}, vt::kDispatch},
        {kAliasOfText, vt::kString},
        {{vt::kUserDefined, nullptr, UserType::kOther}, vt::kUnknown},
    };
    for (const auto& c : cases) EXPECT_EQ(ReduceToVarType(c.type), c.expected);
}

// The argument table: each runtime type as the variant a parameter receives.
TEST_F(VariantTest, RuntimeValuesBecomeVariants) {
    struct {
        ValueRecord value;
        VarType vt;
        int64_t asInteger;
    } cases[] = {
        {MakeLogical(true), vt::kBool, -1},    {MakeByte(200), vt::kUI1, 200},
        {MakeShort(-5), vt::kI2, -5},          {MakeInteger(-70000), vt::kI4, -70000},
        {MakeLong(0x100000007LL), vt::kI4, 7}, {MakeDouble(2.0), vt::kR8, 2},
        {MakeFloat(3.0f), vt::kR4, 3},         {MakeDateTime(1.0), vt::kDate, 1},
    };
    for (const auto& c : cases) {
        Variant v{};
        ASSERT_EQ(ArgumentToVariant(c.value, vt::kVariant, &v), 0);
        EXPECT_EQ(v.vt, c.vt);
        Variant wide{};
        ASSERT_EQ(ChangeType(&wide, v, vt::kI8), status::kOk);
        EXPECT_EQ(wide.i8, c.asInteger);
    }
    Variant missing{};
    ASSERT_EQ(ArgumentToVariant(Omitted(), vt::kString, &missing), 0);
    EXPECT_EQ(missing.vt, vt::kError);
    EXPECT_EQ(missing.error, status::kParamNotFound);

    uint32_t byteSet[3] = {1, 4, 0};
    Variant refused{};
    EXPECT_EQ(ArgumentToVariant(MakeByteSetValue(byteSet), vt::kVariant, &refused), -7);
    EXPECT_EQ(ArgumentToVariant(MakeControlReference(tag::kEditBox, 1, 2), vt::kVariant, &refused),
              -7);
}

TEST_F(VariantTest, TextsTravelAsUtf16AndComeBackAsGbk) {
    std::string phone = Gbk("手机 case");
    Variant v{};
    ASSERT_EQ(ArgumentToVariant(MakeTextValue(phone.c_str()), vt::kString, &v), 0);
    EXPECT_EQ(std::u16string(StringView(v.string)), u"\u624b\u673a case");
    uint64_t bits = 0;
    ASSERT_TRUE(VariantToRuntime(v, tag::kText, &bits));
    auto* text = reinterpret_cast<char*>(uintptr_t(bits));
    EXPECT_EQ(std::string(text), phone);
    Free(text);
    VariantClear(&v);

    Variant empty{};
    ASSERT_EQ(ArgumentToVariant(MakeTextValue(""), vt::kString, &empty), 0);
    EXPECT_EQ(empty.vt, vt::kString);
    EXPECT_EQ(empty.string, nullptr) << "the empty text is a null string";
    ASSERT_TRUE(VariantToRuntime(empty, tag::kText, &bits));
    EXPECT_EQ(bits, 0u) << "and comes back as the empty text, not a block";
}

// The result table: the variant coerced to the wanted runtime type.
TEST_F(VariantTest, VariantsBecomeRuntimeValues) {
    uint64_t bits = 0;
    ASSERT_TRUE(VariantToRuntime(MakeI4Variant(-2), tag::kLong, &bits));
    EXPECT_EQ(int64_t(bits), -2) << "a long is the I4 sign-extended";
    ASSERT_TRUE(VariantToRuntime(MakeBoolVariant(true), tag::kLogical, &bits));
    EXPECT_EQ(bits, 1u);
    ASSERT_TRUE(VariantToRuntime(MakeI4Variant(-1), tag::kShort, &bits));
    EXPECT_EQ(bits, 0xFFFFu);
    EXPECT_FALSE(VariantToRuntime(MakeI4Variant(300), tag::kByte, &bits));
    EXPECT_FALSE(VariantToRuntime(MakeI4Variant(1), tag::kByteSet, &bits));
    EXPECT_FALSE(VariantToRuntime(MakeMissingArgument(), tag::kInteger, &bits));

    Variant text = MakeStringVariant(u"x");
    ASSERT_TRUE(VariantToRuntime(text, tag::kVariant, &bits));
    auto* block = reinterpret_cast<Variant*>(uintptr_t(bits));
    EXPECT_EQ(block->vt, vt::kString) << "a wanted Variant is a copy, not coerced";
    EXPECT_NE(block->string, text.string);
    VariantClear(block);
    Free(block);
    VariantClear(&text);
}

}  // namespace
}  // namespace velmora::commands
