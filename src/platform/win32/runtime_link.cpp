// What the exe takes of the compiler's runtime, mended at link time: each mend keeps out
// something the runtime would otherwise bring, an import XP lacks or a large part of the
// standard library. An object of the exe's own, not a library member: what it defines
// must be there before the runtime and the import libraries are searched
// (kestrevane_trim_standard_library in the CMakeLists beside it).
#include <windows.h>

#include <cstdarg>
#include <cstddef>
#include <new>
#include <string>
#include <utility>

#include "platform/win32/system_functions.h"
#include "startup/failure.h"

// Import slots. The runtime imports functions by name that Windows XP lacks, and XP's
// loader would refuse the whole program: GetTickCount64 (winpthread, in the x86_64 exe)
// and GetThreadId (GCC 13's win32 threads, in the i686 exe). Defining an import's address
// slot here makes the linker take it instead of kernel32's entry; the call then finds the
// real function at run time, or falls back where it is missing.
namespace {

// The runtime only times waits with it, so a count that wraps after 49 days will do.
ULONGLONG WINAPI tickCount64() { return kestrevane::win32::tickCount64(); }
DWORD WINAPI threadId(HANDLE thread) { return kestrevane::win32::threadId(thread); }

} // namespace

#if defined(_WIN64)
#define KESTREVANE_SLOT(name, argumentBytes) "__imp_" #name
#else
#define KESTREVANE_SLOT(name, argumentBytes) "__imp__" #name "@" #argumentBytes
#endif

extern "C" {
decltype(&::GetTickCount64) tickCount64Import asm(KESTREVANE_SLOT(GetTickCount64, 0)) = tickCount64;
decltype(&::GetThreadId) threadIdImport asm(KESTREVANE_SLOT(GetThreadId, 4)) = threadId;
}

// Type names. The report of an uncaught exception names its type as compiled: the
// runtime's demangler, and the printf it pulls in, would be a quarter of the exe. Linked
// with --wrap=__cxa_demangle: every call fails as "invalid name", and the terminate
// handler then prints the mangled name instead.
extern "C" char* __wrap___cxa_demangle(const char*, char*, std::size_t*, int* status)
{
    if (status) *status = -2;
    return nullptr;
}

// String instances. GCC 13 and later keep one member of std::string and std::wstring in
// the runtime even for C++20, so that a call to it would link the runtime's whole
// instance of each class (a tenth of the exe apiece). Instantiated here, the linker takes
// this copy instead.
#if defined(_GLIBCXX_RELEASE) && _GLIBCXX_RELEASE >= 13
template void std::string::_M_replace_cold(char*, size_type, const char*, size_type, size_type);
template void std::wstring::_M_replace_cold(wchar_t*, size_type, const wchar_t*, size_type, size_type);
#endif

// The standard library's errors. Its templates raise them (a string too long, a position
// past its end) through the runtime's throwers, which construct std::length_error and its
// kin, whose old reference-counted message string links a second compiled std::string,
// std::random_device and more: a third of the exe. Linked with --wrap for each thrower,
// these throw the runtime's own messages as startup::Error.
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
