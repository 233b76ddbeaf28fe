/* activity_log_test.cpp - LogActivity on a drive of the test's own: line format, time
 * stamp, appending, a line cut at its buffer, a log that cannot be opened. */
#include <gtest/gtest.h>

#include <direct.h>
#include <stdio.h>
#include <string.h>
#include <time.h>

#include <sys/stat.h>

#include <algorithm>
#include <regex>
#include <string>

#include "activity_log.h"
#include "plugin_api.h"
#include "plugin_load.h"

/* The whole log file as bytes, or "" when there is none. */
static std::string ReadLog(void)
{
    std::string content;
    FILE *file = fopen(ACTIVITY_LOG_FILE, "rb");
    if (file == nullptr)
        return content;
    char chunk[256];
    size_t got;
    while ((got = fread(chunk, 1, sizeof chunk, file)) > 0)
        content.append(chunk, got);
    fclose(file);
    return content;
}

/* The stamp LogActivity writes for a moment, built here from the parts. */
static std::string StampOf(time_t moment)
{
    struct tm *local = localtime(&moment);
    char stamp[64];
    snprintf(stamp, sizeof stamp, "%d/%02d/%02d %d:%02d:%02d", local->tm_mon + 1, local->tm_mday,
             local->tm_year, local->tm_hour, local->tm_min, local->tm_sec);
    return stamp;
}

struct LineCase {
    int         year, month, day, hour, minute, second;
    const char *text;
    size_t      lineBytes;
    const char *expected;
};

static const LineCase kLines[] = {
    { 1996, 10, 28, 14,  5,  7, "Into getIt2()", 200, "10/28/96 14:05:07 Into getIt2()\n" },
    { 2001,  1,  5,  9,  3,  4, "Into getIt2()", 200, "1/05/101 9:03:04 Into getIt2()\n" },
    { 2000,  2, 29,  0,  0,  0, "",              200, "2/29/100 0:00:00 \n" },
    { 1905, 12, 31, 23, 59, 59, "x",             200, "12/31/05 23:59:59 x\n" },
    { 2001,  1,  5,  9,  3,  4, "abc",           12,  "1/05/101 9\n" },
    { 2001,  1,  5,  9,  3,  4, "abc",           2,   "\n" },
    { 2001,  1,  5,  9,  3,  4, "abc",           1,   "" },
};

TEST(LogLine, FormatStampAndCut)
{
    for (const LineCase &c : kLines) {
        struct tm when = {};
        when.tm_year = c.year - 1900;
        when.tm_mon = c.month - 1;
        when.tm_mday = c.day;
        when.tm_hour = c.hour;
        when.tm_min = c.minute;
        when.tm_sec = c.second;
        char buffer[LOG_LINE_BYTES + 8];
        memset(buffer, 0x7F, sizeof buffer);
        size_t length = FormatLogLine(buffer, c.lineBytes, &when, c.text);
        std::string row = std::string("expected \"") + c.expected + "\" in " + std::to_string(c.lineBytes);
        EXPECT_EQ(std::string(c.expected), std::string(buffer)) << row;
        EXPECT_EQ(strlen(c.expected), length) << row;
        for (size_t i = c.lineBytes; i < sizeof buffer; i++)
            ASSERT_EQ(0x7F, buffer[i]) << row << ": byte " << i << " written past the buffer";
    }
}

class ActivityLog : public ::testing::Test {
protected:
    void SetUp() override
    {
        ReloadPluginState();
        remove(ACTIVITY_LOG_FILE);
        _rmdir(ACTIVITY_LOG_FILE);
    }
};

TEST_F(ActivityLog, LineFormatAndStampInLocalTime)
{
    time_t before = time(nullptr);
    LogActivity("Into getIt2()");
    time_t after = time(nullptr);
    std::string log = ReadLog();

    static const std::regex kLine("([1-9]|1[0-2])/[0-3][0-9]/[0-9]{2,3} ([0-9]|1[0-9]|2[0-3]):[0-5][0-9]:[0-5][0-9] "
                                  "Into getIt2\\(\\)\r\n");
    EXPECT_TRUE(std::regex_match(log, kLine)) << "line: [" << log << "]";
    std::string stamp = log.substr(0, log.find(" Into"));
    EXPECT_TRUE(stamp == StampOf(before) || stamp == StampOf(after))
        << "stamp " << stamp << " expected " << StampOf(before);
}

TEST_F(ActivityLog, AppendsOneLinePerCallAndNeverTruncates)
{
    LogActivity("first");
    LogActivity("second");
    LogActivity("");
    std::string log = ReadLog();
    static const std::regex kThree("[^\r\n]* first\r\n[^\r\n]* second\r\n[^\r\n]* \r\n");
    EXPECT_TRUE(std::regex_match(log, kThree)) << "log: [" << log << "]";
}

/* Around the 200-byte line buffer: a longer line is cut and still ends with its line
 * break, so the next line starts on a line of its own. */
TEST_F(ActivityLog, LongLineIsCutAtTheBufferKeepingItsLineBreak)
{
    std::string stamp = StampOf(time(nullptr));
    const size_t room = LOG_LINE_BYTES - 1 - 1 - (stamp.size() + 1);   /* NUL, break, stamp */
    const size_t lengths[] = { room - 1, room, room + 1, room + 50, 1000 };
    for (size_t length : lengths) {
        remove(ACTIVITY_LOG_FILE);
        std::string text(length, 'x');
        LogActivity(text.c_str());
        LogActivity("next");
        std::string log = ReadLog();
        size_t firstBreak = log.find("\r\n");
        ASSERT_NE(std::string::npos, firstBreak) << "length " << length;
        std::string first = log.substr(0, firstBreak);
        EXPECT_LE(first.size() + 1, (size_t)LOG_LINE_BYTES - 1) << "length " << length;
        std::string kept = first.substr(first.find(' ', first.find(' ') + 1) + 1);
        EXPECT_EQ(std::string(std::min(length, kept.size()), 'x'), kept) << "length " << length;
        if (length <= room)
            EXPECT_EQ(length, kept.size()) << "length " << length << " fits whole";
        else
            EXPECT_EQ(LOG_LINE_BYTES - 1, first.size() + 1) << "length " << length << " cut at the buffer";
        EXPECT_EQ(" next\r\n", log.substr(log.size() - 7)) << "length " << length;
    }
}

TEST_F(ActivityLog, UnopenableLogDropsTheLineQuietly)
{
    ASSERT_EQ(0, _mkdir(ACTIVITY_LOG_FILE)) << "a folder in the log's place";
    LogActivity("lost");
    struct _stat info;
    ASSERT_EQ(0, _stat(ACTIVITY_LOG_FILE, &info));
    EXPECT_TRUE(info.st_mode & _S_IFDIR);
    _rmdir(ACTIVITY_LOG_FILE);
}
