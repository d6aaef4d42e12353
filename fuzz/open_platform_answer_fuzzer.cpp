// Arbitrary bytes as the gateway's answer: parsed without a crash, no address
// outside http(s) reaches an item, and the coupon arithmetic on whatever the
// fields hold stays defined.
#include <cctype>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "app/open_platform_answer.h"

namespace {

bool WebOrEmpty(std::string_view address) {
    auto lower = [](std::string_view text) {
        std::string copy(text);
        for (char& c : copy) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        return copy;
    };
    const std::string head = lower(address.substr(0, 8));
    return address.empty() || head.starts_with("http://") || head.starts_with("https://");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string_view bytes(reinterpret_cast<const char*>(data), size);
    velmora::app::PlatformAnswer answer = velmora::app::ParseSearchAnswer(bytes);
    for (const velmora::app::PlatformItem& item : answer.items) {
        if (!WebOrEmpty(item.link) || !WebOrEmpty(item.picture)) std::abort();
        (void)velmora::app::ApplyCoupon(item.price, item.couponAmount, item.sales);
    }
    return 0;
}
