// The programs under test come as options after GoogleTest's own:
//   e2e_tests [gtest options] --product=Kestrevane.exe [--fault-build=EXE] [--version-probe=EXE]
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string_view>

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
    using Setter = void (*)(std::wstring);
    const struct {
        std::string_view option;
        Setter set;
    } options[] = {
        {"--product=", kestrevane::e2e::setProductPath},
        {"--fault-build=", kestrevane::e2e::setFaultBuildPath},
        {"--version-probe=", kestrevane::e2e::setVersionProbePath},
    };
    for (int i = 1; i < argc; ++i) {
        bool known = false;
        for (const auto& o : options) {
            if (std::string_view(argv[i]).starts_with(o.option)) {
                o.set(fullPath(argv[i] + o.option.size()));
                known = true;
            }
        }
        if (!known) {
            std::fprintf(stderr, "e2e_tests: unknown argument %s\nusage: e2e_tests [gtest options] "
                                 "--product=Kestrevane.exe [--fault-build=EXE] [--version-probe=EXE]\n",
                         argv[i]);
            return 2;
        }
    }
    if (kestrevane::e2e::productPath().empty()) {
        std::fprintf(stderr, "e2e_tests: no --product=PATH_TO_Kestrevane.exe given\n");
        return 2;
    }
    return RUN_ALL_TESTS();
}
