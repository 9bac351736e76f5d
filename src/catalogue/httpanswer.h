// An HTTP/1.1 answer read as its bytes arrive from the connection: the
// status, the header lines and the body, undone from chunks and gzip. The
// head and the body are held within bounds whatever the server sends, so
// that an endless or inflating answer is stopped the moment it passes them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace alborx::http {

// The most bytes of the status line and the header lines together.
constexpr std::size_t kMostHeadBytes = 64 * 1024;

enum class AnswerFault
{
    None,
    NotHttp,   // the bytes are no HTTP answer, or its framing is broken
    TooLarge,  // the body, as sent or as unpacked, passes the bound
    Damaged,   // the compressed body cannot be unpacked, or its coding is unknown
    BrokenOff, // the connection ended before the answer did
};

class AnswerReader
{
public:
    explicit AnswerReader(std::size_t mostBodyBytes);
    ~AnswerReader();
    AnswerReader(const AnswerReader&) = delete;
    AnswerReader& operator=(const AnswerReader&) = delete;

    // Takes the next bytes of the connection; nothing once done or failed.
    void feed(std::string_view bytes);
    // The server closed the connection.
    void endOfStream();
    // The connection broke: the answer is broken off unless it was done.
    void breakOff();

    bool done() const { return stage_ == Stage::Done; }
    bool failed() const { return fault_ != AnswerFault::None; }
    AnswerFault fault() const { return fault_; }
    // Whether the status line has come: a closed connection before it means
    // the server never answered.
    bool hasStatus() const { return status_ > 0; }
    int status() const { return status_; }
    // The value of the first header line of that name, any case; empty
    // when the answer has none.
    std::string header(std::string_view name) const;
    // The body as far as it has come, unpacked.
    const std::string& body() const { return body_; }
    std::string takeBody() { return std::move(body_); }

private:
    enum class Stage
    {
        Head,
        Sized,
        ChunkSize,
        ChunkData,
        ChunkEnd,
        Trailer,
        ToClose,
        Done
    };
    struct Inflater;

    void readHead(std::string_view& bytes);
    void startBody();
    void readChunkSize(std::string_view& bytes);
    void readChunkEnd(std::string_view& bytes);
    void readTrailer(std::string_view& bytes);
    // Takes at most left_ bytes (all when the body runs to the close).
    void readBody(std::string_view& bytes);
    void takeBody(std::string_view bytes);
    void fail(AnswerFault fault);
    void finish();

    std::size_t mostBodyBytes_;
    Stage stage_ = Stage::Head;
    AnswerFault fault_ = AnswerFault::None;
    // Bytes of the head, a chunk's size line or the trailer not yet read.
    std::string pending_;
    int status_ = 0;
    std::vector<std::pair<std::string, std::string>> headers_;
    std::uint64_t left_ = 0;     // of the sized body or of the current chunk
    std::uint64_t received_ = 0; // of the body as sent, before unpacking
    std::unique_ptr<Inflater> inflater_;
    std::string body_;
};

} // namespace alborx::http
