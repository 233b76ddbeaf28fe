/* e2e_support.h - what the end-to-end tests of the plug-in need around it: the site
 * server and the browser host as child processes, files and folder trees of the test's
 * own drive */
#ifndef E2E_SUPPORT_H
#define E2E_SUPPORT_H

#include <windows.h>

#include <map>
#include <string>
#include <thread>
#include <vector>

#define E2E_BROWSER_TIMEOUT_MS 300000   /* a browser run that takes longer is ended */

/* A Unix path of the build ("/work/x") as Wine's drive Z: sees it ("Z:\work\x"). */
std::string WinePath(const char *unixPath);

/* The site server running as a child process. */
struct SiteServer {
    HANDLE process;
    HANDLE stdinWrite;     /* closing it stops the server (--stop-on-eof) */
    int port;
    std::string firstLines;
    std::string *rest;     /* what it says later, filled by drain */
    std::thread *drain;
};

/* Starts isapi_server on root with the extra arguments; true with *server filled once it
 * says where it listens, false with *error. */
bool StartSiteServer(const std::string &root, const std::vector<std::string> &extra, SiteServer *server,
                     std::string *error);
/* Stops it and waits for it. Cannot fail. */
void StopSiteServer(SiteServer *server);

struct ChildRun {
    DWORD exitCode;
    bool timedOut;
    std::string output;   /* standard output and standard error together */
};

/* Runs plugin_browser with the plug-ins folder of the build and args; waits for it. */
ChildRun RunBrowser(const std::vector<std::string> &args);

/* Every line of text that starts with prefix, with the prefix removed, in order. */
std::vector<std::string> LinesWithPrefix(const std::string &text, const char *prefix);

/* Files. Writes throw nothing: a failed write fails the calling test through ADD_FAILURE. */
void WriteBytes(const std::string &path, const std::string &bytes);
bool ReadBytes(const std::string &path, std::string *bytes);
bool PathExists(const std::string &path);
void MakeFolder(const std::string &path);
void RemoveTree(const std::string &path);

/* Every file under root (paths relative to it, "\"-separated) with its contents,
 * leaving out the sub-folders named in skip. */
std::map<std::string, std::string> TreeOf(const std::string &root, const std::vector<std::string> &skip);

/* n bytes of a pattern that differs with seed, every byte value occurring. */
std::string PatternBytes(size_t n, unsigned seed);

/* Sets the default-page filter's page list in the registry (the filter reads it for each
 * request). Returns false when the registry refuses. */
bool SetDefaultPages(const char *list);

#endif /* E2E_SUPPORT_H */
