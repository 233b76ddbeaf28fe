/* fault_test.cpp - what can go wrong between the server, the browser and the plug-in: a
 * connection dropped in the middle of a file, entries answered with 404, a list naming a
 * file twice, files already downloaded, and a listing whose links try to leave the
 * download folder or carry quotes and markup */
#include "site_fixture.h"

#include "html_page.h"

class FaultTest : public PluginSiteTest {};

/* Nothing on the drive outside the download folder and the activity log. */
static void ExpectOnlyDownloadFolder(const std::map<std::string, std::string> &tree)
{
    for (const auto &e : tree)
        EXPECT_TRUE(e.first.rfind("download\\", 0) == 0 || e.first == "status.txt")
            << "written outside the download folder: " << e.first;
}

TEST_F(FaultTest, DroppedConnectionLeavesNoPartialFile)
{
    Publish("/lists/cut.tvn", Url("/files/readme.txt") + "\r\n" + Url("/files/cut.bin") + "\r\n" +
                                  Url("/files/empty.dat") + "\r\n");

    ChildRun run = Browse(Url("/lists/cut.tvn"), {});

    EXPECT_EQ(1u, run.exitCode) << "a failed transfer must fail the run\n" << run.output;
    ExpectDownloads({"/files/readme.txt", "/files/empty.dat"});
    EXPECT_NE(std::string::npos, run.output.find("[browser] GET " + Url("/files/cut.bin") + " failed after"))
        << run.output;
    EXPECT_NE(std::string::npos, run.output.find("[console] " + Url("/files/cut.bin") + ": Unable to download"))
        << run.output;
    ExpectOnlyDownloadFolder(DriveTree());
}

TEST_F(FaultTest, NotFoundEntriesAreReportedAndNotStored)
{
    Publish("/lists/missing.tvn", Url("/files/nothing.txt") + "\r\n" + Url("/files/readme.txt") + "\r\n" +
                                      Url("/nowhere/else.bin") + "\r\n");

    ChildRun run = Browse(Url("/lists/missing.tvn"), {});

    EXPECT_EQ(1u, run.exitCode) << run.output;
    ExpectDownloads({"/files/readme.txt"});
    for (const char *path : {"/files/nothing.txt", "/nowhere/else.bin"}) {
        EXPECT_NE(std::string::npos, run.output.find("[browser] GET " + Url(path) + " failed: 404")) << run.output;
        EXPECT_NE(std::string::npos, run.output.find("[console] " + Url(path) + ": Unable to download"))
            << run.output;
    }
    ExpectOnlyDownloadFolder(DriveTree());
}

TEST_F(FaultTest, SameFileTwiceIsFetchedOnce)
{
    Publish("/lists/twice.tvn", Url("/files/data.bin") + "\r\n" + Url("/files/data.bin") + "\r\n");

    ChildRun run = Browse(Url("/lists/twice.tvn"), {});

    EXPECT_EQ(0u, run.exitCode) << run.output;
    ExpectDownloads({"/files/data.bin"});
    EXPECT_EQ(1u, LinesWithPrefix(run.output, ("[browser] GET " + Url("/files/data.bin") + ":").c_str()).size())
        << run.output;
    EXPECT_NE(std::string::npos, run.output.find("[console] \\download\\data.bin already exists...")) << run.output;
}

TEST_F(FaultTest, FilesAlreadyThereAreKept)
{
    MakeFolder(DOWNLOAD_DIR);
    WriteBytes(DOWNLOAD_DIR "README.TXT", "kept as it was");
    Publish("/lists/existing.tvn", Url("/files/readme.txt") + "\r\n" + Url("/files/empty.dat") + "\r\n");

    ChildRun run = Browse(Url("/lists/existing.tvn"), {});

    EXPECT_EQ(0u, run.exitCode) << run.output;
    std::string kept;
    ASSERT_TRUE(ReadBytes(DOWNLOAD_DIR "README.TXT", &kept));
    EXPECT_EQ("kept as it was", kept);
    EXPECT_TRUE(PathExists(DOWNLOAD_DIR "EMPTY.DAT"));
    EXPECT_NE(std::string::npos, run.output.find("[console] \\download\\readme.txt already exists...")) << run.output;
    EXPECT_EQ(std::string::npos, run.output.find("GET " + Url("/files/readme.txt"))) << "requested anyway";
}

TEST_F(FaultTest, HostileListingWritesOnlyIntoTheDownloadFolder)
{
    ChildRun run = Browse(Url("/hostile/"), {"--tick", "all", "--add", "--download", "--save-page",
                                             "X:\\site\\saved\\hostile.htm"});

    /* The window reads back every link target exactly, quotes and markup included: the
     * names are the listing's address followed by the target, and nothing was injected. */
    std::string html;
    ASSERT_TRUE(ReadBytes("X:\\site\\saved\\hostile.htm", &html)) << run.output;
    HtmlPage page = ParseHtmlPage(html);
    const char *targets[] = {"..\\..\\evil1.txt", "../../evil2.txt", "q\"uote.txt",
                             "x.txt><script>alert(1)</script>", "it's.txt", "ok.txt"};
    ASSERT_EQ(6u, page.checkboxes.size()) << html;
    for (size_t i = 0; i < 6; i++)
        EXPECT_EQ(Url("/hostile/") + targets[i], page.checkboxes[i].name) << "box " << i + 1;
    EXPECT_EQ(1u, page.embeds.size()) << "markup of the listing became an element";
    EXPECT_EQ(2u, page.buttons.size());

    /* "../../evil2.txt" is fetched from the site's root (the browser removes dot segments)
     * and stored under its own name in the download folder; unsafe names are skipped. */
    std::map<std::string, std::string> downloads = TreeOf(DOWNLOAD_DIR, {});
    for (const auto &d : downloads)
        EXPECT_TRUE(d.first == "EVIL2.TXT" || d.first == "IT'S.TXT" || d.first == "OK.TXT")
            << "unexpected file: " << d.first;
    EXPECT_TRUE(downloads["EVIL2.TXT"] == Served("/evil2.txt"));
    EXPECT_TRUE(downloads["IT'S.TXT"] == Served("/hostile/it's.txt"));
    EXPECT_TRUE(downloads["OK.TXT"] == Served("/hostile/ok.txt"));
    EXPECT_NE(std::string::npos, run.output.find("not a safe file name - skipped...")) << run.output;
    ExpectOnlyDownloadFolder(DriveTree());
    EXPECT_FALSE(PathExists("X:\\evil1.txt"));
    EXPECT_FALSE(PathExists("X:\\EVIL2.TXT"));
}
