// Sample images for Rastel_Qiv in its raster format, made from nothing but a fixed seed so that
// every machine gets the same bytes.
#pragma once

#include <cstdint>
#include <filesystem>

#include <vector>
#include "common/core/failure.h"

namespace qiv::samples {

// A synthetic satellite scene, rows x cols 8-bit pixels: land with fields and relief, sea
// darkening away from the coast, and broken cloud with its shadows. Same seed, same image.
std::vector<std::uint8_t> SyntheticScene(std::int32_t rows, std::int32_t cols, std::uint32_t seed);

// Writes into dir (created when missing):
//   scene-512x512-header.raw  512 x 512 scene whose first four bytes hold the dimension header
//   scene-1024x1536.raw       1024 rows x 1536 columns, no header
//   grey-levels-16x16.raw     16 x 16, the grey levels 0..255 once each, row after row
// Fails when a file cannot be written.
Failure WriteRasterSamples(const std::filesystem::path& dir);

}  // namespace qiv::samples
