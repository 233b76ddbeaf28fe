/* test_window.cpp - real windows for the painting tests, bound as the plug-in binds them. */
#include "test_window.h"

#include "plugin_api.h"

std::vector<ReceivedMessage> gOwnProcReceived;
LRESULT gOwnProcAnswer = 0;

static const char kClassName[] = "PluginCoreTestWindow";

/* The messages the tests send through a bound window; the rest is the system's. */
static bool Watched(UINT message)
{
    return message >= WM_USER || message == WM_SIZE || message == WM_MOUSEMOVE ||
           message == WM_KEYDOWN;
}

static LRESULT CALLBACK OwnProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (!Watched(message))
        return DefWindowProcA(hwnd, message, wParam, lParam);
    gOwnProcReceived.push_back({ hwnd, message, wParam, lParam });
    return gOwnProcAnswer;
}

/* The top-level window every test window lives in, as a plug-in's window lives in the
 * browser's page: made once and kept, since showing and hiding top-level windows is slow
 * without a window manager. */
static HWND PageWindow(void)
{
    static HWND page = NULL;
    if (page == NULL) {
        page = CreateWindowExA(0, kClassName, "page", WS_POPUP | WS_VISIBLE, 0, 0, 600, 400,
                               NULL, NULL, GetModuleHandleA(NULL), NULL);
        UpdateWindow(page);
        PumpMessages();
    }
    return page;
}

HWND CreateTestWindow(int x, int y, int width, int height)
{
    static bool registered = false;
    if (!registered) {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = OwnProc;
        wc.hInstance = GetModuleHandleA(NULL);
        wc.hCursor = LoadCursor(NULL, IDC_ARROW);
        wc.lpszClassName = kClassName;
        registered = RegisterClassA(&wc) != 0;
    }
    HWND page = PageWindow();
    if (page == NULL)
        return NULL;
    HWND hwnd = CreateWindowExA(0, kClassName, "status", WS_CHILD | WS_VISIBLE, x, y, width,
                                height, page, NULL, GetModuleHandleA(NULL), NULL);
    if (hwnd != NULL) {
        UpdateWindow(hwnd);
        PumpMessages();
    }
    return hwnd;
}

void BindTestWindow(InstanceData *data, HWND hwnd)
{
    data->previousWndProc =
        (WNDPROC)SetWindowLongPtrA(hwnd, GWLP_WNDPROC, (LONG_PTR)StatusWindowProc);
    data->hwnd = hwnd;
    data->backgroundBrush = CreateSolidBrush(gPlugin.backgroundColor);
    SetPropA(hwnd, WINDOW_PROPERTY_NAME, (HANDLE)data);
    InvalidateRect(hwnd, NULL, TRUE);
    UpdateWindow(hwnd);
}

void UnbindTestWindow(InstanceData *data)
{
    if (data->hwnd != NULL && data->previousWndProc != NULL)
        SetWindowLongPtrA(data->hwnd, GWLP_WNDPROC, (LONG_PTR)data->previousWndProc);
    if (data->hwnd != NULL)
        RemovePropA(data->hwnd, WINDOW_PROPERTY_NAME);
    if (data->backgroundBrush != NULL)
        DeleteObject(data->backgroundBrush);
    data->previousWndProc = NULL;
    data->backgroundBrush = NULL;
    data->hwnd = NULL;
}

void PumpMessages(void)
{
    MSG msg;
    while (PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

COLORREF ClientPixel(HWND hwnd, int x, int y)
{
    HDC dc = GetDC(hwnd);
    COLORREF colour = GetPixel(dc, x, y);
    ReleaseDC(hwnd, dc);
    return colour;
}
