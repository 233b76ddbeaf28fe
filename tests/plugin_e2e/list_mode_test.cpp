/* list_mode_test.cpp - an "application/tvn" list opened in the browser host: every entry
 * fetched over HTTP into the download folder, the queue file's life, the console lines, the
 * settings file, refused lists, and the browser versions the plug-in gates on */
#include "site_fixture.h"

class ListModeTest : public PluginSiteTest {};

static const char kHeader[] = "*TVN-LIST 0.6\r\n";   /* version 0.6 at offset 10 */

TEST_F(ListModeTest, FetchesEveryEntryByteForByteAndDeletesTheQueue)
{
    std::string list = std::string(kHeader) + Url("/files/readme.txt") + "\r\n../files/data.bin\r\n" +
                       Url("/files/empty.dat");   /* last line without a line break */
    Publish("/lists/good.tvn", list);

    ChildRun run = Browse(Url("/lists/good.tvn"), {});

    EXPECT_EQ(0u, run.exitCode) << run.output;
    ExpectDownloads({"/files/readme.txt", "/files/data.bin", "/files/empty.dat"});
    EXPECT_FALSE(PathExists(DOWNLOAD_DIR "brenmar.txt")) << "the queue file outlived its batch";
    std::vector<std::string> console = LinesWithPrefix(run.output, "[console] ");
    std::vector<std::string> expectedInOrder = {
        "* * * Torvane Plugin - NPTORV32.dll vs 0.6b * * *",
        "To download to a directory other than \\download,",
        "place the name of the directory in the file: \\brenmar.ini",
        "Creating download directory: \\download\\",
    };
    size_t at = 0;
    for (const std::string &line : console)
        if (at < expectedInOrder.size() && line == expectedInOrder[at])
            at++;
    EXPECT_EQ(expectedInOrder.size(), at) << "start-up line missing: "
                                          << (at < expectedInOrder.size() ? expectedInOrder[at] : "") << "\n"
                                          << run.output;
    int downloading = 0;
    for (const std::string &line : console)
        if (line.rfind("Downloading file #", 0) == 0)
            downloading++;
    EXPECT_EQ(3, downloading) << run.output;
    long total = (long)(list.size() + Served("/files/readme.txt").size() + Served("/files/data.bin").size());
    std::string end = std::to_string(total) + " bytes were in queue.  No more files to download...";
    ASSERT_FALSE(console.empty());
    EXPECT_NE(std::string::npos, console.back().find(end)) << console.back();
    /* Nothing but the download folder on the drive. */
    for (const auto &e : DriveTree())
        EXPECT_EQ(0u, e.first.rfind("download\\", 0)) << "written outside the download folder: " << e.first;
}

TEST_F(ListModeTest, SettingsFileNamesTheDownloadFolder)
{
    WriteBytes("X:\\brenmar.ini", "\\mine\r\n");
    Publish("/lists/one.tvn", Url("/files/readme.txt") + "\r\n");

    ChildRun run = Browse(Url("/lists/one.tvn"), {});

    EXPECT_EQ(0u, run.exitCode) << run.output;
    std::string bytes;
    ASSERT_TRUE(ReadBytes("X:\\mine\\README.TXT", &bytes)) << run.output;
    EXPECT_TRUE(bytes == Served("/files/readme.txt"));
    EXPECT_FALSE(PathExists("X:\\download")) << "the default folder was made although the settings name another";
    EXPECT_EQ(std::string::npos, run.output.find("place the name of the directory")) << run.output;
}

TEST_F(ListModeTest, RefusedListsFetchNothingAndKeepTheQueue)
{
    struct Row {
        const char *name;
        std::string list;
    } rows[] = {
        {"newer", "*TVN-LIST 0.61\r\n" + Url("/files/readme.txt") + "\r\n"},
        {"markup", Url("/files/readme.txt") + "\r\n<HTML>not a list</HTML>\r\n"},
    };
    for (const Row &row : rows) {
        SetUp();
        std::string path = std::string("/lists/") + row.name + ".tvn";
        Publish(path, row.list);
        ChildRun run = Browse(Url(path), {});
        EXPECT_FALSE(PathExists(DOWNLOAD_DIR "README.TXT")) << row.name << ": an entry was fetched";
        std::string queue;
        EXPECT_TRUE(ReadBytes(DOWNLOAD_DIR "brenmar.txt", &queue) && queue == row.list)
            << row.name << ": the queue file should stay as received";
        EXPECT_EQ(0u, run.exitCode) << row.name << "\n" << run.output;
        EXPECT_EQ(std::string::npos, run.output.find("GET " + Url("/files/"))) << row.name << ": an entry was requested";
    }
}

TEST_F(ListModeTest, BrowserVersionsAndJavaGateThePlugin)
{
    Publish("/lists/gate.tvn", Url("/files/readme.txt") + "\r\n" + Url("/files/empty.dat") + "\r\n");
    struct Row {
        std::vector<std::string> options;
        DWORD exitCode;
        bool downloads;
        const char *outputHas;
    } rows[] = {
        {{}, 0, true, "Java class given"},
        {{"--np-version", "0x0109"}, 1, false, "NP_Initialize of"},
        {{"--np-version", "0x0008"}, 0, false, "Java class none"},
        {{"--no-java"}, 0, false, "Java class none"},
        {{"--natives", "stubs"}, 0, true, "Java class given"},
    };
    for (const Row &row : rows) {
        SetUp();
        std::string label = row.options.empty() ? "defaults" : row.options[0] + " " + row.options.back();
        ChildRun run = Browse(Url("/lists/gate.tvn"), row.options);
        EXPECT_EQ(row.exitCode, run.exitCode) << label << "\n" << run.output;
        EXPECT_EQ(row.downloads, PathExists(DOWNLOAD_DIR "README.TXT")) << label << "\n" << run.output;
        EXPECT_NE(std::string::npos, run.output.find(row.outputHas)) << label << "\n" << run.output;
        if (!row.downloads) {
            EXPECT_TRUE(LinesWithPrefix(run.output, "[console] ").empty()) << label << ": console without Java";
        }
    }
}
