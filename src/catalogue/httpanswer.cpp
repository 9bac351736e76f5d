#include "httpanswer.h"

#include <algorithm>
#include <zlib.h>

namespace alborx::http {

namespace {

// A chunk's size line, its extensions included, and one trailer line.
constexpr std::size_t kMostLineBytes = 1024;
// What one call of the inflater writes at most.
constexpr std::size_t kInflateStep = 64 * 1024;

char lower(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool sameName(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                              [](char x, char y) { return lower(x) == lower(y); });
}

std::string_view trimmed(std::string_view text)
{
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r'))
        text.remove_suffix(1);
    return text;
}

std::string lowered(std::string_view text)
{
    std::string result(text);
    std::transform(result.begin(), result.end(), result.begin(), lower);
    return result;
}

// Takes bytes up to and with the next line feed into line; false when the
// line has not ended yet.
bool takeLine(std::string_view& bytes, std::string& line)
{
    const std::size_t end = bytes.find('\n');
    const std::size_t taken = end == std::string_view::npos ? bytes.size() : end + 1;
    line.append(bytes.substr(0, taken));
    bytes.remove_prefix(taken);
    return end != std::string_view::npos;
}

} // namespace

// gzip and zlib streams, told apart by their header, unpacked by zlib.
struct AnswerReader::Inflater
{
    z_stream stream{};
    bool ready = false;
    bool ended = false;

