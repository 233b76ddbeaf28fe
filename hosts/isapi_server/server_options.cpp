/* server_options.cpp - parses and checks the command line of isapi_server */
#include "server_options.h"

#include <cerrno>
#include <cstdlib>

const char SERVER_USAGE[] =
    "usage: isapi_server --root DIR [--port N] [--filter PATH]... [--threads N]\n"
    "                    [--max-seconds N] [--stop-on-eof] [--verbose]\n"
    "                    [--drop-after BYTES:URLPATH]...\n"
    "  Serves DIR on http://127.0.0.1:N/ (N = 0 or no --port: a free port, printed).\n"
    "  Filters come from \"Filter DLLs\" under HKLM\\SYSTEM\\CurrentControlSet\\Services\\\n"
    "  W3SVC\\Parameters, or only from the --filter options when any is given.\n"
    "  Stops cleanly on Ctrl-C, after --max-seconds, or with --stop-on-eof when\n"
    "  standard input reaches its end (close the pipe or fifo feeding it).\n"
    "  --drop-after closes the connection after BYTES bytes of the body of URLPATH.\n";

/* Returns true with *value set when text is a whole decimal number not above max. */
static bool ParseNumber(const char *text, unsigned long long max, unsigned long long *value)
{
    if (text == nullptr || *text < '0' || *text > '9')
        return false;
    char *end = nullptr;
    errno = 0;
    unsigned long long v = std::strtoull(text, &end, 10);
    if (errno != 0 || *end != '\0' || v > max)
        return false;
    *value = v;
    return true;
}

/* "BYTES:URLPATH" into a DropRule; false when either half is malformed. */
static bool ParseDropRule(const std::string &text, DropRule *rule)
{
    size_t colon = text.find(':');
    if (colon == std::string::npos)
        return false;
    std::string bytes = text.substr(0, colon);
    std::string url = text.substr(colon + 1);
    if (url.empty() || url[0] != '/')
        return false;
    if (!ParseNumber(bytes.c_str(), ~0ULL, &rule->bytes))
        return false;
    rule->url = url;
    return true;
}

bool ParseServerOptions(int argc, const char *const *argv, ServerOptions *opts, std::string *error)
{
    *opts = ServerOptions();
    opts->port = 0;
    opts->threads = SERVER_DEFAULT_THREADS;
    opts->maxSeconds = 0;
    opts->stopOnEof = false;
    opts->verbose = false;
    error->clear();

    for (int i = 1; i < argc; i++) {
        std::string arg = argv[i];
        const char *value = (i + 1 < argc) ? argv[i + 1] : nullptr;
        unsigned long long n = 0;
        if (arg == "--help" || arg == "-h") {
            return false;
        } else if (arg == "--stop-on-eof") {
            opts->stopOnEof = true;
            continue;
        } else if (arg == "--verbose") {
            opts->verbose = true;
            continue;
        } else if (value == nullptr) {
            *error = arg + ": unknown option or missing value";
            return false;
        } else if (arg == "--root") {
            if (*value == '\0') {
                *error = "--root needs a folder";
                return false;
            }
            opts->root = value;
        } else if (arg == "--port") {
            if (!ParseNumber(value, 65535, &n)) {
                *error = "--port needs a number from 0 to 65535";
                return false;
            }
            opts->port = (unsigned)n;
        } else if (arg == "--filter") {
            if (*value == '\0') {
                *error = "--filter needs a DLL path";
                return false;
            }
            opts->filters.push_back(value);
        } else if (arg == "--threads") {
            if (!ParseNumber(value, SERVER_MAX_THREADS, &n) || n == 0) {
                *error = "--threads needs a number from 1 to " + std::to_string(SERVER_MAX_THREADS);
                return false;
            }
            opts->threads = (unsigned)n;
        } else if (arg == "--max-seconds") {
            if (!ParseNumber(value, 1000000, &n)) {
                *error = "--max-seconds needs a number from 0 to 1000000";
                return false;
            }
            opts->maxSeconds = (unsigned)n;
        } else if (arg == "--drop-after") {
            DropRule rule;
            if (!ParseDropRule(value, &rule)) {
                *error = "--drop-after needs BYTES:URLPATH, URLPATH starting with /";
                return false;
            }
            opts->drops.push_back(rule);
        } else {
            *error = arg + ": unknown option";
            return false;
        }
        i++;
    }
    if (opts->root.empty()) {
        *error = "--root DIR is required";
        return false;
    }
    return true;
}
