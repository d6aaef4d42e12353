// The driver's command line: what each option sets, and what is refused.
#include <gtest/gtest.h>

#include "tools/autodrive/drive_options.h"

namespace velmora::autodrive {
namespace {

std::optional<DriveOptions> Parse(QStringList arguments, QString* error) {
    arguments.prepend("velmora_autodrive");
    return ParseDriveOptions(arguments, error);
}

TEST(AutodriveOptionsTest, EveryOptionReachesItsField) {
    QString error;
    std::optional<DriveOptions> options =
        Parse({"--keywords", "手机,,连衣裙", "--count", "3.9", "--template", "简约", "--shots",
               "/tmp/shots", "--stop-after-first", "--patience", "2.5"},
              &error);
    ASSERT_TRUE(options) << error.toStdString();
    // An empty piece stays: it is an empty line of the keyword box.
    EXPECT_EQ(options->keywords, (QStringList{"手机", "", "连衣裙"}));
    EXPECT_EQ(options->itemCount, "3.9");
    EXPECT_EQ(options->templateName, "简约");
    EXPECT_EQ(options->shotsDirectory, "/tmp/shots");
    EXPECT_TRUE(options->stopAfterFirst);
    EXPECT_DOUBLE_EQ(options->patience, 2.5);
}

TEST(AutodriveOptionsTest, NoArgumentsGiveTheDemoRun) {
    QString error;
    std::optional<DriveOptions> options = Parse({}, &error);
    ASSERT_TRUE(options);
    EXPECT_EQ(options->keywords, (QStringList{"手机", "连衣裙"}));
    EXPECT_EQ(options->itemCount, "3");
    EXPECT_EQ(options->templateName, "高贵大气");
    EXPECT_TRUE(options->shotsDirectory.isEmpty());
    EXPECT_FALSE(options->stopAfterFirst);
}

TEST(AutodriveOptionsTest, AnEmptyCountIsTypedAsItStands) {
    QString error;
    std::optional<DriveOptions> options = Parse({"--count", ""}, &error);
    ASSERT_TRUE(options);
    EXPECT_TRUE(options->itemCount.isEmpty());
}

struct RefusedCase {
    const char* name;
    QStringList arguments;
    const char* mentions;
};

void PrintTo(const RefusedCase& c, std::ostream* out) {
    *out << c.name;
}

class AutodriveRefusedTest : public ::testing::TestWithParam<RefusedCase> {};

TEST_P(AutodriveRefusedTest, IsRefusedWithAReason) {
    QString error;
    EXPECT_FALSE(Parse(GetParam().arguments, &error));
    EXPECT_TRUE(error.contains(GetParam().mentions)) << error.toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    CommandLines, AutodriveRefusedTest,
    ::testing::Values(RefusedCase{"Unknown", {"--colour", "red"}, "--colour"},
                      RefusedCase{"MissingValue", {"--count"}, "--count"},
                      RefusedCase{"NoKeyword", {"--keywords", ""}, "no keyword"},
                      RefusedCase{"OnlyEmptyKeywords", {"--keywords", ",,"}, "no keyword"},
                      RefusedCase{"PatienceNotANumber", {"--patience", "slow"}, "slow"},
                      RefusedCase{"PatienceBelowOne", {"--patience", "0.5"}, "0.5"},
                      RefusedCase{"PatienceAboveLimit", {"--patience", "1000"}, "1000"}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace velmora::autodrive
