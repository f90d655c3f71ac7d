// The calibration science of the AVHRR: counts to albedo and brightness temperature, the
// averaging of a pass's calibration words, the split-window sea surface temperature, the clear-sea
// tests and the vegetation index. Qt-free; every figure has its source beside it.
#pragma once

#include <array>
#include <cstdint>
#include <deque>
#include <optional>
#include <span>

#include "avhrr/coefficients.h"
#include "avhrr/frame.h"

namespace qiv::avhrr {

// ---- Visible channels ------------------------------------------------------------------------

// Albedo in percent of channel `channel`'s count, `years` after launch (YearsSinceLaunch). Not
// clamped: a count below the dark count gives a small negative albedo.
double Albedo(const SatelliteCoefficients& sat, VisibleChannel channel, double count, double years);

// ---- Thermal channels: NOAA KLM User's Guide, section 7.1.2.4 --------------------------------

// Planck's radiance, mW / (m^2 sr cm^-1), of temperature `kelvin` at wavenumber `nu` (cm^-1),
// and its inverse (nullopt for a radiance of 0 or below).
double PlanckRadiance(double nu, double kelvin);
std::optional<double> PlanckTemperature(double nu, double radiance);

// Temperature (K) of thermometer `prt` (0..3) from its count.
double PrtTemperature(const SatelliteCoefficients& sat, int prt, double count);

// What one line's calibration is made of for one thermal channel: the blackbody temperature, and
// the mean back-scan and space counts.
struct ThermalReference {
    double BlackbodyK = 0.0;
    double BackScanCount = 0.0;
    double SpaceCount = 0.0;
};

// One line's calibration of one thermal channel, made once for the many counts of the line: the
// blackbody's radiance is worked out when it is made. SceneRadiance and BrightnessTemperature
// below are one count's worth of it.
class ThermalCalibration {
public:
    ThermalCalibration(const SatelliteCoefficients& sat, ThermalChannel channel,
                       const ThermalReference& reference);
    std::optional<double> Radiance(double count) const;
    std::optional<double> Kelvin(double count) const;

private:
    const ThermalCoefficients* c_;
    double spaceCount_ = 0.0;
    double slope_ = 0.0;  // linear radiance per count below the space count; 0: no calibration
};

// Scene radiance of earth count `count`: the linear radiance between the blackbody's and space's,
// corrected for the detector's nonlinearity (channels 4, 5). nullopt when the back-scan and space
// counts coincide.
std::optional<double> SceneRadiance(const SatelliteCoefficients& sat, ThermalChannel channel,
                                    const ThermalReference& reference, double count);
// Brightness temperature (K) of earth count `count`; nullopt when there is no positive radiance.
std::optional<double> BrightnessTemperature(const SatelliteCoefficients& sat,
                                            ThermalChannel channel,
                                            const ThermalReference& reference, double count);

// ---- The calibration words of a line, and their average over neighbouring lines -------------

// The calibration words of one HRPT line, read on the word grid of avhrr/frame.h.
struct CalibrationWords {
    std::array<int, 3> Prt{};                                                        // words 18-20
    std::array<std::array<int, kCalibrationSamples>, kBackScanChannels> BackScan{};  // 3B, 4, 5
    std::array<std::array<int, kCalibrationSamples>, kChannels> Space{};  // channels 1..5
    // ID word: channel 3A, not 3B, is being sent. On line 1 of an HRP file the ID word lies under
    // the pass header; a caller takes that line's mode from line 2.
    bool Channel3A = false;
};
// nullopt when `frame` is shorter than the calibration words.
std::optional<CalibrationWords> ReadCalibrationWords(std::span<const std::uint8_t> frame);

// A line's calibration once averaged; Valid[t] false where no line of the window had a usable
// reference for thermal channel t (then that channel of this line cannot be calibrated).
struct LineCalibration {
    std::int64_t Line = 0;  // 0-based, in the order of feeding
    std::array<bool, 3> Valid{};
    std::array<ThermalReference, 3> Thermal{};  // 3B, 4, 5
    bool Channel3A = false;
};

// Feeds the lines of a pass in order and gives the calibration of line i once line i + kHalfWindow
// has been fed (Finish gives the last ones): the blackbody temperature and the mean back-scan and
// space counts of each thermal channel, averaged over lines i - kHalfWindow .. i + kHalfWindow.
// Memory stays bounded by the window whatever the length of the pass.
//
// Why ±25 lines: Trishchenko (2002, "Removing unwanted fluctuations in the AVHRR thermal
// calibration data using robust techniques", J. Atmos. Oceanic Technol., 19, 1939-1954) removes
// the scan-to-scan noise of the PRT, back-scan and space counts by robust estimates smoothed over
// some tens of lines; the blackbody and the instrument change only over minutes. 51 lines (8.5 s at
// 6 lines/s) hold ten PRT cycles of five lines, so each of the four thermometers is read about ten
// times in every window.
//
// A line's own words are refused (and the window's other lines fill in) when any sample is 0,
// negative or above 1023, or its three PRT readings disagree or give an implausible temperature.
// Lines sent in channel 3A mode leave channel 3's back-scan and space words out of channel 3B's
// mean. Of the lines kept, the window takes a robust mean: those far from the window's median are
// left out too (not counted in RefusedLines, which counts the lines refused on their own).
class CalibrationAverager {
public:
    static constexpr int kHalfWindow = 25;
    // Limits of a believable line: the three readings of a thermometer agree within
    // kMostPrtSpread counts, and the blackbody lies within kLeastBlackbodyK..kMostBlackbodyK (the
    // internal target sits near 290 K in orbit; these bounds are ours, wide enough for any real
    // reading and narrow enough to catch a damaged word).
    static constexpr int kMostPrtSpread = 10;
    static constexpr double kLeastBlackbodyK = 260.0;
    static constexpr double kMostBlackbodyK = 320.0;
    // A PRT line whose readings are all below this is the reference line of the cycle.
    static constexpr int kMostReferenceCount = 50;
    // Within a window, a line's value further than this from the window's median is left out:
    // the scan-to-scan noise of a mean of ten back-scan or space samples is below a count, that of
    // a thermometer below 0.1 K, so these only catch damaged words.
    static constexpr double kMostCountDeviation = 5.0;
    static constexpr double kMostPrtDeviationK = 0.5;

