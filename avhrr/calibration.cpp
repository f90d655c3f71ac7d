#include "avhrr/calibration.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace qiv::avhrr {

namespace {

// Planck's constants as NOAA KLM User's Guide, section 7.1.2.4 gives them:
// C1 in mW / (m^2 sr cm^-4), C2 in cm K.
constexpr double kC1 = 1.1910427e-5;
constexpr double kC2 = 1.4387752;

constexpr double kEarthRadiusKm = 6371.0;
// Half the scan: the 2048 samples are 0.0541° apart and the outermost lies 55.37° off nadir (KLM
// User's Guide, section 3.1, the AVHRR/3's scan).
constexpr double kMostScanAngle = 55.37;

double Radians(double degrees) {
    return degrees * std::numbers::pi / 180.0;
}

bool IsCount(int value) {
    return value > 0 && value <= kMostCount;
}

}  // namespace

double Albedo(const SatelliteCoefficients& sat, VisibleChannel channel, double count,
              double years) {
    const VisibleCoefficients& c = sat.Visible[static_cast<std::size_t>(IndexOf(channel))];
    const double drift = (100.0 + c.S1 * years + c.S2 * years * years) / 100.0;
    if (c.SwitchCount <= 0.0 || count <= c.SwitchCount) {
        return drift * c.LowSlope * (count - c.DarkCount);
    }
    return drift *
           (c.LowSlope * (c.SwitchCount - c.DarkCount) + c.HighSlope * (count - c.SwitchCount));
}

double PlanckRadiance(double nu, double kelvin) {
    return kC1 * nu * nu * nu / std::expm1(kC2 * nu / kelvin);
}

std::optional<double> PlanckTemperature(double nu, double radiance) {
    if (!(radiance > 0.0)) {
        return std::nullopt;
    }
    return kC2 * nu / std::log1p(kC1 * nu * nu * nu / radiance);
}

double PrtTemperature(const SatelliteCoefficients& sat, int prt, double count) {
    const auto& d = sat.Prt[static_cast<std::size_t>(std::clamp(prt, 0, 3))].D;
    double t = 0.0;
    for (auto k = d.size(); k-- > 0;) {
        t = t * count + d[k];
    }
    return t;
}

ThermalCalibration::ThermalCalibration(const SatelliteCoefficients& sat, ThermalChannel channel,
                                       const ThermalReference& reference)
    : c_(&sat.Thermal[static_cast<std::size_t>(IndexOf(channel))]),
      spaceCount_(reference.SpaceCount) {
    const double span = reference.SpaceCount - reference.BackScanCount;
    if (span != 0.0) {
        // Steps 2-3 of section 7.1.2.4: the blackbody's radiance from its effective temperature,
        // and the linear radiance between it and space's.
        const double blackbody =
            PlanckRadiance(c_->Wavenumber, c_->A + c_->B * reference.BlackbodyK);
        slope_ = (blackbody - c_->SpaceRadiance) / span;
    }
}

std::optional<double> ThermalCalibration::Radiance(double count) const {
    if (slope_ == 0.0) {
        return std::nullopt;
    }
    // Step 4: Walton et al.'s quadratic.
    const double linear = c_->SpaceRadiance + slope_ * (spaceCount_ - count);
    return c_->B0 + (1.0 + c_->B1) * linear + c_->B2 * linear * linear;
}

std::optional<double> ThermalCalibration::Kelvin(double count) const {
    const std::optional<double> radiance = Radiance(count);
    if (!radiance) {
        return std::nullopt;
    }
    const std::optional<double> effective = PlanckTemperature(c_->Wavenumber, *radiance);
    if (!effective || c_->B == 0.0) {
        return std::nullopt;
    }
    return (*effective - c_->A) / c_->B;
}

std::optional<double> SceneRadiance(const SatelliteCoefficients& sat, ThermalChannel channel,
                                    const ThermalReference& reference, double count) {
    return ThermalCalibration(sat, channel, reference).Radiance(count);
}

std::optional<double> BrightnessTemperature(const SatelliteCoefficients& sat,
                                            ThermalChannel channel,
                                            const ThermalReference& reference, double count) {
    return ThermalCalibration(sat, channel, reference).Kelvin(count);
}

