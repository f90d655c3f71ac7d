#include "typed_number.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <ostream>

#include "param_name.h"

namespace qiv {
namespace {

struct TypedCase {
    const char* desc;
    const char* text;
    std::optional<std::int32_t> expected;
    friend void PrintTo(const TypedCase& c, std::ostream* os) { *os << c.desc; }
};

class ReadTypedTest : public ::testing::TestWithParam<TypedCase> {};

TEST_P(ReadTypedTest, ReadsLeadingNumberRoundedHalfEven) {
    const TypedCase& c = GetParam();
    EXPECT_EQ(ReadTyped<std::int32_t>(c.text), c.expected) << c.desc;
}

INSTANTIATE_TEST_SUITE_P(
    Table, ReadTypedTest,
    ::testing::Values(TypedCase{"half goes down to even", "12.5", 12},
                      TypedCase{"half goes up to even", "13.5", 14},
                      TypedCase{"letters only give 0", "abc", 0},
                      TypedCase{"blanks then a number", "   300", 300},
                      TypedCase{"negative", "-7", -7},
                      TypedCase{"exponent", "1e3", 1000},
                      TypedCase{"empty gives 0", "", 0},
                      TypedCase{"trailing text ignored", "42 rows", 42},
                      TypedCase{"exponent without digits stops", "2e", 2},
                      TypedCase{"leading point", ".5", 0},
                      TypedCase{"negative half to even", "-2.5", -2},
                      TypedCase{"largest 32-bit", "2147483647", 2147483647},
                      TypedCase{"one past 32 bits does not fit", "2147483648", std::nullopt},
                      TypedCase{"huge exponent does not fit", "1e400", std::nullopt}),
    testing::DescName<TypedCase>);

TEST(TypedNumberTest, WidthDecidesWhatFits) {
    EXPECT_EQ(ReadTyped<std::int16_t>("32767"), std::int16_t{32767});
    EXPECT_EQ(ReadTyped<std::int16_t>("32767.5"), std::nullopt);  // rounds to 32768
    EXPECT_EQ(ReadTyped<std::int16_t>("-32768"), std::int16_t{-32768});
    EXPECT_EQ(ReadTyped<std::int16_t>("-32769"), std::nullopt);
    EXPECT_EQ(ToWidthSaturated<std::int16_t>(40000.0), std::int16_t{32767});
    EXPECT_EQ(ToWidthSaturated<std::int16_t>(-1e300), std::int16_t{-32768});
    EXPECT_EQ(ToWidthSaturated<std::int32_t>(std::numeric_limits<double>::quiet_NaN()), 0);
}

TEST(TypedNumberTest, WholeNumberAcceptsOnlyOneNumberWithBlanksAround) {
    EXPECT_EQ(WholeNumber("  128 "), 128.0);
    EXPECT_EQ(WholeNumber("-3.5"), -3.5);
    EXPECT_EQ(WholeNumber("12abc"), std::nullopt);
    EXPECT_EQ(WholeNumber("   "), std::nullopt);
    EXPECT_EQ(WholeNumber(""), std::nullopt);
    EXPECT_EQ(WholeNumber("1 2"), std::nullopt);
}

TEST(TypedNumberTest, RoundHalfEvenOnHalvesAndNeighbours) {
    EXPECT_EQ(RoundHalfEven(0.5), 0.0);
    EXPECT_EQ(RoundHalfEven(1.5), 2.0);
    EXPECT_EQ(RoundHalfEven(2.5), 2.0);
    EXPECT_EQ(RoundHalfEven(2.5000001), 3.0);
    EXPECT_EQ(RoundHalfEven(-0.5), 0.0);
    EXPECT_EQ(RoundHalfEven(-1.5), -2.0);
}

}  // namespace
}  // namespace qiv
