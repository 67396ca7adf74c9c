// Names parameterised test cases after their table row's `name` field.
#pragma once

#include <gtest/gtest.h>

#include <string>

namespace kestrevane::testing {

struct CaseName {
    template <typename Param>
    std::string operator()(const ::testing::TestParamInfo<Param>& row) const
    {
        return row.param.name;
    }
};

} // namespace kestrevane::testing
