// One collected item: the affiliate search gives id, title and seller, the
// marketplace page the rest, and the template engine renders it.
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
};

}  // namespace velmora::app
