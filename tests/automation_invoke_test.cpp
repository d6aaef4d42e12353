#include "commands/automation_invoke.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "commands/automation_coerce.h"
#include "commands/automation_commands.h"
#include "commands/automation_object.h"
#include "commands/automation_registry.h"
#include "runtime/constants.h"
#include "runtime/entry_table.h"
#include "runtime/heap.h"
#include "test_support.h"

namespace velmora::commands {
namespace {

using testing::Gbk;

constexpr TypeDescription kText{vt::kString};
constexpr TypeDescription kLong{vt::kI4};
constexpr TypeDescription kAny{vt::kVariant};
constexpr TypeDescription kTextRef{vt::kPointer, &kText};
constexpr TypeDescription kLongRef{vt::kPointer, &kLong};
constexpr TypeDescription kUnknownType{vt::kUnknown};
constexpr TypeDescription kVoid{vt::kVoid};

enum ProbeMember : int32_t {
    kEcho = 1,
    kAdd,
    kCount,
    kSwap,
    kSum,
    kFail,
    kRecord,
    kPlain,
    kTake,
    kSelf
};

MemberDescription Function(std::string name, int32_t id, InvokeKind kind,
                           std::vector<ParamDescription> params, int optional,
                           TypeDescription result) {
    return {std::move(name), id,    MemberDescription::Kind::kFunction, kind, std::move(params),
            optional,        result};
}

const TypeInfo& ProbeInfo() {
    static const TypeInfo info(
        "Probe",
        {
            Function("Echo", kEcho, InvokeKind::kMethod, {{kText}}, 0, kText),
            Function("Add", kAdd, InvokeKind::kMethod,
                     {{kLong}, {kLong, param::kIn | param::kOptional}}, 1, kLong),
            {"Count",
             kCount,
             MemberDescription::Kind::kVariable,
             InvokeKind::kMethod,
             {},
             0,
             kLong},
            Function("Swap", kSwap, InvokeKind::kMethod,
                     {{kTextRef, param::kIn | param::kOut}, {kLongRef, param::kIn | param::kOut}},
                     0, kVoid),
            Function("Sum", kSum, InvokeKind::kMethod, {{kAny}}, -1, kLong),
            Function("Fail", kFail, InvokeKind::kMethod, {}, 0, kVoid),
            Function("Record", kRecord, InvokeKind::kMethod,
                     {{kAny, param::kIn | param::kOptional},
                      {kAny, param::kIn | param::kOptional},
                      {kAny, param::kIn | param::kOptional}},
                     3, kVoid),
            Function("Plain", kPlain, InvokeKind::kMethod, {{kText, param::kIn | param::kOut}}, 0,
                     kVoid),
            Function("Take", kTake, InvokeKind::kMethod, {{kUnknownType}}, 0, kLong),
            Function("Self", kSelf, InvokeKind::kPropertyGet, {}, 0, kUnknownType),
        });
    return info;
}

class Probe : public DescribedObject {
  public:
    static inline int calls = 0;
    static inline std::vector<VarType> recorded;

    const TypeInfo* GetTypeInfo() const override { return &ProbeInfo(); }

  protected:
    Status CallMember(const MemberDescription& m, InvokeKind, std::span<Variant> args,
                      Variant* result) override {
        ++calls;
        switch (m.memberId) {
            case kEcho: {
                std::u16string text(StringView(args[0].string));
                *result = MakeStringVariant(u"<" + text + u">");
                return status::kOk;
            }
            case kAdd:
                *result =
                    MakeI4Variant(args[0].i4 + (IsMissingArgument(args[1]) ? 100 : args[1].i4));
                return status::kOk;
            case kCount:
                *result = MakeI4Variant(count_);
                return status::kOk;
            case kSwap: {
                auto** text = static_cast<char16_t**>(args[0].reference);
                FreeString(*text);
                *text = AllocString(u"\u5df2\u6362");  // 已换
                *static_cast<int32_t*>(args[1].reference) *= 2;
                return status::kOk;
            }
            case kSum: {
                int32_t sum = 0;
                for (const Variant& v : args) {
                    Variant n{};
                    if (ChangeType(&n, v, vt::kI4) == status::kOk) sum += n.i4;
                }
                *result = MakeI4Variant(sum);
                return status::kOk;
            }
            case kFail:
                return status::kFail;
            case kRecord:
                recorded.clear();
                for (const Variant& v : args)
                    recorded.push_back(v.vt == vt::kError ? 0xFFFF : v.vt);
                return status::kOk;
            case kPlain:
                return status::kOk;
            case kTake:
                *result = MakeI4Variant(args[0].unknown == this ? 1 : 0);
                return status::kOk;
            case kSelf:
                AddRef();
                result->vt = vt::kUnknown;
                result->unknown = this;
                return status::kOk;
        }
        return status::kMemberNotFound;
    }

