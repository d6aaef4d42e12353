// One collected item, as a source hands it to the template engine. The
// classic source takes id, title and seller from the affiliate search and the
// rest from the marketplace page; only the open-platform source knows coupons.
#pragma once

#include "app/runtime_calls.h"

namespace velmora::app {

struct ItemRecord {
    int rank = 0;  // from 1, in page order
    Text itemId;
    Text title;
    Text seller;
    Text pictureUrl;
    Text itemUrl;
    Text price;
    Text sales;
    Text couponAmount;      // empty without a coupon
    Text priceAfterCoupon;  // empty from a source without coupons
    Text finalPrice;        // what the buyer pays after every promotion; empty as above
};

}  // namespace velmora::app
