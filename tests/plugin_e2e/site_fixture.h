/* site_fixture.h - the sample site served by isapi_server for the plug-in's end-to-end
 * tests, and the fixture every such test starts from: a clean drive X: except the site */
#ifndef SITE_FIXTURE_H
#define SITE_FIXTURE_H

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "e2e_support.h"

#define SITE_ROOT        "X:\\site"
#define DOWNLOAD_DIR     "X:\\download\\"
#define CUT_FILE_BYTES   300000   /* /files/cut.bin, of which the server sends only ... */
#define CUT_AFTER_BYTES  100000   /* ... this many before it drops the connection */

/* One file of the site: its URL path and its bytes. */
struct SiteFile {
    std::string urlPath;   /* "/files/readme.txt" */
    std::string bytes;
};

class PluginSiteTest : public ::testing::Test {
protected:
    static void SetUpTestSuite();
    static void TearDownTestSuite();
    void SetUp() override;

    /* "http://127.0.0.1:PORT" followed by path. */
    static std::string Url(const std::string &path);
    /* The bytes of a site file by URL path (fails the test when there is none). */
    static const std::string &Served(const std::string &urlPath);
    /* Writes a file into the site (a list, a page) at urlPath. */
    static void Publish(const std::string &urlPath, const std::string &bytes);
    /* Runs the browser on url with the options, and keeps its output. */
    ChildRun Browse(const std::string &url, const std::vector<std::string> &options);
    /* Every file on drive X: outside the site, by path relative to X:\. */
    static std::map<std::string, std::string> DriveTree();
    /* Checks the download folder holds exactly the named site files under their
     * upper-cased names, byte for byte. */
    void ExpectDownloads(const std::vector<std::string> &urlPaths);

    static SiteServer server_;
    static std::map<std::string, std::string> files_;
};

#endif /* SITE_FIXTURE_H */
