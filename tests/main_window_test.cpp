// The main window as the user drives it: pages, messages and whole runs.
#include <gtest/gtest.h>

#include <QWidget>
#include <filesystem>
#include <fstream>

#include "app/main_window_ids.h"
#include "tests/live_program.h"

namespace velmora::app {
namespace {

using velmora::testing::LiveProgram;

TEST(MainWindowRunTest, OneKeywordWritesItsPageIntoTheTemplateFolder) {
    LiveProgram& program = LiveProgram::Get();
    program.LogIn();
    program.Type(kKeywordBox, QString::fromUtf8("手机"));
    program.Type(kItemCountBox, "3");
    program.Press(kStartButton);
    for (const std::string& line : program.LogLines()) std::printf("log: %s\n", line.c_str());
    for (const std::string& line : program.TakeRequests()) std::printf("req: %s\n", line.c_str());
    EXPECT_TRUE(program.TakeMessages().empty());
    EXPECT_TRUE(std::filesystem::exists(program.TemplateRoot() + "/高贵大气/手机.htm"));
}

}  // namespace
}  // namespace velmora::app
