/* browser_options.h - the command line of plugin_browser, parsed into one plain record */
#ifndef BROWSER_OPTIONS_H
#define BROWSER_OPTIONS_H

#include <stdint.h>
#include <string>
#include <vector>

#define BROWSER_DEFAULT_TIME_LIMIT 600     /* seconds before the host gives up and shuts down */
#define BROWSER_DEFAULT_NP_VERSION 0x0009  /* browser table version: major 0, minor 9 */
#define BROWSER_TICK_ALL           (-1)    /* --tick all: every box once, in page order */

enum NativesPath {
    NATIVES_AUTO,        /* registered functions when register_Simple registered them, else stubs */
    NATIVES_REGISTERED,  /* only through the functions given to RegisterNatives */
    NATIVES_STUBS        /* only through the exported Java_Simple_*_stub functions */
};

struct BrowserOptions {
    std::string url;                /* the document to open */
    std::string pluginsDir;         /* --plugins DIR; empty: "plugins" beside the program */
    std::string cacheDir;           /* --cache DIR; empty: a fresh folder under %TEMP% */
    std::string savePage;           /* --save-page FILE: HTML written into new windows */
    std::string screenshot;         /* --screenshot FILE (.bmp) */
    uint16_t npVersion;             /* --np-version N (0x0009, 9, 0x0109 ...) */
    bool noJava;                    /* --no-java: NPN_GetJavaEnv answers null */
    NativesPath natives;            /* --natives auto|registered|stubs */
    std::vector<int> ticks;         /* --tick: 1-based box numbers, one click each */
    bool tickAll;                   /* --tick all */
    bool add;                       /* --add: hover and press "ADD TO BATCH" */
    bool download;                  /* --download: press "BATCH DOWNLOAD" */
    bool stay;                      /* --stay: keep the windows open until closed or time out */
    unsigned timeLimit;             /* --time-limit SECONDS */
    unsigned pieceBytes;            /* --piece BYTES: most bytes handed to one NPP_Write */
};

extern const char BROWSER_USAGE[];

/* Returns true with *opts filled from argv[1..argc-1]; false with *error naming the
 * offending argument ("--help" gives false with an empty *error). */
bool ParseBrowserOptions(int argc, const char *const *argv, BrowserOptions *opts, std::string *error);

#endif /* BROWSER_OPTIONS_H */
