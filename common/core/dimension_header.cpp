#include "common/core/dimension_header.h"

namespace qiv {

std::array<std::uint8_t, kDimensionHeaderSize> EncodeDimensionHeader(DimensionHeader header) {
    std::array<std::uint8_t, kDimensionHeaderSize> bytes{};
    WriteInt16Le(bytes.data(), header.HeaderRows);
    WriteInt16Le(bytes.data() + 2, header.HeaderCols);
    return bytes;
}

DimensionHeader DecodeDimensionHeader(std::span<const std::uint8_t, kDimensionHeaderSize> bytes) {
    return {ReadInt16Le(bytes.data()), ReadInt16Le(bytes.data() + 2)};
}

}  // namespace qiv
