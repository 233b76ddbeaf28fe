/* http_fetch.cpp - GET over one kept-alive connection with Boost.Beast, body read in pieces */
#include "http_fetch.h"

#include <boost/asio/connect.hpp>
#include <boost/asio/io_context.hpp>
#include <boost/asio/ip/tcp.hpp>
#include <boost/beast/core/flat_buffer.hpp>
#include <boost/beast/http.hpp>

#include <cstring>
#include <memory>

#include "browser_url.h"

namespace asio = boost::asio;
namespace http = boost::beast::http;
using tcp = asio::ip::tcp;

/* The connection kept between requests, and the exchange under way on it. States:
 * closed (no socket) -> idle (socket, no parser) -> reading (parser with head read)
 * -> idle again when the body ends on a kept-alive answer, else closed.
 * A body of known length is read straight from the socket into the caller's buffer
 * (direct), after the bytes that came with the head; any other body goes through the
 * parser. */
struct Connection {
    asio::io_context io;
    std::unique_ptr<tcp::socket> socket;
    std::string host, port;
    boost::beast::flat_buffer buffer;
    std::unique_ptr<http::response_parser<http::buffer_body>> parser;
    bool direct;
    std::uint64_t remaining;   /* body bytes still to come, when direct */
    bool keepAlive;
};

static Connection &Conn()
{
    static Connection conn;
    return conn;
}

static void CloseConnection(void)
{
    Connection &c = Conn();
    c.parser.reset();
    if (c.socket) {
        boost::system::error_code ec;
        c.socket->shutdown(tcp::socket::shutdown_both, ec);
        c.socket->close(ec);
        c.socket.reset();
    }
    c.buffer.clear();
}

/* Connects to host:port unless the kept connection already goes there. */
static bool Connect(const HttpUrl &u, std::string *error)
{
    Connection &c = Conn();
    if (c.socket && c.host == u.host && c.port == u.port)
        return true;
    CloseConnection();
    boost::system::error_code ec;
    tcp::resolver resolver(c.io);
    auto results = resolver.resolve(u.host, u.port, ec);
    if (ec) {
        *error = "cannot resolve " + u.host + ": " + ec.message();
        return false;
    }
    auto sock = std::make_unique<tcp::socket>(c.io);
    asio::connect(*sock, results, ec);
    if (ec) {
        *error = "cannot connect to " + u.host + ":" + u.port + ": " + ec.message();
        return false;
    }
    DWORD timeout = HTTP_READ_TIMEOUT_MS;
    setsockopt(sock->native_handle(), SOL_SOCKET, SO_RCVTIMEO, (const char *)&timeout, sizeof timeout);
    sock->set_option(tcp::no_delay(true), ec);
    sock->set_option(asio::socket_base::receive_buffer_size(4 << 20), ec);
    c.socket = std::move(sock);
    c.host = u.host;
    c.port = u.port;
    c.buffer.clear();
    return true;
}

/* Sends the request and reads the head on the current connection. */
static bool SendAndReadHead(const HttpUrl &u, const char *userAgent, boost::system::error_code *ec)
{
    Connection &c = Conn();
    http::request<http::empty_body> req(http::verb::get, EncodeRequestTarget(u.path), 11);
    req.set(http::field::host, u.port == "80" ? u.host : u.host + ":" + u.port);
    req.set(http::field::user_agent, userAgent);
    req.set(http::field::accept, "*/*");
    req.keep_alive(true);
    http::write(*c.socket, req, *ec);
    if (*ec)
        return false;
    c.parser = std::make_unique<http::response_parser<http::buffer_body>>();
    c.parser->body_limit((std::numeric_limits<std::uint64_t>::max)());
    http::read_header(*c.socket, c.buffer, *c.parser, *ec);
    return !*ec;
}

static std::string Lower(std::string s)
{
    for (char &ch : s)
        if (ch >= 'A' && ch <= 'Z')
            ch = (char)(ch - 'A' + 'a');
    return s;
}

/* Reads and drops the rest of a body (a redirect's). */
static void DrainBody(void)
{
    char scratch[4096];
    std::string ignored;
    while (HttpRead(scratch, sizeof scratch, &ignored) > 0) {
    }
}

