/* win_error.cpp - formats a failed Win32 call of the server with its error code */
#include "win_error.h"

std::string DescribeWin32Error(const char *call, const std::string &subject, unsigned long code)
{
    return std::string(call) + "(" + subject + ") failed: error " + std::to_string(code);
}
