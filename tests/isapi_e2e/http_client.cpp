/* http_client.cpp - one HTTP/1.1 request over Boost.Beast, raw target, partial bodies kept */
#include "http_client.h"

#include <boost/asio.hpp>
#include <boost/beast/core.hpp>
#include <boost/beast/http.hpp>

#include <windows.h>
#include <winsock2.h>

namespace beast = boost::beast;
namespace http = beast::http;
namespace net = boost::asio;
using tcp = net::ip::tcp;

HttpAnswer HttpRequest(unsigned short port, const std::string &method, const std::string &target,
                       const std::vector<std::pair<std::string, std::string>> &fields)
{
    HttpAnswer answer;
    net::io_context ioc;
    tcp::socket socket(ioc);
    beast::error_code ec;
    socket.connect(tcp::endpoint(net::ip::make_address_v4("127.0.0.1"), port), ec);
    if (ec) {
        answer.error = "connect: " + ec.message();
        return answer;
    }
    DWORD timeout = CLIENT_TIMEOUT_MS;
    setsockopt(socket.native_handle(), SOL_SOCKET, SO_RCVTIMEO, (const char *)&timeout, sizeof timeout);

    http::request<http::empty_body> request;
    request.method_string(method);
    request.target(target);
    request.version(11);
    request.set(http::field::host, "127.0.0.1:" + std::to_string(port));
    for (const auto &field : fields)
        request.set(field.first, field.second);
    http::write(socket, request, ec);
    if (ec) {
        answer.error = "write: " + ec.message();
        return answer;
    }

    beast::flat_buffer buffer;
    http::response_parser<http::string_body> parser;
    parser.body_limit(CLIENT_BODY_LIMIT);
    parser.skip(method == "HEAD");
    http::read_header(socket, buffer, parser, ec);
    if (ec) {
        answer.error = "read header: " + ec.message();
        return answer;
    }
    answer.status = (int)parser.get().result_int();
    for (const auto &field : parser.get()) {
        std::string name(field.name_string());
        for (char &c : name)
            c = (c >= 'A' && c <= 'Z') ? (char)(c - 'A' + 'a') : c;
        answer.fields[name] = std::string(field.value());
    }
    if (!parser.is_done())
        http::read(socket, buffer, parser, ec);
    answer.body = parser.get().body();
    answer.complete = !ec && parser.is_done();
    if (ec)
        answer.error = "read body: " + ec.message();
    return answer;
}

HttpAnswer HttpGet(unsigned short port, const std::string &target)
{
    return HttpRequest(port, "GET", target);
}
