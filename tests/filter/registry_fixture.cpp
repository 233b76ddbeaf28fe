/* registry_fixture.cpp - raw registry access for the filter's tests. */
#include "registry_fixture.h"

#include <vector>

/* RegDeleteKeyA wants the path without its trailing backslash. */
#define TEST_FILTER_KEY_BARE "SOFTWARE\\Felmo\\Velmorin\\Parameters"

bool ClearFilterKey()
{
    RegDeleteKeyA(HKEY_LOCAL_MACHINE, TEST_FILTER_KEY_BARE);
    HKEY key = NULL;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, TEST_FILTER_KEY_BARE, 0, KEY_READ, &key)
        == ERROR_SUCCESS) {
        RegCloseKey(key);
        return false;
    }
    return true;
}

bool SetRawValue(const std::string &name, DWORD type, const std::string &data)
{
    HKEY key = NULL;
    if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, TEST_FILTER_KEY_BARE, 0, NULL,
                        REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, NULL, &key, NULL)
        != ERROR_SUCCESS)
        return false;
    LONG rc = RegSetValueExA(key, name.c_str(), 0, type, (const BYTE *)data.data(),
                             (DWORD)data.size());
    RegCloseKey(key);
    return rc == ERROR_SUCCESS;
}

bool SetSetting(const std::string &name, const std::string &text)
{
    return SetRawValue(name, REG_SZ, std::string(text.c_str(), text.size() + 1));
}

RawValue GetRawValue(const std::string &name)
{
    RawValue value = {false, REG_NONE, std::string()};
    HKEY key = NULL;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, TEST_FILTER_KEY_BARE, 0, KEY_READ, &key)
        != ERROR_SUCCESS)
        return value;
    DWORD size = 0;
    if (RegQueryValueExA(key, name.c_str(), NULL, &value.type, NULL, &size) == ERROR_SUCCESS) {
        std::vector<char> bytes(size + 1);
        if (RegQueryValueExA(key, name.c_str(), NULL, &value.type, (LPBYTE)bytes.data(), &size)
            == ERROR_SUCCESS) {
            value.exists = true;
            value.data.assign(bytes.data(), size);
        }
    }
    RegCloseKey(key);
    return value;
}
