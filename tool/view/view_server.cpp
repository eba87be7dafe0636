#include "tool/view/view_server.h"

#include <chrono>
#include <csignal>
#include <deque>
#include <memory>
#include <optional>
#include <ostream>
#include <sstream>
#include <vector>

#include <boost/asio.hpp>
#include <boost/beast/core.hpp>
#include <boost/beast/http.hpp>

#include "tool/view/view_page.h"
#include "tool/view/view_request.h"

namespace scenario {

namespace {

namespace net = boost::asio;
namespace beast = boost::beast;
namespace http = beast::http;
using tcp = net::ip::tcp;
using Request = http::request<http::string_body>;

constexpr auto kPollEvery = std::chrono::milliseconds(100);
// A comment line on every stream this often, so that a page gone away
// without a word frees its place.
constexpr auto kKeepAliveEvery = std::chrono::seconds(15);
// A connection that sends no whole request in this time is closed.
constexpr auto kIdleLimit = std::chrono::seconds(30);
// The page sends no bodies; a small one is read only to be refused.
constexpr std::size_t kBodyLimit = 4096;
#if defined(_WIN32)
constexpr bool kReusePort = false;
#else
constexpr bool kReusePort = true;
#endif

class Server;

class Connection : public std::enable_shared_from_this<Connection> {
  public:
    Connection(tcp::socket socket, Server& server);
    ~Connection();
    void start() { read(); }
    // Queues one event (or a ':' comment) for a stream; does nothing on
    // other connections.
    void send(std::string event);

  private:
    void read();
    void on_read(beast::error_code ec);
    void answer(const Request& req);
    void respond(http::status status, std::string_view type, std::string body, bool keep_alive,
                 unsigned version);
    void open_stream(unsigned version);
    void write_next();
    void watch_peer();
    void close();

    beast::tcp_stream stream_;
    beast::flat_buffer buffer_;
    std::optional<http::request_parser<http::string_body>> parser_;
    Server& server_;
    std::shared_ptr<http::response<http::string_body>> response_;
    std::shared_ptr<http::response<http::empty_body>> stream_head_;
    std::shared_ptr<http::response_serializer<http::empty_body>> stream_serializer_;
    bool streaming_ = false;
    bool writing_ = false;
    std::deque<std::string> events_;
};

class Server {
  public:
    Server(ViewModel& model, FileWatch& watch, ToolContext& ctx, const ViewLimits& limits)
        : model_(model), watch_(watch), ctx_(ctx), limits_(limits) {}

    int run(unsigned short port);

    ViewModel& model() { return model_; }
    unsigned port() const { return port_; }
    // Connection bookkeeping, for the limits.
    void opened() { ++sessions_; }
    void closed() { --sessions_; }
    bool take_stream(const std::shared_ptr<Connection>& s);

  private:
    void accept();
    void poll();
    void tell_streams(const std::string& event);

