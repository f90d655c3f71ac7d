#include "tools/samples/noise.h"

#include <algorithm>
#include <cmath>

namespace qiv::samples {

std::uint32_t Hash(std::int32_t x, std::int32_t y, std::uint32_t seed) {
    std::uint32_t h = seed ^ 0x9E3779B9u;
    h ^= static_cast<std::uint32_t>(x) * 0x85EBCA6Bu;
    h = (h << 13) | (h >> 19);
    h ^= static_cast<std::uint32_t>(y) * 0xC2B2AE35u;
    h ^= h >> 16;
    h *= 0x7FEB352Du;
    h ^= h >> 15;
    h *= 0x846CA68Bu;
    h ^= h >> 16;
    return h;
}

double Lattice(std::int32_t x, std::int32_t y, std::uint32_t seed) {
    return Hash(x, y, seed) / 4294967295.0;
}

double Smooth(double t) {
    return t * t * (3.0 - 2.0 * t);
}

double ValueNoise(double x, double y, std::uint32_t seed) {
    const double fx = std::floor(x);
    const double fy = std::floor(y);
    const auto ix = static_cast<std::int32_t>(fx);
    const auto iy = static_cast<std::int32_t>(fy);
    const double tx = Smooth(x - fx);
    const double ty = Smooth(y - fy);
    const double top =
        Lattice(ix, iy, seed) + (Lattice(ix + 1, iy, seed) - Lattice(ix, iy, seed)) * tx;
    const double bottom = Lattice(ix, iy + 1, seed) +
                          (Lattice(ix + 1, iy + 1, seed) - Lattice(ix, iy + 1, seed)) * tx;
    return top + (bottom - top) * ty;
}

double Fractal(double x, double y, int octaves, std::uint32_t seed) {
    double sum = 0.0;
    double amplitude = 1.0;
    double total = 0.0;
    for (int octave = 0; octave < octaves; ++octave) {
        sum += amplitude * ValueNoise(x, y, seed + static_cast<std::uint32_t>(octave) * 1013u);
        total += amplitude;
        amplitude *= 0.5;
        x *= 2.0;
        y *= 2.0;
    }
    return sum / total;
}

double Ramp(double edge0, double edge1, double value) {
    return Smooth(std::clamp((value - edge0) / (edge1 - edge0), 0.0, 1.0));
}

}  // namespace qiv::samples
