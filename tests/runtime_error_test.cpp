#include "runtime/runtime_error.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdio>

#include "runtime/heap.h"
#include "runtime/startup.h"
#include "tests/test_support.h"

namespace velmora {
namespace {

using ::testing::AllOf;
using testing::Gbk;
using ::testing::HasSubstr;
using ::testing::Not;

struct ReportCase {
    int code;
    const char* message;  // UTF-8; null = the table message of the code
    const char* expected;
};

void PrintTo(const ReportCase& c, std::ostream* os) {
    *os << "code " << c.code;
}

class RuntimeErrorReportTest : public ::testing::TestWithParam<ReportCase> {};

TEST_P(RuntimeErrorReportTest, BuildsTheDialogText) {
    const ReportCase& c = GetParam();
    std::string message = c.message ? Gbk(c.message) : RuntimeErrorMessage(c.code);
    EXPECT_EQ(RuntimeErrorReport(c.code, message), Gbk(c.expected));
}

INSTANTIATE_TEST_SUITE_P(
    Reports, RuntimeErrorReportTest,
    ::testing::Values(
        ReportCase{
            4, nullptr,
            "运行时出错!\r\n\r\n错误代码：4\r\n\r\n错误信息：数组成员引用下标必须大于等于1\r\n"},
        ReportCase{
            1, nullptr,
            "运行时出错!\r\n\r\n错误代码：1\r\n\r\n错误信息：数组成员引用下标超出定义范围\r\n"},
        ReportCase{
            11, nullptr,
            "运行时出错!\r\n\r\n错误代码：11\r\n\r\n错误信息：所提供参数的数据类型不符合要求\r\n"},
        ReportCase{0, "分配 100 字节内存失败!",
                   "运行时出错!\r\n\r\n错误信息：分配 100 字节内存失败!\r\n"},
        // A code the table does not know shows its number and no message line.
        ReportCase{99, nullptr, "运行时出错!\r\n\r\n错误代码：99\r\n\r\n"},
        ReportCase{-3, nullptr, "运行时出错!\r\n\r\n错误代码：-3\r\n\r\n"},
        ReportCase{0, "", "运行时出错!\r\n\r\n"}));

TEST(RuntimeErrorMessageTest, TheTableHoldsElevenMessagesAndNothingAround) {
    EXPECT_STREQ(RuntimeErrorMessage(0), "");
    EXPECT_EQ(std::string(RuntimeErrorMessage(6)), Gbk("调用DLL命令后发现堆栈错误"));
    EXPECT_EQ(std::string(RuntimeErrorMessage(9)),
              Gbk("“多项选择”命令的索引值参数小于零或超出了所提供参数表范围"));
    EXPECT_STRNE(RuntimeErrorMessage(11), "");
    EXPECT_STREQ(RuntimeErrorMessage(12), "");
}

// The fatal path ends the process, so each case runs in a child.
class FatalReportTest : public ::testing::Test {
  protected:
    void SetUp() override {
        GTEST_FLAG_SET(death_test_style, "threadsafe");
        ResetRuntimeState();
    }
    void TearDown() override { ResetRuntimeState(); }
};

void PrintEndRoutine() {
    std::fputs("end routine ran\n", stderr);
}

TEST_F(FatalReportTest, RaiseShowsCodeAndMessageAndExitsMinusOneWithoutTheEndRoutine) {
    SetEndRoutine(PrintEndRoutine);
    EXPECT_EXIT(
        RaiseRuntimeError(4), ::testing::ExitedWithCode(testing::kExitCodeMinusOne),
        AllOf(HasSubstr("运行时出错!\n\n错误代码：4\n\n错误信息：数组成员引用下标必须大于等于1\n"),
              Not(HasSubstr("end routine ran"))));
}

TEST_F(FatalReportTest, AllocationFailureShowsOnlyTheMessageLine) {
    size_t tooMuch = size_t(1) << 62;
    EXPECT_EXIT(
        Allocate(tooMuch), ::testing::ExitedWithCode(testing::kExitCodeMinusOne),
        AllOf(HasSubstr("运行时出错!\n\n错误信息：分配 4611686018427387904 字节内存失败!\n"),
              Not(HasSubstr("错误代码"))));
}

int hookCalls = 0;
int SwallowingHook(int code, const char* message) {
    std::fprintf(stderr, "hook %d %zu call %d\n", code, std::strlen(message), ++hookCalls);
    return 1;
}
int RaisingHook(int code, const char*) {
    std::fprintf(stderr, "hook %d call %d\n", code, ++hookCalls);
    RaiseRuntimeError(5);
}

TEST_F(FatalReportTest, AHookThatAnswersNonZeroTakesOverTheReportButTheProgramStillEnds) {
    SetRuntimeErrorHook(SwallowingHook);
    SetEndRoutine(PrintEndRoutine);
    EXPECT_EXIT(RaiseRuntimeError(2), ::testing::ExitedWithCode(testing::kExitCodeMinusOne),
                AllOf(HasSubstr("hook 2 24 call 1\n"), Not(HasSubstr("运行时出错")),
                      Not(HasSubstr("end routine ran"))));
}

TEST_F(FatalReportTest, AnErrorInsideTheHookIsReportedWithoutCallingTheHookAgain) {
    SetRuntimeErrorHook(RaisingHook);
    EXPECT_EXIT(RaiseRuntimeError(3), ::testing::ExitedWithCode(testing::kExitCodeMinusOne),
                AllOf(HasSubstr("hook 3 call 1\n"), Not(HasSubstr("call 2")),
                      HasSubstr("错误代码：5\n\n错误信息：数据或数组类型不匹配\n")));
}

}  // namespace
}  // namespace velmora