  private:
    int32_t count_ = 5;
};

class Mute : public AutomationObject {};  // no dispatch interface at all

class Undescribed : public DescribedObject {  // dispatch without type information
  public:
    const TypeInfo* GetTypeInfo() const override { return nullptr; }

  protected:
    Status CallMember(const MemberDescription&, InvokeKind, std::span<Variant>, Variant*) override {
        return status::kOk;
    }
};

class Sluggish : public Probe {  // cannot be brought to run
  public:
    bool Run() override { return false; }
};

constexpr char kProbeId[] = "{00000000-0000-0000-0000-0000000000A1}";

class AutomationTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        Classes().Register("Velmora.Probe", kProbeId,
                           []() -> AutomationObject* { return new Probe; });
        Classes().Register("Velmora.Mute", "{00000000-0000-0000-0000-0000000000A2}",
                           []() -> AutomationObject* { return new Mute; });
        Classes().Register("Velmora.Undescribed", "{00000000-0000-0000-0000-0000000000A3}",
                           []() -> AutomationObject* { return new Undescribed; });
        Classes().Register("Velmora.Sluggish", "{00000000-0000-0000-0000-0000000000A4}",
                           []() -> AutomationObject* { return new Sluggish; });
    }

    void SetUp() override {
        ClearConstantRanges();
        RegisterConstantRange(ConstantRegionStart(), ConstantRegionSize());
        before_ = LiveBlockCount();
        object_ = static_cast<ComObjectBlock*>(Allocate(sizeof(ComObjectBlock)));
        std::memset(static_cast<void*>(object_), 0, sizeof(ComObjectBlock));
        Probe::calls = 0;
    }
    void TearDown() override {
        Core(ReleaseObject, {ObjectValue()});
        Free(object_);
        EXPECT_EQ(LiveBlockCount(), before_) << "blocks leaked";
    }

    static ValueRecord Core(CommandRoutine routine, std::vector<ValueRecord> args) {
        return Entries().CallCoreCommand(routine, int(args.size()), args.data());
    }
    ValueRecord ObjectValue() const { return MakePointer(tag::kComObject, object_); }

    bool Create(const char* className) {
        return Core(CreateAutomationObject, {ObjectValue(), MakeTextValue(className)}).Logical();
    }
    int Call(const char* member, std::vector<ValueRecord> args = {}) {
        args.insert(args.begin(), {ObjectValue(), MakeTextValue(member)});
        Core(CallObjectMethod, args);
        return LastAutomationError();
    }
    // Reads a member into a Variant and frees the block; the variant's value is copied out.
    Variant Read(const char* member, std::vector<ValueRecord> args = {}) {
        args.insert(args.begin(), {ObjectValue(), MakeTextValue(member)});
        ValueRecord r = Core(ReadObjectProperty, args);
        EXPECT_EQ(r.tag, tag::kVariant);
        auto* block = static_cast<Variant*>(r.Pointer());
        EXPECT_NE(block, nullptr) << "a read always gives a fresh block";
        Variant copy{};
        VariantCopy(&copy, *block);
        ValueRecord held = MakePointer(tag::kVariant, block);
        Core(ClearVariant, {held});
        Free(block);
        return copy;
    }

    ComObjectBlock* object_ = nullptr;
    long before_ = 0;
};

TEST_F(AutomationTest, CreatesByProgIdInAnyCaseAndByClassId) {
    ASSERT_TRUE(Create("VELMORA.probe"));
    AutomationObject* first = object_->object;
    ASSERT_NE(first, nullptr);
    ASSERT_TRUE(Create("{00000000-0000-0000-0000-0000000000a1}"));
    EXPECT_NE(object_->object, first) << "the old object was released, a new one stored";
    EXPECT_EQ(object_->record, nullptr);
}

TEST_F(AutomationTest, FailedCreationLeavesTheObjectAsItWas) {
    ASSERT_TRUE(Create("Velmora.Probe"));
    AutomationObject* held = object_->object;
    for (const char* name : {"no.such.class", "{not-a-class-id}", "", "Velmora.Sluggish",
                             "{00000000-0000-0000-0000-0000000000FF}"}) {
        EXPECT_FALSE(Create(name)) << name;
        EXPECT_EQ(object_->object, held) << name;
    }
    ValueRecord withLibrary[] = {ObjectValue(), MakeTextValue("Velmora.Probe"),
                                 MakeTextValue("/nowhere/probe.tlb")};
    EXPECT_TRUE(Entries().CallCoreCommand(CreateAutomationObject, 3, withLibrary).Logical())
        << "a type library that cannot be loaded falls back to the class name";
}

