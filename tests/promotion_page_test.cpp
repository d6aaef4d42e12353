#include "app/promotion_page.h"

#include <gtest/gtest.h>

#include <string>

#include "runtime/heap.h"
#include "tests/collector_samples.h"
#include "tests/test_support.h"

namespace velmora::app {
namespace {

using velmora::testing::Gbk;
using velmora::testing::PromotionBlock;
using velmora::testing::PromotionPage;

class PromotionPageTest : public ::testing::Test {
  protected:
    void SetUp() override { before_ = LiveBlockCount(); }
    void TearDown() override { EXPECT_EQ(LiveBlockCount(), before_) << "blocks leaked"; }
    long before_ = 0;
};

const std::string kHead =
    "http://u.alimama.com/union/spread/selfservice/merchandisePromotion.htm?cat=&discountId="
    "&pidvid=&_fmu.a._0.t=1&_fmu.a._0.pe=40&_fmu.a._0.l=&_fmu.a._0.so=";
const std::string kMiddle = "&c=&rewrite=&cat=&mid=&searchType=0&q=";
const std::string kTail =
    "&_fmu.a._0.u=&_fmu.a._0.s=&_fmu.a._0.sta=&_fmu.a._0.end=&_fmu.a._0.st=&_fmu.a._0.en="
    "&_fmu.a._0.star=0&loc=";

std::string Address(const std::string& keyword, int sortIndex) {
    std::optional<Text> address = PromotionSearchAddress(keyword.c_str(), sortIndex);
    return address ? std::string(address->view()) : "<none>";
}

TEST_F(PromotionPageTest, AddressCarriesSortValueAndKeywordBytes) {
    struct Case {
        std::string keyword;
        int sortIndex;
        std::string expected;
    } cases[] = {
        {"abc", 0, kHead + "_totalnum" + kMiddle + "abc" + kTail},
        {"abc", 1, kHead + "_commrate" + kMiddle + "abc" + kTail},
        {"abc", 2, kHead + "_totalfee" + kMiddle + "abc" + kTail},
        // No percent-encoding and no trimming: bytes go in exactly as typed.
        {Gbk("手机"), 0, kHead + "_totalnum" + kMiddle + "\xCA\xD6\xBB\xFA" + kTail},
        {" a b&c ", 0, kHead + "_totalnum" + kMiddle + " a b&c " + kTail},
        {"", 2, kHead + "_totalfee" + kMiddle + kTail},
        {"abc", -1, "<none>"},
        {"abc", 3, "<none>"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.keyword + " " + std::to_string(c.sortIndex));
        EXPECT_EQ(Address(c.keyword, c.sortIndex), c.expected);
    }
}

TEST_F(PromotionPageTest, SortOrdersDifferOnlyInTheSortValue) {
    std::string bySales = Address(Gbk("手机"), 0), byRate = Address(Gbk("手机"), 1);
    ASSERT_EQ(bySales.size(), byRate.size());
    size_t at = bySales.find("_totalnum");
    ASSERT_NE(at, std::string::npos);
    EXPECT_EQ(byRate.replace(at, 9, "_totalnum"), bySales);
}

std::vector<int> Anchors(const std::string& page) {
    return FindItemAnchors(page.c_str());
}

TEST_F(PromotionPageTest, FindsAnchorsFromByteTenOn) {
    const std::string anchor = "list-info";
    struct Case {
        std::string name, page;
        std::vector<int> expected;
    } cases[] = {
        {"none", "<html>nothing here</html>", {}},
        {"empty page", "", {}},
        {"at byte 1", anchor + "............", {}},
        {"at byte 9", std::string(8, '.') + anchor, {}},
        {"at byte 10", std::string(9, '.') + anchor, {10}},
        {"back to back", std::string(9, '.') + anchor + anchor, {10, 19}},
        {"first hidden, second seen", anchor + "." + anchor, {11}},
        {"case matters", std::string(9, '.') + "LIST-INFO" + anchor, {19}},
        // The 0x81 before it makes 'l' the second byte of a character.
        {"inside a character", std::string(9, '.') + "\x81" + anchor + "." + anchor, {21}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(Anchors(c.page), c.expected);
    }
}

struct Cut {
    std::string id, title, seller;
};

Cut CutAt(const std::string& page, int anchor) {
    PromotionItem item = CutPromotionItem(page.c_str(), anchor);
    return {std::string(item.itemId.view()), std::string(item.title.view()),
            std::string(item.seller.view())};
}

TEST_F(PromotionPageTest, ThreeBlocksGiveThreeItemsInPageOrder) {
    std::string page =
        PromotionPage(PromotionBlock("101", Gbk("苹果手机"), Gbk("小王")) +
                      PromotionBlock("202", "b", Gbk("老李")) + PromotionBlock("303", "c", "z"));
    std::vector<int> anchors = Anchors(page);
    ASSERT_EQ(anchors.size(), 3u);
    const Cut expected[] = {
        {"101", Gbk("苹果手机"), Gbk("小王")}, {"202", "b", Gbk("老李")}, {"303", "c", "z"}};
    for (size_t i = 0; i < 3; ++i) {
        Cut cut = CutAt(page, anchors[i]);
        EXPECT_EQ(cut.id, expected[i].id);
        EXPECT_EQ(cut.title, expected[i].title);
        EXPECT_EQ(cut.seller, expected[i].seller);
    }
}

TEST_F(PromotionPageTest, TitleLosesExactlyThePlainSpanTags) {
    struct Case {
        std::string raw, expected;
    } cases[] = {
        {"a<span>b</span>c", "abc"},
        {"a<SPAN>b</SPAN>c", "a<SPAN>b</SPAN>c"},
        {"<span class=\"H\">x</span>", "<span class=\"H\">x"},
        {"<span></span><span>", ""},
        {"<spa<span>n>", "<span>"},  // one pass: a tag formed by the removal stays
        {Gbk("<span>手机</span>壳"), Gbk("手机壳")},
        {"&amp;<b>x</b>", "&amp;<b>x</b>"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.raw);
        std::string page = PromotionPage(PromotionBlock("1", c.raw, "s"));
        EXPECT_EQ(CutAt(page, Anchors(page).at(0)).title, c.expected);
    }
}

TEST_F(PromotionPageTest, MissingMarkersGiveWhatTheCutRuleGives) {
    // Seller label with no "<span" after it: the seller is empty.
    std::string noSpan = PromotionPage("<div class=\"list-info\">onerror id=7\" _blank\">t</a>" +
                                       Gbk("掌柜：某人") + " J_WangWang");
    Cut cut = CutAt(noSpan, Anchors(noSpan).at(0));
    EXPECT_EQ(cut.id, "7");
    EXPECT_EQ(cut.title, "t");
    EXPECT_EQ(cut.seller, "");

    // No block end: the block is empty, so is every field.
    std::string open = PromotionPage("<div class=\"list-info\">onerror id=7\" _blank\">t</a>");
    cut = CutAt(open, Anchors(open).at(0));
    EXPECT_EQ(cut.id + cut.title + cut.seller, "");

    // No "onerror" behind the anchor: the block counts from byte 6 of the page.
    std::string noBlockStart = "xxxxxid=1\"list-info id=2\" J_WangWang";
    EXPECT_EQ(CutAt(noBlockStart, Anchors(noBlockStart).at(0)).id, "1");

    // No "id=" in the block: the id cut starts at byte 2 of the block.
    std::string noId = PromotionPage("<div class=\"list-info\">onerrorXYZ\"J_WangWang");
    EXPECT_EQ(CutAt(noId, Anchors(noId).at(0)).id, "YZ");
}

TEST_F(PromotionPageTest, ABlockIsCutFromItsOwnAnchorOn) {
    // The first anchor's block lacks "onerror", so its cut reaches the second block.
    std::string page =
        PromotionPage("<div class=\"list-info\">nothing</div>" + PromotionBlock("55", "t", "s"));
    std::vector<int> anchors = Anchors(page);
    ASSERT_EQ(anchors.size(), 2u);
    EXPECT_EQ(CutAt(page, anchors[0]).id, "55");
    EXPECT_EQ(CutAt(page, anchors[1]).id, "55");
}

}  // namespace
}  // namespace velmora::app
