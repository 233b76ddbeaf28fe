/* vcl_exception.h - the class library's error classes: Exception carries a message text,
 * ERegistryException is raised by the registry wrapper. */
#ifndef VCL_EXCEPTION_H
#define VCL_EXCEPTION_H

#include <exception>
#include <string>

/* Base of every error the class library raises; the text is what a user is shown. */
class Exception : public std::exception {
public:
    explicit Exception(const std::string &message);
    const std::string &Message() const;
    const char *what() const noexcept override;

private:
    std::string message_;
};

/* A registry operation failed; the message names the key or value. */
class ERegistryException : public Exception {
public:
    explicit ERegistryException(const std::string &message);
};

/* Returns pattern with its one "%s" replaced by arg (a pattern without "%s" is returned
 * as it is). Cannot fail except by running out of memory. */
std::string FormatOne(const char *pattern, const std::string &arg);

#endif /* VCL_EXCEPTION_H */
