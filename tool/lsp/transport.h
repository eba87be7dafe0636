// The transport of the editor protocol. On a byte stream each message is
// a header block ("Content-Length: N", other headers ignored, each line
// ended by CR LF) and a blank line, then N bytes of JSON. Reading is bounded: a
// header line, the header block and a message each have a limit, and no
// input makes the reader hold more than one message.
#pragma once

#include <cstddef>
#include <iosfwd>
#include <string>
#include <string_view>

namespace scenario {

struct FrameLimits {
    std::size_t max_header_line = 1024;
    std::size_t max_header_lines = 32;
    std::size_t max_body = std::size_t{32} << 20;
};

struct Frame {
    enum class Status : unsigned char {
        message,     // `body` holds one message
        too_large,   // a message longer than the limit was read past; `length` says how long
        bad_header,  // a header block without a usable Content-Length; `error` says why
        end,         // the stream ended (or broke off inside a message)
    };
    Status status = Status::end;
    std::string body;
    std::size_t length = 0;
    std::string error;
};

class FrameReader {
  public:
    explicit FrameReader(std::istream& in, FrameLimits limits = {}) : in_(in), limits_(limits) {}

    // The next message. After a bad header block the reader passes over
    // everything up to the next line that begins with "Content-Length", so
    // that one broken message costs one error, not one per line.
    Frame next();

  private:
    enum class Line : unsigned char { ok, too_long, end };
    Line read_line(std::string* line);
    bool skip(std::size_t n);

    std::istream& in_;
    FrameLimits limits_;
    bool lost_ = false;  // looking for the next header block
};

// Writes one message with its header and flushes it.
void write_frame(std::ostream& out, std::string_view body);

// Where the server takes its messages from, one at a time.
class FrameSource {
  public:
    virtual ~FrameSource() = default;
    // The next message, waiting for it.
    virtual Frame next() = 0;
    // Whether a message has arrived already, so that `next` would not wait:
    // while one has, the server puts off its checks, which the newer texts
    // may make pointless.
    virtual bool ready() = 0;
};

// Reads in the caller's thread. A message has arrived when the stream holds
// bytes already read from its source: an in-memory stream holds them all,
// a stream whose buffer tells nothing holds none.
class StreamFrames final : public FrameSource {
  public:
    StreamFrames(std::istream& in, FrameLimits limits) : in_(in), reader_(in, limits) {}
    Frame next() override { return reader_.next(); }
    bool ready() override;

  private:
    std::istream& in_;
    FrameReader reader_;
};

}  // namespace scenario
