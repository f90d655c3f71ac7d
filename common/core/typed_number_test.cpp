#include "common/core/typed_number.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <ostream>
#include <string>

#include "common/testing/param_name.h"
#include "common/testing/reference_models.h"

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
    // The reference model that the fuzz target holds the reading against gives the same.
    EXPECT_EQ(models::ToWidth<std::int32_t>(models::LeadingNumber(c.text)), c.expected) << c.desc;
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

// Texts of hundreds of digits, beyond the range of a double or brought back into it by the
// exponent: overflow holds at the limit with its sign, underflow reads 0.
struct BeyondDoubleCase {
    const char* desc;
    std::string text;
    double expected;
    std::int16_t saturated;
    friend void PrintTo(const BeyondDoubleCase& c, std::ostream* os) { *os << c.desc; }
};

class BeyondDoubleTest : public ::testing::TestWithParam<BeyondDoubleCase> {};

TEST_P(BeyondDoubleTest, DecidesOverflowOrUnderflowFromMagnitude) {
    const BeyondDoubleCase& c = GetParam();
    EXPECT_EQ(LeadingNumber(c.text), c.expected);
    EXPECT_EQ(WholeNumber(c.text), c.expected);
    EXPECT_EQ(ToWidthSaturated<std::int16_t>(LeadingNumber(c.text)), c.saturated);
    EXPECT_EQ(models::LeadingNumber(c.text), c.expected);
    EXPECT_EQ(models::WholeNumber(c.text), c.expected);
    EXPECT_EQ(models::ToWidthSaturated<std::int16_t>(models::LeadingNumber(c.text)), c.saturated);
}

const std::string k400Zeros(400, '0');
const std::string k330Zeros(330, '0');
const std::string k300Nines(300, '9');
constexpr double kInf = std::numeric_limits<double>::infinity();

INSTANTIATE_TEST_SUITE_P(
    Table, BeyondDoubleTest,
    ::testing::Values(
        BeyondDoubleCase{"huge mantissa with negative exponent overflows", "1" + k400Zeros + "e-1",
                         kInf, 32767},
        BeyondDoubleCase{"tiny fraction underflows", "0." + k330Zeros + "1", 0.0, 0},
        BeyondDoubleCase{"negative huge mantissa overflows to the low limit",
                         "-1" + k400Zeros + "e-5", -kInf, -32768},
        BeyondDoubleCase{"negative tiny fraction reads 0", "-0." + k330Zeros + "1", 0.0, 0},
        BeyondDoubleCase{"tiny fraction with positive exponent still underflows",
                         "0." + k400Zeros + "1e5", 0.0, 0},
        BeyondDoubleCase{"exponent lifts a tiny fraction back into range",
                         "0." + k400Zeros + "1e400", 0.1, 0},
        BeyondDoubleCase{"exponent brings a huge mantissa back into range",
                         "1" + k400Zeros + "e-398", 100.0, 100},
        BeyondDoubleCase{"exponent of hundreds of digits overflows", "2e" + k300Nines, kInf, 32767},
        BeyondDoubleCase{"negative exponent of hundreds of digits underflows", "-2e-" + k300Nines,
                         0.0, 0},
        BeyondDoubleCase{"huge mantissa under an exponent of hundreds of digits underflows",
                         "1" + k400Zeros + "e-" + k300Nines, 0.0, 0},
        BeyondDoubleCase{"exponent with hundreds of leading zeros", "3e+" + k400Zeros + "2", 300.0,
                         300},
        BeyondDoubleCase{"zero under an exponent of hundreds of digits is 0", "0e" + k300Nines, 0.0,
                         0}),
    testing::DescName<BeyondDoubleCase>);

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