bool HttpOpen(const std::string &url, const char *userAgent, HttpHead *head, std::string *error)
{
    Connection &c = Conn();
    if (c.parser)
        CloseConnection();
    std::string current = url;
    for (int hop = 0; hop <= HTTP_MAX_REDIRECTS; hop++) {
        HttpUrl u;
        if (!ParseHttpUrl(current, &u)) {
            *error = "not an http URL: " + current;
            return false;
        }
        boost::system::error_code ec;
        bool reused = c.socket && c.host == u.host && c.port == u.port;
        if (!Connect(u, error))
            return false;
        if (!SendAndReadHead(u, userAgent, &ec)) {
            /* A kept connection the server closed meanwhile: try once on a fresh one. */
            CloseConnection();
            if (!reused) {
                *error = "no answer from " + u.host + ":" + u.port + ": " + ec.message();
                return false;
            }
            if (!Connect(u, error))
                return false;
            if (!SendAndReadHead(u, userAgent, &ec)) {
                CloseConnection();
                *error = "no answer from " + u.host + ":" + u.port + ": " + ec.message();
                return false;
            }
        }
        auto &msg = c.parser->get();
        int status = (int)msg.result_int();
        c.direct = false;
        if (status >= 300 && status < 400 && msg.find(http::field::location) != msg.end()) {
            std::string next = ResolveUrl(current, std::string(msg[http::field::location]));
            DrainBody();
            current = next;
            continue;
        }
        head->status = status;
        head->reason = std::string(msg.reason());
        std::string type = Lower(std::string(msg[http::field::content_type]));
        size_t semi = type.find(';');
        if (semi != std::string::npos)
            type.erase(semi);
        while (!type.empty() && type.back() == ' ')
            type.pop_back();
        head->contentType = type;
        auto len = c.parser->content_length();
        head->contentLength = len ? (long long)*len : -1;
        head->finalUrl = current;
        c.direct = len.has_value() && !c.parser->chunked();
        c.remaining = len ? *len : 0;
        c.keepAlive = c.parser->keep_alive();
        return true;
    }
    CloseConnection();
    *error = "too many redirects from " + url;
    return false;
}

/* HttpRead for a body of known length: the head's leftover bytes first, then the socket. */
static long ReadDirect(Connection &c, char *buf, size_t cap, std::string *error)
{
    if (c.remaining == 0) {
        c.parser.reset();
        if (!c.keepAlive)
            CloseConnection();
        return 0;
    }
    size_t want = cap < c.remaining ? cap : (size_t)c.remaining;
    size_t got = 0;
    if (c.buffer.size() > 0) {
        got = want < c.buffer.size() ? want : c.buffer.size();
        memcpy(buf, c.buffer.data().data(), got);
        c.buffer.consume(got);
    } else {
        boost::system::error_code ec;
        got = c.socket->read_some(asio::buffer(buf, want), ec);
        if (ec || got == 0) {
            *error = ec == asio::error::eof || got == 0 ? std::string("connection closed before the end of the body")
                                                        : ec.message();
            CloseConnection();
            return -1;
        }
    }
    c.remaining -= got;
    return (long)got;
}

long HttpRead(char *buf, size_t cap, std::string *error)
{
    Connection &c = Conn();
    if (!c.parser || !c.socket) {
        *error = "no transfer open";
        return -1;
    }
    if (c.direct)
        return ReadDirect(c, buf, cap, error);
    if (c.parser->is_done()) {
        bool keep = c.parser->keep_alive();
        c.parser.reset();
        if (!keep)
            CloseConnection();
        return 0;
    }
    auto &body = c.parser->get().body();
    body.data = buf;
    body.size = cap;
    boost::system::error_code ec;
    http::read(*c.socket, c.buffer, *c.parser, ec);
    if (ec == http::error::need_buffer)
        ec = {};
    size_t got = cap - body.size;
    if (ec) {
        *error = ec == http::error::partial_message || ec == http::error::end_of_stream
                     ? std::string("connection closed before the end of the body")
                     : ec.message();
        CloseConnection();
        return -1;
    }
    if (got == 0) {
        if (c.parser->is_done())
            return HttpRead(buf, cap, error);
        *error = "no data";
        CloseConnection();
        return -1;
    }
    return (long)got;
}

void HttpAbandon(void)
{
    if (Conn().parser)
        CloseConnection();
}

void HttpShutdown(void)
{
    CloseConnection();
}
