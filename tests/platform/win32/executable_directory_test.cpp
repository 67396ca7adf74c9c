// The program's directory as the startup log needs it.
#include "platform/win32/executable_directory.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/win32/text_convert.h"
#include "platform/win32/win32_files.h"

namespace kestrevane::win32 {
namespace {

// The C run-time's argv[0], made absolute: a source apart from the module handle.
std::wstring programPathFromArguments()
{
    const std::wstring argument = widen(ansiToUtf8(__argv[0]));
    wchar_t full[32768];
    const DWORD n = GetFullPathNameW(argument.c_str(), 32768, full, nullptr);
    if (n == 0 || n >= 32768) throw std::runtime_error("test set-up: cannot make argv[0] absolute");
    return std::wstring(full, n);
}

TEST(ExecutableDirectory, IsTheDirectoryOfTheRunningProgram)
{
    const std::string dir = executableDirectory();
    ASSERT_GT(dir.size(), 2u);
    EXPECT_NE(dir.back(), '\\');
    EXPECT_NE(dir.back(), '/');

    std::wstring program = programPathFromArguments();
    const std::wstring expected = program.substr(0, program.find_last_of(L"\\/"));
    EXPECT_EQ(CompareStringW(LOCALE_INVARIANT, NORM_IGNORECASE, widen(dir).c_str(), -1, expected.c_str(), -1),
              CSTR_EQUAL)
        << dir << " vs " << narrow(expected);

    // The log path is built as directory & "\" & name: that must name the program itself.
    const std::wstring name = program.substr(program.find_last_of(L"\\/") + 1);
    EXPECT_TRUE(Win32Files().canOpenForReading(dir + "\\" + narrow(name)));
}

} // namespace
} // namespace kestrevane::win32
