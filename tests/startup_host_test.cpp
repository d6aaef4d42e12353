// Runs the start-up host program as a child and checks its exit code and
// its standard streams.
#include <fcntl.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "tests/test_support.h"

namespace {

namespace fs = std::filesystem;
using ::testing::HasSubstr;
using ::testing::Not;
using velmora::testing::ReadFile;

struct Outcome {
    int exitCode = -1000;
    std::string out;
    std::string err;
};

class StartupHostTest : public ::testing::Test {
  protected:
    void SetUp() override {
        root_ = fs::temp_directory_path() /
                ("velmora_host_" + std::to_string(getpid()) + "_" +
                 ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(root_);
    }
    void TearDown() override { fs::remove_all(root_); }

    Outcome Run(const fs::path& program, std::vector<std::string> args,
                const std::string& libraryPath = "") {
        fs::path out = root_ / "stdout", err = root_ / "stderr";
        pid_t child = fork();
        if (child == 0) {
            dup2(open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600), 1);
            dup2(open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600), 2);
            setenv("QT_QPA_PLATFORM", "offscreen", 1);
            if (!libraryPath.empty()) setenv("LD_LIBRARY_PATH", libraryPath.c_str(), 1);
            alarm(60);  // a hung loop fails the test instead of the whole run
            std::vector<char*> argv{const_cast<char*>(program.c_str())};
            for (std::string& a : args) argv.push_back(a.data());
            argv.push_back(nullptr);
            execv(program.c_str(), argv.data());
            _exit(127);
        }
        int status = 0;
        waitpid(child, &status, 0);
        Outcome outcome;
        outcome.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -WTERMSIG(status);
        outcome.out = ReadFile(out);
        outcome.err = ReadFile(err);
        return outcome;
    }
    Outcome Run(std::vector<std::string> args) { return Run(VELMORA_STARTUP_HOST, args); }

    fs::path root_;
};

TEST_F(StartupHostTest, ClosingTheWindowEndsWithCodeZeroAfterTheEndRoutineRanOnce) {
    Outcome o = Run({"close"});
    EXPECT_EQ(o.exitCode, 0) << o.err;
    EXPECT_EQ(o.out,
              "loop returned\n"
              "end routine 1 on the main thread\n"
              "idle callbacks ran\n"
              "library told of the end\n");
    EXPECT_THAT(o.err, Not(HasSubstr("运行时出错")));
}

TEST_F(StartupHostTest, AFatalErrorExitsMinusOneWithTheReportAndWithoutTheEndRoutine) {
    Outcome o = Run({"fatal", "4"});
    EXPECT_EQ(o.exitCode, 255);
    EXPECT_THAT(
        o.err,
        HasSubstr("运行时出错!\n\n错误代码：4\n\n错误信息：数组成员引用下标必须大于等于1\n"));
    EXPECT_THAT(o.out, Not(HasSubstr("end routine")));
    EXPECT_THAT(o.out, Not(HasSubstr("loop returned")));
    // The libraries are still told; only the program's own end routine is skipped.
    EXPECT_THAT(o.out, HasSubstr("library told of the end"));
}

TEST_F(StartupHostTest, ExitAskedForOnAnotherThreadRunsOnTheMainThread) {
    Outcome o = Run({"thread-exit"});
    EXPECT_EQ(o.exitCode, 7) << o.err;
    EXPECT_THAT(o.out, HasSubstr("end routine 1 on the main thread\n"));
    EXPECT_THAT(o.out, Not(HasSubstr("end routine 2")));
}

TEST_F(StartupHostTest, AnEmptyDescriptionBlockLeavesTheStartupWindowUnloadable) {
    Outcome o = Run({"no-windows"});
    EXPECT_EQ(o.exitCode, 255);
    EXPECT_THAT(o.err, HasSubstr("运行时出错!\n\n错误信息：载入启动窗口失败\n"));
    EXPECT_THAT(o.out, Not(HasSubstr("end routine")));
}

