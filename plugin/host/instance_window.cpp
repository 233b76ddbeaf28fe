/* instance_window.cpp - binds an instance to the window the browser gives it: the window
 * procedure becomes StatusWindowProc, which paints the status line. */
#include "instance_parts.h"

/* Gives the bound window back its own procedure and removes the record property from it;
 * hwnd and previousWndProc become null. npWindow and the brush stay. Nothing when no
 * window is bound. */
void UnbindWindow(InstanceData *data)
{
    if (data->hwnd == NULL)
        return;
    if (data->previousWndProc != NULL)
        SetWindowLongPtrA(data->hwnd, GWLP_WNDPROC, (LONG_PTR)data->previousWndProc);
    RemovePropA(data->hwnd, WINDOW_PROPERTY_NAME);
    data->hwnd = NULL;
    data->previousWndProc = NULL;
}

/* Binds, rebinds or unbinds the instance's window. Returns NPERR_INVALID_INSTANCE_ERROR for
 * a null instance or one without its record, else NPERR_NO_ERROR. A null record or handle
 * unbinds; the window already bound is left as it is (a move or resize); any other window
 * is subclassed, gets a new brush of the current backgroundColor (the earlier brush is
 * deleted), the record as its property, and is painted at once. */
NPError NPP_SetWindow(NPP instance, NPWindow *window)
{
    if (instance == NULL || instance->pdata == NULL)
        return NPERR_INVALID_INSTANCE_ERROR;
    InstanceData *data = (InstanceData *)instance->pdata;
    HWND newWindow = window != NULL ? (HWND)window->window : NULL;
    if (newWindow == NULL) {
        UnbindWindow(data);
        return NPERR_NO_ERROR;
    }
    if (newWindow == data->hwnd)
        return NPERR_NO_ERROR;
    UnbindWindow(data);

    data->previousWndProc = (WNDPROC)SetWindowLongPtrA(newWindow, GWLP_WNDPROC,
                                                       (LONG_PTR)StatusWindowProc);
    data->hwnd = newWindow;
    if (data->backgroundBrush != NULL)
        DeleteObject(data->backgroundBrush);
    data->backgroundBrush = CreateSolidBrush(gPlugin.backgroundColor);
    SetPropA(newWindow, WINDOW_PROPERTY_NAME, data);
    InvalidateRect(newWindow, NULL, TRUE);
    UpdateWindow(newWindow);
    data->npWindow = window;
    return NPERR_NO_ERROR;
}
