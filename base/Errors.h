// Errors that carry the text the user will see.
#pragma once

#include <initializer_list>

#include <stdexcept>
#include <string>

namespace nv {

// An error raised by a component; the application's general error display shows what().
class EError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class EStreamError : public EError {
public:
    using EError::EError;
};

class EFCreateError : public EStreamError {
public:
    using EStreamError::EStreamError;
};

class EListError : public EError {
public:
    using EError::EError;
};

// printf-style formatting of one of the program's message templates.
std::string Format(const char* pattern, const std::string& arg);
std::string Format(const char* pattern, long long arg);
// A template with several %s, filled in order; what is filled in is never read as a template.
std::string Format(const char* pattern, std::initializer_list<std::string> args);

} // namespace nv
