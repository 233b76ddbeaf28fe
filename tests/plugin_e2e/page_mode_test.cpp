/* page_mode_test.cpp - a listing page with the plug-in's embed: the Batch Download Window
 * written into a new window, its checkboxes and buttons pressed for the user, the queue
 * file between presses and browser runs, the activity log and the console lines */
#include "site_fixture.h"

#include "html_page.h"

class PageModeTest : public PluginSiteTest {};

/* "M/DD/YY H:MM:SS text" as the activity log stamps a line. */
static bool IsStampedLine(const std::string &line, const std::string &text)
{
    int mon = 0, day = 0, year = 0, h = 0, m = 0, s = 0, used = 0;
    if (sscanf(line.c_str(), "%d/%2d/%d %d:%2d:%2d %n", &mon, &day, &year, &h, &m, &s, &used) != 6)
        return false;
    return mon >= 1 && mon <= 12 && day >= 1 && day <= 31 && year >= 100 && h < 24 &&
           line.substr((size_t)used) == text;
}

TEST_F(PageModeTest, TickedFilesAreAddedAndDownloaded)
{
    ChildRun run = Browse(Url("/files/"), {"--tick", "1,3", "--add", "--download", "--save-page",
                                           "X:\\site\\saved\\window.htm", "--screenshot", "X:\\site\\saved\\window.bmp"});

    EXPECT_EQ(0u, run.exitCode) << run.output;
    ExpectDownloads({"/files/readme.txt", "/files/empty.dat"});
    EXPECT_FALSE(PathExists(DOWNLOAD_DIR "brenmar.txt")) << "the queue file outlived its batch";
    EXPECT_FALSE(PathExists(DOWNLOAD_DIR "brenmar.tmp")) << "the listing copy outlived the page";

    std::vector<std::string> console = LinesWithPrefix(run.output, "[console] ");
    auto has = [&](const std::string &line) {
        for (const std::string &c : console)
            if (c == line)
                return true;
        return false;
    };
    EXPECT_TRUE(has("2 new files added to batch.  Click [BATCH DOWNLOAD] button to actually download..."))
        << run.output;
    EXPECT_TRUE(has("Downloading file #1 of 2: \\download\\README.TXT...") ||
                has("Downloading file #1 of 1: \\download\\README.TXT..."))
        << run.output;
    EXPECT_NE(std::string::npos,
              run.output.find("[browser] window.status: Add the 2 checked files to the Batch Download Queue"));

    std::string log;
    ASSERT_TRUE(ReadBytes("X:\\status.txt", &log)) << "no activity log";
    std::vector<std::string> lines = LinesWithPrefix(log, "");
    ASSERT_FALSE(lines.empty());
    EXPECT_TRUE(IsStampedLine(lines.front(), "Into getIt2()")) << lines.front();

    /* The window as written: one checkbox per file link, named after the listing's
     * address and the link, the status-line embed and both buttons. */
    std::string html;
    ASSERT_TRUE(ReadBytes("X:\\site\\saved\\window.htm", &html));
    HtmlPage page = ParseHtmlPage(html);
    EXPECT_EQ("Batch Download Window", page.title);
    EXPECT_EQ(Url("/files/"), page.baseHref);
    ASSERT_EQ(3u, page.checkboxes.size()) << html;
    const char *targets[] = {"readme.txt", "data.bin", "empty.dat"};
    for (size_t i = 0; i < 3; i++)
        EXPECT_EQ(Url("/files/") + targets[i], page.checkboxes[i].name) << "box " << i + 1;
    ASSERT_EQ(1u, page.embeds.size());
    EXPECT_EQ("Simple", EmbedAttribute(page.embeds[0], "NAME", ""));
    EXPECT_EQ("yes", EmbedAttribute(page.embeds[0], "INWINDOW", ""));
    ASSERT_EQ(2u, page.buttons.size());
    EXPECT_EQ("ADD TO BATCH", page.buttons[0].value);
    EXPECT_EQ("BATCH DOWNLOAD", page.buttons[1].value);

    std::string bmp;
    ASSERT_TRUE(ReadBytes("X:\\site\\saved\\window.bmp", &bmp));
    EXPECT_GT(bmp.size(), 10000u);
    EXPECT_EQ("BM", bmp.substr(0, 2));
}

TEST_F(PageModeTest, QueueFileLivesFromTheFirstAddToTheEndOfTheBatch)
{
    ChildRun first = Browse(Url("/files/"), {"--tick", "1,2", "--add"});
    EXPECT_EQ(0u, first.exitCode) << first.output;
    std::string queue;
    ASSERT_TRUE(ReadBytes(DOWNLOAD_DIR "brenmar.txt", &queue)) << first.output;
    EXPECT_EQ(Url("/files/readme.txt") + "\r\n" + Url("/files/data.bin") + "\r\n", queue);
    EXPECT_TRUE(TreeOf(DOWNLOAD_DIR, {"brenmar.txt"}).empty()) << "a file was fetched before BATCH DOWNLOAD";

    /* A later window: box 2 is queued already and is not added again. */
    ChildRun second = Browse(Url("/files/"), {"--tick", "2,3", "--add", "--download", "--natives", "stubs"});
    EXPECT_EQ(0u, second.exitCode) << second.output;
    EXPECT_NE(std::string::npos,
              second.output.find("[console] 1 new files added to batch.  Click [BATCH DOWNLOAD] button"))
        << second.output;
    ExpectDownloads({"/files/readme.txt", "/files/data.bin", "/files/empty.dat"});
    EXPECT_FALSE(PathExists(DOWNLOAD_DIR "brenmar.txt"));
}

TEST_F(PageModeTest, UntickingAndEmptyAddsFollowThePageScript)
{
    struct Row {
        const char *name;
        std::vector<std::string> options;
        const char *console;
        std::string queue;
    } rows[] = {
        {"nothing ticked", {"--add"}, "Nothing to add...", ""},
        {"ticked then unticked", {"--tick", "1,2,1", "--add"}, "1 new files added to batch.  Click [BATCH DOWNLOAD]",
         Url("/files/data.bin") + "\r\n"},
        {"all", {"--tick", "all", "--add"}, "3 new files added to batch.  Click [BATCH DOWNLOAD]",
         Url("/files/readme.txt") + "\r\n" + Url("/files/data.bin") + "\r\n" + Url("/files/empty.dat") + "\r\n"},
    };
    for (const Row &row : rows) {
        SetUp();
        ChildRun run = Browse(Url("/files/"), row.options);
        EXPECT_EQ(0u, run.exitCode) << row.name << "\n" << run.output;
        EXPECT_NE(std::string::npos, run.output.find(std::string("[console] ") + row.console))
            << row.name << "\n" << run.output;
        std::string queue;
        bool present = ReadBytes(DOWNLOAD_DIR "brenmar.txt", &queue);
        EXPECT_EQ(!row.queue.empty(), present) << row.name;
        EXPECT_EQ(row.queue, queue) << row.name;
    }
}
