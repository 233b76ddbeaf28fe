/* local_name_test.cpp - the local name of a queue entry: the last path component, inside
 * the download folder, and never a name that leads elsewhere or opens a device. */
#include "batch_fixture.h"

#include "batch_engine.h"

struct NameCase {
    std::string url;
    int verdict;
    std::string path;   /* with downloadDir "\download\" */
};

/* ComposeLocalPath, the procedure behind MakeLocalPath. */
TEST(LocalPath, NamesTable)
{
    ReloadPluginState();
    strcpy(gPlugin.downloadDir, DOWNLOAD);
    const NameCase cases[] = {
        { "http://h/files/readme.txt", LOCAL_NAME_OK, DOWNLOAD "readme.txt" },
        { "readme.txt", LOCAL_NAME_OK, DOWNLOAD "readme.txt" },
        { "files\\sub\\a.zip", LOCAL_NAME_OK, DOWNLOAD "a.zip" },
        { "http://h/x\\..\\..\\evil.txt", LOCAL_NAME_OK, DOWNLOAD "evil.txt" },
        { "http://h/a/b\\c/d.zip", LOCAL_NAME_OK, DOWNLOAD "d.zip" },
        { "http://h/.hidden", LOCAL_NAME_OK, DOWNLOAD ".hidden" },
        { "http://h/console.txt", LOCAL_NAME_OK, DOWNLOAD "console.txt" },
        { "http://h/com10", LOCAL_NAME_OK, DOWNLOAD "com10" },
        { "", LOCAL_NAME_EMPTY, DOWNLOAD },
        { "http://h/dir/", LOCAL_NAME_EMPTY, DOWNLOAD },
        { "http://h/dir\\", LOCAL_NAME_EMPTY, DOWNLOAD },
        { "http://h/..", LOCAL_NAME_UNSAFE, "" },
        { "..", LOCAL_NAME_UNSAFE, "" },
        { "http://h/.", LOCAL_NAME_UNSAFE, "" },
        { "http://h/...", LOCAL_NAME_UNSAFE, "" },
        { "http://h/name.", LOCAL_NAME_UNSAFE, "" },
        { "http://h/name ", LOCAL_NAME_UNSAFE, "" },
        { "C:evil.txt", LOCAL_NAME_UNSAFE, "" },
        { "http://h/a.zip:stream", LOCAL_NAME_UNSAFE, "" },
        { "http://h/a\tb", LOCAL_NAME_UNSAFE, "" },
        { "http://h/a\x01" "b", LOCAL_NAME_UNSAFE, "" },
        { "http://h/a\x7f", LOCAL_NAME_UNSAFE, "" },
        { "http://h/get.php?id=3", LOCAL_NAME_UNSAFE, "" },
        { "http://h/a*b", LOCAL_NAME_UNSAFE, "" },
        { "http://h/a|b", LOCAL_NAME_UNSAFE, "" },
        { "http://h/a\"b", LOCAL_NAME_UNSAFE, "" },
        { "http://h/CON", LOCAL_NAME_UNSAFE, "" },
        { "http://h/con", LOCAL_NAME_UNSAFE, "" },
        { "http://h/NUL.txt", LOCAL_NAME_UNSAFE, "" },
        { "http://h/nul .txt", LOCAL_NAME_UNSAFE, "" },
        { "http://h/PRN", LOCAL_NAME_UNSAFE, "" },
        { "http://h/aux.tar.gz", LOCAL_NAME_UNSAFE, "" },
        { "http://h/COM1", LOCAL_NAME_UNSAFE, "" },
        { "http://h/com9.log", LOCAL_NAME_UNSAFE, "" },
        { "http://h/LPT1", LOCAL_NAME_UNSAFE, "" },
        { "http://h/lpt\xb9", LOCAL_NAME_UNSAFE, "" },
        { "http://h/CONIN$", LOCAL_NAME_UNSAFE, "" },
        { "http://h/brenmar.txt", LOCAL_NAME_UNSAFE, "" },
        { "http://h/BRENMAR.TMP", LOCAL_NAME_UNSAFE, "" },
        { "http://h/brenmar.part", LOCAL_NAME_UNSAFE, "" },
    };
    for (const NameCase &c : cases) {
        char path[LOCAL_PATH_BYTES] = "unchanged";
        EXPECT_EQ(c.verdict, ComposeLocalPath(c.url.c_str(), path, sizeof path)) << c.url;
        EXPECT_EQ(c.path, path) << c.url;
        MakeLocalPath(c.url.c_str(), path, sizeof path);
        EXPECT_EQ(c.path, path) << c.url;
    }
}

