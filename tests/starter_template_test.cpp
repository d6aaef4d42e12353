// The template shipped next to the program: a real page template with every
// placeholder, and a preview page with none left.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "app/template_text.h"
#include "tests/test_support.h"

namespace velmora::app {
namespace {

namespace fs = std::filesystem;
using velmora::testing::Gbk;

std::string Slurp(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

const fs::path kFolder = velmora::testing::Utf8Path(VELMORA_TEMPLATE_ROOT "/高贵大气");

TEST(StarterTemplate, UsesEveryPlaceholderInItsLoopAndTheKeywordAround) {
    std::string file = Slurp(kFolder / velmora::testing::Utf8Path("模板文件.htm"));
    ASSERT_FALSE(file.empty());
    TemplateParts parts = SplitTemplate(file.c_str());
    for (const char* placeholder :
         {"[#关键词#]", "[#商品图片地址#]", "[#商品网址#]", "[#商品标题#]", "[#商品销售量#]",
          "[#卖家昵称#]", "[#商品价格#]", "[#商品排名#]", "[#优惠券面额#]", "[#券后价#]"})
        EXPECT_NE(parts.loop.view().find(Gbk(placeholder)), std::string::npos) << placeholder;
    EXPECT_NE(parts.head.view().find(Gbk("[#关键词#]")), std::string::npos);
    EXPECT_NE(parts.tail.view().find(Gbk("[#关键词#]")), std::string::npos);
    EXPECT_NE(parts.head.view().find("charset=gbk"), std::string::npos);
    EXPECT_EQ(JoinTemplate(parts.head.c_str(), parts.loop.c_str(), parts.tail.c_str()).view(), file)
        << "loading and saving unchanged keeps the bytes";
}

TEST(StarterTemplate, ItsPreviewIsAFilledPage) {
    std::string preview = Slurp(kFolder / velmora::testing::Utf8Path("效果预览.htm"));
    ASSERT_FALSE(preview.empty());
    EXPECT_EQ(preview.find("[#"), std::string::npos) << "a placeholder left unfilled";
    EXPECT_NE(preview.find(Gbk("连衣裙")), std::string::npos);
}

}  // namespace
}  // namespace velmora::app
