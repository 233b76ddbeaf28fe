/* server_options.h - the command line of isapi_server, parsed into one plain record */
#ifndef SERVER_OPTIONS_H
#define SERVER_OPTIONS_H

#include <string>
#include <vector>

#define SERVER_DEFAULT_THREADS 4   /* request threads when --threads is not given */
#define SERVER_MAX_THREADS     64  /* most request threads accepted */

/* --drop-after BYTES:URLPATH - a fault for client tests: a GET of URLPATH (the decoded URL
 * the filters see) is answered with the whole file's length, then the connection is
 * closed after BYTES bytes of the body. */
struct DropRule {
    std::string url;
    unsigned long long bytes;
};

struct ServerOptions {
    std::string root;                  /* --root DIR: the site folder */
    unsigned port;                     /* --port N: 0 lets the system pick a free port */
    std::vector<std::string> filters;  /* --filter PATH (repeatable): "Filter DLLs" is not read */
    unsigned threads;                  /* --threads N */
    unsigned maxSeconds;               /* --max-seconds N: stop after N seconds; 0 = no limit */
    bool stopOnEof;                    /* --stop-on-eof: stop when standard input ends */
    bool verbose;                      /* --verbose: one line per request on standard output */
    std::vector<DropRule> drops;       /* --drop-after BYTES:URLPATH (repeatable) */
};

extern const char SERVER_USAGE[];

/* Returns true with *opts filled from argv[1..argc-1]; false with *error naming the
 * offending argument, *opts then partly filled. "--help" also returns false, with an
 * empty *error. */
bool ParseServerOptions(int argc, const char *const *argv, ServerOptions *opts, std::string *error);

#endif /* SERVER_OPTIONS_H */
