/* dialog_drive.cpp - finds, reads and works the windows of a running VelmorinCfg from
 * another process, waiting on windows and focus rather than on time. */
#include "dialog_drive.h"

#define CLASS_NAME_CHARS 256  /* longest window class name Win32 keeps */
#define SEND_TIMEOUT_MS  5000 /* a message sent to the program is answered within this */
#define POLL_MS          10   /* pause between two looks at windows that do not signal */

std::string WindowText(HWND hwnd)
{
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutA(hwnd, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, SEND_TIMEOUT_MS,
                             &length) ||
        length == 0)
        return std::string();
    std::string text(length + 1, '\0');
    DWORD_PTR got = 0;
    if (!SendMessageTimeoutA(hwnd, WM_GETTEXT, length + 1, reinterpret_cast<LPARAM>(&text[0]),
                             SMTO_ABORTIFHUNG, SEND_TIMEOUT_MS, &got))
        return std::string();
    text.resize(got <= length ? got : length);
    return text;
}

static std::string ClassOf(HWND hwnd)
{
    char name[CLASS_NAME_CHARS];
    int length = GetClassNameA(hwnd, name, CLASS_NAME_CHARS);
    return std::string(name, length > 0 ? static_cast<size_t>(length) : 0);
}

WindowInfo DescribeWindow(HWND hwnd)
{
    WindowInfo info = {};
    info.hwnd = hwnd;
    info.className = ClassOf(hwnd);
    info.text = WindowText(hwnd);
    GetWindowRect(hwnd, &info.rect);
    HWND parent = GetAncestor(hwnd, GA_PARENT);
    if (parent && parent != GetDesktopWindow())
        MapWindowPoints(NULL, parent, reinterpret_cast<POINT *>(&info.rect), 2);
    info.style = GetWindowLongA(hwnd, GWL_STYLE);
    info.exStyle = GetWindowLongA(hwnd, GWL_EXSTYLE);
    return info;
}

std::vector<WindowInfo> ChildWindows(HWND parent)
{
    std::vector<WindowInfo> children;
    for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        children.push_back(DescribeWindow(child));
    return children;
}

/* Whether WAIT_WINDOW_MS have passed since start (right across the counter's wrap). */
static bool TimeIsUp(DWORD start)
{
    return GetTickCount() - start > WAIT_WINDOW_MS;
}

struct TopWindowSearch {
    DWORD pid; /* 0 for any process */
    const char *className;
    const char *caption;
    HWND found;
};

static BOOL CALLBACK MatchTopWindow(HWND hwnd, LPARAM param)
{
    TopWindowSearch *search = reinterpret_cast<TopWindowSearch *>(param);
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    if ((search->pid && pid != search->pid) || !IsWindowVisible(hwnd) ||
        ClassOf(hwnd) != search->className ||
        (search->caption && WindowText(hwnd) != search->caption))
        return TRUE;
    search->found = hwnd;
    return FALSE;
}