TEST_F(AutomationTest, OutcomeCodesOfObjectsThatCannotBeCalled) {
    EXPECT_EQ(Call("Echo", {MakeTextValue("x")}), -1) << "empty ComObject";
    ASSERT_TRUE(Create("Velmora.Mute"));
    EXPECT_EQ(Call("Echo"), -2);
    ASSERT_TRUE(Create("Velmora.Undescribed"));
    EXPECT_EQ(Call("Echo"), -4);
    ASSERT_TRUE(Create("Velmora.Probe"));
    EXPECT_EQ(Call("NoSuchMember"), -3);
    EXPECT_EQ(Call("Fail"), -11) << "the object raised an error";
    EXPECT_EQ(Call("Echo", {MakeTextValue("a"), MakeTextValue("b")}), -5);
    EXPECT_EQ(Call("Echo", {MakeTextValue("x"), Omitted()}), 0) << "trailing omissions drop";
    EXPECT_EQ(Call("Add"), -9) << "a required argument left out";
    EXPECT_EQ(Call("Add", {MakeTextValue("abc")}), -16);
    EXPECT_EQ(Call("Add", {MakeDouble(1e12)}), -14);
    EXPECT_EQ(Call("Add", {MakeInteger(1)}), 0);
    EXPECT_EQ(LastAutomationError(), 0);
}

TEST_F(AutomationTest, ByteSetArgumentFailsWithoutCallingAnything) {
    ASSERT_TRUE(Create("Velmora.Probe"));
    EXPECT_EQ(Call("Record", {MakeByteSetValue(kEmptyByteSet)}), -7);
    EXPECT_EQ(Call("Record", {MakeInteger(1), MakeControlReference(tag::kEditBox, 1, 2)}), -7);
    EXPECT_EQ(Probe::calls, 0);
}

TEST_F(AutomationTest, VariableTakesNoArgumentsWhenRead) {
    ASSERT_TRUE(Create("Velmora.Probe"));
    Variant count = Read("count");
    EXPECT_EQ(count.vt, vt::kI4);
    EXPECT_EQ(count.i4, 5);
    Variant refused = Read("Count", {MakeInteger(1)});
    EXPECT_EQ(LastAutomationError(), -5);
    EXPECT_EQ(refused.vt, vt::kEmpty);
}

TEST_F(AutomationTest, ReadingAnEmptyObjectGivesAnEmptyVariantAndNoBytes) {
    ValueRecord args[] = {ObjectValue(), MakeTextValue("responseBody")};
    ValueRecord r = Entries().CallCoreCommand(ReadObjectProperty, 2, args);
    EXPECT_EQ(LastAutomationError(), -1);
    auto* block = static_cast<Variant*>(r.Pointer());
    ASSERT_NE(block, nullptr);
    EXPECT_EQ(block->vt, vt::kEmpty);
    ValueRecord held = MakePointer(tag::kVariant, block);
    EXPECT_EQ(Core(VariantToByteSet, {held}).Pointer(), nullptr);
    Free(block);
}

TEST_F(AutomationTest, ReadTriesPropertyGetThenMethod) {
    ASSERT_TRUE(Create("Velmora.Probe"));
    Variant echoed = Read("ECHO", {MakeTextValue("hi")});
    EXPECT_EQ(std::u16string(StringView(echoed.string)), u"<hi>");
    VariantClear(&echoed);
    Variant sum = Read("Add", {MakeInteger(2)});
    EXPECT_EQ(sum.i4, 102) << "the omitted optional argument arrives as the missing mark";
}

TEST_F(AutomationTest, TrailingOmittedArgumentsAreDroppedInnerOnesMarked) {
    ASSERT_TRUE(Create("Velmora.Probe"));
    EXPECT_EQ(Call("Record", {Omitted(), MakeInteger(4), Omitted()}), 0);
    EXPECT_EQ(Probe::recorded, (std::vector<VarType>{0xFFFF, vt::kI4, 0xFFFF}));
    EXPECT_EQ(Call("Sum", {MakeInteger(1), Omitted(), Omitted()}), 0)
        << "trailing omissions do not count against a variable list";
}

TEST_F(AutomationTest, VariableArgumentListTakesAnyNumber) {
    ASSERT_TRUE(Create("Velmora.Probe"));
    Variant sum = Read("Sum", {MakeInteger(1), MakeShort(2), MakeInteger(3), MakeInteger(4)});
    EXPECT_EQ(LastAutomationError(), 0);
    EXPECT_EQ(sum.i4, 10);
}

