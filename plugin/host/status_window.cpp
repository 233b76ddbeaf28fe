/* status_window.cpp - the window procedure put in place of a bound window's own: paints
 * the status line, hands every other message to the procedure it replaced. */
#include "plugin_api.h"

#include <string.h>

/* Where the status text starts, in client pixels from the top left corner. */
#define STATUS_TEXT_LEFT  2
#define STATUS_TEXT_TOP   2

/* Paints the window: fill with the brush made at binding, one-pixel black frame, then
 * the whole status line on the current background colour. The brush may be missing for a
 * window whose record is gone; the paint is still validated. Cannot fail. */
static void PaintStatus(HWND hwnd, const InstanceData *data)
{
    PAINTSTRUCT ps = {};
    HDC dc = BeginPaint(hwnd, &ps);
    if (dc == NULL)
        return;
    RECT client = {};
    GetClientRect(hwnd, &client);
    if (data != NULL && data->backgroundBrush != NULL)
        FillRect(dc, &client, data->backgroundBrush);
    FrameRect(dc, &client, (HBRUSH)GetStockObject(BLACK_BRUSH));
    SetBkColor(dc, gPlugin.backgroundColor);
    SetBkMode(dc, OPAQUE);
    int length = (int)strnlen(gPlugin.statusText, STATUS_TEXT_BYTES);
    TextOutA(dc, STATUS_TEXT_LEFT, STATUS_TEXT_TOP, gPlugin.statusText, length);
    EndPaint(hwnd, &ps);
}

/* Paints WM_PAINT itself and passes every other message unchanged to the replaced
 * procedure. Returns 0 whatever that procedure answered; only a window that lost its
 * record (no previous procedure known) gets the system's default handling and its
 * answer. */
LRESULT CALLBACK StatusWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    InstanceData *data = (InstanceData *)GetPropA(hwnd, WINDOW_PROPERTY_NAME);
    if (message == WM_PAINT) {
        PaintStatus(hwnd, data);
        return 0;
    }
    if (data == NULL || data->previousWndProc == NULL)
        return DefWindowProcA(hwnd, message, wParam, lParam);
    CallWindowProcA(data->previousWndProc, hwnd, message, wParam, lParam);
    return 0;
}
