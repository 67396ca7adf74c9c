// The exe under test comes as the first argument after GoogleTest's own.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>

#include "product.h"

int main(int argc, char** argv)
{
    testing::InitGoogleTest(&argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: e2e_tests [gtest options] PATH_TO_Kestrevane.exe\n");
        return 2;
    }
    const std::wstring given = kestrevane::e2e::widen(argv[1]);
    wchar_t full[MAX_PATH];
    const DWORD n = GetFullPathNameW(given.c_str(), MAX_PATH, full, nullptr);
    kestrevane::e2e::setProductPath(n > 0 && n < MAX_PATH ? std::wstring(full, n) : given);
    return RUN_ALL_TESTS();
}
