/* vcl_exception.cpp - the class library's error classes and the message formatting they use. */
#include "vcl_exception.h"

Exception::Exception(const std::string &message) : message_(message) {}

const std::string &Exception::Message() const
{
    return message_;
}

const char *Exception::what() const noexcept
{
    return message_.c_str();
}

ERegistryException::ERegistryException(const std::string &message) : Exception(message) {}

std::string FormatOne(const char *pattern, const std::string &arg)
{
    std::string text(pattern);
    size_t at = text.find("%s");
    if (at != std::string::npos)
        text.replace(at, 2, arg);
    return text;
}
