/* http_client.h - the tests' HTTP client: one request to 127.0.0.1 sent exactly as given */
#ifndef HTTP_CLIENT_H
#define HTTP_CLIENT_H

#include <map>
#include <string>
#include <utility>
#include <vector>

#define CLIENT_TIMEOUT_MS  30000      /* a read waiting longer fails the request */
#define CLIENT_BODY_LIMIT  (64 << 20) /* most body bytes accepted */

struct HttpAnswer {
    int status = 0;                            /* 0: no answer at all (see error) */
    std::map<std::string, std::string> fields; /* lowercase names */
    std::string body;
    bool complete = false;  /* the whole body announced by Content-Length arrived */
    std::string error;      /* why there is no (whole) answer */
};

/* Sends "METHOD target HTTP/1.1" with Host and extra fields on a new connection and reads
 * the answer. Returns the answer; a connection closed early gives complete == false with
 * the body received so far; a connection closed without answer gives status 0. */
HttpAnswer HttpRequest(unsigned short port, const std::string &method, const std::string &target,
                       const std::vector<std::pair<std::string, std::string>> &fields = {});

/* HttpRequest with GET. */
HttpAnswer HttpGet(unsigned short port, const std::string &target);

#endif /* HTTP_CLIENT_H */
