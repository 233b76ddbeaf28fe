/* page_window.cpp - the host's windows: one top-level window per document, real
 * checkbox and button controls for the form, child windows for plug-in instances, and
 * the screenshot of a window */
#include "browser_host.h"

#include <stdio.h>

#define PAGE_CLASS      "PluginBrowserPage"
#define EMBED_CLASS     "PluginBrowserEmbed"
#define PAGE_MARGIN     8     /* pixels around the content */
#define ROW_HEIGHT      20    /* one checkbox row */
#define BUTTON_WIDTH    140
#define BUTTON_HEIGHT   26
#define FIRST_HEIGHT    60    /* client height before any content */
#define TITLE_BYTES     256   /* window caption */

static LRESULT CALLBACK PageProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp)
{
    if (msg == WM_CLOSE) {
        DestroyWindow(hwnd);
        return 0;
    }
    return DefWindowProcA(hwnd, msg, wp, lp);
}

bool RegisterWindowClasses(void)
{
    WNDCLASSA wc = {};
    wc.lpfnWndProc = PageProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = (HBRUSH)GetStockObject(WHITE_BRUSH);
    wc.lpszClassName = PAGE_CLASS;
    if (!RegisterClassA(&wc)) {
        Report("RegisterClass %s failed (error %lu)", PAGE_CLASS, GetLastError());
        return false;
    }
    WNDCLASSA ec = {};
    ec.lpfnWndProc = DefWindowProcA;
    ec.hInstance = GetModuleHandleA(nullptr);
    ec.hCursor = LoadCursor(nullptr, IDC_ARROW);
    ec.lpszClassName = EMBED_CLASS;
    if (!RegisterClassA(&ec)) {
        Report("RegisterClass %s failed (error %lu)", EMBED_CLASS, GetLastError());
        return false;
    }
    return true;
}

PageWindow *NewPage(const std::string &url, const std::string &mimeType, bool fromPlugin)
{
    auto p = std::make_unique<PageWindow>();
    p->url = url;
    p->base = url;
    p->mimeType = mimeType;
    p->fromPlugin = fromPlugin;
    p->complete = false;
    p->hwnd = nullptr;
    p->nextY = PAGE_MARGIN;
    gHost.pages.push_back(std::move(p));
    return gHost.pages.back().get();
}

/* Grows the page's window so that its client area reaches bottom. */
static void FitHeight(PageWindow *page, int bottom)
{
    RECT rc = {0, 0, PAGE_WINDOW_WIDTH, bottom + PAGE_MARGIN};
    AdjustWindowRect(&rc, WS_OVERLAPPEDWINDOW, FALSE);
    SetWindowPos(page->hwnd, nullptr, 0, 0, rc.right - rc.left, rc.bottom - rc.top, SWP_NOMOVE | SWP_NOZORDER);
}

static HWND Control(PageWindow *page, const char *cls, const char *text, DWORD style, int x, int y, int w, int h)
{
    return CreateWindowA(cls, text, WS_CHILD | WS_VISIBLE | style, x, y, w, h, page->hwnd, nullptr,
                         GetModuleHandleA(nullptr), nullptr);
}

