#include "app/template_text.h"

#include <gtest/gtest.h>

#include <string>

#include "runtime/heap.h"
#include "tests/test_support.h"

namespace velmora::app {
namespace {

using velmora::testing::Gbk;

class TemplateTextTest : public ::testing::Test {
  protected:
    void SetUp() override { before_ = LiveBlockCount(); }
    void TearDown() override { EXPECT_EQ(LiveBlockCount(), before_) << "blocks leaked"; }
    long before_ = 0;
};

const std::string kStart = Gbk("[#商品循环开始#]");
const std::string kEnd = Gbk("[#商品循环结束#]");

TEST_F(TemplateTextTest, MarkersAreTheSixteenGbkBytes) {
    EXPECT_EQ(kStart, "[#\xC9\xCC\xC6\xB7\xD1\xAD\xBB\xB7\xBF\xAA\xCA\xBC#]");
    EXPECT_EQ(kEnd, "[#\xC9\xCC\xC6\xB7\xD1\xAD\xBB\xB7\xBD\xE1\xCA\xF8#]");
}

TEST_F(TemplateTextTest, SplitsAtTheFirstLoopMarkers) {
    const std::string fifteenOn = "0123456789abcdefghij";
    const std::string utf8Template = "<p>\xE5\x95\x86</p>[#商品循环开始#]x[#商品循环结束#]end";
    struct Case {
        std::string name, text, head, loop, tail;
    } cases[] = {
        {"three parts", "A" + kStart + "B" + kEnd + "C", "A", "B", "C"},
        {"multi-line", "<h>\r\n" + kStart + "\r\n<i/>\r\n" + kEnd + "\r\n</h>", "<h>\r\n",
         "\r\n<i/>\r\n", "\r\n</h>"},
        {"empty parts", kStart + kEnd, "", "", ""},
        {"no start marker", "A" + kEnd + "C", "", "", "C"},
        {"no end marker", fifteenOn + kStart + "B", fifteenOn, "", "efghij" + kStart + "B"},
        {"neither marker", fifteenOn, "", "", "efghij"},
        {"second markers stay", "A" + kStart + "B" + kStart + "b" + kEnd + "C" + kEnd + "c", "A",
         "B" + kStart + "b", "C" + kEnd + "c"},
        {"end before start", "A" + kEnd + "B" + kStart + "C" + kEnd + "D", "A" + kEnd + "B", "C",
         "B" + kStart + "C" + kEnd + "D"},
        // A file saved as UTF-8 holds other bytes: no marker matches.
        {"other encoding", utf8Template, "", "", utf8Template.substr(14)},
        {"empty file", "", "", "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TemplateParts parts = SplitTemplate(c.text.c_str());
        EXPECT_EQ(parts.head.view(), c.head);
        EXPECT_EQ(parts.loop.view(), c.loop);
        EXPECT_EQ(parts.tail.view(), c.tail);
        size_t start = c.text.find(kStart), end = c.text.find(kEnd);
        if (start != std::string::npos && end != std::string::npos && end > start) {
            EXPECT_EQ(
                JoinTemplate(parts.head.c_str(), parts.loop.c_str(), parts.tail.c_str()).view(),
                c.text)
                << "saving the parts back gives the same bytes";
        }
    }
}

TEST_F(TemplateTextTest, TheEncodingIsWhereTheMarkersAre) {
    const std::string utf8Start = "[#商品循环开始#]", utf8End = "[#商品循环结束#]";
    const struct {
        std::string name, bytes;
        TemplateEncoding encoding;
    } cases[] = {
        {"GBK markers", "a" + kStart + "b" + kEnd, TemplateEncoding::kGbk},
        {"GBK end marker alone", "a" + kEnd, TemplateEncoding::kGbk},
        {"UTF-8 markers", "\xEF\xBB\xBF\xF0\x9F\x98\x80" + utf8Start + utf8End,
         TemplateEncoding::kUtf8},
        {"UTF-8 start marker alone", utf8Start + "x", TemplateEncoding::kUtf8},
        {"UTF-8 markers, a stray byte", utf8Start + "\x86" + utf8End, TemplateEncoding::kNoMarkers},
        {"no markers", Gbk("<p>没有标记</p>"), TemplateEncoding::kNoMarkers},
        {"empty", "", TemplateEncoding::kNoMarkers},
    };
    for (const auto& c : cases) EXPECT_EQ(TemplateEncodingOf(c.bytes), c.encoding) << c.name;
}

ItemRecord Item(int rank) {
    ItemRecord item;
    item.rank = rank;
    return item;
}

void Set(Text& field, const std::string& value) {
    field = Text(CopyText(value.c_str()));
}

TEST_F(TemplateTextTest, RanksFromALoopOfRankAndComma) {
    std::string loop = Gbk("[#商品排名#],");
    std::string items;
    for (int rank = 1; rank <= 3; ++rank) items += RenderItem(loop.c_str(), "k", Item(rank)).view();
    EXPECT_EQ(items, "1,2,3,");
    EXPECT_EQ(RenderItem(loop.c_str(), "k", Item(1000)).view(), "1000,");
}

TEST_F(TemplateTextTest, FillsEveryPlaceholderWithItsValue) {
    ItemRecord item = Item(7);
    Set(item.pictureUrl, "P");
    Set(item.itemUrl, "U");
    Set(item.title, Gbk("标题"));
    Set(item.sales, "S");
    Set(item.seller, "N");
    Set(item.price, "$");
    Set(item.itemId, "ID");
    Set(item.couponAmount, "C");
    Set(item.priceAfterCoupon, "A");
    Set(item.finalPrice, "F");
    std::string loop = Gbk(
        "<[#关键词#]|[#商品图片地址#]|[#商品网址#]|[#商品标题#]|[#商品销售量#]|[#卖家昵称#]|"
        "[#商品价格#]|[#商品排名#]|[#商品排名#]|[#优惠券面额#]|[#券后价#]|[#到手价#]|[#商品编号#]|"
        "[#关键词]>");
    EXPECT_EQ(RenderItem(loop.c_str(), Gbk("手机").c_str(), item).view(),
              Gbk("<手机|P|U|标题|S|N|$|7|7|C|A|F|[#商品编号#]|[#关键词]>"));
}

TEST_F(TemplateTextTest, ReplacementsRunInTheirFixedOrder) {
    const std::string title = Gbk("[#商品标题#]"), price = Gbk("[#商品价格#]");
    struct Case {
        std::string name, loop, keyword, title, price, expected;
    } cases[] = {
        // A later placeholder inside an earlier value is filled...
        {"title holds the price", title, "k", "T" + price, "9.9", "T9.9"},
        {"keyword holds the rank", Gbk("[#关键词#]"), Gbk("[#商品排名#]"), "", "", "4"},
        // ...an earlier one inside a later value stays as it is.
        {"price holds the title", price, "k", "T", "9" + title, "9" + title},
        {"title holds the keyword", title, "k", Gbk("[#关键词#]"), "", Gbk("[#关键词#]")},
        // Empty values remove their placeholders.
        {"empty values", "a" + title + "b" + price + "c", "k", "", "", "abc"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ItemRecord item = Item(4);
        Set(item.title, c.title);
        Set(item.price, c.price);
        EXPECT_EQ(RenderItem(c.loop.c_str(), c.keyword.c_str(), item).view(), c.expected);
    }
}

TEST_F(TemplateTextTest, KeywordFillLeavesItemPlaceholders) {
    std::string head = Gbk("<title>[#关键词#] [#商品标题#]</title>[#关键词#]");
    EXPECT_EQ(FillKeyword(head.c_str(), Gbk("手机").c_str()).view(),
              Gbk("<title>手机 [#商品标题#]</title>手机"));
    EXPECT_EQ(FillKeyword("", "k").view(), "");
}

TEST_F(TemplateTextTest, PlainNamesStayInsideTheirFolder) {
    struct Case {
        std::string name;
        bool plain;
    } cases[] = {
        {Gbk("手机"), true},
        {"", true},
        {"a.b", true},
        {"v1.htm", true},
        {Gbk("運"), true},  // its second byte is 0x5C, a backslash only in ASCII
        {Gbk("運運x"), true},
        {Gbk("新款..."), true},
        {"x..", true},
        {"...", true},
        {"..\\..\\x", false},
        {"../x", false},
        {"a\\b", false},
        {"a/b", false},
        {"..", false},
        {".", false},
        {"\\", false},
        {Gbk("手\\机"), false},
        {Gbk("運") + "\\", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(IsPlainName(c.name.c_str()), c.plain);
        // A keyword's page gains ".htm": only separators lead out.
        EXPECT_EQ(HoldsNoSeparator(c.name.c_str()), c.plain || c.name == "." || c.name == "..");
    }
    EXPECT_TRUE(IsPlainName(nullptr)) << "null is the empty text";
}

TEST_F(TemplateTextTest, PathsInTheirTwoSpellings) {
    EXPECT_EQ(TemplateFileAddress("/opt/v", Gbk("高贵大气").c_str()).view(),
              Gbk("/opt/v/单页生成/模板/高贵大气/模板文件.htm"));
    EXPECT_EQ(PageFilePath("/opt/v", Gbk("高贵大气").c_str(), Gbk("手机").c_str()).view(),
              Gbk("/opt/v\\单页生成\\模板\\高贵大气\\手机.htm"));
    // An empty name leaves two separators in a row; an empty keyword, ".htm".
    EXPECT_EQ(PageFilePath("", "", "").view(), Gbk("\\单页生成\\模板\\\\.htm"));
}

}  // namespace
}  // namespace velmora::app