std::optional<CalibrationWords> ReadCalibrationWords(std::span<const std::uint8_t> frame) {
    if (frame.size() < static_cast<std::size_t>(ByteOfWord(kSpaceViewWords.Last() + 1))) {
        return std::nullopt;
    }
    CalibrationWords words;
    for (int k = 0; k < kPrtWords.Count; ++k) {
        words.Prt[static_cast<std::size_t>(k)] = WordOf(frame, kPrtWords.First + k);
    }
    for (int s = 1; s <= kCalibrationSamples; ++s) {
        const auto i = static_cast<std::size_t>(s - 1);
        for (int t = 0; t < kBackScanChannels; ++t) {
            words.BackScan[static_cast<std::size_t>(t)][i] = WordOf(frame, BackScanWord(s, t));
        }
        for (int c = 1; c <= kChannels; ++c) {
            words.Space[static_cast<std::size_t>(c - 1)][i] = WordOf(frame, SpaceViewWord(s, c));
        }
    }
    words.Channel3A = Channel3ASent(frame);
    return words;
}

// ---- CalibrationAverager ---------------------------------------------------------------------

CalibrationAverager::CalibrationAverager(const SatelliteCoefficients& sat) : sat_(sat) {}

std::optional<LineCalibration> CalibrationAverager::Feed(const CalibrationWords& words) {
    RawLine line;
    line.Channel3A = sat_.HasChannel3A && words.Channel3A;

    const auto mean = [](std::span<const int> samples) -> std::optional<double> {
        double sum = 0.0;
        for (const int v : samples) {
            if (!IsCount(v)) {
                return std::nullopt;
            }
            sum += v;
        }
        return sum / static_cast<double>(samples.size());
    };
    bool anyBackScan = false;
    for (std::size_t t = 0; t < 3; ++t) {
        if (t == 0 && line.Channel3A) {
            continue;
        }
        line.BackScan[t] = mean(words.BackScan[t]);
        line.Space[t] = mean(words.Space[t + 2]);
        anyBackScan = anyBackScan || line.BackScan[t].has_value();
    }

    // The reference line of the PRT cycle reads (near) zero; a lost line reads zero everywhere,
    // and is told apart by its back-scan words.
    const bool low = std::all_of(words.Prt.begin(), words.Prt.end(),
                                 [](int v) { return v >= 0 && v < kMostReferenceCount; });
    line.PrtLooksReference = low && anyBackScan;
    if (!line.PrtLooksReference) {
        const auto [least, most] = std::minmax_element(words.Prt.begin(), words.Prt.end());
        const std::optional<double> count = mean(words.Prt);
        if (count && *most - *least <= kMostPrtSpread) {
            const double t = PrtTemperature(sat_, 0, *count);
            if (t >= kLeastBlackbodyK && t <= kMostBlackbodyK) {
                line.PrtCount = count;
            }
        }
    }

    lines_.push_back(line);
    ++fed_;
    AssignPrtSlots();
    const bool prtRefused = !line.PrtLooksReference && !line.PrtCount && lines_.back().PrtSlot != 0;
    for (std::size_t t = 0; t < 3; ++t) {
        const bool expected = t == 0 && line.Channel3A;
        if (prtRefused || (!expected && (!line.BackScan[t] || !line.Space[t]))) {
            ++refused_[t];
        }
    }
    if (fed_ - 1 - next_ >= kHalfWindow) {
        return Finish();
    }
    return std::nullopt;
}

void CalibrationAverager::AssignPrtSlots() {
    RawLine& last = lines_.back();
    if (last.PrtLooksReference) {
        // A reference line sets the cycle for every buffered line, the ones before it included.
        const auto n = static_cast<std::int64_t>(lines_.size());
        for (std::int64_t j = 0; j < n; ++j) {
            lines_[static_cast<std::size_t>(j)].PrtSlot =
                static_cast<int>(((j - (n - 1)) % 5 + 5) % 5);
        }
        return;
    }
    if (lines_.size() >= 2 && lines_[lines_.size() - 2].PrtSlot >= 0) {
        last.PrtSlot = (lines_[lines_.size() - 2].PrtSlot + 1) % 5;
    }
}

std::optional<LineCalibration> CalibrationAverager::Finish() {
    if (next_ >= fed_) {
        return std::nullopt;
    }
    const LineCalibration result = Average(static_cast<std::size_t>(next_ - first_));
    ++next_;
    while (first_ < next_ - kHalfWindow && !lines_.empty()) {
        lines_.pop_front();
        ++first_;
    }
    return result;
}

