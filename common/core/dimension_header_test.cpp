#include "common/core/dimension_header.h"

#include <gtest/gtest.h>

#include <ostream>

#include "common/testing/param_name.h"

namespace qiv {
namespace {

struct HeaderCase {
    const char* desc;
    std::array<std::uint8_t, 4> bytes;
    DimensionHeader header;
    friend void PrintTo(const HeaderCase& c, std::ostream* os) { *os << c.desc; }
};

class DimensionHeaderTest : public ::testing::TestWithParam<HeaderCase> {};

TEST_P(DimensionHeaderTest, RoundTripsAtTheByteLevel) {
    const HeaderCase& c = GetParam();
    EXPECT_EQ(EncodeDimensionHeader(c.header), c.bytes) << c.desc;
    EXPECT_EQ(DecodeDimensionHeader(c.bytes), c.header) << c.desc;
}

INSTANTIATE_TEST_SUITE_P(
    Table, DimensionHeaderTest,
    ::testing::Values(HeaderCase{"512 rows, 400 columns", {0x00, 0x02, 0x90, 0x01}, {512, 400}},
                      HeaderCase{"most negative", {0x00, 0x80, 0xFF, 0xFF}, {-32768, -1}},
                      HeaderCase{"largest", {0xFF, 0x7F, 0x00, 0x00}, {32767, 0}},
                      HeaderCase{"3 x 5 subset", {0x03, 0x00, 0x05, 0x00}, {3, 5}}),
    testing::DescName<HeaderCase>);

}  // namespace
}  // namespace qiv