    Inflater() { ready = inflateInit2(&stream, 15 + 32) == Z_OK; }
    ~Inflater()
    {
        if (ready)
            inflateEnd(&stream);
    }
};

AnswerReader::AnswerReader(std::size_t mostBodyBytes) : mostBodyBytes_(mostBodyBytes) {}

AnswerReader::~AnswerReader() = default;

void AnswerReader::feed(std::string_view bytes)
{
    while (!bytes.empty() && !failed() && stage_ != Stage::Done) {
        switch (stage_) {
        case Stage::Head:
            readHead(bytes);
            break;
        case Stage::Sized:
        case Stage::ChunkData:
        case Stage::ToClose:
            readBody(bytes);
            break;
        case Stage::ChunkSize:
            readChunkSize(bytes);
            break;
        case Stage::ChunkEnd:
            readChunkEnd(bytes);
            break;
        case Stage::Trailer:
            readTrailer(bytes);
            break;
        case Stage::Done:
            break;
        }
    }
}

void AnswerReader::endOfStream()
{
    if (failed() || stage_ == Stage::Done)
        return;
    if (stage_ == Stage::ToClose)
        finish();
    else
        fail(AnswerFault::BrokenOff);
}

void AnswerReader::breakOff()
{
    if (!failed() && stage_ != Stage::Done)
        fail(AnswerFault::BrokenOff);
}

std::string AnswerReader::header(std::string_view name) const
{
    for (const auto& [key, value] : headers_) {
        if (sameName(key, name))
            return value;
    }
    return {};
}

void AnswerReader::readHead(std::string_view& bytes)
{
    const std::size_t before = pending_.size();
    pending_.append(bytes.substr(0, kMostHeadBytes + 4 - std::min(before, kMostHeadBytes + 4)));
    // The head ends at the first empty line; it may have begun in an
    // earlier piece.
    const std::size_t from = before >= 3 ? before - 3 : 0;
    const std::size_t end = pending_.find("\r\n\r\n", from);
    if (end == std::string::npos) {
        bytes.remove_prefix(pending_.size() - before);
        if (pending_.size() > kMostHeadBytes)
            fail(AnswerFault::NotHttp);
        return;
    }
    bytes.remove_prefix(end + 4 - before);
    const std::string head = std::exchange(pending_, {}).substr(0, end);

    std::string_view rest(head);
    const std::size_t lineEnd = rest.find("\r\n");
    const std::string_view statusLine = rest.substr(0, lineEnd);
    rest.remove_prefix(lineEnd == std::string_view::npos ? rest.size() : lineEnd + 2);
    // "HTTP/1.1 200 OK": the version, a space and three digits.
    if (statusLine.size() < 12 || statusLine.substr(0, 7) != "HTTP/1." || statusLine[8] != ' ' ||
        !std::all_of(statusLine.begin() + 9, statusLine.begin() + 12,
                     [](char c) { return c >= '0' && c <= '9'; }) ||
        (statusLine.size() > 12 && statusLine[12] != ' ')) {
        fail(AnswerFault::NotHttp);
        return;
    }
    const int status = std::stoi(std::string(statusLine.substr(9, 3)));
    headers_.clear();
    while (!rest.empty()) {
        const std::size_t next = rest.find("\r\n");
        const std::string_view line = rest.substr(0, next);
        rest.remove_prefix(next == std::string_view::npos ? rest.size() : next + 2);
        const std::size_t colon = line.find(':');
        if (colon == std::string_view::npos || colon == 0)
            continue;
        headers_.emplace_back(std::string(line.substr(0, colon)),
                              std::string(trimmed(line.substr(colon + 1))));
    }
    // An interim answer ("100 Continue") is followed by the real one.
    if (status >= 100 && status < 200)
        return;
    status_ = status;
    startBody();
}

void AnswerReader::startBody()
{
    const std::string coding = lowered(trimmed(header("Content-Encoding")));
    if (coding == "gzip" || coding == "x-gzip" || coding == "deflate") {
        inflater_ = std::make_unique<Inflater>();
        if (!inflater_->ready) {
            fail(AnswerFault::Damaged);
            return;
        }
    } else if (!coding.empty() && coding != "identity") {
        fail(AnswerFault::Damaged);
        return;
    }
    const std::string transfer = lowered(trimmed(header("Transfer-Encoding")));
    const std::string length(trimmed(header("Content-Length")));
    if (status_ == 204 || status_ == 304) {
        finish();
    } else if (transfer.size() >= 7 && transfer.compare(transfer.size() - 7, 7, "chunked") == 0) {
        stage_ = Stage::ChunkSize;
    } else if (!transfer.empty() && transfer != "identity") {
        fail(AnswerFault::NotHttp);
    } else if (!length.empty()) {
        if (length.size() > 18 || !std::all_of(length.begin(), length.end(),
                                               [](char c) { return c >= '0' && c <= '9'; })) {
            fail(length.size() > 18 ? AnswerFault::TooLarge : AnswerFault::NotHttp);
            return;
        }
        left_ = std::stoull(length);
        if (left_ > mostBodyBytes_)
            fail(AnswerFault::TooLarge);
        else if (left_ == 0)
            finish();
        else
            stage_ = Stage::Sized;
    } else {
        stage_ = Stage::ToClose;
    }
}

void AnswerReader::readBody(std::string_view& bytes)
{
    std::size_t taken = bytes.size();
    if (stage_ != Stage::ToClose)
        taken = static_cast<std::size_t>(std::min<std::uint64_t>(left_, bytes.size()));
    takeBody(bytes.substr(0, taken));
    bytes.remove_prefix(taken);
    if (failed() || stage_ == Stage::ToClose)
        return;
    left_ -= taken;
    if (left_ > 0)
        return;
    if (stage_ == Stage::Sized)
        finish();
    else
        stage_ = Stage::ChunkEnd;
}

void AnswerReader::readChunkSize(std::string_view& bytes)
{
    if (!takeLine(bytes, pending_)) {
        if (pending_.size() > kMostLineBytes)
            fail(AnswerFault::NotHttp);
        return;
    }
    const std::string line = std::exchange(pending_, {});
    const std::string_view size =
        trimmed(std::string_view(line).substr(0, line.find_first_of(";\n")));
    std::uint64_t value = 0;
    for (const char c : size) {
        const int digit = c >= '0' && c <= '9'   ? c - '0'
                          : c >= 'a' && c <= 'f' ? c - 'a' + 10
                          : c >= 'A' && c <= 'F' ? c - 'A' + 10
                                                 : -1;
        if (digit < 0) {
            fail(AnswerFault::NotHttp);
            return;
        }
        if (value > mostBodyBytes_) {
            fail(AnswerFault::TooLarge);
            return;
        }
        value = value * 16 + static_cast<std::uint64_t>(digit);
    }
    if (size.empty()) {
        fail(AnswerFault::NotHttp);
    } else if (value == 0) {
        stage_ = Stage::Trailer;
    } else {
        left_ = value;
        stage_ = Stage::ChunkData;
    }
}

void AnswerReader::readChunkEnd(std::string_view& bytes)
{
    if (!takeLine(bytes, pending_)) {
        if (pending_.size() > 2)
            fail(AnswerFault::NotHttp);
        return;
    }
    const std::string line = std::exchange(pending_, {});
    if (line != "\r\n" && line != "\n")
        fail(AnswerFault::NotHttp);
    else
        stage_ = Stage::ChunkSize;
}

void AnswerReader::readTrailer(std::string_view& bytes)
{
    if (!takeLine(bytes, pending_)) {
        if (pending_.size() > kMostLineBytes)
            fail(AnswerFault::NotHttp);
        return;
    }
    const std::string line = std::exchange(pending_, {});
    if (line == "\r\n" || line == "\n")
        finish();
}

void AnswerReader::takeBody(std::string_view bytes)
{
    received_ += bytes.size();
    if (received_ > mostBodyBytes_) {
        fail(AnswerFault::TooLarge);
        return;
    }
    if (!inflater_) {
        body_.append(bytes);
        return;
    }
    if (inflater_->ended)
        return; // what follows the compressed stream is not part of it
    z_stream& stream = inflater_->stream;
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(bytes.data()));
    stream.avail_in = static_cast<uInt>(bytes.size());
    while (stream.avail_in > 0 && !inflater_->ended) {
        const std::size_t had = body_.size();
        const uInt input = stream.avail_in;
        body_.resize(had + kInflateStep);
        stream.next_out = reinterpret_cast<Bytef*>(body_.data() + had);
        stream.avail_out = static_cast<uInt>(kInflateStep);
        const int result = inflate(&stream, Z_NO_FLUSH);
        body_.resize(had + kInflateStep - stream.avail_out);
        if (result == Z_STREAM_END) {
            inflater_->ended = true;
        } else if (result != Z_OK &&
                   !(result == Z_BUF_ERROR && (stream.avail_in < input || body_.size() > had))) {
            fail(AnswerFault::Damaged);
            return;
        }
        if (body_.size() > mostBodyBytes_) {
            fail(AnswerFault::TooLarge);
            return;
        }
    }
}

void AnswerReader::fail(AnswerFault fault)
{
    fault_ = fault;
    pending_.clear();
    body_.clear();
    inflater_.reset();
}

void AnswerReader::finish()
{
    if (inflater_ && !inflater_->ended) {
        fail(AnswerFault::Damaged);
        return;
    }
    inflater_.reset();
    stage_ = Stage::Done;
}

} // namespace alborx::http
