/* http_server.h - the HTTP/1.1 listener on 127.0.0.1: a pool of threads answering
 * connections through HandleRequest, until a stop is asked for */
#ifndef HTTP_SERVER_H
#define HTTP_SERVER_H

#include "request_handler.h"

#define SERVER_IO_TIMEOUT_SECONDS 30      /* idle or stalled connections are closed after this */
#define SERVER_STOP_GRACE_MS      5000    /* how long a stop waits for answers under way */
#define MAX_HEADER_BYTES          16384   /* request line and fields; more is answered 400 */
#define MAX_BODY_BYTES            65536   /* request bodies are read and ignored up to this */
#define FILE_CHUNK_BYTES          65536   /* file bytes read and sent at a time */

/* Listens on 127.0.0.1:opts.port (0: a free port), prints the line
 * "isapi_server: serving ROOT on http://127.0.0.1:PORT/" and answers requests with
 * opts.threads threads until RequestServerStop or opts.maxSeconds. Returns 0 after a
 * clean stop, 1 when the port cannot be opened (reason on standard error). */
int RunHttpServer(const ServerOptions &opts, ServerSite *site);

/* Asks a running (or starting) server to stop; safe from any thread, also from a console
 * control handler. Cannot fail. */
void RequestServerStop();

/* Prints one line on standard output, whole, and flushes it. Cannot fail. */
void PrintLine(const std::string &line);

#endif /* HTTP_SERVER_H */
