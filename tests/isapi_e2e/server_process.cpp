/* server_process.cpp - isapi_server as a child process: start, port, output, stop */
#include "server_process.h"

#include <chrono>
#include <cstdlib>

#define OUTPUT_CHUNK_BYTES 4096
#define SERVING_MARK       "on http://127.0.0.1:"

static void ReadOutput(ServerProcess *server)
{
    char chunk[OUTPUT_CHUNK_BYTES];
    DWORD got = 0;
    while (ReadFile(server->outputRead, chunk, sizeof chunk, &got, nullptr) && got > 0) {
        std::lock_guard<std::mutex> hold(server->lock);
        server->output.append(chunk, got);
    }
}

/* Quotes one argument for the command line when it holds blanks. */
static std::string Quote(const std::string &arg)
{
    if (!arg.empty() && arg.find_first_of(" \t\"") == std::string::npos)
        return arg;
    std::string out = "\"";
    for (char c : arg)
        out += c == '"' ? std::string("\\\"") : std::string(1, c);
    return out + "\"";
}

/* The port of the "serving" line, or 0 while there is none. */
static unsigned short FindPort(const std::string &output)
{
    size_t at = output.find(SERVING_MARK);
    if (at == std::string::npos)
        return 0;
    size_t start = at + sizeof SERVING_MARK - 1;
    size_t end = output.find('/', start);
    if (end == std::string::npos)
        return 0;
    return (unsigned short)std::atoi(output.substr(start, end - start).c_str());
}

bool StartServer(const std::string &exe, const std::vector<std::string> &args, ServerProcess *server,
                 std::string *error)
{
    SECURITY_ATTRIBUTES inherit = {};
    inherit.nLength = sizeof inherit;
    inherit.bInheritHandle = TRUE;
    HANDLE stdinRead = nullptr, outputWrite = nullptr;
    if (!CreatePipe(&stdinRead, &server->stdinWrite, &inherit, 0) ||
        !CreatePipe(&server->outputRead, &outputWrite, &inherit, 0)) {
        *error = "CreatePipe failed: error " + std::to_string(GetLastError());
        return false;
    }
    SetHandleInformation(server->stdinWrite, HANDLE_FLAG_INHERIT, 0);
    SetHandleInformation(server->outputRead, HANDLE_FLAG_INHERIT, 0);

    std::string command = Quote(exe);
    for (const std::string &arg : args)
        command += " " + Quote(arg);
    command += " --port 0 --stop-on-eof";
    std::vector<char> line(command.begin(), command.end());
    line.push_back('\0');

    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = stdinRead;
    startup.hStdOutput = outputWrite;
    startup.hStdError = outputWrite;
    BOOL started = CreateProcessA(nullptr, line.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup,
                                  &server->process);
    DWORD startError = GetLastError();
    CloseHandle(stdinRead);
    CloseHandle(outputWrite);
    if (!started) {
        *error = "CreateProcessA(" + command + ") failed: error " + std::to_string(startError);
        return false;
    }
    server->reader = std::thread(ReadOutput, server);

    auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(SERVER_START_WAIT_MS);
    while (std::chrono::steady_clock::now() < deadline) {
        unsigned short port = FindPort(ServerOutput(server));
        if (port != 0) {
            server->port = port;
            return true;
        }
        if (WaitForSingleObject(server->process.hProcess, 50) == WAIT_OBJECT_0)
            break;
    }
    StopServer(server);
    *error = "isapi_server did not start: " + ServerOutput(server);
    return false;
}

int StopServer(ServerProcess *server)
{
    if (server->process.hProcess == nullptr)
        return -1;
    if (server->stdinWrite != nullptr) {
        CloseHandle(server->stdinWrite);
        server->stdinWrite = nullptr;
    }
    DWORD code = (DWORD)-1;
    if (WaitForSingleObject(server->process.hProcess, SERVER_STOP_WAIT_MS) == WAIT_OBJECT_0) {
        GetExitCodeProcess(server->process.hProcess, &code);
    } else {
        TerminateProcess(server->process.hProcess, 99);
        WaitForSingleObject(server->process.hProcess, SERVER_STOP_WAIT_MS);
        code = (DWORD)-1;
    }
    if (server->reader.joinable())
        server->reader.join();
    CloseHandle(server->outputRead);
    CloseHandle(server->process.hProcess);
    CloseHandle(server->process.hThread);
    server->outputRead = nullptr;
    server->process = PROCESS_INFORMATION();
    return (int)code;
}

std::string ServerOutput(ServerProcess *server)
{
    std::lock_guard<std::mutex> hold(server->lock);
    return server->output;
}

ServerProcess::~ServerProcess()
{
    if (process.hProcess != nullptr)
        StopServer(this);
}
