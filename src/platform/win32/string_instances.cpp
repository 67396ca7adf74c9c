// GCC 13 and later keep one member of std::string and std::wstring in the runtime even
// for C++20, so that a call to it would link the runtime's whole instance of each class
// (a tenth of the exe apiece). Instantiated here, the linker takes this copy instead.
#include <string>

#if defined(_GLIBCXX_RELEASE) && _GLIBCXX_RELEASE >= 13
template void std::string::_M_replace_cold(char*, size_type, const char*, size_type, size_type);
template void std::wstring::_M_replace_cold(wchar_t*, size_type, const wchar_t*, size_type, size_type);
#endif