namespace {

// The values of one quantity over a window, and their robust mean: the mean of those within
// `tolerance` of the median, so that a line whose words were damaged in a believable way cannot
// pull the window (Trishchenko 2002: a robust estimate first, the smoothing after).
struct WindowValues {
    std::array<double, 2 * CalibrationAverager::kHalfWindow + 1> Values{};
    std::size_t Count = 0;

    void Add(double value) {
        if (Count < Values.size()) {
            Values[Count++] = value;
        }
    }
    std::optional<double> RobustMean(double tolerance) {
        if (Count == 0) {
            return std::nullopt;
        }
        const auto begin = Values.begin();
        const auto end = begin + static_cast<std::ptrdiff_t>(Count);
        const auto middle = begin + static_cast<std::ptrdiff_t>(Count / 2);
        std::nth_element(begin, middle, end);
        const double median = *middle;
        double sum = 0.0;
        int n = 0;
        for (auto it = begin; it != end; ++it) {
            if (std::abs(*it - median) <= tolerance) {
                sum += *it;
                ++n;
            }
        }
        return sum / n;
    }
};

}  // namespace

LineCalibration CalibrationAverager::Average(std::size_t index) const {
    const std::size_t from = index >= kHalfWindow ? index - kHalfWindow : 0;
    const std::size_t to = std::min(lines_.size(), index + kHalfWindow + 1);

    std::array<WindowValues, 4> prt;
    std::array<WindowValues, 3> backScan;
    std::array<WindowValues, 3> space;
    for (std::size_t j = from; j < to; ++j) {
        const RawLine& line = lines_[j];
        if (line.PrtCount && line.PrtSlot >= 1) {
            prt[static_cast<std::size_t>(line.PrtSlot - 1)].Add(
                PrtTemperature(sat_, line.PrtSlot - 1, *line.PrtCount));
        }
        for (std::size_t t = 0; t < 3; ++t) {
            if (line.BackScan[t]) {
                backScan[t].Add(*line.BackScan[t]);
            }
            if (line.Space[t]) {
                space[t].Add(*line.Space[t]);
            }
        }
    }
    // The blackbody is the mean of the thermometers; one that the window never read is left out
    // rather than losing the line.
    double blackbody = 0.0;
    int thermometers = 0;
    for (WindowValues& values : prt) {
        if (const std::optional<double> t = values.RobustMean(kMostPrtDeviationK)) {
            blackbody += *t;
            ++thermometers;
        }
    }

    LineCalibration out;
    out.Line = first_ + static_cast<std::int64_t>(index);
    out.Channel3A = lines_[index].Channel3A;
    for (std::size_t t = 0; t < 3; ++t) {
        const std::optional<double> back = backScan[t].RobustMean(kMostCountDeviation);
        const std::optional<double> cold = space[t].RobustMean(kMostCountDeviation);
        out.Valid[t] = thermometers > 0 && back && cold;
        if (out.Valid[t]) {
            out.Thermal[t] = ThermalReference{blackbody / thermometers, *back, *cold};
        }
    }
    return out;
}

// ---- Sea surface temperature -----------------------------------------------------------------

double ScanAngle(int sample) {
    const double middle = (kEarthSamples + 1) / 2.0;
    return (sample - middle) * kMostScanAngle / (middle - 1.0);
}

double SatelliteZenith(int sample, double heightKm) {
    const double scan = Radians(std::abs(ScanAngle(sample)));
    const double s = std::min(1.0, (kEarthRadiusKm + heightKm) / kEarthRadiusKm * std::sin(scan));
    return std::asin(s) * 180.0 / std::numbers::pi;
}

