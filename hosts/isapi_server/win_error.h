/* win_error.h - one way to report a failed Win32 call of the server: call, subject, error code */
#ifndef WIN_ERROR_H
#define WIN_ERROR_H

#include <string>

/* Returns "CALL(SUBJECT) failed: error N" for the error code N the call left; the caller
 * reads GetLastError() right after the failed call and passes it. Cannot fail. */
std::string DescribeWin32Error(const char *call, const std::string &subject, unsigned long code);

#endif /* WIN_ERROR_H */
