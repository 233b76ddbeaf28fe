/* http_fetch.h - the browser host's HTTP/1.1 client: one GET at a time over a kept-alive
 * connection, the body read in pieces */
#ifndef HTTP_FETCH_H
#define HTTP_FETCH_H

#include <stddef.h>
#include <string>

#define HTTP_MAX_REDIRECTS   5       /* 3xx answers followed before giving up */
#define HTTP_READ_TIMEOUT_MS 30000   /* a server silent this long fails the transfer */

struct HttpHead {
    int status;                 /* 200, 404 ... */
    std::string reason;         /* "OK", "Not Found" ... */
    std::string contentType;    /* without parameters, lower-cased; may be empty */
    long long contentLength;    /* -1 when the server gave none */
    std::string finalUrl;       /* the URL answered, after redirects */
};

/* Sends GET url (an absolute http URL) and reads the answer's head, following redirects.
 * Returns true with *head filled; the body is then read with HttpRead. Returns false with
 * *error saying what failed (bad URL, connect, send, head); no exchange is then open. */
bool HttpOpen(const std::string &url, const char *userAgent, HttpHead *head, std::string *error);

/* Reads the next piece of the open body into buf (at most cap bytes). Returns the count
 * (> 0), 0 when the body is complete, or -1 with *error when the transfer failed (the
 * connection closed early, a time-out); after 0 or -1 no exchange is open. */
long HttpRead(char *buf, size_t cap, std::string *error);

/* Drops the open exchange, if any, and its connection. Cannot fail. */
void HttpAbandon(void);

/* Closes the kept-alive connection. Cannot fail. */
void HttpShutdown(void);

#endif /* HTTP_FETCH_H */
