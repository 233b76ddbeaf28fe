/* config_store.cpp - reads and writes the filter's settings under HKEY_LOCAL_MACHINE; each
 * call uses a registry accessor of its own and closes its key on every path. */
#include "config_store.h"

#include "vcl_registry.h"

std::string ReadConfigString(const std::string &keyPath, const std::string &valueName,
                             const std::string &defaultText)
{
    TRegIniFile store;
    store.RootKey = HKEY_LOCAL_MACHINE;
    store.Access = KEY_ALL_ACCESS;
    return store.ReadString(keyPath, valueName, defaultText);
}

void WriteConfigString(const std::string &keyPath, const std::string &valueName,
                       const std::string &text)
{
    TRegIniFile store;
    store.RootKey = HKEY_LOCAL_MACHINE;
    store.Access = KEY_ALL_ACCESS;
    store.WriteString(keyPath, valueName, text);
}
