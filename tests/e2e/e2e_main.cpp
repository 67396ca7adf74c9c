// The exe under test comes as the first argument after GoogleTest's own; a
// fault-injecting build of it may follow.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>

#include "product.h"

namespace {

std::wstring fullPath(const char* given)
{
    const std::wstring wide = kestrevane::e2e::widen(given);
    wchar_t full[MAX_PATH];
    const DWORD n = GetFullPathNameW(wide.c_str(), MAX_PATH, full, nullptr);
    return n > 0 && n < MAX_PATH ? std::wstring(full, n) : wide;
}

} // namespace

int main(int argc, char** argv)
{
    testing::InitGoogleTest(&argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: e2e_tests [gtest options] PATH_TO_Kestrevane.exe [PATH_TO_FAULT_BUILD.exe]\n");
        return 2;
    }
    kestrevane::e2e::setProductPath(fullPath(argv[1]));
    if (argc > 2) kestrevane::e2e::setFaultBuildPath(fullPath(argv[2]));
    return RUN_ALL_TESTS();
}
