/* browser_options.cpp - parses and checks the command line of plugin_browser */
#include "browser_options.h"

#include <cerrno>
#include <cstdlib>

#define MAX_TIME_LIMIT   86400      /* one day */
#define MIN_PIECE_BYTES  1
#define MAX_PIECE_BYTES  (1u << 20)
#define DEFAULT_PIECE_BYTES 65536
#define MAX_TICKS        100000

const char BROWSER_USAGE[] =
    "usage: plugin_browser [options] URL\n"
    "  Opens URL like a browser of the plug-in's era: a document of a plug-in's MIME type\n"
    "  or extension (\".tvn\") goes to a full-page instance (list mode); an HTML page gets\n"
    "  its embeds created (page mode). Runs until nothing is left to do, then shuts down.\n"
    "  --plugins DIR        plug-ins folder (default: plugins beside the program)\n"
    "  --np-version N       version word of the browser table (default 0x0009)\n"
    "  --no-java            offer no Java environment\n"
    "  --natives auto|registered|stubs   how the page reaches the natives\n"
    "  --tick all|N[,N...]  click checkboxes of the Batch Download Window (1 = first)\n"
    "  --add                hover and press \"ADD TO BATCH\"\n"
    "  --download           press \"BATCH DOWNLOAD\"\n"
    "  --save-page FILE     save the HTML written into a new window\n"
    "  --screenshot FILE    save the Batch Download Window (or the document window) as BMP\n"
    "  --cache DIR          folder that holds the CACHE folder (default: under %TEMP%)\n"
    "  --piece BYTES        most bytes per NPP_Write (default 65536)\n"
    "  --time-limit S       give up after S seconds (default 600)\n"
    "  --stay               keep the windows open until closed or the time limit\n";

/* Returns true with *value set when text is a whole number (decimal or 0x hex) not above max. */
static bool ParseNumber(const char *text, unsigned long max, unsigned long *value)
{
    if (text == nullptr || *text < '0' || *text > '9')
        return false;
    char *end = nullptr;
    errno = 0;
    unsigned long v = std::strtoul(text, &end, 0);
    if (errno != 0 || *end != '\0' || v > max)
        return false;
    *value = v;
    return true;
}

/* "all" or "1,3,4" into opts; false on anything else. */
static bool ParseTicks(const std::string &text, BrowserOptions *opts)
{
    if (text == "all") {
        opts->tickAll = true;
        return true;
    }
    size_t start = 0;
    while (start <= text.size()) {
        size_t comma = text.find(',', start);
        std::string part = text.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
        unsigned long n = 0;
        if (!ParseNumber(part.c_str(), MAX_TICKS, &n) || n == 0)
            return false;
        opts->ticks.push_back((int)n);
        if (comma == std::string::npos)
            break;
        start = comma + 1;
    }
    return !opts->ticks.empty();
}

bool ParseBrowserOptions(int argc, const char *const *argv, BrowserOptions *opts, std::string *error)
{
    *opts = BrowserOptions();
    opts->npVersion = BROWSER_DEFAULT_NP_VERSION;
    opts->noJava = false;
    opts->natives = NATIVES_AUTO;
    opts->tickAll = false;
    opts->add = false;
    opts->download = false;
    opts->stay = false;
    opts->timeLimit = BROWSER_DEFAULT_TIME_LIMIT;
    opts->pieceBytes = DEFAULT_PIECE_BYTES;
    error->clear();

    for (int i = 1; i < argc; i++) {
        std::string arg = argv[i];
        const char *value = (i + 1 < argc) ? argv[i + 1] : nullptr;
        unsigned long n = 0;
        if (arg == "--help" || arg == "-h")
            return false;
        if (arg == "--no-java") { opts->noJava = true; continue; }
        if (arg == "--add") { opts->add = true; continue; }
        if (arg == "--download") { opts->download = true; continue; }
        if (arg == "--stay") { opts->stay = true; continue; }
        if (arg.compare(0, 2, "--") != 0) {
            if (!opts->url.empty()) {
                *error = arg + ": only one URL may be given";
                return false;
            }
            opts->url = arg;
            continue;
        }
        if (value == nullptr) {
            *error = arg + ": unknown option or missing value";
            return false;
        }
        if (arg == "--plugins") {
            opts->pluginsDir = value;
        } else if (arg == "--cache") {
            opts->cacheDir = value;
        } else if (arg == "--save-page") {
            opts->savePage = value;
        } else if (arg == "--screenshot") {
            opts->screenshot = value;
        } else if (arg == "--np-version") {
            if (!ParseNumber(value, 0xFFFF, &n)) {
                *error = "--np-version needs a number from 0 to 0xFFFF";
                return false;
            }
            opts->npVersion = (uint16_t)n;
        } else if (arg == "--natives") {
            std::string v = value;
            if (v == "auto") opts->natives = NATIVES_AUTO;
            else if (v == "registered") opts->natives = NATIVES_REGISTERED;
            else if (v == "stubs") opts->natives = NATIVES_STUBS;
            else {
                *error = "--natives needs auto, registered or stubs";
                return false;
            }
        } else if (arg == "--tick") {
            if (!ParseTicks(value, opts)) {
                *error = "--tick needs all or box numbers from 1, separated by commas";
                return false;
            }
        } else if (arg == "--time-limit") {
            if (!ParseNumber(value, MAX_TIME_LIMIT, &n) || n == 0) {
                *error = "--time-limit needs a number of seconds from 1 to 86400";
                return false;
            }
            opts->timeLimit = (unsigned)n;
        } else if (arg == "--piece") {
            if (!ParseNumber(value, MAX_PIECE_BYTES, &n) || n < MIN_PIECE_BYTES) {
                *error = "--piece needs a number of bytes from 1 to 1048576";
                return false;
            }
            opts->pieceBytes = (unsigned)n;
        } else {
            *error = arg + ": unknown option";
            return false;
        }
        i++;
    }
    if (opts->url.empty()) {
        *error = "a URL is required";
        return false;
    }
    return true;
}
