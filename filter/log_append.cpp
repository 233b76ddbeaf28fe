/* log_append.cpp - appends one line to the filter's log, shared by concurrent requests. */
#include "log_append.h"

#include <mutex>

#include "vcl_file.h"

/* The log is held with read sharing only, so a second writer's open fails with a sharing
 * violation and its line would be lost. All request threads of the server run in this
 * process: one lock taken around open, write and close lets them take turns. It is held
 * only for one short append and is constructed at compile time (no start-up work). */
static std::mutex logLock;

void AppendLine(const std::string &fileName, const std::string &line)
{
    /* One write of the whole line, so a reader never sees half of it. */
    std::string record = line + "\r\n";
    std::lock_guard<std::mutex> turn(logLock);

    HANDLE file;
    if (FileExists(fileName)) {
        file = FileOpen(fileName, fmOpenWrite | fmShareDenyWrite);
        if (file != INVALID_HANDLE_VALUE && FileSeek(file, 0, fsFromEnd) < 0) {
            FileClose(file);
            return;
        }
    } else {
        file = FileCreate(fileName, fmOpenWrite | fmShareDenyWrite);
    }
    if (file == INVALID_HANDLE_VALUE)
        return;
    FileWrite(file, record.data(), (unsigned long)record.size());
    FileClose(file);
}
