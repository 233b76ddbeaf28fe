/* reg_fixture.h - the registry as the dialog's tests set it up and find it: the filter's
 * and IIS's keys under HKEY_LOCAL_MACHINE, their values byte for byte, and their rights. */
#ifndef REG_FIXTURE_H
#define REG_FIXTURE_H

#include <windows.h>
#include <ostream>
#include <string>

/* Key paths under HKEY_LOCAL_MACHINE, as the tests name them. */
#define T_FILTER_KEY  "SOFTWARE\\Felmo\\Velmorin\\Parameters"
#define T_MAKER_KEY   "SOFTWARE\\Felmo"
#define T_IIS_KEY     "SYSTEM\\CurrentControlSet\\Services\\W3SVC\\Parameters"
#define T_SERVICE_KEY "SYSTEM\\CurrentControlSet\\Services\\W3SVC"

/* One value as stored: whether it exists, its type and its data bytes. */
struct RegValue {
    bool exists;
    DWORD type;
    std::string data;

    bool operator==(const RegValue &other) const
    {
        return exists == other.exists && (!exists || (type == other.type && data == other.data));
    }
};

/* A REG_SZ value holding text and one NUL, as the dialog stores it. */
RegValue SzValue(const std::string &text);

/* The value as the registry holds it now ({false} when the key or value is missing). */
RegValue ReadValue(const char *key, const char *name);

/* Stores a value of any type, creating the key. Raises nothing; returns false on failure. */
bool PutValue(const char *key, const char *name, const RegValue &value);

bool KeyExists(const char *key);

/* Removes the maker's key and the web service's key with everything below them, first
 * giving back full rights to any key a test had closed. */
void ClearDialogKeys(void);

/* Leaves everyone only the right to read key (and nothing to write or create in it). */
bool DenyWrites(const char *key);

/* Gives the key back the rights it inherits from its parent. */
bool AllowAll(const char *key);

/* Has Wine place and show the windows of the program exeName itself, as for a screen
 * without a window manager: the virtual display of the tests has none, and Wine would
 * wait two seconds for one each time such a window goes away. */
bool UseUnmanagedWindows(const char *exeName);

/* For messages: a value written out as type and text. */
std::string Describe(const RegValue &value);

/* How GoogleTest prints a value in a failed comparison. */
void PrintTo(const RegValue &value, std::ostream *out);

#endif /* REG_FIXTURE_H */
