/* isapi_filter.h - the ISAPI filter interface of the web server, as the filter and our
 * server host use it: the records passed to a filter, its notification flags and status
 * codes. Written for this kit; only what the filter and the host need. */
#ifndef ISAPI_FILTER_H
#define ISAPI_FILTER_H

#include <windows.h>
#include <stddef.h>

#define SF_MAX_FILTER_DESC_LEN   (256 + 1)  /* bytes of the description, NUL included */

/* Notification flags a filter asks for in dwFlags, and the notification types. */
#define SF_NOTIFY_SECURE_PORT        0x00000001
#define SF_NOTIFY_NONSECURE_PORT     0x00000002
#define SF_NOTIFY_READ_RAW_DATA      0x00008000
#define SF_NOTIFY_PREPROC_HEADERS    0x00004000
#define SF_NOTIFY_AUTHENTICATION     0x00002000
#define SF_NOTIFY_URL_MAP            0x00001000  /* the URL is being mapped to a physical path */
#define SF_NOTIFY_ACCESS_DENIED      0x00000800
#define SF_NOTIFY_SEND_RAW_DATA      0x00000400
#define SF_NOTIFY_LOG                0x00000200
#define SF_NOTIFY_END_OF_NET_SESSION 0x00000100
#define SF_NOTIFY_ORDER_HIGH         0x00080000
#define SF_NOTIFY_ORDER_MEDIUM       0x00040000
#define SF_NOTIFY_ORDER_LOW          0x00020000
#define SF_NOTIFY_ORDER_DEFAULT      SF_NOTIFY_ORDER_LOW
#define SF_NOTIFY_ORDER_MASK         (SF_NOTIFY_ORDER_HIGH | SF_NOTIFY_ORDER_MEDIUM | SF_NOTIFY_ORDER_LOW)

/* What HttpFilterProc tells the server to do next. */
enum SF_STATUS_TYPE {
    SF_STATUS_REQ_FINISHED = 0x8000000,
    SF_STATUS_REQ_FINISHED_KEEP_CONN,
    SF_STATUS_REQ_NEXT_NOTIFICATION,     /* 0x8000002: go on with the next filter */
    SF_STATUS_REQ_HANDLED_NOTIFICATION,
    SF_STATUS_REQ_ERROR,
    SF_STATUS_REQ_READ_NEXT
};

typedef struct _HTTP_FILTER_VERSION {
    DWORD dwServerFilterVersion;                  /* in: the server's filter interface version */
    DWORD dwFilterVersion;                        /* out: the filter's, major in the high word */
    CHAR  lpszFilterDesc[SF_MAX_FILTER_DESC_LEN]; /* out: description, NUL-terminated */
    DWORD dwFlags;                                /* out: SF_NOTIFY_* wanted */
} HTTP_FILTER_VERSION, *PHTTP_FILTER_VERSION;

struct _HTTP_FILTER_CONTEXT;
typedef BOOL  (WINAPI *PFN_SF_GET_SERVER_VARIABLE)(struct _HTTP_FILTER_CONTEXT *pfc,
                    LPSTR lpszVariableName, LPVOID lpvBuffer, LPDWORD lpdwSize);
typedef BOOL  (WINAPI *PFN_SF_ADD_RESPONSE_HEADERS)(struct _HTTP_FILTER_CONTEXT *pfc,
                    LPSTR lpszHeaders, DWORD dwReserved);
typedef BOOL  (WINAPI *PFN_SF_WRITE_CLIENT)(struct _HTTP_FILTER_CONTEXT *pfc,
                    LPVOID Buffer, LPDWORD lpdwBytes, DWORD dwReserved);
typedef VOID *(WINAPI *PFN_SF_ALLOC_MEM)(struct _HTTP_FILTER_CONTEXT *pfc,
                    DWORD cbSize, DWORD dwReserved);
typedef BOOL  (WINAPI *PFN_SF_SERVER_SUPPORT_FUNCTION)(struct _HTTP_FILTER_CONTEXT *pfc,
                    DWORD sfReq, PVOID pData, ULONG_PTR ul1, ULONG_PTR ul2);

/* One per request; the server fills it and passes it to every notification. */
typedef struct _HTTP_FILTER_CONTEXT {
    DWORD  cbSize;
    DWORD  Revision;
    PVOID  ServerContext;
    DWORD  ulReserved;
    BOOL   fIsSecurePort;
    PVOID  pFilterContext;
    PFN_SF_GET_SERVER_VARIABLE     GetServerVariable;
    PFN_SF_ADD_RESPONSE_HEADERS    AddResponseHeaders;
    PFN_SF_WRITE_CLIENT            WriteClient;
    PFN_SF_ALLOC_MEM               AllocMem;
    PFN_SF_SERVER_SUPPORT_FUNCTION ServerSupportFunction;
} HTTP_FILTER_CONTEXT, *PHTTP_FILTER_CONTEXT;

/* The SF_NOTIFY_URL_MAP notification: the filter may rewrite pszPhysicalPath in place. */
typedef struct _HTTP_FILTER_URL_MAP {
    const CHAR *pszURL;          /* the request's URL, read only */
    CHAR       *pszPhysicalPath; /* the mapped path, NUL-terminated */
    DWORD       cbPathBuff;      /* bytes in pszPhysicalPath's buffer, NUL included */
} HTTP_FILTER_URL_MAP, *PHTTP_FILTER_URL_MAP;

typedef BOOL  (WINAPI *PFN_GET_FILTER_VERSION)(HTTP_FILTER_VERSION *pVer);
typedef DWORD (WINAPI *PFN_HTTP_FILTER_PROC)(HTTP_FILTER_CONTEXT *pfc, DWORD notificationType,
                                             LPVOID pvNotification);

#if defined(__cplusplus) && defined(_M_IX86) || defined(__cplusplus) && defined(__i386__)
/* The 32-bit layout the server sees. */
static_assert(sizeof(HTTP_FILTER_VERSION) == 272, "HTTP_FILTER_VERSION is 272 bytes");
static_assert(offsetof(HTTP_FILTER_VERSION, lpszFilterDesc) == 8, "description at 8");
static_assert(offsetof(HTTP_FILTER_VERSION, dwFlags) == 268, "flags at 268");
static_assert(sizeof(HTTP_FILTER_CONTEXT) == 44, "HTTP_FILTER_CONTEXT is 44 bytes");
static_assert(offsetof(HTTP_FILTER_CONTEXT, pFilterContext) == 20, "filter context at 20");
static_assert(offsetof(HTTP_FILTER_CONTEXT, ServerSupportFunction) == 40, "last member at 40");
static_assert(sizeof(HTTP_FILTER_URL_MAP) == 12, "HTTP_FILTER_URL_MAP is 12 bytes");
static_assert(offsetof(HTTP_FILTER_URL_MAP, cbPathBuff) == 8, "cbPathBuff at 8");
#endif

#endif /* ISAPI_FILTER_H */
