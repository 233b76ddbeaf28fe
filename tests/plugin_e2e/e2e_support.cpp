/* e2e_support.cpp - child processes (site server, browser host), files and trees for the
 * plug-in's end-to-end tests */
#include "e2e_support.h"

#include <gtest/gtest.h>

#include <thread>

#define SERVER_START_TIMEOUT_MS 30000
#define SERVER_STOP_TIMEOUT_MS  10000
#define PIPE_PIECE_BYTES        4096

std::string WinePath(const char *unixPath)
{
    std::string p = std::string("Z:") + unixPath;
    for (char &c : p)
        if (c == '/')
            c = '\\';
    return p;
}

static std::string Quote(const std::string &arg)
{
    if (!arg.empty() && arg.find_first_of(" \t\"") == std::string::npos)
        return arg;
    std::string q = "\"";
    for (char c : arg) {
        if (c == '"')
            q += '\\';
        q += c;
    }
    return q + "\"";
}

/* Starts exe with args, its standard output and error on one pipe (*outRead), its standard
 * input on another (*inWrite, may be null). Returns the process or null. */
static HANDLE Spawn(const std::string &exe, const std::vector<std::string> &args, HANDLE *outRead, HANDLE *inWrite)
{
    SECURITY_ATTRIBUTES sa = {};
    sa.nLength = sizeof sa;
    sa.bInheritHandle = TRUE;
    HANDLE outR = nullptr, outW = nullptr, inR = nullptr, inW = nullptr;
    if (!CreatePipe(&outR, &outW, &sa, 0))
        return nullptr;
    SetHandleInformation(outR, HANDLE_FLAG_INHERIT, 0);
    if (!CreatePipe(&inR, &inW, &sa, 0))
        return nullptr;
    SetHandleInformation(inW, HANDLE_FLAG_INHERIT, 0);
    std::string cmd = Quote(exe);
    for (const std::string &a : args)
        cmd += " " + Quote(a);
    std::vector<char> line(cmd.begin(), cmd.end());
    line.push_back('\0');
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdOutput = outW;
    si.hStdError = outW;
    si.hStdInput = inR;
    PROCESS_INFORMATION pi = {};
    BOOL ok = CreateProcessA(nullptr, line.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &si, &pi);
    CloseHandle(outW);
    CloseHandle(inR);
    if (!ok) {
        CloseHandle(outR);
        CloseHandle(inW);
        return nullptr;
    }
    CloseHandle(pi.hThread);
    *outRead = outR;
    if (inWrite != nullptr)
        *inWrite = inW;
    else
        CloseHandle(inW);
    return pi.hProcess;
}

/* Reads the pipe to its end into *text (run on a thread of its own). */
static void Drain(HANDLE pipe, std::string *text)
{
    char piece[PIPE_PIECE_BYTES];
    DWORD got = 0;
    while (ReadFile(pipe, piece, sizeof piece, &got, nullptr) && got > 0)
        text->append(piece, got);
    CloseHandle(pipe);
}

bool StartSiteServer(const std::string &root, const std::vector<std::string> &extra, SiteServer *server,
                     std::string *error)
{
    std::vector<std::string> args = {"--root", root, "--port", "0", "--stop-on-eof"};
    args.insert(args.end(), extra.begin(), extra.end());
    HANDLE out = nullptr;
    *server = SiteServer();
    server->process = Spawn(WinePath(ISAPI_SERVER_EXE), args, &out, &server->stdinWrite);
    if (server->process == nullptr) {
        *error = "cannot start isapi_server";
        return false;
    }
    /* Read until the line that names the port; the rest is drained in the background. */
    std::string text;
    DWORD start = GetTickCount();
    const char *mark = "on http://127.0.0.1:";
    while (text.find(mark) == std::string::npos || text.find('\n', text.find(mark)) == std::string::npos) {
        char c[256];
        DWORD got = 0;
        if (GetTickCount() - start > SERVER_START_TIMEOUT_MS || !ReadFile(out, c, sizeof c, &got, nullptr) ||
            got == 0) {
            *error = "isapi_server did not start: " + text;
            return false;
        }
        text.append(c, got);
    }
    server->port = atoi(text.c_str() + text.find(mark) + strlen(mark));
    server->firstLines = text;
    server->rest = new std::string;
    server->drain = new std::thread(Drain, out, server->rest);
    return server->port > 0;
}

void StopSiteServer(SiteServer *server)
{
    if (server->process == nullptr)
        return;
    CloseHandle(server->stdinWrite);
    if (WaitForSingleObject(server->process, SERVER_STOP_TIMEOUT_MS) != WAIT_OBJECT_0)
        TerminateProcess(server->process, 1);
    CloseHandle(server->process);
    server->process = nullptr;
    if (server->drain != nullptr) {
        server->drain->join();
        delete server->drain;
        delete server->rest;
        server->drain = nullptr;
        server->rest = nullptr;
    }
}