TEST_F(AutomationTest, ByReferenceArgumentsAreWrittenBackAfterSuccess) {
    ASSERT_TRUE(Create("Velmora.Probe"));
    char* text = CopyText("old");
    int32_t number = 21;
    EXPECT_EQ(Call("Swap", {MakePointer(tag::kText | tag::kIndirect, &text),
                            MakePointer(tag::kInteger | tag::kIndirect, &number)}),
              0);
    EXPECT_EQ(std::string(text), Gbk("已换"));
    EXPECT_EQ(number, 42);
    Free(text);

    // By value, the same member changes nothing of the caller's.
    int32_t untouched = 21;
    EXPECT_EQ(Call("Swap", {MakeTextValue("v"), MakeInteger(untouched)}), 0);
    EXPECT_EQ(untouched, 21);
}

TEST_F(AutomationTest, TextByReferenceToAPlainParameterIsNeverWrittenBack) {
    ASSERT_TRUE(Create("Velmora.Probe"));
    char* text = CopyText("keep");
    char* before = text;
    EXPECT_EQ(Call("Plain", {MakePointer(tag::kText | tag::kIndirect, &text)}), 0);
    EXPECT_EQ(text, before);
    EXPECT_STREQ(text, "keep");
    Free(text);
}

TEST_F(AutomationTest, NoWriteBackWhenTheCallFails) {
    ASSERT_TRUE(Create("Velmora.Probe"));
    char* text = CopyText("old");
    int32_t number = 1;
    EXPECT_EQ(Call("Swap", {MakePointer(tag::kText | tag::kIndirect, &text),
                            MakePointer(tag::kInteger | tag::kIndirect, &number), MakeInteger(3)}),
              -5);
    EXPECT_STREQ(text, "old");
    EXPECT_EQ(number, 1);
    Free(text);
}

TEST_F(AutomationTest, ObjectsPassAndReturnWithBalancedReferences) {
    ASSERT_TRUE(Create("Velmora.Probe"));
    Variant refs = Read("Take", {ObjectValue()});
    EXPECT_EQ(refs.i4, 1) << "the object arrives as itself";
    EXPECT_EQ(object_->object->References(), 1) << "the argument's reference was released";

    ValueRecord args[] = {ObjectValue(), MakeTextValue("Self")};
    ValueRecord r = Entries().CallCoreCommand(ReadObjectProperty, 2, args);
    auto* block = static_cast<Variant*>(r.Pointer());
    ASSERT_EQ(block->vt, vt::kUnknown);
    EXPECT_EQ(object_->object->References(), 2);
    ValueRecord held = MakePointer(tag::kVariant, block);
    Core(ClearVariant, {held});
    Free(block);
    EXPECT_EQ(object_->object->References(), 1);
}

TEST_F(AutomationTest, ReleaseEmptiesTheBlockAndKeepsIt) {
    ASSERT_TRUE(Create("Velmora.Probe"));
    Core(ReleaseObject, {ObjectValue()});
    EXPECT_EQ(object_->object, nullptr);
    Core(ReleaseObject, {ObjectValue()});  // releasing twice is harmless
    EXPECT_EQ(Call("Echo", {MakeTextValue("x")}), -1);
}

TEST_F(AutomationTest, VariantToByteSetTakesWholeArraysOrOneElement) {
    auto* block = static_cast<Variant*>(Allocate(sizeof(Variant)));
    *block = MakeByteArrayVariant("ab\0c", 4);
    ValueRecord held = MakePointer(tag::kVariant, block);
    ValueRecord whole = Core(VariantToByteSet, {held});
    ASSERT_EQ(ByteSetLength(whole.Pointer()), 4u);
    EXPECT_EQ(std::memcmp(ByteSetData(whole.Pointer()), "ab\0c", 4), 0);
    Free(whole.Pointer());
    EXPECT_EQ(Core(VariantToByteSet, {held, MakeInteger(2)}).Pointer(), nullptr)
        << "a single byte does not become an array of bytes";

    Core(ClearVariant, {held});
    EXPECT_EQ(block->vt, vt::kEmpty);
    block->vt = vt::kArray | vt::kVariant;
    block->array = CreateArray(vt::kVariant, {{2, 1}});
    *ArrayVariantAt(*block->array, 1) = MakeStringVariant(u"A");
    ValueRecord element = Core(VariantToByteSet, {held, MakeInteger(2)});
    ASSERT_EQ(ByteSetLength(element.Pointer()), 2u) << "a string element gives its UTF-16 bytes";
    Free(element.Pointer());
    EXPECT_EQ(Core(VariantToByteSet, {held, MakeInteger(3)}).Pointer(), nullptr);
    EXPECT_EQ(Core(VariantToByteSet, {held}).Pointer(), nullptr) << "no array of bytes";

    Core(ClearVariant, {held});
    *block = MakeStringVariant(u"hi");
    ValueRecord coerced = Core(VariantToByteSet, {held});
    EXPECT_EQ(ByteSetLength(coerced.Pointer()), 4u);
    Free(coerced.Pointer());
    Core(ClearVariant, {held});
    Free(block);
}

}  // namespace
}  // namespace velmora::commands