TEST_F(StartupHostTest, RunningAsRootTurnsTheBrowserSandboxOffAndSaysSo) {
    Outcome o = Run({"close"});
    if (geteuid() == 0)
        EXPECT_THAT(o.err, HasSubstr("QTWEBENGINE_DISABLE_SANDBOX=1"));
    else
        EXPECT_THAT(o.err, Not(HasSubstr("QTWEBENGINE_DISABLE_SANDBOX")));
}

// The host copied into a directory of its own becomes a program whose
// directory holds one build of the probe library; the other lies on the
// library path.
class ProgramDirectoryTest : public StartupHostTest {
  protected:
    void SetUp() override {
        StartupHostTest::SetUp();
        fs::create_directories(root_ / "system");
        fs::copy_file(VELMORA_PROBE_SECOND, root_ / "system" / "velmora_probe.dll");
        program_ = Install("program");
    }
    // The host and the first probe build in a folder of that name.
    fs::path Install(const std::string& folder) {
        fs::create_directories(root_ / folder);
        fs::copy_file(VELMORA_STARTUP_HOST, root_ / folder / "startup_host");
        fs::copy_file(VELMORA_PROBE_FIRST, root_ / folder / "velmora_probe.dll");
        return root_ / folder / "startup_host";
    }
    fs::path program_;
};

TEST_F(ProgramDirectoryTest, TheCopyInTheProgramDirectoryWinsOverTheLibraryPath) {
    Outcome o = Run(program_, {"dll", "ProbeValue"}, (root_ / "system").string());
    EXPECT_EQ(o.exitCode, 0) << o.err;
    EXPECT_EQ(o.out,
              "started\nvalue 1\nend routine 1 on the main thread\n"
              "no idle callback ran\nlibrary told of the end\n");

    // Without it the library path's copy is found, so the first run had a real choice.
    fs::remove(root_ / "program" / "velmora_probe.dll");
    o = Run(program_, {"dll", "ProbeValue"}, (root_ / "system").string());
    EXPECT_EQ(o.exitCode, 0) << o.err;
    EXPECT_THAT(o.out, HasSubstr("value 2\n"));
}

// A folder GBK cannot spell is entered all the same, so "." is the program's.
TEST_F(ProgramDirectoryTest, AFolderNameGbkCannotHoldIsStillTheProgramsDirectory) {
    for (const char* folder : {"程序", "프로그램"}) {
        SCOPED_TRACE(folder);
        Outcome o = Run(Install(folder), {"dll", "ProbeValue"}, (root_ / "system").string());
        EXPECT_EQ(o.exitCode, 0) << o.err;
        EXPECT_THAT(o.out, HasSubstr("value 1\n"));
    }
}

TEST_F(ProgramDirectoryTest, AMissingExportIsFatalOnItsFirstCallNotAtStart) {
    Outcome o = Run(program_, {"dll", "NoSuchExport"});
    EXPECT_EQ(o.exitCode, 255);
    EXPECT_EQ(o.out.substr(0, 8), "started\n");
    EXPECT_THAT(o.out, Not(HasSubstr("value")));
    EXPECT_THAT(o.err, HasSubstr("运行时出错!\n\n错误信息：无法找到指定DLL库文件“velmora_probe.dll”"
                                 "中的输出命令“NoSuchExport”\n"));
}

TEST_F(ProgramDirectoryTest, AnAbsentLibraryIsFatalOnItsFirstCallNotAtStart) {
    fs::remove(root_ / "program" / "velmora_probe.dll");
    Outcome o = Run(program_, {"dll", "ProbeValue"});
    EXPECT_EQ(o.exitCode, 255);
    EXPECT_EQ(o.out.substr(0, 8), "started\n");
    EXPECT_THAT(o.err,
                HasSubstr("无法找到指定DLL库文件“velmora_probe.dll”中的输出命令“ProbeValue”"));
}

}  // namespace
