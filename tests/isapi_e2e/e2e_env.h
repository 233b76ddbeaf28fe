/* e2e_env.h - what the end-to-end tests set up around the server: a site folder of files,
 * registry values under HKEY_LOCAL_MACHINE, Windows paths of the built programs */
#ifndef E2E_ENV_H
#define E2E_ENV_H

#include <string>
#include <vector>

/* Returns the Windows path of a path of the build machine: "/a/b" becomes "Z:\a\b" (the
 * drive through which wine sees the whole file system). Cannot fail. */
std::string WindowsPathOf(const std::string &unixPath);

/* Creates (or replaces) the file path with text, creating missing folders. Returns true;
 * false when it cannot be written. */
bool WriteTextFile(const std::string &path, const std::string &text);

/* Returns the file's whole content, or the empty text when it cannot be read. */
std::string ReadTextFile(const std::string &path);

/* Returns a new, empty folder below the current one, named after prefix and the process id. */
std::string MakeScratchFolder(const std::string &prefix);

/* Removes a folder and all it holds; cannot fail. */
void RemoveFolder(const std::string &path);

/* Stores text as REG_SZ (or REG_DWORD number when isNumber) under HKLM\keyPath, creating
 * the key. Returns true; false when the registry refuses. */
bool SetMachineValue(const std::string &keyPath, const std::string &name, const std::string &text,
                     bool isNumber = false);

/* Removes HKLM\keyPath\name; a missing key or value is no error. Cannot fail. */
void DeleteMachineValue(const std::string &keyPath, const std::string &name);

#endif /* E2E_ENV_H */
