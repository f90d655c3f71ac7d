// The four-byte dimension header of the "Generic binary, 8-bit" raster format: rows, then
// columns, each a signed 16-bit little-endian integer, written over the first four pixels.
#pragma once

#include <array>
#include <cstdint>
#include <span>

namespace qiv {

inline constexpr std::size_t kDimensionHeaderSize = 4;

struct DimensionHeader {
    std::int16_t HeaderRows = 0;
    std::int16_t HeaderCols = 0;
    friend bool operator==(const DimensionHeader&, const DimensionHeader&) = default;
};

std::array<std::uint8_t, kDimensionHeaderSize> EncodeDimensionHeader(DimensionHeader header);
DimensionHeader DecodeDimensionHeader(std::span<const std::uint8_t, kDimensionHeaderSize> bytes);

// Little-endian 16-bit helpers shared by the file formats of both programs.
inline std::int16_t ReadInt16Le(const std::uint8_t* bytes) {
    return static_cast<std::int16_t>(static_cast<std::uint16_t>(bytes[0] | (bytes[1] << 8)));
}
inline void WriteInt16Le(std::uint8_t* bytes, std::int16_t value) {
    const auto bits = static_cast<std::uint16_t>(value);
    bytes[0] = static_cast<std::uint8_t>(bits & 0xFF);
    bytes[1] = static_cast<std::uint8_t>(bits >> 8);
}

}  // namespace qiv
