#include "runtime/stream_reader.h"

#include <gtest/gtest.h>

#include <functional>

#include "runtime/stream_writer.h"

namespace velmora {
namespace {

TEST(StreamReaderTest, ReadsWhatTheWriterWrote) {
    StreamWriter out;
    out.Word(0x12345678);
    out.SignedWord(-2);
    out.HalfWord(0xBEEF);
    out.CountedText("abc");
    out.CountedBlock(std::vector<uint8_t>{1, 0, 2});
    out.ZeroText("name");
    out.ZeroText("");
    // Little-endian on the wire whatever the host.
    EXPECT_EQ(out.Data()[0], 0x78);
    EXPECT_EQ(out.Data()[3], 0x12);

    StreamReader in(out.Data());
    EXPECT_EQ(in.Word("w"), 0x12345678u);
    EXPECT_EQ(in.SignedWord("s"), -2);
    EXPECT_EQ(in.HalfWord("h"), 0xBEEF);
    EXPECT_EQ(in.CountedText("t"), "abc");
    EXPECT_EQ(in.CountedBlock("b"), (std::vector<uint8_t>{1, 0, 2}));
    EXPECT_EQ(in.ZeroText("z"), "name");
    EXPECT_EQ(in.ZeroText("z"), "");
    EXPECT_TRUE(in.AtEnd());
}

struct BadInput {
    const char* name;
    std::vector<uint8_t> bytes;
    std::function<void(StreamReader&)> read;
};

class StreamReaderFailureTest : public ::testing::TestWithParam<BadInput> {};

TEST_P(StreamReaderFailureTest, FailsWithoutReadingPastTheEnd) {
    const BadInput& c = GetParam();
    // A heap copy of exactly the input, so ASan sees any read beyond it.
    std::vector<uint8_t> exact(c.bytes);
    StreamReader in(exact);
    EXPECT_THROW(c.read(in), StreamError);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, StreamReaderFailureTest,
    ::testing::Values(
        BadInput{"WordFromThreeBytes", {1, 2, 3}, [](StreamReader& in) { in.Word("w"); }},
        BadInput{"HalfWordFromOneByte", {1}, [](StreamReader& in) { in.HalfWord("h"); }},
        BadInput{"CountLongerThanData",
                 {5, 0, 0, 0, 'a', 'b'},
                 [](StreamReader& in) { in.CountedText("t"); }},
        BadInput{"ForgedHugeBlockLength",
                 {0xFF, 0xFF, 0xFF, 0xFF, 1},
                 [](StreamReader& in) { in.CountedBlock("b"); }},
        BadInput{"ZeroTextWithoutTerminator",
                 {'a', 'b', 'c'},
                 [](StreamReader& in) { in.ZeroText("z"); }},
        BadInput{"ZeroTextOnEmptyInput", {}, [](StreamReader& in) { in.ZeroText("z"); }},
        BadInput{"ItemCountWhoseSizeOverflows",
                 {0, 0, 0, 0},
                 [](StreamReader& in) { in.ExpectItems(0xFFFFFFFF, 8, "items"); }},
        BadInput{"SubReaderLongerThanRest", {1, 2}, [](StreamReader& in) { in.Sub(3, "sub"); }},
        BadInput{"SubReaderStaysInsideItsWindow",
                 {1, 2, 3, 4, 5, 6, 7, 8},
                 [](StreamReader& in) {
                     StreamReader sub = in.Sub(3, "sub");
                     sub.Word("w");
                 }}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(StreamReaderTest, ErrorNamesTheFieldAndPosition) {
    std::vector<uint8_t> bytes = {1, 0, 0, 0, 9};
    StreamReader in(bytes);
    in.Word("first");
    try {
        in.Word("unit count");
        FAIL() << "expected a StreamError";
    } catch (const StreamError& e) {
        std::string message = e.what();
        EXPECT_NE(message.find("unit count"), std::string::npos) << message;
        EXPECT_NE(message.find("byte 4"), std::string::npos) << message;
    }
}

TEST(StreamWriterTest, RefusesAZeroInsideAZeroTerminatedText) {
    StreamWriter out;
    EXPECT_THROW(out.ZeroText(std::string("a\0b", 3)), std::invalid_argument);
}

}  // namespace
}  // namespace velmora