namespace {

// MCSST split-window equations, {A, B, C, D} of SST = A (T4 - T5) + B T4 + C (T4 - T5)(sec - 1)
// + D. NOAA-12: NOAA Polar Orbiter Data User's Guide, Appendix E, p. E-31 (NESDIS, 8 March 1994:
// day A 2.579211 ..., night as the NOAA-12 regression output "MCSST SPLIT night"). NOAA-14: POD
// Guide, p. E-33.
//
// For NOAA-15 and later, NESDIS runs the nonlinear NLSST, which needs a first-guess SST field
// (KLM User's Guide, Appendix G.3), and publishes no MCSST split of its own; those satellites take
// NOAA-14's equations (Published = false), their channels 4 and 5 being of the same design.
constexpr SplitWindow kNoaa12Day{2.579211, 0.963563, 0.242598, -263.006};
constexpr SplitWindow kNoaa12Night{2.384376, 0.967077, 0.480788, -263.94};
constexpr SplitWindow kNoaa14Day{2.139588, 1.017342, 0.779706, -278.43};
constexpr SplitWindow kNoaa14Night{2.275385, 1.029088, 0.752567, -282.24};

constexpr std::array kSst{
    SstCoefficients{12, kNoaa12Day, kNoaa12Night, true},
    SstCoefficients{14, kNoaa14Day, kNoaa14Night, true},
    SstCoefficients{15, kNoaa14Day, kNoaa14Night, false},
    SstCoefficients{16, kNoaa14Day, kNoaa14Night, false},
    SstCoefficients{17, kNoaa14Day, kNoaa14Night, false},
    SstCoefficients{18, kNoaa14Day, kNoaa14Night, false},
    SstCoefficients{19, kNoaa14Day, kNoaa14Night, false},
    SstCoefficients{kMetopA, kNoaa14Day, kNoaa14Night, false},
    SstCoefficients{kMetopB, kNoaa14Day, kNoaa14Night, false},
    SstCoefficients{kMetopC, kNoaa14Day, kNoaa14Night, false},
};

}  // namespace

const SstCoefficients* SstCoefficientsOf(std::int16_t satId) {
    const auto* found = std::find_if(kSst.begin(), kSst.end(),
                                     [&](const SstCoefficients& s) { return s.SatId == satId; });
    return found == kSst.end() ? nullptr : found;
}

std::optional<double> SeaSurfaceTemperature(std::int16_t satId, bool day, double t4K, double t5K,
                                            double zenithDegrees) {
    const SstCoefficients* sst = SstCoefficientsOf(satId);
    if (sst == nullptr || !(std::abs(zenithDegrees) < 90.0)) {
        return std::nullopt;
    }
    const double cosZenith = std::cos(Radians(zenithDegrees));
    const SplitWindow& e = day ? sst->Day : sst->Night;
    const double split = t4K - t5K;
    return e.A * split + e.B * t4K + e.C * split * (1.0 / cosZenith - 1.0) + e.D;
}

// ---- Clear sea -------------------------------------------------------------------------------

SeaVerdict ClearSeaTest(const SeaPixel& pixel) {
    using T = ClearSeaThresholds;
    const double split = pixel.T4K - pixel.T5K;
    const bool thermalCloud = pixel.T4K < T::kLeastT4K ||
                              !(split > T::kLeastSplitK && split < T::kMostSplitK) ||
                              (pixel.T4Range3x3K && *pixel.T4Range3x3K > T::kMostT4Range3x3K);
    if (!pixel.Day) {
        return thermalCloud ? SeaVerdict::Cloud : SeaVerdict::ClearSea;
    }
    const double ratio = pixel.Albedo1 > 0.0 ? pixel.Albedo2 / pixel.Albedo1 : 0.0;
    const bool cloudRatio = ratio >= T::kLeastCloudRatio && ratio <= T::kMostCloudRatio;
    // Land is neither uniform nor bound to the sea's split-window range: a bright pixel is told
    // from cloud by its ratio and its coldness alone.
    if (pixel.Albedo2 > T::kMostAlbedo2) {
        return cloudRatio || pixel.T4K < T::kLeastT4K ? SeaVerdict::Cloud : SeaVerdict::Land;
    }
    if (thermalCloud) {
        return SeaVerdict::Cloud;
    }
    return ratio < T::kMostRatio ? SeaVerdict::ClearSea : SeaVerdict::Land;
}

bool IsDay(double solarZenithDegrees) {
    return solarZenithDegrees < ClearSeaThresholds::kMostDaySolarZenith;
}

bool IsDayByCounts(const SatelliteCoefficients& sat, double count1, double count2) {
    const double margin = ClearSeaThresholds::kDarkCountMargin;
    return count1 > sat.Visible[0].DarkCount + margin || count2 > sat.Visible[1].DarkCount + margin;
}

// ---- Vegetation index ------------------------------------------------------------------------

std::optional<double> Ndvi(double albedo1, double albedo2) {
    const double sum = albedo1 + albedo2;
    if (!(sum >= kLeastNdviAlbedoSum)) {
        return std::nullopt;
    }
    return (albedo2 - albedo1) / sum;
}

}  // namespace qiv::avhrr
