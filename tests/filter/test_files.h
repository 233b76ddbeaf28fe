/* test_files.h - folders and files for the filter's tests, made below the test's own
 * temporary drive. */
#ifndef TEST_FILES_H
#define TEST_FILES_H

#include <string>

/* The current directory with a trailing backslash. */
std::string CurrentDirectory();

/* Creates the folder (and missing parents); true when it exists afterwards. */
bool MakeDirectory(const std::string &path);

/* Creates or replaces the file with content; true on success. */
bool MakeFile(const std::string &path, const std::string &content);

/* The whole content of the file, or "<missing>" when it cannot be read. */
std::string ReadWholeFile(const std::string &path);

#endif /* TEST_FILES_H */
