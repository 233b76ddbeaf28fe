/* reg_fixture.cpp - sets up and reads back the registry for the dialog's tests. */
#include "reg_fixture.h"

#include <aclapi.h>
#include <shlwapi.h>
#include <stdio.h>

#define DESCRIBE_CHARS 32 /* "type 4294967295: " and the like */

RegValue SzValue(const std::string &text)
{
    return RegValue{true, REG_SZ, text + std::string(1, '\0')};
}

RegValue ReadValue(const char *key, const char *name)
{
    RegValue value = {false, REG_NONE, std::string()};
    HKEY hkey;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, key, 0, KEY_QUERY_VALUE, &hkey) != ERROR_SUCCESS)
        return value;
    DWORD type = REG_NONE, size = 0;
    if (RegQueryValueExA(hkey, name, NULL, &type, NULL, &size) == ERROR_SUCCESS) {
        std::string data(size, '\0');
        if (RegQueryValueExA(hkey, name, NULL, &type,
                             reinterpret_cast<BYTE *>(size ? &data[0] : NULL),
                             &size) == ERROR_SUCCESS) {
            data.resize(size);
            value = RegValue{true, type, data};
        }
    }
    RegCloseKey(hkey);
    return value;
}

bool PutValue(const char *key, const char *name, const RegValue &value)
{
    HKEY hkey;
    if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, key, 0, NULL, 0, KEY_ALL_ACCESS, NULL, &hkey,
                        NULL) != ERROR_SUCCESS)
        return false;
    LONG result = RegSetValueExA(hkey, name, 0, value.type,
                                 reinterpret_cast<const BYTE *>(value.data.data()),
                                 static_cast<DWORD>(value.data.size()));
    RegCloseKey(hkey);
    return result == ERROR_SUCCESS;
}

bool KeyExists(const char *key)
{
    HKEY hkey;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, key, 0, KEY_QUERY_VALUE, &hkey) != ERROR_SUCCESS)
        return false;
    RegCloseKey(hkey);
    return true;
}

/* The owner of a key keeps the right to change its DACL whatever the DACL says. */
static bool SetKeyDacl(const char *key, PACL dacl)
{
    HKEY hkey;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, key, 0, WRITE_DAC, &hkey) != ERROR_SUCCESS)
        return false;
    SECURITY_DESCRIPTOR descriptor;
    InitializeSecurityDescriptor(&descriptor, SECURITY_DESCRIPTOR_REVISION);
    SetSecurityDescriptorDacl(&descriptor, TRUE, dacl, FALSE);
    LONG result = RegSetKeySecurity(hkey, DACL_SECURITY_INFORMATION, &descriptor);
    RegCloseKey(hkey);
    return result == ERROR_SUCCESS;
}

bool DenyWrites(const char *key)
{
    SID_IDENTIFIER_AUTHORITY world = SECURITY_WORLD_SID_AUTHORITY;
    PSID everyone = NULL;
    if (!AllocateAndInitializeSid(&world, 1, SECURITY_WORLD_RID, 0, 0, 0, 0, 0, 0, 0,
                                  &everyone))
        return false;
    EXPLICIT_ACCESSA access = {};
    access.grfAccessPermissions = KEY_READ;
    access.grfAccessMode = SET_ACCESS;
    access.grfInheritance = NO_INHERITANCE;
    access.Trustee.TrusteeForm = TRUSTEE_IS_SID;
    access.Trustee.TrusteeType = TRUSTEE_IS_WELL_KNOWN_GROUP;
    access.Trustee.ptstrName = static_cast<LPSTR>(everyone);
    PACL dacl = NULL;
    bool done = SetEntriesInAclA(1, &access, NULL, &dacl) == ERROR_SUCCESS &&
                SetKeyDacl(key, dacl);
    if (dacl)
        LocalFree(dacl);
    FreeSid(everyone);
    return done;
}

bool AllowAll(const char *key)
{
    return SetKeyDacl(key, NULL); /* no DACL: everyone may do everything */
}

void ClearDialogKeys(void)
{
    AllowAll(T_FILTER_KEY);
    AllowAll(T_IIS_KEY);
    SHDeleteKeyA(HKEY_LOCAL_MACHINE, T_MAKER_KEY);
    SHDeleteKeyA(HKEY_LOCAL_MACHINE, T_SERVICE_KEY);
}

bool UseUnmanagedWindows(const char *exeName)
{
    std::string key = std::string("Software\\Wine\\AppDefaults\\") + exeName + "\\X11 Driver";
    HKEY hkey;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, key.c_str(), 0, NULL, 0, KEY_SET_VALUE, NULL, &hkey,
                        NULL) != ERROR_SUCCESS)
        return false;
    LONG result = RegSetValueExA(hkey, "Managed", 0, REG_SZ, reinterpret_cast<const BYTE *>("N"), 2);
    RegCloseKey(hkey);
    return result == ERROR_SUCCESS;
}

std::string Describe(const RegValue &value)
{
    if (!value.exists)
        return "(missing)";
    char type[DESCRIBE_CHARS];
    snprintf(type, sizeof type, "type %lu: ", static_cast<unsigned long>(value.type));
    std::string text = type;
    for (char c : value.data)
        text += c == '\0' ? std::string("\\0") : std::string(1, c);
    return text;
}

void PrintTo(const RegValue &value, std::ostream *out)
{
    *out << Describe(value);
}
