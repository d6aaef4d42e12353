#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "runtime/dll_commands.h"
#include "runtime/entry_table.h"
#include "runtime/runtime_state.h"
#include "tests/test_support.h"

namespace velmora {
namespace {

namespace fs = std::filesystem;
using testing::Gbk;
using ::testing::HasSubstr;

// A text length function of the system libraries searched for a bare name.
#ifdef _WIN32
constexpr char kSystemStrlen[] = "lstrlenA";
#else
constexpr char kSystemStrlen[] = "strlen";
#endif

// Two builds of one probe library: ProbeValue answers 1 in the first, 2 in the second.
class DllCommandTest : public ::testing::Test {
  protected:
    void SetUp() override {
        GTEST_FLAG_SET(death_test_style, "threadsafe");
        ResetRuntimeState();
        root_ = fs::temp_directory_path() /
                ("velmora_dll_" + std::to_string(getpid()) + "_" +
                 ::testing::UnitTest::GetInstance()->current_test_info()->name());
        // A death test's child never tears down; a later process may get its id.
        fs::remove_all(root_);
        fs::create_directories(root_ / "first");
        fs::create_directories(root_ / "second");
        fs::copy_file(VELMORA_PROBE_FIRST, root_ / "first" / "velmora_probe.dll");
        fs::copy_file(VELMORA_PROBE_SECOND, root_ / "second" / "velmora_probe.dll");
    }
    void TearDown() override {
        ReleaseDllCommands();
        ResetRuntimeState();
        fs::remove_all(root_);
    }
    // One DLL command; the directory names are GBK like the runtime's own.
    void Declare(const std::string& file, const std::string& function) {
        files_[0] = file.c_str();
        functions_[0] = function.c_str();
        header_.dllCommandCount = 1;
        header_.dllFileNames = files_;
        header_.dllFunctionNames = functions_;
        PrepareDllCommands(header_);
    }
    static std::string Dir(const fs::path& p) { return Utf8ToGbk(p.string()).value(); }
    uint64_t Call(int count = 0, const uint64_t* args = nullptr) {
        return Entries().CallDllCommand(0, count, args);
    }

