// Names parameterised GoogleTest cases after the `desc` of their row, so that a failing row
// reads as what it checks: INSTANTIATE_TEST_SUITE_P(..., qiv::testing::DescName<Case>).
// Give the row type a PrintTo that prints desc, too, for readable failure output.
#pragma once

#include <gtest/gtest.h>

#include <cctype>
#include <string>

namespace qiv::testing {

template <class Case>
std::string DescName(const ::testing::TestParamInfo<Case>& row) {
    std::string name;
    bool upper = true;
    for (const char c : std::string(row.param.desc)) {
        if (std::isalnum(static_cast<unsigned char>(c))) {
            name += upper ? static_cast<char>(std::toupper(static_cast<unsigned char>(c))) : c;
            upper = false;
        } else {
            upper = true;
        }
    }
    return name.empty() ? "Row" + std::to_string(row.index) : name + "_" + std::to_string(row.index);
}

}  // namespace qiv::testing