/* Paths that do not fit their buffer are refused whole, never cut into another name. */
TEST(LocalPath, PathBufferLimits)
{
    ReloadPluginState();
    strcpy(gPlugin.downloadDir, DOWNLOAD);     /* 10 characters */
    const struct { size_t nameLength; size_t bytes; int verdict; } cases[] = {
        { 5, 16, LOCAL_NAME_OK },         /* 15 characters and the NUL */
        { 6, 16, LOCAL_NAME_TOO_LONG },
        { 249, LOCAL_PATH_BYTES, LOCAL_NAME_OK },
        { 250, LOCAL_PATH_BYTES, LOCAL_NAME_TOO_LONG },
        { 1, 1, LOCAL_NAME_TOO_LONG },
    };
    for (const auto &c : cases) {
        std::string name = "http://h/" + std::string(c.nameLength, 'n');
        std::vector<char> path(c.bytes + 1, '#');
        EXPECT_EQ(c.verdict, ComposeLocalPath(name.c_str(), path.data(), c.bytes)) << c.nameLength;
        EXPECT_EQ('#', path[c.bytes]) << "written past the buffer: " << c.nameLength;
        if (c.verdict == LOCAL_NAME_OK)
            EXPECT_EQ(std::string(DOWNLOAD) + std::string(c.nameLength, 'n'), path.data());
        else
            EXPECT_EQ('\0', path[0]) << c.nameLength;
    }
}

class HostileNames : public PluginTest {};

/* Hostile entries in a queue are reported and skipped: nothing is requested for them and
 * nothing is created outside the download folder; safe neighbours are fetched. */
TEST_F(HostileNames, QueueTable)
{
    const std::string hostile[] = {
        "http://h/..", "http://h/.", "http://h/CON", "http://h/nul.txt", "http://h/com1",
        "http://h/a:b", "http://h/x\x01y", "http://h/get.php?id=1", "http://h/brenmar.txt",
        "http://h/name.", "http://h/" + std::string(260, 'L'),
    };
    for (const std::string &entry : hostile) {
        TearDown();
        SetUp();
        NPP instance = NewInstance();
        DeliverStream(instance, "http://h/l.tvn", entry + "\nhttp://h/safe.zip\n");
        ServeBatch(instance);
        EXPECT_EQ(std::vector<std::string>{ "http://h/safe.zip" }, RequestedUrls()) << entry;
        bool reported = false;
        for (const std::string &line : ConsoleLines())
            reported |= line.find("skipped") != std::string::npos;
        EXPECT_TRUE(reported) << entry;
        EXPECT_EQ((std::vector<std::string>{ "SAFE.ZIP" }), FilesIn(DOWNLOAD)) << entry;
        EXPECT_FALSE(PathExists("\\brenmar.txt")) << entry;
    }
}

/* A path component climbing out of the folder is dropped: the file lands inside. */
TEST_F(HostileNames, ClimbingPathStaysInside)
{
    NPP instance = NewInstance();
    DeliverStream(instance, "http://h/l.tvn", "..\\..\\evil.txt\n");
    ServeBatch(instance);
    EXPECT_EQ((std::vector<std::string>{ "EVIL.TXT" }), FilesIn(DOWNLOAD));
    EXPECT_FALSE(PathExists("\\evil.txt"));
}

/* The unsafe-name report names the entry. */
TEST_F(HostileNames, ReportNamesTheEntry)
{
    NPP instance = NewInstance();
    DeliverStream(instance, "http://h/l.tvn", "http://h/CON\n");
    EXPECT_TRUE(Sent("http://h/CON: not a safe file name - skipped..."));
    EXPECT_TRUE(RequestedUrls().empty());
}
