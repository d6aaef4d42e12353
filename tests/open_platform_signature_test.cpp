// The open platform's signatures against digests computed once by hand
// (openssl dgst, md5sum), with each system's own cryptography.
#include "net/open_platform_signature.h"

#include <gtest/gtest.h>

namespace velmora::net {
namespace {

PlatformParameters KnownParameters(const char* signMethod) {
    return {{"adzone_id", "9876"},
            {"app_key", "12345678"},
            {"format", "json"},
            {"method", "taobao.tbk.dg.material.optional"},
            {"page_no", "1"},
            {"page_size", "20"},
            {"q", "手机"},
            {"sign_method", signMethod},
            {"sort", "total_sales_des"},
            {"timestamp", "2026-01-05 09:30:00"},
            {"v", "2.0"}};
}

TEST(OpenPlatformTest, SignaturesMatchDigestsComputedByHand) {
    // printf '%s%s%s' SECRET JOINED SECRET | md5sum
    EXPECT_EQ(SignPlatformParameters(KnownParameters("md5"), "test-secret"),
              "CD7B05F9F66A48D626AB3AB1B781DA7B");
    // printf '%s' JOINED | openssl dgst -sha256 -hmac SECRET
    EXPECT_EQ(SignPlatformParameters(KnownParameters("hmac-sha256"), "test-secret"),
              "4B1C94BB32F6D2A341D357355E556C5C20C64779AD03A5860EF97EE1BF33C275");
    // The sign parameter itself never counts.
    PlatformParameters withSign = KnownParameters("md5");
    withSign["sign"] = "anything";
    EXPECT_EQ(SignPlatformParameters(withSign, "test-secret"), "CD7B05F9F66A48D626AB3AB1B781DA7B");
    // printf '%s' JOINED | openssl dgst -md5 -hmac SECRET
    EXPECT_EQ(SignPlatformParameters(KnownParameters("hmac"), "test-secret"),
              "764BB814F1406F752F5C74F990E22D30");
    EXPECT_FALSE(SignPlatformParameters(KnownParameters("hmac-sha1"), "test-secret"));
}

}  // namespace
}  // namespace velmora::net
