/* forms_error.h - how the form library reports a Win32 call that failed. */
#ifndef FORMS_ERROR_H
#define FORMS_ERROR_H

/* Raises Exception "<call> failed for <what> (error <GetLastError()>)". Call it right after
 * the failing call, before anything else can change the thread's last error. */
[[noreturn]] void RaiseWin32Error(const char *call, const char *what);

#endif /* FORMS_ERROR_H */
