/* request_handler.h - decides the answer to one request: method, URL checks, mapping into
 * the site, the filters, then the file, a redirect or an error */
#ifndef REQUEST_HANDLER_H
#define REQUEST_HANDLER_H

#include "filter_call.h"
#include "server_options.h"

#include <string>
#include <vector>

/* What every request shares; read only while the server runs. */
struct ServerSite {
    std::string root;  /* full path of the site folder, without trailing "\" */
    const std::vector<LoadedFilter> *filters;
    const std::vector<DropRule> *drops;
    unsigned short port;
};

enum ReplyKind {
    REPLY_TEXT,  /* status with a short text body (errors, redirects) */
    REPLY_FILE,  /* 200 with the open file as body */
    REPLY_CLOSE  /* close the connection without an answer (a filter finished the request) */
};

struct Reply {
    ReplyKind kind;
    int status;
    std::string contentType;
    std::string location;              /* Location of a 301 */
    std::string body;                  /* REPLY_TEXT */
    std::vector<HeaderField> headers;  /* added by filters, or Allow */
    HANDLE file;                       /* REPLY_FILE: open for reading, closed by CloseReply */
    unsigned long long fileSize;
    bool dropSet;                      /* a --drop-after rule matched */
    unsigned long long dropAfter;      /* body bytes sent before the connection is dropped */
    std::string servedPath;            /* the physical path after the filters, when any */
    std::string failure;               /* why a 500 was given, for the server's output */
};

/* Fills *reply for a request with the given method and target; request->url and
 * request->query are set from the target. A GET or HEAD that passes the URL checks goes
 * through the filters. Cannot fail; every problem becomes a status in *reply. */
void HandleRequest(const ServerSite &site, const std::string &target, RequestInfo *request, Reply *reply);

/* Makes *reply a text answer with status (400, 404, 500, ...) and a body of its number and
 * reason; filter-added fields are kept. Cannot fail. */
void MakeTextReply(int status, Reply *reply);

/* Closes the reply's file when one is open. Cannot fail. */
void CloseReply(Reply *reply);

#endif /* REQUEST_HANDLER_H */
