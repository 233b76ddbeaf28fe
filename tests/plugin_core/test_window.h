/* test_window.h - real windows for the painting tests: a plain top-level window whose own
 * procedure records what reaches it, bound to an InstanceData the way the plug-in binds a
 * window it is given (subclass, brush, property, repaint). */
#ifndef TEST_WINDOW_H
#define TEST_WINDOW_H

#include <vector>

#include "plugin_state.h"

/* A message as the window's own procedure received it. */
struct ReceivedMessage {
    HWND   hwnd;
    UINT   message;
    WPARAM wParam;
    LPARAM lParam;
};

/* Everything the test windows' own procedure received, and what it answers. */
extern std::vector<ReceivedMessage> gOwnProcReceived;
extern LRESULT gOwnProcAnswer;

/* A visible child window at (x, y) of a page window, width x height pixels, or null. */
HWND CreateTestWindow(int x, int y, int width, int height);

/* Binds the window to the record: StatusWindowProc replaces the window's procedure, a
 * brush of the current backgroundColor is made, the record is attached as the window
 * property, and the window is painted at once. */
void BindTestWindow(InstanceData *data, HWND hwnd);

/* Gives the window its own procedure back, deletes the brush and removes the property. */
void UnbindTestWindow(InstanceData *data);

/* Dispatches every pending message of this thread. */
void PumpMessages(void);

/* The colour of one client pixel as painted. */
COLORREF ClientPixel(HWND hwnd, int x, int y);

#endif /* TEST_WINDOW_H */
