// The runtime's file side on the system it runs on: replacing, attributes and
// the file search, through native paths of the platform's own kind.
#include <gtest/gtest.h>

#include <chrono>
#include <ctime>
#include <filesystem>
#include <set>
#include <string>
#include <string_view>

#include "runtime/file_attributes.h"
#include "runtime/file_replace.h"
#include "runtime/file_search.h"
#include "runtime/file_time.h"
#include "runtime/heap.h"
#include "tests/test_support.h"

namespace velmora {
namespace {

namespace fs = std::filesystem;
using testing::Gbk;
using testing::ReadFile;

class NativeFilesTest : public ::testing::Test {
  protected:
    void SetUp() override {
        root_ = fs::temp_directory_path() /
                ("velmora_native_" +
                 std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(root_);
        fs::create_directories(root_);
    }
    void TearDown() override {
        WriteFileAttributes(Native("a.htm"), 0);
        fs::remove_all(root_);
    }
    // UTF-8 with '/', as the runtime names files on every system.
    std::string Native(std::string_view name) const {
        std::u8string path =
            (root_ / fs::path(std::u8string(name.begin(), name.end()))).generic_u8string();
        return {path.begin(), path.end()};
    }
    bool Replace(std::string_view bytes) {
        const std::string_view parts[] = {bytes.substr(0, 1), bytes.substr(1)};
        return ReplaceFileContents(Native("a.htm"), parts, LinkAtName::kFollow);
    }

    fs::path root_;
};

TEST_F(NativeFilesTest, ReplacingKeepsAttributesRefusesReadOnlyAndLeavesNothingBehind) {
    ASSERT_TRUE(Replace("xy"));
    ASSERT_TRUE(WriteFileAttributes(Native("a.htm"), attribute::kHidden | attribute::kSystem));
    ASSERT_TRUE(Replace("new"));
    EXPECT_EQ(ReadFile(root_ / "a.htm"), "new");
    // Windows marks every written file for archiving; the rest must stay.
    EXPECT_EQ(ReadFileAttributes(Native("a.htm")).value() & ~attribute::kArchive,
              attribute::kHidden | attribute::kSystem);

    ASSERT_TRUE(WriteFileAttributes(Native("a.htm"), attribute::kReadOnly));
    EXPECT_FALSE(Replace("lost"));
    EXPECT_EQ(ReadFile(root_ / "a.htm"), "new");
    EXPECT_FALSE(ReplaceFileContents(Native(""), {}, LinkAtName::kFollow)) << "a folder";
    EXPECT_EQ(std::distance(fs::directory_iterator(root_), {}), 1) << "a sibling was left";
}

TEST_F(NativeFilesTest, TheSearchFindsMatchingNamesAsGbk) {
    for (const char* name : {"b.txt", "手机.txt", "c.htm"}) {
        const std::string_view parts[] = {name};
        ASSERT_TRUE(ReplaceFileContents(Native(name), parts, LinkAtName::kFollow)) << name;
    }
    std::set<std::string> found;
    uintptr_t handle = 0;
    const std::string pattern = Gbk(Native("*.TXT").c_str());
    for (char* name = FindFile(pattern.c_str(), 0, true, &handle); name;
         name = FindFile(nullptr, 0, true, &handle)) {
        found.insert(name);
        Free(name);
    }
    EXPECT_EQ(found, (std::set<std::string>{"b.txt", Gbk("手机.txt")}));
    EXPECT_EQ(handle, 0u);
}

// Pages written within one second still sort by their times: the system's
// fractions of a second are kept, counted from 1970 on every system.
TEST_F(NativeFilesTest, LastWriteTimesKeepFractionsOfASecond) {
    const std::string_view parts[] = {"x"};
    std::chrono::nanoseconds fractions{0};
    for (const char* name : {"a.htm", "b.htm"}) {
        ASSERT_TRUE(ReplaceFileContents(Native(name), parts, LinkAtName::kFollow));
        std::optional<std::chrono::nanoseconds> time = LastWriteTime(Native(name));
        ASSERT_TRUE(time) << name;
        fractions += *time % std::chrono::seconds(1);
        const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(*time).count();
        EXPECT_LE(std::abs(seconds - std::time(nullptr)), 5) << name;
    }
    EXPECT_NE(fractions.count(), 0) << "whole seconds only";
    EXPECT_FALSE(LastWriteTime(Native("missing.htm")));
}

}  // namespace
}  // namespace velmora
