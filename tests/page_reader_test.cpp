#include "net/page_reader.h"

#include <gtest/gtest.h>

#include <string>

#include "loopback_server.h"
#include "net/cookie_store.h"
#include "runtime/entry_table.h"
#include "runtime/heap.h"

namespace velmora::net {
namespace {

using testing::RawServer;

class PageReaderTest : public ::testing::Test {
  protected:
    void SetUp() override { before_ = LiveBlockCount(); }
    void TearDown() override { EXPECT_EQ(LiveBlockCount(), before_) << "blocks leaked"; }

    // The page through the internet library's entry, as bytes; "<null>" when no block came back.
    static std::string Read(const std::string& address) {
        ValueRecord arg = MakeTextValue(address.c_str());
        ValueRecord r = Entries().CallLibraryCommand(kInternetLibrary, ReadWebPage, 1, &arg);
        if (!r.Pointer()) return "<null>";
        std::string bytes(reinterpret_cast<const char*>(ByteSetData(r.Pointer())),
                          ByteSetLength(r.Pointer()));
        Free(r.Pointer());
        return bytes;
    }
    static std::string Base(const RawServer& s) {
        return "http://127.0.0.1:" + std::to_string(s.Port());
    }
    long before_ = 0;
};

TEST(ReadPieceSize, FollowsTheAnnouncedLength) {
    struct {
        const char* header;
        size_t piece;
    } cases[] = {{nullptr, 10240},   {"0", 10240},
                 {"-5", 10240},      {"abc", 10240},
                 {"100", 101},       {"102399", 102400},
                 {"500000", 102400}, {"1234567890123456789012345678901234", 10240}};
    for (const auto& c : cases) {
        std::string header = c.header ? c.header : "";
        EXPECT_EQ(ReadPieceSize(c.header ? &header : nullptr), c.piece)
            << (c.header ? c.header : "none");
    }
}

TEST_F(PageReaderTest, ABodyAnnouncedPastTheCapIsRefusedUnread) {
    RawServer server("HTTP/1.0 200 OK\r\nContent-Length: 100000000000\r\n\r\nabc");
    EXPECT_EQ(Read(Base(server) + "/big"), "<null>") << "not even what arrived is kept";
}

TEST_F(PageReaderTest, ATargetWithAControlByteIsNotSent) {
    RawServer server("HTTP/1.0 200 OK\r\n\r\nbody");
    EXPECT_EQ(Read(Base(server) + "/a\r\nX-Injected: 1"), "<null>");
    EXPECT_EQ(server.LastRequest(), "");
}

TEST_F(PageReaderTest, SendsTheFixedRequestWithoutTheFragment) {
    RawServer server("HTTP/1.0 200 OK\r\nContent-Length: 5\r\n\r\nhello");
    EXPECT_EQ(Read(Base(server) + "/a b/\xCA\xD6?x=1#part"), "hello");
    const std::string request = server.LastRequest();
#ifdef _WIN32
    // WinHTTP sends the target as UTF-8 text: raw bytes go percent-encoded.
    EXPECT_TRUE(request.starts_with("GET /a%20b/%CA%D6?x=1 HTTP/1.0\r\n")) << request;
#else
    EXPECT_TRUE(request.starts_with("GET /a b/\xCA\xD6?x=1 HTTP/1.0\r\n")) << request;
#endif
    EXPECT_NE(request.find("User-Agent: Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.0)\r\n"),
              std::string::npos);
    EXPECT_NE(request.find("Accept: */*\r\n"), std::string::npos);
    EXPECT_NE(request.find("Pragma: no-cache\r\n"), std::string::npos);
    EXPECT_EQ(request.find("part"), std::string::npos);
}

TEST_F(PageReaderTest, ReadsABodyWithoutLengthWhole) {
    std::string body(30000, 'x');
    body[12345] = 'y';
    RawServer server("HTTP/1.0 200 OK\r\nContent-Type: text/html\r\n\r\n" + body);
    EXPECT_EQ(Read(Base(server) + "/"), body);
}

TEST_F(PageReaderTest, ErrorPageBodyIsThePage) {
    RawServer server("HTTP/1.0 404 Not Found\r\nContent-Length: 9\r\n\r\nno such p");
    EXPECT_EQ(Read(Base(server) + "/gone"), "no such p");
}

TEST_F(PageReaderTest, KeepsWhatArrivedBeforeAFailure) {
    RawServer server("HTTP/1.0 200 OK\r\nContent-Length: 100\r\n\r\nonly ten b");
    EXPECT_EQ(Read(Base(server) + "/"), "only ten b");
}

TEST_F(PageReaderTest, NothingReadGivesTheEmptyByteSet) {
    for (const std::string& address :
         {std::string(""), std::string("word"), std::string("#only-a-fragment"),
          std::string("ftp://127.0.0.1/"),
          "http://127.0.0.1:" + std::to_string(testing::ClosedPort()) + "/"})
        EXPECT_EQ(Read(address), "<null>") << address;
    RawServer empty("HTTP/1.0 204 No Content\r\n\r\n");
    EXPECT_EQ(Read(Base(empty) + "/"), "<null>");
}

TEST_F(PageReaderTest, SharesTheCookieStore) {
    Cookies().Clear();
    RawServer server("HTTP/1.0 200 OK\r\nSet-Cookie: r=2\r\nContent-Length: 1\r\n\r\n.");
    Cookies().SetFromHeader("s=1", Base(server) + "/");
    EXPECT_EQ(Read(Base(server) + "/"), ".");
    EXPECT_NE(server.LastRequest().find("Cookie: s=1\r\n"), std::string::npos);
    EXPECT_EQ(Cookies().HeaderFor(Base(server) + "/"), "s=1; r=2");
    Cookies().Clear();
}

}  // namespace
}  // namespace velmora::net