    fs::path root_;
    ProgramHeader header_{};
    const char* files_[1];
    const char* functions_[1];
};

TEST_F(DllCommandTest, TheProgramDirectoryWinsOverTheSystemSearch) {
    State().programDirectory = Dir(root_ / "first");
    Declare("velmora_probe.dll", "ProbeValue");
    EXPECT_EQ(Call(), 1u);
}

TEST_F(DllCommandTest, AProgramInTheRootFolderSearchesTheRootFolder) {
    State().programNativeDirectory = "/";  // its GBK directory is then empty
    EXPECT_EQ(DllSearchPlaces("p.dll"), (std::vector<std::string>{"\\p.dll", "p.dll"}));
    State().programNativeDirectory = "";  // nobody has located the program
    EXPECT_EQ(DllSearchPlaces("p.dll"), std::vector<std::string>{"p.dll"});
}

TEST_F(DllCommandTest, TheConfiguredDirectoryComesFirst) {
    State().programDirectory = Dir(root_ / "first");
    SetDllSearchDirectory(Dir(root_ / "second"));
    Declare("velmora_probe.dll", "ProbeValue");
    EXPECT_EQ(Call(), 2u);
}

TEST_F(DllCommandTest, TheDirectoryRecordedAtProcessStartIsTriedAfterTheProgramDirectory) {
    State().programDirectory = Dir(root_ / "nowhere");
    State().programDirectoryWithSeparator = Dir(root_ / "second") + "/";
    Declare("velmora_probe.dll", "ProbeValue");
    EXPECT_EQ(Call(), 2u);
}

TEST_F(DllCommandTest, ANameWithItsOwnDirectoryIsLoadedAsGivenWithEitherSeparator) {
    State().programDirectory = Dir(root_ / "first");
    std::string windowsStyle = Dir(root_ / "second");
    for (char& c : windowsStyle)
        if (c == '/') c = '\\';
    Declare(windowsStyle + "\\velmora_probe.dll", "ProbeValue");
    EXPECT_EQ(Call(), 2u);
}

TEST_F(DllCommandTest, ChineseLibraryNamesReachTheDiskAsUtf8) {
    fs::copy_file(VELMORA_PROBE_SECOND, root_ / "first" / u8"皮肤引擎.dll");
    State().programDirectory = Dir(root_ / "first");
    Declare(Gbk("皮肤引擎.dll"), "ProbeValue");
    EXPECT_EQ(Call(), 2u);
}

TEST_F(DllCommandTest, OrdinalsAreTakenModulo65536) {
    State().programDirectory = Dir(root_ / "first");
    Declare("velmora_probe.dll", "#7");
    EXPECT_EQ(Call(), 701u);
    ReleaseDllCommands();
    Declare("velmora_probe.dll", "#65543");
    EXPECT_EQ(Call(), 701u);
}

TEST_F(DllCommandTest, ACommandWithoutALibraryNameIsLookedUpInTheSystemLibraries) {
    Declare("", kSystemStrlen);
    static const char text[] = "abcd";
    const uint64_t args[] = {reinterpret_cast<uintptr_t>(text)};
    EXPECT_EQ(Call(1, args), 4u);
}

TEST_F(DllCommandTest, ResolutionHappensOnceAndKeepsTheModule) {
    State().programDirectory = Dir(root_ / "first");
    Declare("velmora_probe.dll", "ProbeValue");
    void* first = ResolveDllCommand(0);
    EXPECT_NE(State().dllCommands[0].module, nullptr);
    // Even with the name gone, the resolved address stays in use.
    fs::rename(root_ / "first" / "velmora_probe.dll", root_ / "first" / "moved.dll");
    EXPECT_EQ(ResolveDllCommand(0), first);
    EXPECT_EQ(Call(), 1u);
}

TEST_F(DllCommandTest, EightArgumentsArriveInOrderThroughRegistersAndStack) {
    State().programDirectory = Dir(root_ / "first");
    Declare("velmora_probe.dll", "ProbeWeightedSum");
    const uint64_t args[] = {1, 10, 100, 1000, 10000, 100000, 1000000, 10000000};
    EXPECT_EQ(Call(8, args), 1u + 20 + 300 + 4000 + 50000 + 600000 + 7000000 + 80000000);
    const uint64_t negative[] = {uint64_t(-1), 0, 0, 0, 0, 0, 0, uint64_t(-2)};
    EXPECT_EQ(static_cast<int64_t>(Call(8, negative)), -17);
}

TEST_F(DllCommandTest, AMissingExportIsFatalOnlyWhenFirstCalled) {
    State().programDirectory = Dir(root_ / "first");
    Declare("velmora_probe.dll", "NoSuchExport");
    EXPECT_EXIT(
        Call(), ::testing::ExitedWithCode(testing::kExitCodeMinusOne),
        HasSubstr("运行时出错!\n\n错误信息：无法找到指定DLL库文件“velmora_probe.dll”中的输出命令“"
                  "NoSuchExport”\n"));
}

TEST_F(DllCommandTest, AMissingLibraryNamesTheLibraryInTheReport) {
    State().programDirectory = Dir(root_ / "first");
    Declare("absent.dll", "ProbeValue");
    EXPECT_EXIT(Call(), ::testing::ExitedWithCode(testing::kExitCodeMinusOne),
                HasSubstr("无法找到指定DLL库文件“absent.dll”中的输出命令“ProbeValue”"));
}

TEST_F(DllCommandTest, AMissingSystemExportHasTheShortReport) {
    Declare("", "velmora_no_such_function");
    EXPECT_EXIT(
        Call(), ::testing::ExitedWithCode(testing::kExitCodeMinusOne),
        HasSubstr("错误信息：无法找到指定DLL库文件中的输出命令“velmora_no_such_function”\n"));
}

TEST_F(DllCommandTest, AnIndexOutsideTheTableIsFatalNotARead) {
    Declare("velmora_probe.dll", "ProbeValue");
    EXPECT_EXIT(Entries().CallDllCommand(1, 0, nullptr),
                ::testing::ExitedWithCode(testing::kExitCodeMinusOne),
                HasSubstr("无法找到指定DLL库文件中的输出命令“”"));
    EXPECT_EXIT(Entries().CallDllCommand(-1, 0, nullptr),
                ::testing::ExitedWithCode(testing::kExitCodeMinusOne),
                HasSubstr("无法找到指定DLL库文件中的输出命令“”"));
}

TEST_F(DllCommandTest, ACalleeThatPopsItsArgumentsRaisesError6) {
    State().programDirectory = Dir(root_ / "first");
    Declare("velmora_probe.dll", "ProbePopsEight");
    const uint64_t args[] = {1, 2, 3, 4, 5, 6, 7};
    EXPECT_EXIT(Call(7, args), ::testing::ExitedWithCode(testing::kExitCodeMinusOne),
                HasSubstr("错误代码：6\n\n错误信息：调用DLL命令后发现堆栈错误\n"));
}

}  // namespace
}  // namespace velmora
