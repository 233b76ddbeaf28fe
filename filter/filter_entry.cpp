/* filter_entry.cpp - the two functions the web server calls (exported by Velmorin.def):
 * nothing raised inside ever reaches the server. */
#include <windows.h>

#include <memory>
#include <string.h>

#include "isapi_filter.h"
#include "map_default_page.h"
#include "t_filter.h"

#define FILTER_VERSION 0x00010000 /* 1.0: major version in the high word */
#define FILTER_DESC    "Velmorin 1.0 for IIS -- http://www.felmo.example/"

static_assert(sizeof(FILTER_DESC) <= SF_MAX_FILTER_DESC_LEN, "description fits with its NUL");

/* Tells the server who we are and that only the URL-map notification is wanted. Returns
 * TRUE; FALSE only for a null record, which is left alone. */
extern "C" BOOL WINAPI GetFilterVersion(HTTP_FILTER_VERSION *pVer)
{
    if (pVer == NULL)
        return FALSE;
    pVer->dwFilterVersion = FILTER_VERSION;
    lstrcpynA(pVer->lpszFilterDesc, FILTER_DESC, SF_MAX_FILTER_DESC_LEN);
    pVer->dwFlags = SF_NOTIFY_URL_MAP;
    return TRUE;
}

/* Runs the URL-map work for an SF_NOTIFY_URL_MAP notification; any other does nothing.
 * Returns SF_STATUS_REQ_NEXT_NOTIFICATION in every case: an error raised during the work
 * is discarded and the request goes on with the path as it then stands. */
extern "C" DWORD WINAPI HttpFilterProc(HTTP_FILTER_CONTEXT *pfc, DWORD notificationType,
                                       LPVOID pvNotification)
{
    DWORD result = SF_STATUS_REQ_NEXT_NOTIFICATION;
    try {
        std::unique_ptr<TFilter> filter(new TFilter(pfc));
        if (notificationType == SF_NOTIFY_URL_MAP)
            MapDefaultPage(static_cast<HTTP_FILTER_URL_MAP *>(pvNotification));
    } catch (...) {
    }
    return result;
}
