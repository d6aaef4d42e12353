#include "app/gbk_text.h"

#include <gtest/gtest.h>

#include "tests/test_support.h"

namespace velmora::app {
namespace {

using velmora::testing::Gbk;

TEST(GbkTextTest, WhatGbkCannotHoldBecomesACharacterReference) {
    const struct {
        const char* utf8;
        std::string gbk;
    } cases[] = {
        {"手机 壳", Gbk("手机 壳")},
        {"", ""},
        {"笑😀脸", Gbk("笑") + "&#128512;" + Gbk("脸")},
        {"한국", "&#54620;&#44397;"},
        {"a\xE6\x89z", "a&#65533;&#65533;z"},  // a cut-off character
        {"\xFF", "&#65533;"},
    };
    for (const auto& c : cases) {
        std::string gbk = Utf8ToGbkWithReferences(c.utf8);
        EXPECT_EQ(gbk, c.gbk) << c.utf8;
        EXPECT_EQ(gbk.find('?'), std::string::npos);
    }
}

}  // namespace
}  // namespace velmora::app
