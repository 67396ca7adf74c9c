// The report of an uncaught exception names its type as compiled: the runtime's
// demangler, and the printf it pulls in, would be a quarter of the exe.
#include <cstddef>

// Linked with --wrap=__cxa_demangle: every call fails as "invalid name", and the
// terminate handler then prints the mangled name instead.
extern "C" char* __wrap___cxa_demangle(const char*, char*, std::size_t*, int* status)
{
    if (status) *status = -2;
    return nullptr;
}
