#include "app/marketplace_page.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "runtime/heap.h"
#include "tests/collector_samples.h"
#include "tests/test_support.h"

namespace velmora::app {
namespace {

using velmora::testing::Gbk;
using velmora::testing::MarketplaceItem;

class MarketplacePageTest : public ::testing::Test {
  protected:
    void SetUp() override { before_ = LiveBlockCount(); }
    void TearDown() override { EXPECT_EQ(LiveBlockCount(), before_) << "blocks leaked"; }
    long before_ = 0;
};

TEST_F(MarketplacePageTest, AddressAppendsTheTitleAsItStands) {
    EXPECT_EQ(MarketplaceSearchAddress(Gbk("手机 壳&x").c_str()).view(),
              "http://s.taobao.com/search?q=" + Gbk("手机 壳&x"));
    EXPECT_EQ(MarketplaceSearchAddress("").view(), "http://s.taobao.com/search?q=");
}

struct Fields {
    std::string picture, link, price, sales;
    bool operator==(const Fields&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Fields& f) {
    return out << "{" << f.picture << " | " << f.link << " | " << f.price << " | " << f.sales
               << "}";
}

Fields Cut(const std::string& page, const std::string& id) {
    MarketplaceFields f = CutMarketplaceItem(page.c_str(), id.c_str());
    return {std::string(f.pictureUrl.view()), std::string(f.itemUrl.view()),
            std::string(f.price.view()), std::string(f.sales.view())};
}

TEST_F(MarketplacePageTest, CutsTheFieldsOfTheItemWithTheId) {
    std::string page =
        "<html>" + MarketplaceItem("11", "http://img/a", "http://i/a", "9.90", "12") +
        MarketplaceItem("22", "http://img/b", "http://i/b", "19.00", "3400") + "</html>";
    EXPECT_EQ(Cut(page, "22"), (Fields{"http://img/b", "http://i/b", "19.00", "3400"}));
    EXPECT_EQ(Cut(page, "11"), (Fields{"http://img/a", "http://i/a", "9.90", "12"}));
    // An id that is a prefix of no other: "2" finds the "22" item, as a byte cut does.
    EXPECT_EQ(Cut(page, "2").price, "19.00");
}

TEST_F(MarketplacePageTest, AnIdOnThePageTwiceIsCutFromItsFirstPlace) {
    std::string page =
        MarketplaceItem("5", "p1", "l1", "1", "10") + MarketplaceItem("5", "p2", "l2", "2", "20");
    EXPECT_EQ(Cut(page, "5"), (Fields{"p1", "l1", "1", "10"}));
}

TEST_F(MarketplacePageTest, AnEmptyIdTakesTheFirstItemOnThePage) {
    std::string page = MarketplaceItem("7", "p7", "l7", "7.00", "70") +
                       MarketplaceItem("8", "p8", "l8", "8.00", "80");
    EXPECT_EQ(Cut(page, ""), (Fields{"p7", "l7", "7.00", "70"}));
}

TEST_F(MarketplacePageTest, AnIdNotOnThePageCutsFromByteFourPlusItsLength) {
    // Absent start marker `nid="123` (8 bytes): the block runs from byte 7 of
    // the page to the first rating label.
    std::string page = "012345" + MarketplaceItem("9", "p", "l", "3.00", "4");
    EXPECT_EQ(Cut(page, "123"), (Fields{"p", "l", "3.00", "4"}));
    std::string tooShort = "0123" + Gbk("如实描述");  // byte 7 is inside the label
    EXPECT_EQ(Cut(tooShort, "123"), Fields{});
}

TEST_F(MarketplacePageTest, MissingMarkersInTheBlock) {
    std::string noEm = "nid=\"1\"" + Gbk("price\">￥5.00</em>如实描述");
    EXPECT_EQ(Cut(noEm, "1").price, "");

    // Sales label without its space: the cut starts at byte 8 of the block.
    std::string block = Gbk("\"_最近30天12人付款");
    std::string noSpace = "nid=\"1" + block + Gbk("如实描述");
    EXPECT_EQ(Cut(noSpace, "1").sales, block.substr(7, block.size() - 7 - Gbk("人付款").size()));

    std::string noRating = MarketplaceItem("1", "p", "l", "1", "2");
    noRating.resize(noRating.find(Gbk("如实描述")));
    EXPECT_EQ(Cut(noRating, "1"), Fields{});
    EXPECT_EQ(Cut("", "1"), Fields{});
}

TEST_F(MarketplacePageTest, PictureStopsBeforeTheFirstSizeSuffix) {
    std::string page =
        "nid=\"1\"data-ks-lazyload=\"http://x/a.jpg_210x210.jpg_210x210\"" + Gbk("如实描述");
    EXPECT_EQ(Cut(page, "1").picture, "http://x/a.jpg");
}

TEST_F(MarketplacePageTest, ItemCountIsTheNumberTruncatedTowardZero) {
    struct Case {
        std::string text;
        int expected;
    } cases[] = {
        {"3", 3},   {"3.9", 3},    {"-3.9", -3},   {"0", 0},           {"", 0},
        {"abc", 0}, {"12abc", 12}, {Gbk("５"), 5}, {"1e300", INT_MAX}, {"-1e300", INT_MIN},
        {"nan", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(ItemCountFromText(c.text.c_str()), c.expected);
    }
}

}  // namespace
}  // namespace velmora::app
