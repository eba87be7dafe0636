// The editor protocol's framing for the programs that play the editor or
// read the server: a message with its header, the messages of an output,
// and input that arrives in pieces.
#pragma once

#include <optional>
#include <streambuf>
#include <string>
#include <string_view>
#include <vector>

namespace scenario::testing {

// One message as an editor writes it.
inline std::string framed(std::string_view body) {
    return "Content-Length: " + std::to_string(body.size()) + "\r\n\r\n" + std::string(body);
}

// The bodies of `out`, which must be nothing but messages framed exactly
// as the server frames them; nothing when it is not.
inline std::optional<std::vector<std::string>> unframed(std::string_view out) {
    constexpr std::string_view kHead = "Content-Length: ";
    std::vector<std::string> bodies;
    while (!out.empty()) {
        if (out.substr(0, kHead.size()) != kHead) return std::nullopt;
        out.remove_prefix(kHead.size());
        std::size_t length = 0;
        std::size_t digits = 0;
        for (; digits < out.size() && out[digits] >= '0' && out[digits] <= '9'; ++digits)
            length = length * 10 + static_cast<std::size_t>(out[digits] - '0');
        if (digits == 0 || digits > 12 || out.substr(digits, 4) != "\r\n\r\n") return std::nullopt;
        out.remove_prefix(digits + 4);
        if (out.size() < length) return std::nullopt;
        bodies.emplace_back(out.substr(0, length));
        out.remove_prefix(length);
    }
    return bodies;
}

// Input that arrives in pieces: the reader sees the bytes of one piece as
// already there, and none of the next until it reads on, as when an
// editor sends one piece and waits before the next.
class PacedInput final : public std::streambuf {
  public:
    explicit PacedInput(std::vector<std::string> pieces) : pieces_(std::move(pieces)) {}

  private:
    int_type underflow() override {
        while (next_ < pieces_.size()) {
            std::string& piece = pieces_[next_++];
            if (piece.empty()) continue;
            setg(piece.data(), piece.data(), piece.data() + piece.size());
            return traits_type::to_int_type(piece.front());
        }
        return traits_type::eof();
    }
    std::streamsize showmanyc() override { return 0; }

    std::vector<std::string> pieces_;
    std::size_t next_ = 0;
};

}  // namespace scenario::testing
