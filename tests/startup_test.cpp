#include "runtime/startup.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "commands/core_library.h"
#include "runtime/constants.h"
#include "runtime/heap.h"
#include "runtime/program_location.h"
#include "runtime/runtime_host.h"
#include "runtime/runtime_link.h"
#include "runtime/runtime_service.h"
#include "runtime/shutdown.h"
#include "runtime/window_layer.h"
#include "tests/test_support.h"

namespace velmora {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;

std::vector<std::string> events;

class RecordingWindows : public WindowLayer {
  public:
    bool readSucceeds = true;
    bool ReadDescriptions(const void* block, size_t size) override {
        events.push_back("read " + std::to_string(size) + (block ? "" : " null"));
        return readSucceeds;
    }
    void RelocateHandlers(const void* base) override {
        events.push_back(base == kHandlerBase ? "relocate" : "relocate elsewhere");
    }
    void RegisterWindows() override { events.push_back("register"); }
    bool LoadWindow(uint32_t) override { return false; }
    bool AnyWindowAlive() const override { return false; }
    void DestroyAllWindows() override { events.push_back("destroy windows"); }
    static constexpr char kHandlerBase[] = "handlers";
};

template <int index>
intptr_t RecordingLibrary(int code, uintptr_t word1, uintptr_t) {
    if (code == kLibraryStart)
        events.push_back("library " + std::to_string(index) + " start" +
                         (word1 == reinterpret_cast<uintptr_t>(&RuntimeNotify) ? "" : " wrong"));
    else
        events.push_back("library " + std::to_string(index) + " request " + std::to_string(code) +
                         " word " + std::to_string(word1));
    return 0;
}

const LibraryRecord kFirstLibrary{.name = "first", .flags = 0, .notify = RecordingLibrary<0>};
const LibraryRecord kSilentLibrary{.name = "silent", .flags = 0};
const LibraryRecord kThirdLibrary{.name = "third", .flags = 0, .notify = RecordingLibrary<2>};
const LibraryRecord* const kLibraries[] = {&kFirstLibrary, &kSilentLibrary, &kThirdLibrary};

const char* const kDllFiles[] = {"one.dll", ""};
const char* const kDllFunctions[] = {"First", "#3"};

const uint8_t kWindowBlock[] = {1, 0, 0, 0};
char notConstant[16];

ProgramHeader TestHeader() {
    return ProgramHeader{
        .buildKind = 3,
        .reserved = 9,
        .programValue = 0x13368,
        .handlerBase = RecordingWindows::kHandlerBase,
        .constantRegion = ConstantRegionStart(),
        .constantRegionSize = ConstantRegionSize(),
        .windowBlock = nullptr,
        .windowBlockSize = 0,
        .libraryCount = 3,
        .libraries = kLibraries,
        .dllCommandCount = 2,
        .dllFileNames = kDllFiles,
        .dllFunctionNames = kDllFunctions,
    };
}

class StartupTest : public ::testing::Test {
  protected:
    void SetUp() override {
        GTEST_FLAG_SET(death_test_style, "threadsafe");
        ResetRuntimeState();
        ClearConstantRanges();
        events.clear();
        header_ = TestHeader();
    }
    void TearDown() override {
        ResetRuntimeState();
        ClearConstantRanges();
    }
    void Start(WindowLayer* windows = nullptr) {
        BeginProgram(header_, nullptr, windows);
        Entries().RuntimeService(kServiceInitialise, 0, nullptr);
    }
    ProgramHeader header_;
};

TEST_F(StartupTest, InitialisationCopiesTheHeaderAndPreparesUnresolvedDllCommands) {
    Start();
    const RuntimeState& state = State();
    EXPECT_TRUE(state.initialised);
    EXPECT_EQ(state.buildKind, 3u);
    EXPECT_EQ(state.reserved, 9u);
    EXPECT_EQ(state.programValuePlusOne, 0x13369u);
    EXPECT_EQ(state.mainThread, std::this_thread::get_id());
    EXPECT_EQ(state.programDirectory, ProgramLocation().directory);
    EXPECT_EQ(state.programDirectoryWithSeparator, ProgramLocation().directory + "/");
    ASSERT_EQ(state.dllCommands.size(), 2u);
    EXPECT_EQ(state.dllCommands[0].fileName, "one.dll");
    EXPECT_EQ(state.dllCommands[0].functionName, "First");
    EXPECT_EQ(state.dllCommands[1].fileName, "");
    EXPECT_EQ(state.dllCommands[1].functionName, "#3");
    EXPECT_EQ(state.dllCommands[1].address, nullptr);
    EXPECT_EQ(state.dllCommands[1].module, nullptr);
}

TEST_F(StartupTest, TheProgramDirectoryBecomesTheCurrentDirectory) {
    Start();
    char cwd[4096];
    ASSERT_NE(getcwd(cwd, sizeof cwd), nullptr);
    EXPECT_EQ(Utf8ToGbk(cwd).value(), ProgramLocation().directory);
}

TEST_F(StartupTest, TheConstantRegionIsRegisteredOnlyWhenItHasASize) {
    Start();
    EXPECT_TRUE(IsConstant(kEmptyText));

    ResetRuntimeState();
    ClearConstantRanges();
    header_.constantRegion = notConstant;
    header_.constantRegionSize = 0;
    Start();
    EXPECT_FALSE(IsConstant(notConstant));
    EXPECT_FALSE(IsConstant(kEmptyText));
}

TEST_F(StartupTest, LibrariesWithARoutineAreStartedInOrderAndTheirDataWordsZeroed) {
    Start();
    EXPECT_THAT(events, ElementsAre("library 0 start", "library 2 start"));
    EXPECT_THAT(State().libraryData, ElementsAre(0u, 0u, 0u));
}

TEST_F(StartupTest, ALibraryKeepsTheRuntimesEntryAndCallsBackThroughIt) {
    const LibraryRecord* const core[] = {&commands::CoreLibrary()};
    header_.libraryCount = 1;
    header_.libraries = core;
    long before = LiveBlockCount();
    commands::CoreLibrary().notify(kLibraryEnding, 0, 0);  // as an earlier program left it
    ASSERT_FALSE(RuntimeReachable());
    Start();
    ASSERT_TRUE(RuntimeReachable());
    intptr_t block = CallRuntime(kNotifyAllocate, 32, 1);
    EXPECT_NE(block, 0);
    EXPECT_EQ(LiveBlockCount(), before + 1);
    CallRuntime(kNotifyFree, static_cast<uintptr_t>(block));
    EXPECT_EQ(LiveBlockCount(), before);
}

TEST_F(StartupTest, WindowDescriptionsAreReadThenRelocatedThenRegistered) {
    RecordingWindows windows;
    header_.libraryCount = 0;
    header_.windowBlock = kWindowBlock;
    header_.windowBlockSize = sizeof kWindowBlock;
    Start(&windows);
    EXPECT_THAT(events, ElementsAre("read 4", "relocate", "register"));
}

TEST_F(StartupTest, AnEmptyWindowBlockIsNotRead) {
    RecordingWindows windows;
    header_.libraryCount = 0;
    header_.windowBlock = kWindowBlock;
    Start(&windows);
    EXPECT_THAT(events, ElementsAre("relocate", "register"));
}

TEST_F(StartupTest, AnUnreadableWindowBlockIsFatal) {
    RecordingWindows windows;
    windows.readSucceeds = false;
    header_.windowBlock = kWindowBlock;
    header_.windowBlockSize = sizeof kWindowBlock;
    EXPECT_EXIT(Start(&windows), ::testing::ExitedWithCode(255),
                HasSubstr("错误信息：载入窗口模板数据段出错!\n"));
    // Without any window layer the block cannot be read either.
    EXPECT_EXIT(Start(nullptr), ::testing::ExitedWithCode(255),
                HasSubstr("载入窗口模板数据段出错!"));
}

TEST_F(StartupTest, LoadingAWindowNobodyDescribedIsFatal) {
    RecordingWindows windows;
    Start(&windows);
    EXPECT_EXIT(Entries().LoadWindow(0x52010001), ::testing::ExitedWithCode(255),
                HasSubstr("运行时出错!\n\n错误信息：载入启动窗口失败\n"));
}

void RecordEndRoutine() {
    events.push_back("end routine");
}

TEST_F(StartupTest, ShutdownRunsItsStepsInOrderAndOnlyOnce) {
    RecordingWindows windows;
    Start(&windows);
    const uint64_t routine = reinterpret_cast<uintptr_t>(&RecordEndRoutine);
    Entries().RuntimeService(kServiceSetEndRoutine, 1, &routine);
    State().libraryData[0] = 7;
    State().libraryData[2] = 8;
    events.clear();

    Shutdown(0);
    EXPECT_THAT(events, ElementsAre("destroy windows", "end routine", "library 0 request 6 word 7",
                                    "library 2 request 6 word 8"));
    EXPECT_GE(State().eventSuppression.load(), 1);
    EXPECT_TRUE(State().dllCommands.empty());

    events.clear();
    Shutdown(0);
    EXPECT_TRUE(events.empty());
}

TEST_F(StartupTest, ExitProgramEndsTheProcessWithItsCodeAfterTheEndRoutine) {
    Start();
    SetEndRoutine([] { std::fputs("end routine ran\n", stderr); });
    EXPECT_EXIT(Entries().ExitProgram(3), ::testing::ExitedWithCode(3),
                HasSubstr("end routine ran"));
}

TEST_F(StartupTest, ExitFromAnotherThreadWithoutAHostStillEndsTheProcess) {
    Start();
    SetEndRoutine([] { std::fputs("end routine ran\n", stderr); });
    EXPECT_EXIT(std::thread([] { Entries().ExitProgram(4); }).join(), ::testing::ExitedWithCode(4),
                ::testing::Not(HasSubstr("end routine ran")));
}

// A host whose loop only counts its runs.
class CountingHost : public RuntimeHost {
  public:
    int loops = 0;
    void CreateHiddenWindow() override {}
    void DestroyHiddenWindow() override {}
    void ForwardExit(int) override {}
    void ShowErrorDialog(const std::string&) override {}
    void RunMessageLoop() override { ++loops; }
    void QuitMessageLoop() override {}
    void ClearIdleCallbacks() override {}
};

TEST_F(StartupTest, TheLoopReturnsAtOnceWhenNoWindowLives) {
    struct Windows : RecordingWindows {
        bool alive = false;
        bool AnyWindowAlive() const override { return alive; }
    } windows;
    CountingHost host;
    Start(&windows);
    State().host = &host;
    Entries().RunMessageLoop();
    EXPECT_TRUE(State().messageLoopStarted);
    EXPECT_EQ(host.loops, 0) << "no window lives: the host's loop is not entered";
    windows.alive = true;
    Entries().RunMessageLoop();
    EXPECT_EQ(host.loops, 1);
    State().host = nullptr;
}

TEST(EnterProgramDirectoryTest, OnlyAPathWithAFolderChangesTheCurrentDirectory) {
    const std::filesystem::path before = std::filesystem::current_path();
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / ("velmora_enter_" + std::to_string(getpid()));
    std::filesystem::create_directories(folder);
    EnterProgramDirectory(LocateProgram("velmora"));
    EXPECT_EQ(std::filesystem::current_path(), before) << "no separator, no change";
    EnterProgramDirectory(LocateProgram((folder / "velmora").string()));
    EXPECT_EQ(std::filesystem::current_path(), folder);
    std::filesystem::current_path(before);
    std::filesystem::remove_all(folder);
}

struct SplitCase {
    const char* path;
    const char* directory;
    const char* fileName;
    const char* nativeDirectory;
};

void PrintTo(const SplitCase& c, std::ostream* os) {
    *os << c.path;
}

class SplitProgramPathTest : public ::testing::TestWithParam<SplitCase> {};

TEST_P(SplitProgramPathTest, CutsAtTheLastSeparator) {
    ProgramFile p = LocateProgram(GetParam().path);
    EXPECT_EQ(p.directory, testing::Gbk(GetParam().directory));
    EXPECT_EQ(p.fileName, testing::Gbk(GetParam().fileName));
    EXPECT_EQ(p.nativeDirectory, GetParam().nativeDirectory);
}

INSTANTIATE_TEST_SUITE_P(
    Paths, SplitProgramPathTest,
    ::testing::Values(SplitCase{"/opt/velmora/velmora", "/opt/velmora", "velmora", "/opt/velmora"},
                      SplitCase{"velmora", "", "velmora", ""},
                      SplitCase{"/velmora", "", "velmora", "/"},
                      SplitCase{"/home/运營/工具/采集器", "/home/运營/工具", "采集器",
                                "/home/运營/工具"},
                      // GBK has no Hangul syllables: the folder is "." once start-up entered it.
                      SplitCase{"/opt/프로그램/v", ".", "v", "/opt/프로그램"},
                      SplitCase{"/opt/", "/opt", "", "/opt"}));

}  // namespace
}  // namespace velmora
