#include "tool/lsp/transport.h"

#include <algorithm>
#include <istream>
#include <limits>
#include <optional>
#include <ostream>

namespace scenario {

namespace {

constexpr std::string_view kContentLength = "content-length";

char lower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// Where "Content-Length", in any case, begins in `line`, or npos.
std::size_t find_content_length(std::string_view line) {
    const auto it =
        std::search(line.begin(), line.end(), kContentLength.begin(), kContentLength.end(),
                    [](char a, char b) { return lower(a) == lower(b); });
    return it == line.end() ? std::string_view::npos : static_cast<std::size_t>(it - line.begin());
}

std::string_view trimmed(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t'))
        s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t'))
        s.remove_suffix(1);
    return s;
}

// Decimal digits only; a value too large for a size reads as the largest.
std::optional<std::size_t> length_value(std::string_view s) {
    s = trimmed(s);
    if (s.empty()) return std::nullopt;
    std::size_t n = 0;
    constexpr std::size_t kMax = std::numeric_limits<std::size_t>::max();
    for (const char c : s) {
        if (c < '0' || c > '9') return std::nullopt;
        const auto d = static_cast<std::size_t>(c - '0');
        n = n > (kMax - d) / 10 ? kMax : n * 10 + d;
    }
    return n;
}

Frame bad(std::string why) {
    Frame f;
    f.status = Frame::Status::bad_header;
    f.error = std::move(why);
    return f;
}

}  // namespace

FrameReader::Line FrameReader::read_line(std::string* line) {
    line->clear();
    std::streambuf* buf = in_.rdbuf();
    bool too_long = false;
    for (;;) {
        const auto c = buf->sbumpc();
        if (c == std::char_traits<char>::eof()) return Line::end;
        if (c == '\n') break;
        *line += static_cast<char>(c);
        // A line too long keeps only its tail, where the next header block
        // begins when a message was lost.
        if (line->size() >= 2 * limits_.max_header_line) {
            line->erase(0, line->size() - limits_.max_header_line);
            too_long = true;
        }
    }
    if (!line->empty() && line->back() == '\r') line->pop_back();
    if (line->size() > limits_.max_header_line) {
        line->erase(0, line->size() - limits_.max_header_line);
        too_long = true;
    }
    return too_long ? Line::too_long : Line::ok;
}

bool FrameReader::skip(std::size_t n) {
    char chunk[1 << 16];
    while (n > 0) {
        const auto want = static_cast<std::streamsize>(std::min(n, sizeof chunk));
        in_.read(chunk, want);
        if (in_.gcount() != want) return false;
        n -= static_cast<std::size_t>(want);
    }
    return true;
}

Frame FrameReader::next() {
    std::string line;
    // The first line of a header block: blank lines between messages are
    // passed over, and so is everything before the next block once lost.
    for (;;) {
        const Line r = read_line(&line);
        if (r == Line::end) return {};
        if (r == Line::too_long && !lost_) {
            lost_ = true;
            return bad("a header line is longer than " + std::to_string(limits_.max_header_line) +
                       " bytes");
        }
        if (lost_) {
            const std::size_t at = find_content_length(line);
            if (at == std::string::npos) continue;
            line.erase(0, at);
            lost_ = false;
        }
        if (!line.empty()) break;
    }
    std::optional<std::size_t> length;
    for (std::size_t lines = 1; !line.empty(); ++lines) {
        const std::size_t colon = line.find(':');
        if (lines > limits_.max_header_lines || colon == std::string::npos) {
            lost_ = true;
            return bad(colon == std::string::npos
                           ? "a header line without ':'"
                           : "more than " + std::to_string(limits_.max_header_lines) +
                                 " header lines");
        }
        if (find_content_length(line) == 0 && colon == kContentLength.size()) {
            const auto n = length_value(std::string_view(line).substr(colon + 1));
            if (!n || (length && *length != *n)) {
                lost_ = true;
                return bad("Content-Length is not one decimal number");
            }
            length = n;
        }
        const Line r = read_line(&line);
        if (r == Line::end) return {};
        if (r == Line::too_long) {
            lost_ = true;
            return bad("a header line is longer than " + std::to_string(limits_.max_header_line) +
                       " bytes");
        }
    }
    if (!length) {
        // The block ended, but nothing says where the message ends.
        lost_ = true;
        return bad("a header block without Content-Length");
    }
    Frame f;
    f.length = *length;
    if (*length > limits_.max_body) {
        if (!skip(*length)) return {};
        f.status = Frame::Status::too_large;
        return f;
    }
    f.body.resize(*length);
    in_.read(f.body.data(), static_cast<std::streamsize>(*length));
    if (static_cast<std::size_t>(in_.gcount()) != *length) return {};
    f.status = Frame::Status::message;
    return f;
}

void write_frame(std::ostream& out, std::string_view body) {
    out << "Content-Length: " << body.size() << "\r\n\r\n";
    out.write(body.data(), static_cast<std::streamsize>(body.size()));
    out.flush();
}

bool StreamFrames::ready() {
    std::streambuf* buffer = in_.rdbuf();
    return buffer != nullptr && buffer->in_avail() > 0;
}

}  // namespace scenario
