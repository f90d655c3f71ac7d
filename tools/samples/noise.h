// Deterministic noise for the synthetic sample scenes of both programs. Integer hashing rather
// than a standard-library distribution: the distributions may differ between library versions,
// the samples must not.
#pragma once

#include <cstdint>

namespace qiv::samples {

// A well-mixed 32-bit hash of a lattice point.
std::uint32_t Hash(std::int32_t x, std::int32_t y, std::uint32_t seed);
// The hash of a lattice point as a value in [0, 1].
double Lattice(std::int32_t x, std::int32_t y, std::uint32_t seed);
// Smoothstep of t in [0, 1].
double Smooth(double t);
// Value noise in [0, 1], smoothly interpolated between lattice points.
double ValueNoise(double x, double y, std::uint32_t seed);
// Fractal sum of octaves, in [0, 1]: coarse shapes with finer detail on top.
double Fractal(double x, double y, int octaves, std::uint32_t seed);
// 0 below edge0, 1 above edge1, a smooth rise in between.
double Ramp(double edge0, double edge1, double value);

}  // namespace qiv::samples
