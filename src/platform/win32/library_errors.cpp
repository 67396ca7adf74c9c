// The errors the standard library's templates raise (a string too long, a position past
// its end), thrown with the runtime's own messages as startup::Error. The runtime's
// throwers construct std::length_error and its kin, whose old reference-counted message
// string links a second compiled std::string, std::random_device and more: a third of
// the exe. Linked with --wrap for each thrower (kestrevane_trim_standard_library).
#include <cstdarg>
#include <cstddef>
#include <new>
#include <string>
#include <utility>

#include "startup/error.h"

namespace {

[[noreturn]] void raise(std::string message) { throw kestrevane::startup::Error(std::move(message)); }

// As the runtime formats these messages: %s, %zu and %% only, any other % as it stands.
std::string formatted(const char* format, std::va_list arguments)
{
    std::string text;
    for (const char* c = format; *c; ++c) {
        if (c[0] == '%' && c[1] == 's') {
            text += va_arg(arguments, const char*);
            ++c;
        } else if (c[0] == '%' && c[1] == 'z' && c[2] == 'u') {
            text += std::to_string(va_arg(arguments, std::size_t));
            c += 2;
        } else {
            if (c[0] == '%' && c[1] == '%') ++c;
            text += *c;
        }
    }
    return text;
}

} // namespace

extern "C" {

[[noreturn]] void __wrap__ZSt17__throw_bad_allocv() { throw std::bad_alloc(); }
[[noreturn]] void __wrap__ZSt28__throw_bad_array_new_lengthv() { throw std::bad_array_new_length(); }
[[noreturn]] void __wrap__ZSt19__throw_logic_errorPKc(const char* what) { raise(what); }
[[noreturn]] void __wrap__ZSt20__throw_length_errorPKc(const char* what) { raise(what); }
[[noreturn]] void __wrap__ZSt20__throw_out_of_rangePKc(const char* what) { raise(what); }
[[noreturn]] void __wrap__ZSt24__throw_invalid_argumentPKc(const char* what) { raise(what); }

[[noreturn]] void __wrap__ZSt24__throw_out_of_range_fmtPKcz(const char* format, ...)
{
    std::va_list arguments;
    va_start(arguments, format);
    std::string text = formatted(format, arguments);
    va_end(arguments);
    raise(std::move(text));
}

} // extern "C"
