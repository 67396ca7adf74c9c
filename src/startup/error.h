// The exception this program throws with a message of its own.
#pragma once

#include <exception>
#include <string>
#include <utility>

namespace kestrevane::startup {

// Not std::runtime_error: the standard error classes keep their message in the runtime's
// old reference-counted string, and with it comes a copy of the whole string class (and
// more) that the rest of the program does not use.
class Error : public std::exception {
public:
    explicit Error(std::string message) : message_(std::move(message)) {}
    const char* what() const noexcept override { return message_.c_str(); }

private:
    std::string message_;
};

} // namespace kestrevane::startup
