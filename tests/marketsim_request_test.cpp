#include <gtest/gtest.h>

#include "tools/marketsim/request_head.h"
#include "tools/marketsim/site_request.h"

namespace velmora::marketsim {
namespace {

struct HeadCase {
    const char* name;
    const char* in;
    const char* out;
};

class NormalizeRequestHeadTest : public ::testing::TestWithParam<HeadCase> {};

TEST_P(NormalizeRequestHeadTest, RepairsHead) {
    EXPECT_EQ(NormalizeRequestHead(GetParam().in), GetParam().out);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, NormalizeRequestHeadTest,
    ::testing::Values(
        HeadCase{"LowerCasePostGetsCapitalsAndZeroLength",
                 "post /membersvc/index.htm HTTP/1.1\r\nHost: a\r\n\r\n",
                 "POST /membersvc/index.htm HTTP/1.1\r\nHost: a\r\nContent-Length: 0\r\n\r\n"},
        HeadCase{"StatedLengthIsKept", "POST /x HTTP/1.1\r\ncontent-length: 7\r\n\r\n",
                 "POST /x HTTP/1.1\r\ncontent-length: 7\r\n\r\n"},
        HeadCase{"ChunkedBodyIsKept", "Post /x HTTP/1.1\r\nTransfer-Encoding: chunked\r\n\r\n",
                 "POST /x HTTP/1.1\r\nTransfer-Encoding: chunked\r\n\r\n"},
        HeadCase{"OnlyTheMethodChangesCase", "get http://s.taobao.com/search?q=Ab HTTP/1.1\r\n\r\n",
                 "GET http://s.taobao.com/search?q=Ab HTTP/1.1\r\nContent-Length: 0\r\n\r\n"},
        HeadCase{"BareLineFeeds", "post /x HTTP/1.1\nHost: a\n\n",
                 "POST /x HTTP/1.1\nHost: a\nContent-Length: 0\n\n"},
        HeadCase{"NoMethodIsLeftAlone", " /x HTTP/1.1\r\n\r\n", " /x HTTP/1.1\r\n\r\n"},
        HeadCase{"NoSpaceIsLeftAlone", "garbage\r\n\r\n", "garbage\r\n\r\n"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(RequestHeadLengthTest, CountsThroughTheEmptyLine) {
    EXPECT_EQ(RequestHeadLength("GET / HTTP/1.1\r\nA: b\r\n\r\nBODY"), 24u);
    EXPECT_EQ(RequestHeadLength("GET / HTTP/1.1\n\nBODY"), 16u);
    EXPECT_EQ(RequestHeadLength("GET / HTTP/1.1\r\nA: b\r\n"), 0u);
    EXPECT_EQ(RequestHeadLength(""), 0u);
}

struct TargetCase {
    const char* target;
    const char* hostHeader;
    const char* host;
    const char* path;
    const char* query;
};

class ParseSiteRequestTest : public ::testing::TestWithParam<TargetCase> {};

TEST_P(ParseSiteRequestTest, SplitsTarget) {
    const TargetCase& c = GetParam();
    SiteRequest r = ParseSiteRequest("GET", c.target, c.hostHeader);
    EXPECT_EQ(r.host, c.host);
    EXPECT_EQ(r.path, c.path);
    EXPECT_EQ(r.query, c.query);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ParseSiteRequestTest,
    ::testing::Values(
        // Through a proxy the target names the host; it wins over the header.
        TargetCase{"http://U.Alimama.com:80/union/a.htm?q=x&b=", "other", "u.alimama.com",
                   "/union/a.htm", "q=x&b="},
        TargetCase{"HTTP://s.taobao.com?q=1", "", "s.taobao.com", "/", "q=1"},
        TargetCase{"http://s.taobao.com", "", "s.taobao.com", "/", ""},
        TargetCase{"/search?q=a#frag", "S.TAOBAO.COM:8080", "s.taobao.com", "/search", "q=a"},
        TargetCase{"/", "[::1]", "[::1]", "/", ""}, TargetCase{"/x", "[::1]:99", "[::1]", "/x", ""},
        TargetCase{"", "h", "h", "/", ""}));

TEST(SiteRequestValuesTest, DecodesQueriesFormsAndCookies) {
    // Raw GBK bytes pass; escapes are decoded; '+' stays in queries only.
    EXPECT_EQ(QueryValue("a=1&q=\xCA\xD6%BB%FA+x&q=2", "q"), "\xCA\xD6\xBB\xFA+x");
    EXPECT_EQ(FormValue("logname=a+b%21&password=", "logname"), "a b!");
    EXPECT_EQ(FormValue("logname=a&password=", "password"), "");
    EXPECT_EQ(QueryValue("q", "q"), "");
    EXPECT_EQ(QueryValue("qq=1&xq=2", "q"), std::nullopt);
    EXPECT_EQ(QueryValue("", "q"), std::nullopt);
    // A broken escape stays as written.
    EXPECT_EQ(PercentDecode("%4%zz%", false), "%4%zz%");
    EXPECT_EQ(PercentDecode("%41%4a", false), "AJ");

    EXPECT_EQ(CookieValue("a=1; sim_session=tok; b=2", "sim_session"), "tok");
    EXPECT_EQ(CookieValue("xsim_session=tok", "sim_session"), "");
    EXPECT_EQ(CookieValue("", "sim_session"), "");
}

}  // namespace
}  // namespace velmora::marketsim
