/* e2e_env.cpp - site files, registry values and path conversion for the end-to-end tests */
#include "e2e_env.h"

#include <windows.h>

#include <filesystem>
#include <fstream>
#include <sstream>

std::string WindowsPathOf(const std::string &unixPath)
{
    std::string out = "Z:";
    for (char c : unixPath)
        out += c == '/' ? '\\' : c;
    return out;
}

bool WriteTextFile(const std::string &path, const std::string &text)
{
    std::error_code ignored;
    std::filesystem::create_directories(std::filesystem::path(path).parent_path(), ignored);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
    return bool(out.flush());
}

std::string ReadTextFile(const std::string &path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::string MakeScratchFolder(const std::string &prefix)
{
    std::filesystem::path dir = std::filesystem::current_path() / (prefix + "." + std::to_string(GetCurrentProcessId()));
    std::error_code ignored;
    std::filesystem::remove_all(dir, ignored);
    std::filesystem::create_directories(dir, ignored);
    return dir.string();
}

void RemoveFolder(const std::string &path)
{
    std::error_code ignored;
    std::filesystem::remove_all(path, ignored);
}

bool SetMachineValue(const std::string &keyPath, const std::string &name, const std::string &text, bool isNumber)
{
    HKEY key = nullptr;
    if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, keyPath.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS,
                        nullptr, &key, nullptr) != ERROR_SUCCESS)
        return false;
    LONG rc;
    if (isNumber) {
        DWORD number = (DWORD)std::stoul(text);
        rc = RegSetValueExA(key, name.c_str(), 0, REG_DWORD, (const BYTE *)&number, sizeof number);
    } else {
        rc = RegSetValueExA(key, name.c_str(), 0, REG_SZ, (const BYTE *)text.c_str(), (DWORD)text.size() + 1);
    }
    RegCloseKey(key);
    return rc == ERROR_SUCCESS;
}

void DeleteMachineValue(const std::string &keyPath, const std::string &name)
{
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, keyPath.c_str(), 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS)
        return;
    RegDeleteValueA(key, name.c_str());
    RegCloseKey(key);
}
