// The calibration coefficients of the AVHRR of every satellite Qiv calibrates, in one table keyed
// by SatId: the visible channels by the PATMOS-x post-launch calibration, the thermal channels by
// the NOAA KLM User's Guide (and the POD Guide for NOAA-12 and NOAA-14). The sources of every
// figure stand beside the table in coefficients.cpp.
#pragma once

#include <array>
#include <cstdint>
#include <span>

namespace qiv::avhrr {

// SatIds of the pass header: the NOAA number, and 100 + n for the MetOps (A 102, B 101, C 103, in
// the order of their EUMETSAT flight numbers M02, M01, M03).
inline constexpr std::int16_t kMetopA = 102;
inline constexpr std::int16_t kMetopB = 101;
inline constexpr std::int16_t kMetopC = 103;

enum class VisibleChannel { Ch1, Ch2, Ch3A };
enum class ThermalChannel { Ch3B, Ch4, Ch5 };

constexpr int IndexOf(VisibleChannel channel) {
    switch (channel) {
        case VisibleChannel::Ch1:
            return 0;
        case VisibleChannel::Ch2:
            return 1;
        case VisibleChannel::Ch3A:
            return 2;
    }
    return 0;
}
constexpr int IndexOf(ThermalChannel channel) {
    switch (channel) {
        case ThermalChannel::Ch3B:
            return 0;
        case ThermalChannel::Ch4:
            return 1;
        case ThermalChannel::Ch5:
            return 2;
    }
    return 0;
}

// Albedo (%) = S(t) (C - D), S(t) = S (100 + S1 t + S2 t^2) / 100, t in years since launch. The
// single-gain AVHRR/2 has one slope. The dual-gain AVHRR/3 has LowSlope for counts up to the
// switch count, and above it the albedo goes on from the switch count with HighSlope.
struct VisibleCoefficients {
    double DarkCount = 0.0;
    double SwitchCount = 0.0;  // 0: single gain
    double LowSlope = 0.0;     // % albedo per count at launch
    double HighSlope = 0.0;    // the same above the switch count
    double S1 = 0.0;           // % of the slope per year
    double S2 = 0.0;           // % of the slope per year squared
};

// T* = A + B T turns a temperature into the channel's effective one, whose Planck radiance at the
// centroid wavenumber is the channel's radiance. Radiances in mW / (m^2 sr cm^-1).
struct ThermalCoefficients {
    double Wavenumber = 0.0;  // centroid, cm^-1
    double A = 0.0;           // K
    double B = 1.0;
    double SpaceRadiance = 0.0;  // Ns, the radiance the space view stands for
    // Nonlinearity: N = B0 + (1 + B1) N_lin + B2 N_lin^2 (zero for channel 3B of the KLMs).
    double B0 = 0.0;
    double B1 = 0.0;
    double B2 = 0.0;
};

// T (K) = D0 + D1 C + D2 C^2 + D3 C^3 + D4 C^4 of one platinum resistance thermometer's count C.
struct PrtCoefficients {
    std::array<double, 5> D{};
};

struct SatelliteCoefficients {
    std::int16_t SatId = 0;
    const char* Name = "";
    double LaunchYear = 0.0;                       // decimal year of the launch
    bool HasChannel3A = false;                     // AVHRR/3
    std::array<VisibleCoefficients, 3> Visible{};  // 1, 2, 3A
    std::array<ThermalCoefficients, 3> Thermal{};  // 3B, 4, 5
    std::array<PrtCoefficients, 4> Prt{};          // thermometers 1..4
};

// Every satellite of the table, and the one of `satId` (nullptr when there is none).
std::span<const SatelliteCoefficients> AllSatelliteCoefficients();
const SatelliteCoefficients* CoefficientsOf(std::int16_t satId);

// Years since launch at day `dayOfYear` (1..366) of `year`, as the PATMOS-x slope fits count
// them: year + day / 365 - launch year.
double YearsSinceLaunch(const SatelliteCoefficients& sat, int year, int dayOfYear);

}  // namespace qiv::avhrr
