/* log_append.h - appends one line to the filter's log. */
#ifndef LOG_APPEND_H
#define LOG_APPEND_H

#include <string>

/* Appends line and CR LF to fileName: opened at its end when it names an existing file,
 * else created. The file is held with read sharing only, and appends from the request
 * threads of this process take turns, so no line is lost or mixed with another. Any
 * failure to create, open, write or close loses the line silently: nothing is raised
 * (except running out of memory while building the text). */
void AppendLine(const std::string &fileName, const std::string &line);

#endif /* LOG_APPEND_H */
