/* vcl_registry_calls.cpp - the table of registry calls, set to the system's functions. */
#include "vcl_registry_calls.h"

static const RegistryCalls systemRegistryCalls = {
    RegOpenKeyExA, RegCreateKeyExA, RegQueryValueExA, RegSetValueExA, RegCloseKey
};

RegistryCalls vclRegistryCalls = systemRegistryCalls;

void RestoreRegistryCalls(void)
{
    vclRegistryCalls = systemRegistryCalls;
}
