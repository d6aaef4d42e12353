#include "app/template_preview.h"

#include "app/item_record.h"
#include "app/template_text.h"
#include "runtime/constants.h"

namespace velmora::app {
namespace {

VELMORA_CONSTANT const char kSampleKeyword[] = "连衣裙";
VELMORA_CONSTANT const char kSampleLink[] = "#";
VELMORA_CONSTANT const char kPictureStart[] =
    "data:image/svg+xml,%3Csvg xmlns='http://www.w3.org/2000/svg' width='300' "
    "height='300'%3E%3Crect width='300' height='300' fill='%23";
VELMORA_CONSTANT const char kPictureEnd[] = "'/%3E%3C/svg%3E";

struct SampleItem {
    const char *title, *seller, *colour, *price, *sales, *coupon, *priceAfterCoupon;
};

constexpr SampleItem kSamples[] = {
    {"高腰显瘦碎花连衣裙 夏季新款", "花间小筑旗舰店", "8c5a3c", "128.00", "5213", "10", "118.00"},
    {"真丝桑蚕丝连衣裙 收腰中长款", "锦瑟华年", "3c5a8c", "369.00", "2874", "", "369.00"},
    {"简约纯棉短袖连衣裙 宽松休闲", "素衣坊", "5a8c6e", "79.90", "9650", "5", "74.90"},
    {"小香风针织连衣裙 优雅通勤", "名媛衣橱", "7a3c8c", "259.00", "1432", "", "259.00"},
};

Text Copy(const char* text) {
    return Concat({text});
}

ItemRecord SampleRecord(int rank, const SampleItem& sample) {
    ItemRecord item;
    item.rank = rank;
    item.title = Copy(sample.title);
    item.seller = Copy(sample.seller);
    item.pictureUrl = Concat({kPictureStart, sample.colour, kPictureEnd});
    item.itemUrl = Copy(kSampleLink);
    item.price = Copy(sample.price);
    item.sales = Copy(sample.sales);
    item.couponAmount = Copy(sample.coupon);
    item.priceAfterCoupon = Copy(sample.priceAfterCoupon);
    item.finalPrice = Copy(sample.priceAfterCoupon);
    return item;
}

}  // namespace

Text SamplePreview(const char* head, const char* loop, const char* tail) {
    Text page = FillKeyword(head, kSampleKeyword);
    int rank = 0;
    for (const SampleItem& sample : kSamples) {
        Text item = RenderItem(loop, kSampleKeyword, SampleRecord(++rank, sample));
        page = Concat({page.c_str(), item.c_str()});
    }
    Text end = FillKeyword(tail, kSampleKeyword);
    return Concat({page.c_str(), end.c_str()});
}

}  // namespace velmora::app
