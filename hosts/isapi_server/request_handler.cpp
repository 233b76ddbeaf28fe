/* request_handler.cpp - one request from its target to a file, a redirect or an error */
#include "request_handler.h"
#include "content_type.h"
#include "url_path.h"
#include "win_error.h"

static const char *ReasonOf(int status)
{
    switch (status) {
    case 200: return "OK";
    case 301: return "Moved Permanently";
    case 400: return "Bad Request";
    case 403: return "Forbidden";
    case 404: return "Not Found";
    case 405: return "Method Not Allowed";
    case 414: return "URI Too Long";
    default:  return "Internal Server Error";
    }
}

/* The body never repeats anything of the request. */
void MakeTextReply(int status, Reply *reply)
{
    reply->kind = REPLY_TEXT;
    reply->status = status;
    reply->contentType = "text/plain";
    reply->body = std::to_string(status) + " " + ReasonOf(status) + "\r\n";
}

/* Status for a file or folder that cannot be opened: 403 when access is refused, else 404. */
static int StatusForOpenError(DWORD error)
{
    return error == ERROR_ACCESS_DENIED || error == ERROR_SHARING_VIOLATION ? 403 : 404;
}

/* Answers with the file at path, a redirect for a folder URL without "/", or 403/404. */
static void ServePath(const ServerSite &site, const RequestInfo &request, const std::string &path, Reply *reply)
{
    DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        MakeTextReply(StatusForOpenError(GetLastError()), reply);
        return;
    }
    if (attributes & FILE_ATTRIBUTE_DIRECTORY) {
        if (request.url.back() != '/') {
            MakeTextReply(301, reply);
            reply->location = EncodeUrlPath(request.url + "/");
            if (!request.query.empty())
                reply->location += "?" + request.query;
        } else {
            MakeTextReply(403, reply);  /* no default page and no listing */
        }
        return;
    }
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        MakeTextReply(StatusForOpenError(GetLastError()), reply);
        return;
    }
    LARGE_INTEGER size = {};
    if (!GetFileSizeEx(file, &size)) {
        reply->failure = DescribeWin32Error("GetFileSizeEx", path, GetLastError());
        CloseHandle(file);
        MakeTextReply(500, reply);
        return;
    }
    reply->kind = REPLY_FILE;
    reply->status = 200;
    reply->file = file;
    reply->fileSize = (unsigned long long)size.QuadPart;
    reply->contentType = ContentTypeFor(path.c_str());
    for (const DropRule &rule : *site.drops) {
        if (rule.url == request.url) {
            reply->dropSet = true;
            reply->dropAfter = rule.bytes;
        }
    }
}

void HandleRequest(const ServerSite &site, const std::string &target, RequestInfo *request, Reply *reply)
{
    *reply = Reply();
    reply->file = INVALID_HANDLE_VALUE;
    if (request->method != "GET" && request->method != "HEAD") {
        MakeTextReply(405, reply);
        reply->headers.emplace_back("Allow", "GET, HEAD");
        return;
    }
    int status = DecodeRequestTarget(target, &request->url, &request->query);
    if (status != 0) {
        MakeTextReply(status, reply);
        return;
    }
    char mapped[PATH_BUFFER_BYTES];
    if (!MapUrlToPath(site.root, request->url, mapped, sizeof mapped)) {
        MakeTextReply(414, reply);  /* the path would not fit the filters' buffer */
        return;
    }
    std::string finalPath;
    UrlMapOutcome outcome = RunUrlMap(*site.filters, *request, mapped, &finalPath, &reply->headers, &reply->failure);
    if (outcome == URL_MAP_FINISHED) {
        reply->kind = REPLY_CLOSE;
        reply->status = 0;
        return;
    }
    if (outcome == URL_MAP_ERROR) {
        std::string failure = reply->failure;
        reply->headers.clear();
        MakeTextReply(500, reply);
        reply->failure = failure;
        return;
    }
    reply->servedPath = finalPath;
    ServePath(site, *request, finalPath, reply);
}

void CloseReply(Reply *reply)
{
    if (reply->file != INVALID_HANDLE_VALUE && reply->file != nullptr)
        CloseHandle(reply->file);
    reply->file = INVALID_HANDLE_VALUE;
}
