/* vcl_registry.h - the class library's registry wrapper: TRegistry reads and writes the
 * values of one open key, TRegIniFile reads and writes values by key path ("section"),
 * opening and closing the key around each call. Failures are raised as ERegistryException. */
#ifndef VCL_REGISTRY_H
#define VCL_REGISTRY_H

#include <windows.h>
#include <string>

/* Message texts of the raised errors; %s is the value name or the key path. */
#define REG_MSG_GET_DATA_FAILED "Failed to get data for '%s'"
#define REG_MSG_INVALID_TYPE    "Invalid data type for '%s'"
#define REG_MSG_CREATE_FAILED   "Failed to create key %s"
#define REG_MSG_SET_DATA_FAILED "Failed to set data for '%s'"

class TRegistry {
public:
    TRegistry();          /* RootKey HKEY_CURRENT_USER, Access KEY_ALL_ACCESS, no key open */
    virtual ~TRegistry(); /* closes the current key */

    HKEY   RootKey; /* keys are opened and created below this one */
    REGSAM Access;  /* access mask for OpenKey */

    /* Opens key (relative to RootKey) as the current key, closing the one before.
     * Returns true, or false when it cannot be opened with Access (no key is then open).
     * canCreate creates a missing key first and raises "Failed to create key %s" when
     * that fails. */
    bool OpenKey(const std::string &key, bool canCreate);

    /* Creates key (relative to RootKey) when missing; an existing key and its values are
     * left alone. Returns true, or raises "Failed to create key %s". */
    bool CreateKey(const std::string &key);

    /* Closes the current key, if any. Cannot fail. */
    void CloseKey();

    /* Whether the current key has a value named name. Cannot fail. */
    bool ValueExists(const std::string &name);

    /* Bytes of the value's data, or -1 when there is no such value (or no open key). */
    long GetDataSize(const std::string &name);

    /* The value's text up to its first NUL byte, for REG_SZ and REG_EXPAND_SZ data (the
     * latter unexpanded); empty data give the empty text. Raises "Failed to get data for
     * '%s'" when the data cannot be read, "Invalid data type for '%s'" for another type. */
    std::string ReadString(const std::string &name);

    /* Stores value as REG_SZ: its bytes and one NUL, byte count length + 1. Raises
     * "Failed to set data for '%s'" when that fails (the value is then unchanged). */
    void WriteString(const std::string &name, const std::string &value);

    HKEY CurrentKey() const;

private:
    HKEY currentKey_;

    TRegistry(const TRegistry &) = delete;
    TRegistry &operator=(const TRegistry &) = delete;
};

class TRegIniFile : public TRegistry {
public:
    /* fileName is the key path the sections are relative to; empty means RootKey itself. */
    explicit TRegIniFile(const std::string &fileName = "");

    /* Opens the section's key with Access for this call only. Returns the text of ident
     * there, or def when the key cannot be opened or has no value ident. Raises the
     * errors of TRegistry::ReadString; the key is closed on every path. */
    std::string ReadString(const std::string &section, const std::string &ident,
                           const std::string &def);

    /* Creates the section's key when missing (raising "Failed to create key %s"), opens it
     * and stores value as REG_SZ (raising "Failed to set data for '%s'"). Writes nothing,
     * silently, when the key cannot be opened after it was created. The key is closed on
     * every path. */
    void WriteString(const std::string &section, const std::string &ident,
                     const std::string &value);

private:
    std::string fileName_;

    std::string SectionPath(const std::string &section) const;
};

#endif /* VCL_REGISTRY_H */