    ViewModel& model_;
    FileWatch& watch_;
    ToolContext& ctx_;
    ViewLimits limits_;
    // Before the io_context: connections still queued in it when it goes count
    // themselves out here.
    std::size_t sessions_ = 0;
    std::vector<std::weak_ptr<Connection>> streams_;
    net::io_context ioc_{1};
    tcp::acceptor acceptor_{ioc_};
    net::steady_timer timer_{ioc_};
    net::signal_set signals_{ioc_};
    unsigned port_ = 0;
    std::chrono::steady_clock::time_point last_keep_alive_ = std::chrono::steady_clock::now();
};

Connection::Connection(tcp::socket socket, Server& server)
    : stream_(std::move(socket)), server_(server) {
    server_.opened();
}

Connection::~Connection() {
    server_.closed();
}

void Connection::read() {
    parser_.emplace();
    parser_->body_limit(kBodyLimit);
    stream_.expires_after(kIdleLimit);
    http::async_read(
        stream_, buffer_, *parser_,
        [self = shared_from_this()](beast::error_code ec, std::size_t) { self->on_read(ec); });
}

void Connection::on_read(beast::error_code ec) {
    if (ec) return close();
    answer(parser_->get());
}

std::string_view status_text(int status) {
    switch (status) {
        case 403:
            return "refused: the Host is not this server\n";
        case 405:
            return "only GET\n";
        default:
            return "not found\n";
    }
}

void Connection::answer(const Request& req) {
    const std::string_view method(req.method_string().data(), req.method_string().size());
    const std::string_view target(req.target().data(), req.target().size());
    const auto host_field = req[http::field::host];
    const std::string_view host(host_field.data(), host_field.size());
    const ViewRequest r = view_request(method, target, host, server_.port());
    const bool keep = req.keep_alive();
    if (r.status != 200) {
        respond(static_cast<http::status>(r.status), "text/plain; charset=utf-8",
                std::string(status_text(r.status)), false, req.version());
        return;
    }
    ViewModel& model = server_.model();
    std::ostringstream body;
    switch (r.path) {
        case ViewPath::page:
            respond(http::status::ok, "text/html; charset=utf-8", std::string(view_page()), keep,
                    req.version());
            return;
        case ViewPath::state:
            model.write_state(body);
            respond(http::status::ok, "application/json", body.str(), keep, req.version());
            return;
        case ViewPath::picture:
            model.write_picture({query_number(r.query, "from").value_or(0),
                                 query_number(r.query, "to").value_or(0)},
                                body);
            respond(http::status::ok, "image/svg+xml", body.str(), keep, req.version());
            return;
        case ViewPath::probe:
            model.write_probe(query_number(r.query, "at").value_or(0),
                              query_number(r.query, "tolerance").value_or(0), body);
            respond(http::status::ok, "application/json", body.str(), keep, req.version());
            return;
        case ViewPath::events:
            open_stream(req.version());
            return;
    }
}

void Connection::respond(http::status status, std::string_view type, std::string body,
                         bool keep_alive, unsigned version) {
    response_ = std::make_shared<http::response<http::string_body>>(status, version);
    response_->set(http::field::content_type, beast::string_view(type.data(), type.size()));
    response_->set(http::field::cache_control, "no-store");
    response_->set("X-Content-Type-Options", "nosniff");
    if (status == http::status::method_not_allowed) response_->set(http::field::allow, "GET");
    response_->body() = std::move(body);
    response_->keep_alive(keep_alive);
    response_->prepare_payload();
    http::async_write(stream_, *response_,
                      [self = shared_from_this(), keep_alive](beast::error_code ec, std::size_t) {
                          if (ec || !keep_alive) return self->close();
                          self->read();
                      });
}

// An event stream: the head, with no length, then one event at a time
// until the page goes away.
void Connection::open_stream(unsigned version) {
    if (!server_.take_stream(shared_from_this())) {
        respond(http::status::service_unavailable, "text/plain; charset=utf-8",
                "too many open pages\n", false, version);
        return;
    }
    streaming_ = true;
    stream_.expires_never();
    stream_head_ = std::make_shared<http::response<http::empty_body>>(http::status::ok, version);
    stream_head_->set(http::field::content_type, "text/event-stream");
    stream_head_->set(http::field::cache_control, "no-store");
    stream_serializer_ =
        std::make_shared<http::response_serializer<http::empty_body>>(*stream_head_);
    writing_ = true;
    http::async_write_header(
        stream_, *stream_serializer_,
        [self = shared_from_this()](beast::error_code ec, std::size_t) {
            self->writing_ = false;
            if (ec) return self->close();
            self->watch_peer();
            // The page asks for the state when the stream opens.
            self->send("retry: 500\ndata: " + std::to_string(self->server_.model().version()) +
                       "\n\n");
        });
}

// A page sends nothing on its stream: whatever comes, the end of the
// connection included, closes it, so that a page reloaded frees its place
// at once.
void Connection::watch_peer() {
    stream_.async_read_some(
        buffer_.prepare(512),
        [self = shared_from_this()](beast::error_code, std::size_t) { self->close(); });
}

void Connection::send(std::string event) {
    if (!streaming_) return;
    // A keep-alive comment is needed only on a stream with nothing to send.
    if (event.starts_with(':') && !events_.empty()) return;
    // Every event says only "build N is ready": for a page that reads
    // slowly the newest replaces the one still waiting, so the queue never
    // holds more than the one being written and one more.
    if (events_.size() >= 2) {
        events_.back() = std::move(event);
    } else {
        events_.push_back(std::move(event));
    }
    if (!writing_) write_next();
}

// The event at the front is being written until its handler runs: it
// leaves the queue there and only there, whatever closed the stream since.
void Connection::write_next() {
    if (events_.empty() || !streaming_) return;
    writing_ = true;
    net::async_write(stream_, net::buffer(events_.front()),
                     [self = shared_from_this()](beast::error_code ec, std::size_t) {
                         self->writing_ = false;
                         self->events_.pop_front();
                         if (ec) return self->close();
                         self->write_next();
                     });
}

void Connection::close() {
    beast::error_code ignored;
    stream_.socket().shutdown(tcp::socket::shutdown_both, ignored);
    stream_.socket().close(ignored);
    streaming_ = false;
    // A write under way still reads its event; its handler drops it.
    if (!writing_) events_.clear();
}

bool Server::take_stream(const std::shared_ptr<Connection>& s) {
    std::erase_if(streams_, [](const std::weak_ptr<Connection>& w) { return w.expired(); });
    if (streams_.size() >= limits_.streams) return false;
    streams_.push_back(s);
    return true;
}

void Server::tell_streams(const std::string& event) {
    std::erase_if(streams_, [](const std::weak_ptr<Connection>& w) { return w.expired(); });
    for (const std::weak_ptr<Connection>& w : streams_) {
        if (const auto s = w.lock()) s->send(event);
    }
}

void Server::accept() {
    acceptor_.async_accept([this](beast::error_code ec, tcp::socket socket) {
        if (!ec) {
            if (sessions_ < limits_.connections) {
                std::make_shared<Connection>(std::move(socket), *this)->start();
            } else {
                beast::error_code ignored;
                socket.close(ignored);
            }
        }
        if (acceptor_.is_open()) accept();
    });
}

void Server::poll() {
    if (watch_.changed(ctx_.fs)) {
        model_.rebuild(ctx_);
        tell_streams("data: " + std::to_string(model_.version()) + "\n\n");
    }
    const auto now = std::chrono::steady_clock::now();
    if (now - last_keep_alive_ >= kKeepAliveEvery) {
        last_keep_alive_ = now;
        tell_streams(": still here\n\n");
    }
    timer_.expires_after(kPollEvery);
    timer_.async_wait([this](beast::error_code ec) {
        if (!ec) poll();
    });
}

int Server::run(unsigned short port) {
    beast::error_code ec;
    const tcp::endpoint where(net::ip::address_v4::loopback(), port);
    acceptor_.open(where.protocol(), ec);
    // A viewer started again at once takes its port back from the
    // connections the last one left waiting. Not on Windows, where the same
    // option would let another program take a port in use.
    if (!ec && kReusePort) acceptor_.set_option(net::socket_base::reuse_address(true), ec);
    if (!ec) acceptor_.bind(where, ec);
    if (!ec) acceptor_.listen(net::socket_base::max_listen_connections, ec);
    if (ec) {
        ctx_.err << kToolName << " view: cannot listen on 127.0.0.1:" << port << ": "
                 << ec.message() << '\n';
        return kExitFatal;
    }
    port_ = acceptor_.local_endpoint(ec).port();
    signals_.add(SIGINT, ec);
    signals_.add(SIGTERM, ec);
    signals_.async_wait([this](beast::error_code, int) { ioc_.stop(); });
    poll();
    ctx_.out << "viewing at http://127.0.0.1:" << port_ << "/  (Ctrl+C ends)" << std::endl;
    accept();
    ioc_.run();
    ctx_.out << "stopped" << std::endl;
    return kExitClean;
}

}  // namespace

int serve_view(ViewModel& model, FileWatch& watch, ToolContext& ctx, unsigned short port,
               const ViewLimits& limits) {
    Server server(model, watch, ctx, limits);
    return server.run(port);
}

}  // namespace scenario
