#include "httpanswer.h"

#include <gtest/gtest.h>
#include <zlib.h>

using namespace alborx::http;

namespace {

constexpr std::size_t kCap = 1000;

std::string gzipped(const std::string& text)
{
    z_stream stream{};
    deflateInit2(&stream, Z_BEST_COMPRESSION, Z_DEFLATED, 15 + 16, 9, Z_DEFAULT_STRATEGY);
    std::string out(deflateBound(&stream, text.size()) + 32, '\0');
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(text.data()));
    stream.avail_in = static_cast<uInt>(text.size());
    stream.next_out = reinterpret_cast<Bytef*>(out.data());
    stream.avail_out = static_cast<uInt>(out.size());
    deflate(&stream, Z_FINISH);
    out.resize(stream.total_out);
    deflateEnd(&stream);
    return out;
}

struct Outcome
{
    AnswerFault fault;
    bool done;
    int status;
    std::string body;
};

// The answer read in pieces of the given size, the connection closed after.
Outcome read(const std::string& bytes, std::size_t piece, bool close = true)
{
    AnswerReader reader(kCap);
    for (std::size_t at = 0; at < bytes.size(); at += piece)
        reader.feed(std::string_view(bytes).substr(at, piece));
    if (close)
        reader.endOfStream();
    return {reader.fault(), reader.done(), reader.status(), reader.body()};
}

TEST(HttpAnswer, FramingsAndFaultsWhateverThePieces)
{
    const std::string head = "HTTP/1.1 200 OK\r\n";
    const struct
    {
        const char* what;
        std::string bytes;
        bool close; // the server closes the connection after the bytes
        AnswerFault fault;
        std::string body;
    } cases[] = {
        {"sized", head + "content-length: 5\r\n\r\nhelloXX", false, AnswerFault::None, "hello"},
        {"to the close", head + "\r\nhello", true, AnswerFault::None, "hello"},
        {"chunks, extensions and a trailer",
         head + "Transfer-Encoding: chunked\r\n\r\n3;x=y\r\nhel\r\n2\r\nlo\r\n0\r\nT: 1\r\n\r\n",
         false, AnswerFault::None, "hello"},
        {"interim answer first",
         "HTTP/1.1 100 Continue\r\n\r\n" + head + "Content-Length: 2\r\n\r\nok", false,
         AnswerFault::None, "ok"},
        {"gzip", head + "Content-Encoding: gzip\r\n\r\n" + gzipped("{\"a\": 1}"), true,
         AnswerFault::None, "{\"a\": 1}"},
        {"gzip bomb", head + "Content-Encoding: gzip\r\n\r\n" + gzipped(std::string(100'000, ' ')),
         true, AnswerFault::TooLarge, ""},
        {"announced too large", head + "Content-Length: 1001\r\n\r\n", false, AnswerFault::TooLarge,
         ""},
        {"length past 64 bits", head + "Content-Length: 99999999999999999999999\r\n\r\n", false,
         AnswerFault::TooLarge, ""},
        {"endless chunk", head + "Transfer-Encoding: chunked\r\n\r\nffffffffffffffffffff\r\n",
         false, AnswerFault::TooLarge, ""},
        {"endless to the close", head + "\r\n" + std::string(1001, 'x'), false,
         AnswerFault::TooLarge, ""},
        {"gzip cut short",
         head + "Content-Encoding: gzip\r\n\r\n" + gzipped("{\"a\": 1}").substr(0, 12), true,
         AnswerFault::Damaged, ""},
        {"not gzip", head + "Content-Encoding: gzip\r\nContent-Length: 3\r\n\r\nabc", false,
         AnswerFault::Damaged, ""},
        {"unknown coding", head + "Content-Encoding: br\r\n\r\n", true, AnswerFault::Damaged, ""},
        {"closed mid-body", head + "Content-Length: 10\r\n\r\nabc", true, AnswerFault::BrokenOff,
         ""},
        {"closed in the head", "HTTP/1.1 200 OK\r\nConte", true, AnswerFault::BrokenOff, ""},
        {"no HTTP", "SSH-2.0-OpenSSH\r\n\r\n", false, AnswerFault::NotHttp, ""},
        {"a head without end", head + std::string(kMostHeadBytes, 'x'), false, AnswerFault::NotHttp,
         ""},
        {"bad chunk size", head + "Transfer-Encoding: chunked\r\n\r\nzz\r\n", false,
         AnswerFault::NotHttp, ""},
        {"chunk without its end", head + "Transfer-Encoding: chunked\r\n\r\n1\r\naXY\r\n", false,
         AnswerFault::NotHttp, ""},
    };
    for (const auto& c : cases) {
        for (const std::size_t piece : {std::size_t(1), std::size_t(7), c.bytes.size()}) {
            const Outcome outcome = read(c.bytes, piece, c.close);
            EXPECT_EQ(outcome.fault, c.fault) << c.what << " in pieces of " << piece;
            EXPECT_EQ(outcome.done, c.fault == AnswerFault::None) << c.what << " " << piece;
            EXPECT_EQ(outcome.body, c.body) << c.what << " " << piece;
        }
    }
}

TEST(HttpAnswer, HeadersByNameInAnyCase)
{
    AnswerReader reader(kCap);
    reader.feed("HTTP/1.1 503 Slow Down\r\nretry-after:  7 \r\nX-Empty:\r\nLocation: /a\r\n"
                "Retry-After: 9\r\nContent-Length: 0\r\n\r\n");
    EXPECT_TRUE(reader.done());
    EXPECT_EQ(reader.status(), 503);
    EXPECT_EQ(reader.header("Retry-After"), "7");
    EXPECT_EQ(reader.header("LOCATION"), "/a");
    EXPECT_EQ(reader.header("X-Missing"), "");
}

} // namespace
