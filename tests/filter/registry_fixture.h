/* registry_fixture.h - raw registry access for the filter's tests: clearing the filter key
 * and storing or reading values byte for byte, without the store under test. */
#ifndef REGISTRY_FIXTURE_H
#define REGISTRY_FIXTURE_H

#include <windows.h>
#include <string>

#define TEST_FILTER_KEY "SOFTWARE\\Felmo\\Velmorin\\Parameters\\"

/* A value as the registry holds it. */
struct RawValue {
    bool        exists;
    DWORD       type;
    std::string data; /* every byte, NULs included */
};

/* Removes the filter key with all its values; true when it is gone afterwards. */
bool ClearFilterKey();

/* Stores data as it stands, with the given type, under the filter key (created when
 * missing). True on success. */
bool SetRawValue(const std::string &name, DWORD type, const std::string &data);

/* Stores text with its NUL as REG_SZ under the filter key. True on success. */
bool SetSetting(const std::string &name, const std::string &text);

/* The value under the filter key; exists is false when it (or the key) is missing. */
RawValue GetRawValue(const std::string &name);

#endif /* REGISTRY_FIXTURE_H */
