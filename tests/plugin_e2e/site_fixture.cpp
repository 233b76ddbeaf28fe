/* site_fixture.cpp - builds and serves the sample site (a listing page with the plug-in's
 * embed, files of several sizes, lists), and cleans drive X: before each test */
#include "site_fixture.h"

SiteServer PluginSiteTest::server_;
std::map<std::string, std::string> PluginSiteTest::files_;

static std::string UpperName(const std::string &urlPath)
{
    std::string name = urlPath.substr(urlPath.rfind('/') + 1);
    for (char &c : name)
        if (c >= 'a' && c <= 'z')
            c = (char)(c - 'a' + 'A');
    return name;
}

/* The site folder path of a URL path. */
static std::string SitePath(const std::string &urlPath)
{
    std::string p = SITE_ROOT + urlPath;
    for (char &c : p)
        if (c == '/')
            c = '\\';
    return p;
}

/* A directory listing as a server of the time wrote it, with the plug-in's embed first. */
static std::string ListingPage(const std::string &folderUrl, const std::vector<std::string> &links)
{
    std::string page = "<HTML><HEAD><TITLE>Index of a folder</TITLE></HEAD><BODY>\n"
                       "<H1>Index of a folder</H1>\n"
                       "<embed type=application/tvn URL=\"" + folderUrl + "\" width=600 height=26>\n"
                       "</embed>\n<PRE>\n";
    for (const std::string &l : links)
        page += l + "\n";
    return page + "</PRE>\n</BODY></HTML>\n";
}

void PluginSiteTest::SetUpTestSuite()
{
    RemoveTree(SITE_ROOT);
    MakeFolder(SITE_ROOT);
    for (const char *folder : {"\\files", "\\files\\sub", "\\lists", "\\hostile", "\\saved"})
        MakeFolder(std::string(SITE_ROOT) + folder);
    ASSERT_TRUE(SetDefaultPages("index.htm")) << "registry refused the filter's settings";
    std::string error;
    std::string filter = WinePath(VELMORIN_DLL);
    ASSERT_TRUE(StartSiteServer(SITE_ROOT,
                                {"--filter", filter, "--drop-after",
                                 std::to_string(CUT_AFTER_BYTES) + ":/files/cut.bin"},
                                &server_, &error))
        << error;

    files_.clear();
    Publish("/files/readme.txt", PatternBytes(1500, 1));
    Publish("/files/data.bin", PatternBytes(300000, 2));
    Publish("/files/empty.dat", "");
    Publish("/files/cut.bin", PatternBytes(CUT_FILE_BYTES, 3));
    Publish("/files/index.htm",
            ListingPage(Url("/files/"), {"<A HREF=\"../\">Parent Directory</A>", "<A HREF=\"sub/\">sub/</A>",
                                         "<A HREF=\"readme.txt\">readme.txt</A>     1500 bytes",
                                         "<A HREF=\"data.bin\">data.bin</A>   300000 bytes",
                                         "<A HREF=\"empty.dat\">empty.dat</A>        0 bytes"}));
    Publish("/evil2.txt", PatternBytes(700, 4));
    Publish("/hostile/it's.txt", PatternBytes(900, 5));
    Publish("/hostile/ok.txt", PatternBytes(800, 6));
    Publish("/hostile/index.htm",
            ListingPage(Url("/hostile/"),
                        {"<A HREF=\"..\\..\\evil1.txt\">evil1</A>", "<A HREF=\"../../evil2.txt\">evil2</A>",
                         "<A HREF=\"q&quot;uote.txt\">quote</A>",
                         "<A HREF=\"x.txt&gt;&lt;script&gt;alert(1)&lt;/script&gt;\">markup</A>",
                         "<A HREF=\"it's.txt\">it's</A>",
                         "<A HREF=\"ok.txt\"><b>ok</b><script>alert(2)</script></A>"}));
}

void PluginSiteTest::TearDownTestSuite()
{
    StopSiteServer(&server_);
}

void PluginSiteTest::SetUp()
{
    if (server_.process == nullptr)
        FAIL() << "the site server did not start";
    for (const auto &entry : DriveTree())
        if (entry.first.find('\\') == std::string::npos || entry.first.back() == '\\')
            RemoveTree(std::string("X:\\") + entry.first);
}

std::string PluginSiteTest::Url(const std::string &path)
{
    return "http://127.0.0.1:" + std::to_string(server_.port) + path;
}

const std::string &PluginSiteTest::Served(const std::string &urlPath)
{
    static const std::string none;
    auto it = files_.find(urlPath);
    if (it == files_.end()) {
        ADD_FAILURE() << "the site has no " << urlPath;
        return none;
    }
    return it->second;
}

void PluginSiteTest::Publish(const std::string &urlPath, const std::string &bytes)
{
    WriteBytes(SitePath(urlPath), bytes);
    files_[urlPath] = bytes;
}

ChildRun PluginSiteTest::Browse(const std::string &url, const std::vector<std::string> &options)
{
    std::vector<std::string> args = options;
    args.push_back(url);
    ChildRun run = RunBrowser(args);
    EXPECT_FALSE(run.timedOut) << "the browser did not end:\n" << run.output;
    EXPECT_EQ(std::string::npos, run.output.find("[jri]")) << "Java runtime faults:\n" << run.output;
    EXPECT_EQ(std::string::npos, run.output.find("fault:")) << "browser interface faults:\n" << run.output;
    return run;
}

std::map<std::string, std::string> PluginSiteTest::DriveTree()
{
    return TreeOf("X:\\", {"site"});
}

void PluginSiteTest::ExpectDownloads(const std::vector<std::string> &urlPaths)
{
    std::map<std::string, std::string> expected;
    for (const std::string &p : urlPaths)
        expected[UpperName(p)] = Served(p);
    std::map<std::string, std::string> actual = TreeOf(DOWNLOAD_DIR, {});
    EXPECT_EQ(expected.size(), actual.size()) << "files in the download folder";
    for (const auto &e : expected) {
        auto it = actual.find(e.first);
        if (it == actual.end()) {
            ADD_FAILURE() << e.first << " was not downloaded";
            continue;
        }
        EXPECT_TRUE(it->second == e.second) << e.first << " differs: " << it->second.size() << " bytes, expected "
                                            << e.second.size();
    }
    for (const auto &a : actual)
        if (expected.count(a.first) == 0)
            ADD_FAILURE() << "unexpected file in the download folder: " << a.first << " (" << a.second.size()
                          << " bytes)";
}
