#include "runtime/data_type.h"

#include <gtest/gtest.h>

#include "tests/test_support.h"

namespace velmora {
namespace {

class DataTypeTest : public ::testing::Test {
  protected:
    void TearDown() override { ClearDataTypes(); }
};

TEST_F(DataTypeTest, TypeNumbersArePositionalAndSkipEmptyEntries) {
    DataTypeEntry table[5] = {};
    table[0].englishName = "window";
    table[4].englishName = "EditBox";
    DataTypeEntry other[1] = {};
    other[0].englishName = "HtmlViewer";
    RegisterDataTypes(0, table);
    RegisterDataTypes(1, other);

    EXPECT_EQ(FindDataType(0x00010001), &table[0]);
    EXPECT_EQ(FindDataType(0x00010005), &table[4]);
    EXPECT_EQ(FindDataType(0x00020001), &other[0]);
    EXPECT_EQ(FindDataType(0x00010003), nullptr) << "an unused position";
    EXPECT_EQ(FindDataType(0x00010006), nullptr) << "past the table";
    EXPECT_EQ(FindDataType(0x00010000), nullptr) << "positions count from 1";
    EXPECT_EQ(FindDataType(0x00030004), nullptr) << "a library without a table";
    EXPECT_EQ(FindDataType(0x00000001), nullptr);
}

TEST_F(DataTypeTest, PropertyTablesStartWithTheCommonEight) {
    auto table = WithCommonProperties({{"x", "caption", nullptr, kKindText, 0}});
    ASSERT_EQ(table.size(), 9u);
    const char* names[] = {"left",    "top",     "width",        "height", "tag",
                           "visible", "disable", "MousePointer", "caption"};
    for (size_t i = 0; i < table.size(); ++i) EXPECT_STREQ(table[i].englishName, names[i]);
    for (int i = 0; i < kCommonPropertyCount; ++i)
        EXPECT_EQ(table[i].kindAndFlags & kPropertyCommon, kPropertyCommon) << i;
    EXPECT_EQ(table[8].kindAndFlags & kPropertyCommon, 0u);
    EXPECT_EQ(table[kPropertyTag].Kind(), kKindText);
    EXPECT_EQ(table[kPropertyMousePointer].Kind(), kKindCursor);
    EXPECT_EQ(std::string(table[kPropertyVisible].name), testing::Gbk("可视"));
}

bool created = false;
QWidget* CreateNothing(const CreateRequest&) {
    created = true;
    return nullptr;
}
InterfaceRoutine Interface(int request) {
    return request == kRequestCreate ? reinterpret_cast<InterfaceRoutine>(CreateNothing) : nullptr;
}

TEST_F(DataTypeTest, InterfaceRoutineAnswersPerRequest) {
    DataTypeEntry type;
    type.englishName = "Probe";
    type.interface = Interface;
    auto create = TypeRoutine<CreateRoutine>(type, kRequestCreate);
    ASSERT_NE(create, nullptr);
    EXPECT_EQ(create(CreateRequest{}), nullptr);
    EXPECT_TRUE(created);
    EXPECT_EQ(TypeRoutine<SetPropertyRoutine>(type, kRequestSetProperty), nullptr);
    type.interface = nullptr;
    EXPECT_EQ(TypeRoutine<CreateRoutine>(type, kRequestCreate), nullptr);

    type.flags = typeflag::kRaisesEventsToo;
    EXPECT_TRUE(type.RaisesEvents());
    type.flags = typeflag::kContainer | typeflag::kPaged;
    EXPECT_FALSE(type.RaisesEvents());
}

}  // namespace
}  // namespace velmora
