/* filter_call.cpp - runs the URL-map notification through the filters and answers their
 * calls back into the server (GetServerVariable, AddResponseHeaders, AllocMem, ...) */
#include "filter_call.h"

#include <cstring>
#include <memory>

#define GUARD_BYTE 0xA5  /* fills the guard behind the path buffer */

/* The server's record behind HTTP_FILTER_CONTEXT.ServerContext for one request. */
struct FilterCallState {
    const RequestInfo *request;
    std::vector<std::unique_ptr<char[]>> blocks;  /* AllocMem memory, freed with the request */
    size_t allocated;                             /* bytes in blocks */
    std::vector<HeaderField> *addedHeaders;
    size_t addedBytes;                            /* text taken by AddResponseHeaders */
};

struct PathBuffer {
    char path[PATH_BUFFER_BYTES];
    unsigned char guard[PATH_GUARD_BYTES];
};

static FilterCallState *StateOf(HTTP_FILTER_CONTEXT *pfc)
{
    return pfc == nullptr ? nullptr : (FilterCallState *)pfc->ServerContext;
}

/* Returns true with *value set for a variable the server knows. */
static bool LookUpVariable(const RequestInfo &req, const std::string &name, std::string *value)
{
    if (name == "URL" || name == "PATH_INFO") *value = req.url;
    else if (name == "QUERY_STRING") *value = req.query;
    else if (name == "REQUEST_METHOD") *value = req.method;
    else if (name == "SERVER_NAME" || name == "LOCAL_ADDR") *value = "127.0.0.1";
    else if (name == "SERVER_PORT") *value = std::to_string(req.serverPort);
    else if (name == "SERVER_PROTOCOL") *value = "HTTP/1.1";
    else if (name == "SERVER_SOFTWARE") *value = "isapi_server";
    else if (name == "REMOTE_ADDR" || name == "REMOTE_HOST") *value = req.remoteAddr;
    else if (name.compare(0, 5, "HTTP_") == 0) {
        /* HTTP_USER_AGENT is the field User-Agent: uppercase, "-" as "_" */
        for (const HeaderField &h : req.headers) {
            std::string key = "HTTP_";
            for (char c : h.first)
                key += c == '-' ? '_' : (c >= 'a' && c <= 'z') ? (char)(c - 'a' + 'A') : c;
            if (key == name) {
                *value = h.second;
                return true;
            }
        }
        return false;
    } else
        return false;
    return true;
}

/* Copies the variable with its NUL into lpvBuffer; FALSE with ERROR_INSUFFICIENT_BUFFER and
 * *lpdwSize set to the bytes needed when it does not fit, ERROR_INVALID_INDEX when unknown. */
