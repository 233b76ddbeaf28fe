/* http_server.cpp - Boost.Beast connections of isapi_server on a pool of threads, and its stop */
#include "http_server.h"

#include <boost/asio.hpp>
#include <boost/beast/core.hpp>
#include <boost/beast/http.hpp>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>

namespace beast = boost::beast;
namespace http = beast::http;
namespace net = boost::asio;
using tcp = net::ip::tcp;

static std::mutex s_stopLock;
static std::condition_variable s_stopSignal;
static bool s_stopRequested = false;
static std::atomic<int> s_answersUnderWay{0};  /* requests read and not yet fully answered */
static std::mutex s_outputLock;

void PrintLine(const std::string &line)
{
    std::lock_guard<std::mutex> hold(s_outputLock);
    std::fputs(line.c_str(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

void RequestServerStop()
{
    {
        std::lock_guard<std::mutex> hold(s_stopLock);
        s_stopRequested = true;
    }
    s_stopSignal.notify_all();
}

/* One connection. Its states: reading a request -> answering (text, or file header then
 * file chunks) -> reading the next request, or closed. Every step runs on the connection's
 * strand, so a session is never entered by two threads at once. */
class Session : public std::enable_shared_from_this<Session>
{
public:
    Session(tcp::socket &&socket, const ServerSite *site, bool verbose)
        : stream_(std::move(socket)), site_(site), verbose_(verbose), chunk_(FILE_CHUNK_BYTES)
    {
        reply_ = Reply();
        reply_.file = INVALID_HANDLE_VALUE;
    }

    ~Session() { EndAnswer(); }

    void Start()
    {
        net::dispatch(stream_.get_executor(), beast::bind_front_handler(&Session::Read, shared_from_this()));
    }

private:
    beast::tcp_stream stream_;
    beast::flat_buffer buffer_;
    std::optional<http::request_parser<http::string_body>> parser_;
    const ServerSite *site_;
    bool verbose_;
    bool answering_ = false;  /* counted in s_answersUnderWay */
    bool keepAlive_ = false;
    bool isHead_ = false;
    Reply reply_;
    std::shared_ptr<void> response_;  /* the message being written */
    std::vector<char> chunk_;
    unsigned long long bodyLeft_ = 0;  /* file bytes still to send */

    void Read()
    {
        parser_.emplace();
        parser_->header_limit(MAX_HEADER_BYTES);
        parser_->body_limit(MAX_BODY_BYTES);
        stream_.expires_after(std::chrono::seconds(SERVER_IO_TIMEOUT_SECONDS));
        http::async_read(stream_, buffer_, *parser_, beast::bind_front_handler(&Session::OnRead, shared_from_this()));
    }

    void OnRead(beast::error_code ec, std::size_t)
    {
        if (ec == http::error::end_of_stream) {
            Shutdown();
            return;
        }
        answering_ = true;
        s_answersUnderWay++;
        if (ec) {
            if (ec.category() != http::make_error_code(http::error::bad_target).category()) {
                Abort();  /* timeout, reset: nobody to answer */
                return;
            }
            keepAlive_ = false;  /* after a malformed request the stream cannot be trusted */
            isHead_ = false;
            MakeTextReply(400, &reply_);
            SendText("?", "(malformed)");
            return;
        }
        const auto &request = parser_->get();
        RequestInfo info;
        info.method = std::string(request.method_string());
        info.serverPort = site_->port;
        beast::error_code ignored;
        tcp::endpoint remote = stream_.socket().remote_endpoint(ignored);
        info.remoteAddr = remote.address().to_string();
        for (const auto &field : request)
            info.headers.emplace_back(std::string(field.name_string()), std::string(field.value()));
        keepAlive_ = request.keep_alive();
        isHead_ = request.method() == http::verb::head;
        std::string target(request.target());
        try {
            HandleRequest(*site_, target, &info, &reply_);
        } catch (const std::exception &e) {
            CloseReply(&reply_);
            reply_ = Reply();
            reply_.file = INVALID_HANDLE_VALUE;
            reply_.failure = e.what();
            MakeTextReply(500, &reply_);
        }
        if (reply_.kind == REPLY_FILE)
            SendFileHeader(info.method, target);
        else if (reply_.kind == REPLY_TEXT)
            SendText(info.method, target);
        else
            Abort();
    }

    void Report(const std::string &method, const std::string &target)
    {
        if (!reply_.failure.empty())
            PrintLine("isapi_server: " + std::to_string(reply_.status) + " for " + target + ": " + reply_.failure);
        if (verbose_)
            PrintLine(method + " " + target + " " + std::to_string(reply_.status) +
                      (reply_.servedPath.empty() ? "" : " " + reply_.servedPath));
    }

    template <class Message>
    void SetCommonFields(Message &message)
    {
        message.set(http::field::server, "isapi_server");
        message.set(http::field::content_type, reply_.contentType);
        for (const HeaderField &field : reply_.headers)
            message.insert(field.first, field.second);
        message.keep_alive(keepAlive_);
    }

    void SendText(const std::string &method, const std::string &target)
    {
        Report(method, target);
        auto message = std::make_shared<http::response<http::string_body>>(http::int_to_status(reply_.status), 11);
        SetCommonFields(*message);
        if (!reply_.location.empty())
            message->set(http::field::location, reply_.location);
        message->content_length(reply_.body.size());
        if (!isHead_)
            message->body() = reply_.body;
        response_ = message;
        stream_.expires_after(std::chrono::seconds(SERVER_IO_TIMEOUT_SECONDS));
        http::async_write(stream_, *message, beast::bind_front_handler(&Session::OnAnswered, shared_from_this()));
    }

    void SendFileHeader(const std::string &method, const std::string &target)
    {
        Report(method, target);
        auto message = std::make_shared<http::response<http::empty_body>>(http::status::ok, 11);
        SetCommonFields(*message);
        message->content_length(reply_.fileSize);
        response_ = message;
        stream_.expires_after(std::chrono::seconds(SERVER_IO_TIMEOUT_SECONDS));
        http::async_write(stream_, *message, beast::bind_front_handler(&Session::OnFileHeaderSent, shared_from_this()));
    }

    void OnFileHeaderSent(beast::error_code ec, std::size_t)
    {
        if (ec) {
            Abort();
            return;
        }
        if (isHead_) {
            OnAnswered(ec, 0);
            return;
        }
        bodyLeft_ = reply_.fileSize;
        if (reply_.dropSet)
            bodyLeft_ = std::min(bodyLeft_, reply_.dropAfter);
        SendFileChunk();
    }

    void SendFileChunk()
    {
        if (bodyLeft_ == 0) {
            if (reply_.dropSet)
                Shutdown();  /* the fault asked for: the client gets less than Content-Length */
            else
                OnAnswered(beast::error_code(), 0);
            return;
        }
        DWORD want = (DWORD)std::min<unsigned long long>(bodyLeft_, chunk_.size());
        DWORD got = 0;
        if (!ReadFile(reply_.file, chunk_.data(), want, &got, nullptr) || got == 0) {
            Abort();  /* the file shrank or failed: the promised length cannot be kept */
            return;
        }
        bodyLeft_ -= got;
        stream_.expires_after(std::chrono::seconds(SERVER_IO_TIMEOUT_SECONDS));
        net::async_write(stream_, net::buffer(chunk_.data(), got),
                         beast::bind_front_handler(&Session::OnFileChunkSent, shared_from_this()));
    }

    void OnFileChunkSent(beast::error_code ec, std::size_t)
    {
        if (ec) {
            Abort();
            return;
        }
        SendFileChunk();
    }

    void OnAnswered(beast::error_code ec, std::size_t)
    {
        if (ec) {
            Abort();
            return;
        }
        EndAnswer();
        if (!keepAlive_) {
            Shutdown();
            return;
        }
        Read();
    }

    void EndAnswer()
    {
        CloseReply(&reply_);
        response_.reset();
        if (answering_) {
            answering_ = false;
            s_answersUnderWay--;
        }
    }

    /* Orderly end: the client reads everything sent so far, then end of stream. */
    void Shutdown()
    {
        EndAnswer();
        beast::error_code ignored;
        stream_.socket().shutdown(tcp::socket::shutdown_send, ignored);
        stream_.socket().close(ignored);
    }

    void Abort()
    {
        EndAnswer();
        beast::error_code ignored;
        stream_.socket().close(ignored);
    }
};

/* Accepts connections on its own strand and starts a Session for each. */
class Listener : public std::enable_shared_from_this<Listener>
{
public:
    Listener(net::io_context &ioc, tcp::acceptor &&acceptor, const ServerSite *site, bool verbose)
        : ioc_(ioc), acceptor_(std::move(acceptor)), site_(site), verbose_(verbose) {}

    void Accept()
    {
        acceptor_.async_accept(net::make_strand(ioc_), beast::bind_front_handler(&Listener::OnAccept, shared_from_this()));
    }

    void Close()
    {
        net::post(acceptor_.get_executor(), [self = shared_from_this()] {
            beast::error_code ignored;
            self->acceptor_.close(ignored);
        });
    }

private:
    net::io_context &ioc_;
    tcp::acceptor acceptor_;
    const ServerSite *site_;
    bool verbose_;

    void OnAccept(beast::error_code ec, tcp::socket socket)
    {
        if (!acceptor_.is_open())
            return;
        if (!ec) {
            /* the header and the file go out in separate writes: without this the second
             * one would wait for the client's delayed acknowledgement */
            beast::error_code ignored;
            socket.set_option(tcp::no_delay(true), ignored);
            std::make_shared<Session>(std::move(socket), site_, verbose_)->Start();
        }
        Accept();
    }
};

/* Returns when a stop was asked for or maxSeconds (0: no limit) have passed. */
static void WaitForStop(unsigned maxSeconds)
{
    std::unique_lock<std::mutex> hold(s_stopLock);
    if (maxSeconds == 0)
        s_stopSignal.wait(hold, [] { return s_stopRequested; });
    else
        s_stopSignal.wait_for(hold, std::chrono::seconds(maxSeconds), [] { return s_stopRequested; });
}

static void RunPoolThread(net::io_context *ioc)
{
    for (;;) {
        try {
            ioc->run();
            return;
        } catch (const std::exception &e) {
            std::fprintf(stderr, "isapi_server: request thread: %s\n", e.what());
        }
    }
}

int RunHttpServer(const ServerOptions &opts, ServerSite *site)
{
    net::io_context ioc((int)opts.threads);
    tcp::acceptor acceptor(net::make_strand(ioc));
    tcp::endpoint endpoint(net::ip::make_address_v4("127.0.0.1"), (unsigned short)opts.port);
    beast::error_code ec;
    acceptor.open(endpoint.protocol(), ec);
    if (!ec)
        acceptor.bind(endpoint, ec);
    if (!ec)
        acceptor.listen(net::socket_base::max_listen_connections, ec);
    if (ec) {
        std::fprintf(stderr, "isapi_server: cannot listen on 127.0.0.1:%u: %s\n", opts.port, ec.message().c_str());
        return 1;
    }
    site->port = acceptor.local_endpoint().port();

    auto listener = std::make_shared<Listener>(ioc, std::move(acceptor), site, opts.verbose);
    listener->Accept();
    PrintLine("isapi_server: serving " + site->root + " on http://127.0.0.1:" + std::to_string(site->port) + "/");

    std::vector<std::thread> pool;
    for (unsigned i = 0; i < opts.threads; i++)
        pool.emplace_back(RunPoolThread, &ioc);

    WaitForStop(opts.maxSeconds);
    listener->Close();
    auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(SERVER_STOP_GRACE_MS);
    while (s_answersUnderWay > 0 && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    ioc.stop();
    for (std::thread &t : pool)
        t.join();
    return 0;
}