    explicit CalibrationAverager(const SatelliteCoefficients& sat);

    // Feeds the next line; returns the line that has become complete, if any.
    std::optional<LineCalibration> Feed(const CalibrationWords& words);
    // Returns the next line not yet given after the last Feed, or nullopt when none is left.
    std::optional<LineCalibration> Finish();

    // Lines fed so far whose own words were refused, per thermal channel (PRT refusals count for
    // all three), filled in from the window.
    std::array<std::int64_t, 3> RefusedLines() const { return refused_; }
    // Lines held now: never more than 2 kHalfWindow + 1.
    std::size_t BufferedLines() const { return lines_.size(); }

private:
    struct RawLine {
        int PrtSlot = -1;  // 0: reference line, 1..4: thermometer, -1: not yet known
        std::optional<double> PrtCount;
        bool PrtLooksReference = false;
        std::array<std::optional<double>, 3> BackScan{};
        std::array<std::optional<double>, 3> Space{};
        bool Channel3A = false;
    };

    void AssignPrtSlots();
    LineCalibration Average(std::size_t index) const;

    const SatelliteCoefficients& sat_;
    std::deque<RawLine> lines_;  // lines first_ .. first_ + size - 1
    std::int64_t first_ = 0;
    std::int64_t next_ = 0;  // next line to give
    std::int64_t fed_ = 0;
    std::array<std::int64_t, 3> refused_{};
};

// ---- Sea surface temperature -----------------------------------------------------------------

// Satellite zenith angle (degrees) of earth-view sample `sample` (1..2048) from a satellite
// `heightKm` above the mean earth: the scan angle steps evenly over ±55.37° (KLM User's Guide,
// section 3.1), the zenith follows from the earth's curvature (radius 6371 km).
double ScanAngle(int sample);
double SatelliteZenith(int sample, double heightKm);
// Mean height of the orbits: 833 km, the nominal altitude of the NOAA KLM orbits (KLM User's
// Guide, section 1); the other satellites fly within some 40 km of it, which moves the zenith at
// the swath's edge by a few tenths of a degree.
inline constexpr double kMeanHeightKm = 833.0;

// The split-window MCSST: SST (°C) = A (T4 - T5) + B T4 + C (T4 - T5)(sec θ - 1) + D, T in K.
struct SplitWindow {
    double A = 0.0;
    double B = 0.0;
    double C = 0.0;
    double D = 0.0;
};
struct SstCoefficients {
    std::int16_t SatId = 0;
    SplitWindow Day;
    SplitWindow Night;
    bool Published = false;  // false: another satellite's, as stated in the table
};
const SstCoefficients* SstCoefficientsOf(std::int16_t satId);

// Sea surface temperature (°C) from the brightness temperatures of channels 4 and 5 (K);
// nullopt when the satellite has no SST equation or the zenith is 90° or more.
std::optional<double> SeaSurfaceTemperature(std::int16_t satId, bool day, double t4K, double t5K,
                                            double zenithDegrees);

// ---- Clear sea -------------------------------------------------------------------------------

// The thresholds of the clear-sea tests, named once.
struct ClearSeaThresholds {
    // The tests follow Saunders, R. W. and K. T. Kriebel, 1988: An improved method for detecting
    // clear sky and cloudy radiances from AVHRR data. Int. J. Remote Sens., 9, 123-150, and CLAVR
    // (Stowe, L. L., E. P. McClain, R. Carey et al., 1991: Global distribution of cloud cover
    // derived from NOAA/AVHRR operational satellite data. Adv. Space Res., 11(3), 51-54); their
    // thresholds are dynamic or tabulated there, the fixed values here are ours within them.
    //
    // By day, clear sea is dark in channel 2 (a few percent); land and cloud reflect more.
    static constexpr double kMostAlbedo2 = 8.0;  // %
    // By day, Q = albedo 2 / albedo 1 is well below 1 over clear sea (Saunders and Kriebel's
    // ratio test).
    static constexpr double kMostRatio = 0.75;
    // Q is near 1 over cloud, and above it over vegetated land: a bright pixel with Q within
    // kLeastCloudRatio..kMostCloudRatio is cloud, any other bright one land (CLAVR's reflectance
    // ratio test).
    static constexpr double kLeastCloudRatio = 0.9;
    static constexpr double kMostCloudRatio = 1.1;
    // No open sea is colder than sea water's freezing point, -1.8 °C: colder channel 4 is cloud
    // (CLAVR's thermal gross test, here with the sea's own bound).
    static constexpr double kLeastT4K = 271.35;
    // 0 < T4 - T5 < 3.5 K over clear sea: the NOAA-15 MCSST cloud screen of the Navy's SST product
    // (NOAA KLM User's Guide, Appendix G.3, 24 June 1999); thin cirrus gives more.
    static constexpr double kLeastSplitK = 0.0;
    static constexpr double kMostSplitK = 3.5;
    // Clear sea is uniform: channel 4's range over the 3 x 3 neighbours stays below 0.5 K
    // (Saunders and Kriebel's local uniformity test).
    static constexpr double kMostT4Range3x3K = 0.5;
    // Solar zenith below which a pixel is day (the visible tests apply).
    static constexpr double kMostDaySolarZenith = 85.0;
    // Without geolocation, a pixel is night when channels 1 and 2 both stay within this many
    // counts of their dark counts.
    static constexpr double kDarkCountMargin = 10.0;
};

// What the tests look at for one pixel.
struct SeaPixel {
    bool Day = false;
    double Albedo1 = 0.0;  // %
    double Albedo2 = 0.0;  // %
    double T4K = 0.0;
    double T5K = 0.0;
    std::optional<double> T4Range3x3K;  // max - min of channel 4 over the 3 x 3 pixels
};

enum class SeaVerdict { ClearSea, Land, Cloud };

// By night only the thermal tests apply, and land cannot be told from sea without a land mask.
SeaVerdict ClearSeaTest(const SeaPixel& pixel);

// Day by the solar zenith angle (degrees), or without it by the counts of channels 1 and 2.
bool IsDay(double solarZenithDegrees);
bool IsDayByCounts(const SatelliteCoefficients& sat, double count1, double count2);

// ---- Vegetation index ------------------------------------------------------------------------

// Below this sum of the two albedos (%) a pixel is too dark for an NDVI.
inline constexpr double kLeastNdviAlbedoSum = 1.0;
// NDVI = (A2 - A1) / (A2 + A1) of unrounded albedos; nullopt when too dark.
std::optional<double> Ndvi(double albedo1, double albedo2);

}  // namespace qiv::avhrr
