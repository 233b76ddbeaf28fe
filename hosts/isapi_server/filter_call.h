/* filter_call.h - one URL-map notification sent through the loaded filters, with the
 * server's side of HTTP_FILTER_CONTEXT */
#ifndef FILTER_CALL_H
#define FILTER_CALL_H

#include "filter_list.h"

#include <string>
#include <utility>
#include <vector>

#define PATH_BUFFER_BYTES     MAX_PATH  /* bytes of the physical path buffer, NUL included */
#define PATH_GUARD_BYTES      64        /* bytes after it that no filter may touch */
#define MAX_FILTER_ALLOC      (1 << 20) /* most bytes AllocMem hands out per request */
#define MAX_ADDED_HEADER_TEXT 8192      /* most bytes of AddResponseHeaders text per request */

typedef std::pair<std::string, std::string> HeaderField;

/* What the filters may ask of a request (GetServerVariable). */
struct RequestInfo {
    std::string method;       /* "GET" or "HEAD" */
    std::string url;          /* decoded and normalised, as the filters see it */
    std::string query;        /* raw text after "?" */
    std::string remoteAddr;   /* client's address */
    unsigned short serverPort;
    std::vector<HeaderField> headers;  /* request header fields as received */
};

enum UrlMapOutcome {
    URL_MAP_DONE,      /* every filter went on: *finalPath is the path to serve */
    URL_MAP_FINISHED,  /* a filter ended the request (SF_STATUS_REQ_FINISHED...) */
    URL_MAP_ERROR      /* a filter failed, or broke the path buffer: *failure says how */
};

/* Sends SF_NOTIFY_URL_MAP with mappedPath in a PATH_BUFFER_BYTES buffer through filters in
 * order, each with its own HTTP_FILTER_CONTEXT. Returns URL_MAP_DONE with *finalPath set
 * to the path the filters left and *addedHeaders to the fields they added; URL_MAP_FINISHED;
 * or URL_MAP_ERROR with *failure set when a filter returned SF_STATUS_REQ_ERROR or an
 * unknown status, left no NUL in the buffer or wrote past it. mappedPath must be shorter
 * than PATH_BUFFER_BYTES. */
UrlMapOutcome RunUrlMap(const std::vector<LoadedFilter> &filters, const RequestInfo &request,
                        const std::string &mappedPath, std::string *finalPath,
                        std::vector<HeaderField> *addedHeaders, std::string *failure);

#endif /* FILTER_CALL_H */