HWND FindTopWindow(DWORD pid, const char *className, const char *caption)
{
    TopWindowSearch search = {pid, className, caption, NULL};
    EnumWindows(MatchTopWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND WaitForTopWindow(HANDLE process, DWORD pid, const char *className, const char *caption)
{
    DWORD start = GetTickCount();
    for (;;) {
        HWND found = FindTopWindow(pid, className, caption);
        if (found)
            return found;
        if (TimeIsUp(start))
            return NULL;
        if (WaitForSingleObject(process, POLL_MS) == WAIT_OBJECT_0)
            return FindTopWindow(pid, className, caption);
    }
}

HWND WaitForAnyTopWindow(const char *className, const char *caption)
{
    DWORD start = GetTickCount();
    for (;;) {
        HWND found = FindTopWindow(0, className, caption);
        if (found || TimeIsUp(start))
            return found;
        Sleep(POLL_MS);
    }
}

bool WaitForWindowGone(HWND hwnd)
{
    DWORD start = GetTickCount();
    while (IsWindow(hwnd) && IsWindowVisible(hwnd)) {
        if (TimeIsUp(start))
            return false;
        Sleep(POLL_MS);
    }
    return true;
}

HWND DialogEdit(HWND dialog, const char *groupCaption)
{
    for (const WindowInfo &box : ChildWindows(dialog)) {
        if (box.className != "Button" || box.text != groupCaption)
            continue;
        for (const WindowInfo &child : ChildWindows(box.hwnd))
            if (child.className == "Edit")
                return child.hwnd;
    }
    return NULL;
}

HWND DialogButton(HWND dialog, const char *text)
{
    for (const WindowInfo &child : ChildWindows(dialog))
        if (child.className == "Button" && child.text == text)
            return child.hwnd;
    return NULL;
}

static std::string WithoutMnemonic(const std::string &text)
{
    std::string plain;
    for (size_t i = 0; i < text.size(); i++) {
        if (text[i] == '&' && i + 1 < text.size())
            i++;
        plain += text[i];
    }
    return plain;
}

MessageBoxInfo ReadMessageBox(HWND box)
{
    MessageBoxInfo info = {};
    info.caption = WindowText(box);
    info.owner = GetWindow(box, GW_OWNER);
    for (const WindowInfo &child : ChildWindows(box)) {
        if (!(child.style & WS_VISIBLE))
            continue;
        if (child.className == "Button") {
            info.buttons.push_back(WithoutMnemonic(child.text));
        } else if (child.className == "Static" && (child.style & SS_TYPEMASK) == SS_ICON) {
            DWORD_PTR icon = 0;
            SendMessageTimeoutA(child.hwnd, STM_GETICON, 0, 0, SMTO_ABORTIFHUNG,
                                SEND_TIMEOUT_MS, &icon);
            info.hasIcon = info.hasIcon || icon != 0;
        } else if (child.className == "Static" && !child.text.empty()) {
            info.text = child.text;
        }
    }
    return info;
}

bool PressBoxButton(HWND box, const char *buttonText)
{
    for (const WindowInfo &child : ChildWindows(box)) {
        if (child.className == "Button" && (child.style & WS_VISIBLE) &&
            WithoutMnemonic(child.text) == buttonText) {
            PostMessageA(child.hwnd, BM_CLICK, 0, 0);
            return true;
        }
    }
    return false;
}

bool SetEditText(HWND edit, const std::string &text)
{
    DWORD_PTR result = 0;
    return SendMessageTimeoutA(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()),
                               SMTO_ABORTIFHUNG, SEND_TIMEOUT_MS, &result) &&
           result == TRUE;
}

void PostClick(HWND button)
{
    PostMessageA(button, BM_CLICK, 0, 0);
}

/* Bits of a key message's lParam. */
#define KEY_REPEAT_ONE  0x00000001u /* repeat count 1 */
#define KEY_ALT_DOWN    0x20000000u /* context code: Alt is held */
#define KEY_WAS_DOWN    0x40000000u /* previous state: down (on release) */
#define KEY_TRANSITION  0x80000000u /* transition state: being released */
#define KEY_SCAN_SHIFT  16          /* position of the scan code */

static void PostKeyMessages(HWND hwnd, UINT down, UINT up, UINT virtualKey, LPARAM flags)
{
    LPARAM scan = static_cast<LPARAM>(MapVirtualKeyA(virtualKey, MAPVK_VK_TO_VSC));
    LPARAM press = KEY_REPEAT_ONE | (scan << KEY_SCAN_SHIFT) | flags;
    PostMessageA(hwnd, down, virtualKey, press);
    PostMessageA(hwnd, up, virtualKey, press | KEY_WAS_DOWN | KEY_TRANSITION);
}

void PostKey(HWND hwnd, UINT virtualKey)
{
    PostKeyMessages(hwnd, WM_KEYDOWN, WM_KEYUP, virtualKey, 0);
}

void PostAltKey(HWND hwnd, char letter)
{
    UINT key = static_cast<UINT>(letter >= 'a' && letter <= 'z' ? letter - 'a' + 'A' : letter);
    PostKeyMessages(hwnd, WM_SYSKEYDOWN, WM_SYSKEYUP, key, KEY_ALT_DOWN);
}

HWND FocusedWindow(HWND hwnd)
{
    GUITHREADINFO info = {};
    info.cbSize = sizeof info;
    if (!GetGUIThreadInfo(GetWindowThreadProcessId(hwnd, NULL), &info))
        return NULL;
    return info.hwndFocus;
}

bool WaitForFocus(HWND hwnd, HWND expected)
{
    DWORD start = GetTickCount();
    while (FocusedWindow(hwnd) != expected) {
        if (TimeIsUp(start))
            return false;
        Sleep(POLL_MS);
    }
    return true;
}

DWORD WaitForExit(HANDLE process)
{
    DWORD code = STILL_ACTIVE;
    if (WaitForSingleObject(process, WAIT_WINDOW_MS) == WAIT_OBJECT_0)
        GetExitCodeProcess(process, &code);
    return code;
}

std::string WindowsPath(const std::string &unixPath)
{
    std::string path = "Z:" + unixPath;
    for (char &c : path)
        if (c == '/')
            c = '\\';
    return path;
}