ChildRun RunBrowser(const std::vector<std::string> &args)
{
    ChildRun run = {};
    std::vector<std::string> all = {"--plugins", WinePath(NPTORV32_DIR)};
    all.insert(all.end(), args.begin(), args.end());
    HANDLE out = nullptr;
    HANDLE process = Spawn(WinePath(PLUGIN_BROWSER_EXE), all, &out, nullptr);
    if (process == nullptr) {
        run.exitCode = (DWORD)-1;
        run.output = "cannot start plugin_browser";
        return run;
    }
    std::thread reader(Drain, out, &run.output);
    if (WaitForSingleObject(process, E2E_BROWSER_TIMEOUT_MS) != WAIT_OBJECT_0) {
        TerminateProcess(process, 99);
        run.timedOut = true;
    }
    GetExitCodeProcess(process, &run.exitCode);
    CloseHandle(process);
    reader.join();
    return run;
}

std::vector<std::string> LinesWithPrefix(const std::string &text, const char *prefix)
{
    std::vector<std::string> lines;
    size_t n = strlen(prefix);
    size_t pos = 0;
    while (pos < text.size()) {
        size_t end = text.find('\n', pos);
        std::string line = text.substr(pos, end == std::string::npos ? std::string::npos : end - pos);
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.compare(0, n, prefix) == 0)
            lines.push_back(line.substr(n));
        if (end == std::string::npos)
            break;
        pos = end + 1;
    }
    return lines;
}

void WriteBytes(const std::string &path, const std::string &bytes)
{
    FILE *f = fopen(path.c_str(), "wb");
    if (f == nullptr) {
        ADD_FAILURE() << "cannot create " << path;
        return;
    }
    if (fwrite(bytes.data(), 1, bytes.size(), f) != bytes.size())
        ADD_FAILURE() << "cannot write " << path;
    fclose(f);
}

bool ReadBytes(const std::string &path, std::string *bytes)
{
    FILE *f = fopen(path.c_str(), "rb");
    if (f == nullptr)
        return false;
    bytes->clear();
    char piece[PIPE_PIECE_BYTES];
    size_t got;
    while ((got = fread(piece, 1, sizeof piece, f)) > 0)
        bytes->append(piece, got);
    fclose(f);
    return true;
}

bool PathExists(const std::string &path)
{
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

void MakeFolder(const std::string &path)
{
    if (!CreateDirectoryA(path.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS)
        ADD_FAILURE() << "cannot create folder " << path;
}

void RemoveTree(const std::string &path)
{
    DWORD attr = GetFileAttributesA(path.c_str());
    if (attr == INVALID_FILE_ATTRIBUTES)
        return;
    if (!(attr & FILE_ATTRIBUTE_DIRECTORY)) {
        DeleteFileA(path.c_str());
        return;
    }
    WIN32_FIND_DATAA fd = {};
    HANDLE h = FindFirstFileA((path + "\\*").c_str(), &fd);
    if (h != INVALID_HANDLE_VALUE) {
        do {
            std::string name = fd.cFileName;
            if (name != "." && name != "..")
                RemoveTree(path + "\\" + name);
        } while (FindNextFileA(h, &fd));
        FindClose(h);
    }
    RemoveDirectoryA(path.c_str());
}

static void Walk(const std::string &root, const std::string &rel, const std::vector<std::string> &skip,
                 std::map<std::string, std::string> *tree)
{
    WIN32_FIND_DATAA fd = {};
    std::string folder = rel.empty() ? root : root + "\\" + rel;
    HANDLE h = FindFirstFileA((folder + "\\*").c_str(), &fd);
    if (h == INVALID_HANDLE_VALUE)
        return;
    do {
        std::string name = fd.cFileName;
        if (name == "." || name == "..")
            continue;
        std::string sub = rel.empty() ? name : rel + "\\" + name;
        bool skipped = false;
        for (const std::string &s : skip)
            skipped = skipped || _stricmp(s.c_str(), sub.c_str()) == 0;
        if (skipped)
            continue;
        if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            (*tree)[sub + "\\"] = "";
            Walk(root, sub, skip, tree);
        } else {
            std::string bytes;
            ReadBytes(root + "\\" + sub, &bytes);
            (*tree)[sub] = bytes;
        }
    } while (FindNextFileA(h, &fd));
    FindClose(h);
}

std::map<std::string, std::string> TreeOf(const std::string &root, const std::vector<std::string> &skip)
{
    std::map<std::string, std::string> tree;
    std::string r = root;
    while (!r.empty() && r.back() == '\\')
        r.pop_back();
    Walk(r, "", skip, &tree);
    return tree;
}

std::string PatternBytes(size_t n, unsigned seed)
{
    std::string s(n, '\0');
    unsigned x = seed * 2654435761u + 12345u;
    for (size_t i = 0; i < n; i++) {
        x = x * 1103515245u + 12345u;
        s[i] = (char)((i & 0xFF) ^ (x >> 16));
    }
    return s;
}

bool SetDefaultPages(const char *list)
{
    HKEY key = nullptr;
    if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Felmo\\Velmorin\\Parameters", 0, nullptr, 0, KEY_SET_VALUE,
                        nullptr, &key, nullptr) != ERROR_SUCCESS)
        return false;
    bool ok = RegSetValueExA(key, "DefaultLoadFiles", 0, REG_SZ, (const BYTE *)list, (DWORD)strlen(list) + 1) ==
                  ERROR_SUCCESS &&
              RegSetValueExA(key, "LogFile", 0, REG_SZ, (const BYTE *)"", 1) == ERROR_SUCCESS &&
              RegSetValueExA(key, "NotFoundPage", 0, REG_SZ, (const BYTE *)"", 1) == ERROR_SUCCESS;
    RegCloseKey(key);
    return ok;
}