void ShowPage(PageWindow *page)
{
    if (page->mimeType == "text/html")
        page->model = ParseHtmlPage(page->html);
    if (!page->model.baseHref.empty())
        page->base = page->model.baseHref;
    page->checked.assign(page->model.checkboxes.size(), false);
    char title[TITLE_BYTES];
    snprintf(title, sizeof title, "%s", page->model.title.empty() ? page->url.c_str() : page->model.title.c_str());
    RECT rc = {0, 0, PAGE_WINDOW_WIDTH, FIRST_HEIGHT};
    AdjustWindowRect(&rc, WS_OVERLAPPEDWINDOW, FALSE);
    page->hwnd = CreateWindowA(PAGE_CLASS, title, WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 0, 0, rc.right - rc.left,
                               rc.bottom - rc.top, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    if (page->hwnd == nullptr) {
        Report("CreateWindow for %s failed (error %lu)", title, GetLastError());
        return;
    }
    int y = PAGE_MARGIN;
    size_t shown = 0;
    for (const HtmlCheckbox &box : page->model.checkboxes) {
        if (shown == MAX_VISIBLE_BOXES)
            break;
        page->boxControls.push_back(Control(page, "BUTTON", box.label.c_str(), BS_CHECKBOX, PAGE_MARGIN, y,
                                            PAGE_WINDOW_WIDTH - 2 * PAGE_MARGIN, ROW_HEIGHT));
        y += ROW_HEIGHT;
        shown++;
    }
    if (page->model.checkboxes.size() > shown) {
        char more[64];
        snprintf(more, sizeof more, "... and %lu more files",
                 (unsigned long)(page->model.checkboxes.size() - shown));
        Control(page, "STATIC", more, 0, PAGE_MARGIN, y, PAGE_WINDOW_WIDTH - 2 * PAGE_MARGIN, ROW_HEIGHT);
        y += ROW_HEIGHT;
    }
    page->nextY = y;
    FitHeight(page, y);
    ShowWindow(page->hwnd, SW_SHOWNOACTIVATE);
    UpdateWindow(page->hwnd);
    Report("window \"%s\": %lu checkboxes, %lu buttons, %lu embeds", title,
           (unsigned long)page->model.checkboxes.size(), (unsigned long)page->model.buttons.size(),
           (unsigned long)page->model.embeds.size());
}

/* The buttons go below the embeds: they are placed again after every embed. */
static void PlaceButtons(PageWindow *page)
{
    static const char *kTag = "PluginBrowserButton";
    HWND child = GetWindow(page->hwnd, GW_CHILD);
    while (child != nullptr) {
        HWND next = GetWindow(child, GW_HWNDNEXT);
        if (GetPropA(child, kTag) != nullptr)
            DestroyWindow(child);
        child = next;
    }
    int x = PAGE_MARGIN;
    for (const HtmlButton &b : page->model.buttons) {
        HWND h = Control(page, "BUTTON", b.value.c_str(), BS_PUSHBUTTON, x, page->nextY + PAGE_MARGIN, BUTTON_WIDTH,
                         BUTTON_HEIGHT);
        SetPropA(h, kTag, (HANDLE)1);
        x += BUTTON_WIDTH + PAGE_MARGIN;
    }
    FitHeight(page, page->nextY + (page->model.buttons.empty() ? 0 : PAGE_MARGIN + BUTTON_HEIGHT));
}

HWND CreateEmbedWindow(PageWindow *page, int w, int h)
{
    if (page->hwnd == nullptr)
        ShowPage(page);
    HWND hwnd = CreateWindowA(EMBED_CLASS, "", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, PAGE_MARGIN, page->nextY, w,
                              h, page->hwnd, nullptr, GetModuleHandleA(nullptr), nullptr);
    if (hwnd == nullptr)
        Report("CreateWindow for an embed failed (error %lu)", GetLastError());
    page->nextY += h;
    PlaceButtons(page);
    return hwnd;
}

void ShowCheckbox(PageWindow *page, size_t index)
{
    if (index < page->boxControls.size())
        SendMessageA(page->boxControls[index], BM_SETCHECK, page->checked[index] ? BST_CHECKED : BST_UNCHECKED, 0);
}

void PumpMessages(void)
{
    for (auto &p : gHost.pages)
        if (p->hwnd != nullptr && IsWindow(p->hwnd))
            RedrawWindow(p->hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

/* Writes a 24-bit bitmap file from bottom-up bits (rows padded to 4 bytes). */
static bool WriteBmp(const std::string &path, int w, int h, const std::vector<unsigned char> &bits)
{
    int stride = (w * 3 + 3) & ~3;
    BITMAPFILEHEADER fh = {};
    BITMAPINFOHEADER ih = {};
    fh.bfType = 0x4D42;
    fh.bfOffBits = sizeof fh + sizeof ih;
    fh.bfSize = fh.bfOffBits + (DWORD)(stride * h);
    ih.biSize = sizeof ih;
    ih.biWidth = w;
    ih.biHeight = h;
    ih.biPlanes = 1;
    ih.biBitCount = 24;
    ih.biCompression = BI_RGB;
    FILE *f = fopen(path.c_str(), "wb");
    if (f == nullptr)
        return false;
    bool ok = fwrite(&fh, sizeof fh, 1, f) == 1 && fwrite(&ih, sizeof ih, 1, f) == 1 &&
              fwrite(bits.data(), 1, bits.size(), f) == bits.size();
    return fclose(f) == 0 && ok;
}

bool SaveScreenshot(PageWindow *page, const std::string &path)
{
    if (page == nullptr || page->hwnd == nullptr || !IsWindow(page->hwnd)) {
        Report("no window to save as %s", path.c_str());
        return false;
    }
    PumpMessages();
    RECT rc = {};
    GetClientRect(page->hwnd, &rc);
    int w = rc.right, h = rc.bottom;
    HDC src = GetDC(page->hwnd);
    HDC mem = CreateCompatibleDC(src);
    HBITMAP bmp = CreateCompatibleBitmap(src, w, h);
    HGDIOBJ old = SelectObject(mem, bmp);
    BitBlt(mem, 0, 0, w, h, src, 0, 0, SRCCOPY);
    SelectObject(mem, old);
    int stride = (w * 3 + 3) & ~3;
    std::vector<unsigned char> bits((size_t)stride * h);
    BITMAPINFO bi = {};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = w;
    bi.bmiHeader.biHeight = h;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 24;
    bi.bmiHeader.biCompression = BI_RGB;
    int lines = GetDIBits(mem, bmp, 0, (UINT)h, bits.data(), &bi, DIB_RGB_COLORS);
    DeleteObject(bmp);
    DeleteDC(mem);
    ReleaseDC(page->hwnd, src);
    if (lines != h || !WriteBmp(path, w, h, bits)) {
        Report("cannot save the window as %s", path.c_str());
        return false;
    }
    Report("window saved as %s (%dx%d)", path.c_str(), w, h);
    return true;
}
