/* config_store.h - the filter's settings in the registry: the keys, and the two store
 * operations shared by the filter and the configuration dialog. */
#ifndef CONFIG_STORE_H
#define CONFIG_STORE_H

#include <string>

/* Key paths under HKEY_LOCAL_MACHINE, without leading and with trailing backslash. */
#define FILTER_KEY "SOFTWARE\\Felmo\\Velmorin\\Parameters\\"
#define IIS_KEY    "SYSTEM\\CurrentControlSet\\Services\\W3SVC\\Parameters\\"

#define VALUE_DEFAULT_LOAD_FILES "DefaultLoadFiles"
#define VALUE_LOG_FILE           "LogFile"
#define VALUE_NOT_FOUND_PAGE     "NotFoundPage"
#define VALUE_FILTER_DLLS        "Filter DLLs"

/* Returns the text of valueName under keyPath (up to its first NUL), or defaultText when
 * the key cannot be opened with full access or has no such value. Raises
 * ERegistryException "Failed to get data for '%s'" or "Invalid data type for '%s'". */
std::string ReadConfigString(const std::string &keyPath, const std::string &valueName,
                             const std::string &defaultText);

/* Stores text as REG_SZ (text and one NUL) under keyPath, creating the key when missing.
 * Raises ERegistryException "Failed to create key %s" or "Failed to set data for '%s'";
 * values written by earlier calls stay written. */
void WriteConfigString(const std::string &keyPath, const std::string &valueName,
                       const std::string &text);

/* ASCII A-Z to a-z; every other byte unchanged. Cannot fail. */
std::string LowerAscii(const std::string &text);

#endif /* CONFIG_STORE_H */