static BOOL WINAPI GetServerVariable(HTTP_FILTER_CONTEXT *pfc, LPSTR name, LPVOID buffer, LPDWORD size)
{
    FilterCallState *state = StateOf(pfc);
    if (state == nullptr || name == nullptr || size == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    std::string value;
    if (!LookUpVariable(*state->request, name, &value)) {
        SetLastError(ERROR_INVALID_INDEX);
        return FALSE;
    }
    DWORD needed = (DWORD)value.size() + 1;
    if (buffer == nullptr || *size < needed) {
        *size = needed;
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return FALSE;
    }
    std::memcpy(buffer, value.c_str(), needed);
    *size = needed;
    return TRUE;
}

/* True when c may stand in a header field name. */
static bool IsTokenChar(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
           (c != '\0' && std::strchr("!#$%&'*+-.^_`|~", c) != nullptr);
}

/* Takes "Name: value\r\n" lines for the response; FALSE with ERROR_INVALID_PARAMETER (and
 * nothing taken) when a line is malformed or the text exceeds MAX_ADDED_HEADER_TEXT. */
static BOOL WINAPI AddResponseHeaders(HTTP_FILTER_CONTEXT *pfc, LPSTR headers, DWORD)
{
    FilterCallState *state = StateOf(pfc);
    if (state == nullptr || headers == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    size_t length = strnlen(headers, MAX_ADDED_HEADER_TEXT + 1);
    if (state->addedBytes + length > MAX_ADDED_HEADER_TEXT) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    std::string text(headers, length);
    std::vector<HeaderField> fields;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find("\r\n", start);
        if (end == std::string::npos)
            end = text.size();  /* a last line without CR LF is taken as well */
        std::string line = text.substr(start, end - start);
        size_t colon = line.find(':');
        bool ok = colon != std::string::npos && colon > 0;
        for (size_t i = 0; ok && i < colon; i++)
            ok = IsTokenChar(line[i]);
        for (size_t i = colon + 1; ok && i < line.size(); i++)
            ok = line[i] != '\r' && line[i] != '\n' && line[i] != '\0';
        if (!ok) {
            SetLastError(ERROR_INVALID_PARAMETER);
            return FALSE;
        }
        size_t valueStart = line.find_first_not_of(' ', colon + 1);
        fields.emplace_back(line.substr(0, colon),
                            valueStart == std::string::npos ? std::string() : line.substr(valueStart));
        start = end + 2;
    }
    state->addedHeaders->insert(state->addedHeaders->end(), fields.begin(), fields.end());
    state->addedBytes += length;
    return TRUE;
}

/* This server answers only through its own response: writing to the client is refused. */
static BOOL WINAPI WriteClient(HTTP_FILTER_CONTEXT *, LPVOID, LPDWORD, DWORD)
{
    SetLastError(ERROR_NOT_SUPPORTED);
    return FALSE;
}

/* Returns cbSize bytes (zeroed) that live until the request ends; null past MAX_FILTER_ALLOC. */
static VOID *WINAPI AllocMem(HTTP_FILTER_CONTEXT *pfc, DWORD cbSize, DWORD)
{
    FilterCallState *state = StateOf(pfc);
    if (state == nullptr || cbSize > MAX_FILTER_ALLOC - state->allocated) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    std::unique_ptr<char[]> block(new char[cbSize == 0 ? 1 : cbSize]());
    char *p = block.get();
    state->blocks.push_back(std::move(block));
    state->allocated += cbSize;
    return p;
}

static BOOL WINAPI ServerSupportFunction(HTTP_FILTER_CONTEXT *, DWORD, PVOID, ULONG_PTR, ULONG_PTR)
{
    SetLastError(ERROR_NOT_SUPPORTED);
    return FALSE;
}

/* True when no byte of the guard changed. */
static bool GuardIntact(const PathBuffer &buffer)
{
    for (unsigned char b : buffer.guard)
        if (b != GUARD_BYTE)
            return false;
    return true;
}

UrlMapOutcome RunUrlMap(const std::vector<LoadedFilter> &filters, const RequestInfo &request,
                        const std::string &mappedPath, std::string *finalPath,
                        std::vector<HeaderField> *addedHeaders, std::string *failure)
{
    PathBuffer buffer;
    std::memset(&buffer, 0, sizeof buffer.path);
    std::memset(buffer.guard, GUARD_BYTE, sizeof buffer.guard);
    if (mappedPath.size() >= PATH_BUFFER_BYTES) {
        *failure = "mapped path longer than the path buffer";
        return URL_MAP_ERROR;
    }
    std::memcpy(buffer.path, mappedPath.c_str(), mappedPath.size() + 1);

    FilterCallState state = {};
    state.request = &request;
    state.addedHeaders = addedHeaders;

    HTTP_FILTER_URL_MAP urlMap = {};
    urlMap.pszURL = request.url.c_str();
    urlMap.pszPhysicalPath = buffer.path;
    urlMap.cbPathBuff = PATH_BUFFER_BYTES;

    for (const LoadedFilter &filter : filters) {
        HTTP_FILTER_CONTEXT context = {};
        context.cbSize = sizeof context;
        context.Revision = SERVER_FILTER_VERSION;
        context.ServerContext = &state;
        context.fIsSecurePort = FALSE;
        context.pFilterContext = nullptr;
        context.GetServerVariable = GetServerVariable;
        context.AddResponseHeaders = AddResponseHeaders;
        context.WriteClient = WriteClient;
        context.AllocMem = AllocMem;
        context.ServerSupportFunction = ServerSupportFunction;
        /* each filter gets the buffer as the server owns it, whatever the last one did */
        urlMap.pszPhysicalPath = buffer.path;
        urlMap.cbPathBuff = PATH_BUFFER_BYTES;

        DWORD status = filter.proc(&context, SF_NOTIFY_URL_MAP, &urlMap);

        if (!GuardIntact(buffer)) {
            *failure = filter.path + " wrote past the " + std::to_string(PATH_BUFFER_BYTES) + "-byte path buffer";
            return URL_MAP_ERROR;
        }
        if (strnlen(buffer.path, PATH_BUFFER_BYTES) == PATH_BUFFER_BYTES) {
            *failure = filter.path + " left the path buffer without its NUL";
            return URL_MAP_ERROR;
        }
        if (status == SF_STATUS_REQ_NEXT_NOTIFICATION)
            continue;
        if (status == SF_STATUS_REQ_HANDLED_NOTIFICATION)
            break;
        if (status == SF_STATUS_REQ_FINISHED || status == SF_STATUS_REQ_FINISHED_KEEP_CONN)
            return URL_MAP_FINISHED;
        *failure = filter.path + " returned status " + std::to_string(status);
        return URL_MAP_ERROR;
    }
    *finalPath = buffer.path;
    return URL_MAP_DONE;
}
