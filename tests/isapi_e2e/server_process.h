/* server_process.h - starts isapi_server as a child process for a test, finds its port,
 * collects its output and stops it the clean way (closing its standard input) */
#ifndef SERVER_PROCESS_H
#define SERVER_PROCESS_H

#include <windows.h>

#include <mutex>
#include <string>
#include <thread>
#include <vector>

#define SERVER_START_WAIT_MS 60000  /* wine may start slowly on a busy machine */
#define SERVER_STOP_WAIT_MS  30000

struct ServerProcess {
    PROCESS_INFORMATION process = {};
    HANDLE stdinWrite = nullptr;   /* closing it stops the server (--stop-on-eof) */
    HANDLE outputRead = nullptr;   /* standard output and error of the server */
    std::thread reader;
    std::mutex lock;
    std::string output;            /* everything the server printed so far */
    unsigned short port = 0;

    ~ServerProcess();
};

/* Starts exe with args plus "--port 0 --stop-on-eof" and waits for its "serving" line.
 * Returns true with server->port set; false with *error holding why and the output so far
 * (the process is then ended). */
bool StartServer(const std::string &exe, const std::vector<std::string> &args, ServerProcess *server,
                 std::string *error);

/* Closes the server's standard input and waits for it to end. Returns its exit code, or -1
 * when it did not end in SERVER_STOP_WAIT_MS (it is then terminated). */
int StopServer(ServerProcess *server);

/* Returns a copy of what the server printed so far. */
std::string ServerOutput(ServerProcess *server);

#endif /* SERVER_PROCESS_H */
