/* forms_error.cpp - turns a failed Win32 call of the form library into an Exception. */
#include "forms_error.h"

#include <windows.h>
#include <stdio.h>

#include "vcl_exception.h"

#define ERROR_TEXT_CHARS 256 /* room for the call, what it worked on and the error code */

void RaiseWin32Error(const char *call, const char *what)
{
    DWORD error = GetLastError();
    char text[ERROR_TEXT_CHARS];
    snprintf(text, sizeof text, "%s failed for %s (error %lu)", call, what,
             static_cast<unsigned long>(error));
    throw Exception(text);
}
