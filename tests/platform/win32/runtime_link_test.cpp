// The standard library's errors as the exe links them: the runtime's messages, thrown as
// the program's own error (or as the library's own bad_alloc).
#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <new>
#include <string>
#include <vector>

#include "startup/failure.h"

namespace kestrevane::win32 {
namespace {

struct ErrorRow {
    const char* name;
    std::function<void()> fail;
    std::string message;
    bool ownError; // false: the library's own class (the bad_alloc kind)
};

void PrintTo(const ErrorRow& row, std::ostream* os) { *os << row.name; }

class LibraryError : public ::testing::TestWithParam<ErrorRow> {};

TEST_P(LibraryError, KeepsTheRuntimesMessage)
{
    const ErrorRow& row = GetParam();
    try {
        row.fail();
        FAIL() << "nothing thrown";
    } catch (const std::exception& error) {
        EXPECT_EQ(error.what(), row.message);
        EXPECT_EQ(dynamic_cast<const startup::Error*>(&error) != nullptr, row.ownError);
    }
}

const std::string abc = "abc";
std::vector<int> none;
// Sizes allocate() refuses, out of the compiler's sight: more than it may give, and more
// than the address space holds.
volatile std::size_t tooMany = SIZE_MAX / sizeof(int) - 1;
volatile std::size_t tooManyBytes = SIZE_MAX;

void allocate(std::size_t n) { std::allocator<int>().deallocate(std::allocator<int>().allocate(n), n); }

INSTANTIATE_TEST_SUITE_P(
    Throwers, LibraryError,
    ::testing::Values(
        ErrorRow{"Formatted", [] { (void)abc.substr(5); },
                 "basic_string::substr: __pos (which is 5) > this->size() (which is 3)", true},
        ErrorRow{"FormattedVector", [] { (void)none.at(7); },
                 "vector::_M_range_check: __n (which is 7) >= this->size() (which is 0)", true},
        ErrorRow{"TooLong", [] { std::string s; s.reserve(s.max_size() + 1); }, "basic_string::_M_create", true},
        ErrorRow{"OutOfMemory", [] { allocate(tooMany); }, "std::bad_alloc", false},
        ErrorRow{"BeyondAddressSpace", [] { allocate(tooManyBytes); }, "std::bad_array_new_length", false}),
    [](const ::testing::TestParamInfo<ErrorRow>& row) { return std::string(row.param.name); });

} // namespace
} // namespace kestrevane::win32
