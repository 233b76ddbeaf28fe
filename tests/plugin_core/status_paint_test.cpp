/* status_paint_test.cpp - StatusWindowProc on real windows: fill, frame, where the text
 * starts and on which colour, which window repaints, and every other message passed to
 * the window's own procedure. */
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "plugin_api.h"
#include "plugin_load.h"
#include "test_window.h"

static const COLORREF kDefaultGrey = RGB(216, 208, 200);
static const COLORREF kBlack = RGB(0, 0, 0);
static const COLORREF kTextBackground = RGB(40, 160, 90);    /* a colour no default uses */
static const int kWidth = 240;
static const int kHeight = 30;

static std::string Hex(COLORREF colour)
{
    char text[16];
    snprintf(text, sizeof text, "%06lX", (unsigned long)colour);
    return text;
}

/* One window bound with the default colour, removed again at the end of each test. */
class StatusPaint : public ::testing::Test {
protected:
    void SetUp() override
    {
        ReloadPluginState();
        hwnd = CreateTestWindow(20, 20, kWidth, kHeight);
        ASSERT_NE(nullptr, hwnd);
    }
    void TearDown() override
    {
        UnbindTestWindow(&data);
        DestroyWindow(hwnd);
        PumpMessages();
    }
    /* Binds with the current colour; the text background then changes to
     * kTextBackground so the text's cell stands out against the fill. */
    void BindAndRepaint(const char *status)
    {
        lstrcpynA(gPlugin.statusText, status, STATUS_TEXT_BYTES);
        BindTestWindow(&data, hwnd);
        gPlugin.backgroundColor = kTextBackground;
        InvalidateRect(hwnd, NULL, TRUE);
        UpdateWindow(hwnd);
    }
    HWND hwnd = nullptr;
    InstanceData data = {};
};

struct PixelCase {
    const char *where;
    int x, y;
    COLORREF colour;
};

TEST_F(StatusPaint, FillFrameAndTextOrigin)
{
    BindAndRepaint("        ");      /* blanks: the cell is the text background, no ink */
    const PixelCase cases[] = {
        { "top left corner",    0, 0, kBlack },
        { "top edge",           kWidth / 2, 0, kBlack },
        { "left edge",          0, kHeight / 2, kBlack },
        { "bottom right",       kWidth - 1, kHeight - 1, kBlack },
        { "bottom edge",        kWidth / 2, kHeight - 1, kBlack },
        { "right edge",         kWidth - 1, kHeight / 2, kBlack },
        { "inside the frame",   1, 1, kDefaultGrey },
        { "left of the text",   1, 2, kDefaultGrey },
        { "above the text",     2, 1, kDefaultGrey },
        { "text origin",        2, 2, kTextBackground },
        { "inside the text",    4, 5, kTextBackground },
        { "right of the text",  kWidth - 3, 4, kDefaultGrey },
    };
    for (const PixelCase &c : cases)
        EXPECT_EQ(Hex(c.colour), Hex(ClientPixel(hwnd, c.x, c.y))) << c.where;
}

TEST_F(StatusPaint, TextIsDrawnInTheDefaultTextColour)
{
    BindAndRepaint("MMMMMMMM");
    int ink = 0;
    for (int y = 2; y < kHeight - 1; y++)
        for (int x = 2; x < 60; x++)
            ink += ClientPixel(hwnd, x, y) == kBlack;
    EXPECT_GT(ink, 20) << "black glyph pixels inside the text cell";
}

TEST_F(StatusPaint, EmptyTextPaintsOnlyFillAndFrame)
{
    BindAndRepaint("");
    for (int y = 1; y < kHeight - 1; y += 3)
        for (int x = 1; x < kWidth - 1; x += 7)
            ASSERT_EQ(Hex(kDefaultGrey), Hex(ClientPixel(hwnd, x, y))) << "x " << x << " y " << y;
    EXPECT_EQ(Hex(kBlack), Hex(ClientPixel(hwnd, 0, 0)));
}

/* Two windows show the same status line; ShowStatus through one repaints only that one,
 * the other shows the new text at its next repaint. */
TEST_F(StatusPaint, TwoWindowsOnlyTheFirstRepaints)
{
    BindAndRepaint("");
    HWND other = CreateTestWindow(20, 80, kWidth, kHeight);
    ASSERT_NE(nullptr, other);
    InstanceData otherData = {};
    gPlugin.backgroundColor = kDefaultGrey;
    BindTestWindow(&otherData, other);
    PumpMessages();
    gPlugin.backgroundColor = kTextBackground;
    NPP_t instance = {};
    instance.pdata = &data;

    ShowStatus(&instance, "      ");
    PumpMessages();

    EXPECT_EQ(Hex(kTextBackground), Hex(ClientPixel(hwnd, 2, 2))) << "first window repainted";
    EXPECT_EQ(Hex(kDefaultGrey), Hex(ClientPixel(other, 2, 2))) << "second window not yet";
    InvalidateRect(other, NULL, TRUE);
    UpdateWindow(other);
    EXPECT_EQ(Hex(kTextBackground), Hex(ClientPixel(other, 2, 2))) << "second window after its repaint";
    UnbindTestWindow(&otherData);
    DestroyWindow(other);
}

TEST_F(StatusPaint, OtherMessagesReachTheOwnProcedureUnchangedAndAnswerZero)
{
    BindAndRepaint("x");
    const ReceivedMessage sent[] = {
        { hwnd, WM_USER + 1, 0x1234, 0x5678 },
        { hwnd, WM_SIZE, SIZE_RESTORED, MAKELPARAM(kWidth, kHeight) },
        { hwnd, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(3, 4) },
        { hwnd, WM_KEYDOWN, 'A', 0x001E0001 },
        { hwnd, WM_APP + 7, (WPARAM)-1, (LPARAM)-2 },
    };
    gOwnProcAnswer = 4321;
    for (const ReceivedMessage &m : sent) {
        gOwnProcReceived.clear();
        LRESULT answer = SendMessageA(hwnd, m.message, m.wParam, m.lParam);
        std::string row = "message " + std::to_string(m.message);
        EXPECT_EQ(0, answer) << row;
        ASSERT_EQ(1u, gOwnProcReceived.size()) << row;
        EXPECT_EQ(m.hwnd, gOwnProcReceived[0].hwnd) << row;
        EXPECT_EQ(m.message, gOwnProcReceived[0].message) << row;
        EXPECT_EQ(m.wParam, gOwnProcReceived[0].wParam) << row;
        EXPECT_EQ(m.lParam, gOwnProcReceived[0].lParam) << row;
    }
    gOwnProcAnswer = 0;
}

/* A window whose property is gone (its record was detached) still gets its paint
 * validated and every other message the system's default handling: nothing crashes. */
TEST_F(StatusPaint, WindowWithoutItsRecordDoesNotCrash)
{
    BindAndRepaint("x");
    RemovePropA(hwnd, WINDOW_PROPERTY_NAME);
    InvalidateRect(hwnd, NULL, TRUE);
    UpdateWindow(hwnd);
    RECT update = {};
    EXPECT_FALSE(GetUpdateRect(hwnd, &update, FALSE)) << "the paint was validated";
    gOwnProcReceived.clear();
    SendMessageA(hwnd, WM_USER + 2, 1, 2);
    EXPECT_TRUE(gOwnProcReceived.empty());
    SetPropA(hwnd, WINDOW_PROPERTY_NAME, (HANDLE)&data);
}
