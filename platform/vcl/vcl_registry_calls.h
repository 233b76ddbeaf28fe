/* vcl_registry_calls.h - the Win32 registry calls the registry wrapper makes, kept in one
 * table so that a test can point an entry elsewhere and make one call fail at a chosen
 * point (the program itself never changes it). */
#ifndef VCL_REGISTRY_CALLS_H
#define VCL_REGISTRY_CALLS_H

#include <windows.h>

struct RegistryCalls {
    decltype(&RegOpenKeyExA)    openKeyEx;
    decltype(&RegCreateKeyExA)  createKeyEx;
    decltype(&RegQueryValueExA) queryValueEx;
    decltype(&RegSetValueExA)   setValueEx;
    decltype(&RegCloseKey)      closeKey;
};

/* The calls in use; every entry starts as the system's own function. Read by any thread;
 * a test changes it only while no registry operation runs. */
extern RegistryCalls vclRegistryCalls;

/* Points every entry back at the system's own function. Cannot fail. */
void RestoreRegistryCalls(void);

#endif /* VCL_REGISTRY_CALLS_H */
