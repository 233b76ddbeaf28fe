/* vcl_registry.cpp - the registry wrapper; every Win32 call goes through vclRegistryCalls. */
#include "vcl_registry.h"

#include <climits>
#include <cstring>
#include <vector>

#include "vcl_exception.h"
#include "vcl_registry_calls.h"

TRegistry::TRegistry()
    : RootKey(HKEY_CURRENT_USER), Access(KEY_ALL_ACCESS), currentKey_(NULL) {}

TRegistry::~TRegistry()
{
    CloseKey();
}

bool TRegistry::OpenKey(const std::string &key, bool canCreate)
{
    CloseKey();
    if (canCreate)
        CreateKey(key);
    HKEY opened = NULL;
    if (vclRegistryCalls.openKeyEx(RootKey, key.c_str(), 0, Access, &opened) != ERROR_SUCCESS)
        return false;
    currentKey_ = opened;
    return true;
}

bool TRegistry::CreateKey(const std::string &key)
{
    HKEY created = NULL;
    DWORD disposition = 0;
    if (vclRegistryCalls.createKeyEx(RootKey, key.c_str(), 0, NULL, REG_OPTION_NON_VOLATILE,
                                     KEY_ALL_ACCESS, NULL, &created, &disposition)
        != ERROR_SUCCESS)
        throw ERegistryException(FormatOne(REG_MSG_CREATE_FAILED, key));
    vclRegistryCalls.closeKey(created);
    return true;
}

void TRegistry::CloseKey()
{
    if (currentKey_ != NULL) {
        vclRegistryCalls.closeKey(currentKey_);
        currentKey_ = NULL;
    }
}

bool TRegistry::ValueExists(const std::string &name)
{
    return GetDataSize(name) >= 0;
}

long TRegistry::GetDataSize(const std::string &name)
{
    if (currentKey_ == NULL)
        return -1;
    DWORD type = 0;
    DWORD size = 0;
    if (vclRegistryCalls.queryValueEx(currentKey_, name.c_str(), NULL, &type, NULL, &size)
        != ERROR_SUCCESS)
        return -1;
    return size > (DWORD)LONG_MAX ? LONG_MAX : (long)size;
}

std::string TRegistry::ReadString(const std::string &name)
{
    long size = GetDataSize(name);
    if (size < 1)
        return std::string();

    /* The buffer is as large as the size just reported; a value that grew since then
     * makes the read fail rather than overrun. */
    std::vector<char> data((size_t)size);
    DWORD type = 0;
    DWORD got = (DWORD)size;
    if (vclRegistryCalls.queryValueEx(currentKey_, name.c_str(), NULL, &type,
                                      (LPBYTE)data.data(), &got) != ERROR_SUCCESS)
        throw ERegistryException(FormatOne(REG_MSG_GET_DATA_FAILED, name));
    if (type != REG_SZ && type != REG_EXPAND_SZ)
        throw ERegistryException(FormatOne(REG_MSG_INVALID_TYPE, name));
    if (got > (DWORD)size)
        got = (DWORD)size;
    /* The text ends at the first NUL, or at the end of data stored without one. */
    return std::string(data.data(), strnlen(data.data(), got));
}

void TRegistry::WriteString(const std::string &name, const std::string &value)
{
    /* The byte count travels as a DWORD: a text that cannot be counted so is refused. */
    if (currentKey_ == NULL || value.size() >= (size_t)MAXDWORD)
        throw ERegistryException(FormatOne(REG_MSG_SET_DATA_FAILED, name));
    if (vclRegistryCalls.setValueEx(currentKey_, name.c_str(), 0, REG_SZ,
                                    (const BYTE *)value.c_str(), (DWORD)(value.size() + 1))
        != ERROR_SUCCESS)
        throw ERegistryException(FormatOne(REG_MSG_SET_DATA_FAILED, name));
}

HKEY TRegistry::CurrentKey() const
{
    return currentKey_;
}

TRegIniFile::TRegIniFile(const std::string &fileName) : fileName_(fileName) {}

std::string TRegIniFile::SectionPath(const std::string &section) const
{
    if (fileName_.empty())
        return section;
    if (fileName_[fileName_.size() - 1] == '\\')
        return fileName_ + section;
    return fileName_ + "\\" + section;
}

std::string TRegIniFile::ReadString(const std::string &section, const std::string &ident,
                                    const std::string &def)
{
    if (!OpenKey(SectionPath(section), false))
        return def;
    std::string text = def;
    try {
        if (ValueExists(ident))
            text = TRegistry::ReadString(ident);
    } catch (...) {
        CloseKey();
        throw;
    }
    CloseKey();
    return text;
}

void TRegIniFile::WriteString(const std::string &section, const std::string &ident,
                              const std::string &value)
{
    std::string path = SectionPath(section);
    CreateKey(path);
    if (!OpenKey(path, false))
        return;
    try {
        TRegistry::WriteString(ident, value);
    } catch (...) {
        CloseKey();
        throw;
    }
    CloseKey();
}
