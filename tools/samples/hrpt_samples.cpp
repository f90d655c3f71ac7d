#include "tools/samples/hrpt_samples.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <span>
#include <system_error>
#include <vector>

#include "avhrr/calibration.h"
#include "avhrr/coefficients.h"
#include "avhrr/frame.h"
#include "common/core/binary_file.h"
#include "common/core/dimension_header.h"
#include "hrpt_tool/core/hrp_file.h"
#include "hrpt_tool/core/line_record.h"
#include "hrpt_tool/core/products.h"
#include "hrpt_tool/core/swathly_state.h"
#include "tools/samples/noise.h"
#include "tools/samples/sample_folder.h"

namespace qiv::samples {
namespace {

using swathly::kChannels;
using swathly::kEarthSamples;
using swathly::kLineBytes;

// Sensor noise of a few counts, -2..2.
int Noise(std::int32_t x, std::int32_t y, std::uint32_t seed) {
    return static_cast<int>(Hash(x, y, seed) % 5u) - 2;
}

std::int16_t Count(double value) {
    return static_cast<std::int16_t>(std::clamp(std::lround(value), 0L, 1023L));
}

// What one earth-view sample sees, in physical units.
struct Sample {
    std::array<double, 2> Albedo{};      // percent, channels 1 and 2
    std::array<double, 3> Brightness{};  // degrees Celsius, channels 3, 4 and 5
    bool ClearSea = false;
    double SeaTemperature = 0.0;
};

// Land lies to the east of a ragged coast, the sea warms towards the south, and broken cloud
// with cold tops drifts over both. Positions are in samples and lines, so that a shorter pass
// is the top of the full one.
Sample SceneAt(std::int32_t line, std::int32_t column) {
    const double x = column / 180.0;
    const double y = line / 180.0;
    const double tilt = (column / 2048.0 - 0.5) * 0.5 + (line / 1200.0 - 0.5) * 0.15;
    const double height = Fractal(0.8 * x, 0.8 * y, 6, 11u) + tilt - 0.5;
    const double land = Ramp(-0.01, 0.01, height);
    const double vegetation = Fractal(2.0 * x, 2.0 * y, 4, 23u) * (1.0 - Ramp(0.05, 0.25, height));
    const double cloud = Ramp(0.58, 0.72, Fractal(1.2 * x, 1.5 * y, 5, 37u));
    const double tops = Fractal(3.0 * x, 3.0 * y, 3, 41u);
    const double sst = 13.5 + 9.0 * line / 1200.0 + 3.0 * (Fractal(1.5 * x, 1.5 * y, 3, 53u) - 0.5);
    const double landTemperature = 24.0 + 10.0 * (1.0 - vegetation) - 20.0 * std::max(height, 0.0);

    const auto blend = [&](double sea, double ground, double top) {
        const double surface = sea + (ground - sea) * land;
        return surface + (top - surface) * cloud;
    };
    Sample s;
    s.Albedo[0] = blend(4.0, 8.0 + 14.0 * (1.0 - vegetation), 45.0 + 35.0 * tops);
    s.Albedo[1] = blend(2.5, 12.0 + 30.0 * vegetation, 42.0 + 33.0 * tops);
    const double thermal = blend(sst - 1.0, landTemperature, -5.0 - 50.0 * tops);
    s.Brightness[0] = thermal + blend(0.5, 2.0, 25.0);
    s.Brightness[1] = thermal;
    s.Brightness[2] = thermal - blend(1.5, 1.0, 0.5);
    s.ClearSea = land < 0.5 && cloud < 0.2;
    s.SeaTemperature = sst;
    return s;
}

// The pass is NOAA-14's on 21 July 1998: the earth counts are those its AVHRR would have sent
// for the scene, found by running its calibration (avhrr/) backwards from the scene's albedos and
// temperatures, so that the products made from the pass give the scene back.
constexpr std::int16_t kSampleSatId = 14;
constexpr int kSampleYear = 1998;
constexpr int kSampleDayOfYear = 202;

const avhrr::SatelliteCoefficients& SampleSatellite() {
    return *avhrr::CoefficientsOf(kSampleSatId);
}

// The calibration words: every line carries one thermometer's count (three readings of it), the
// fifth line of each cycle the reference line of zeros; back-scan and space counts of channels
// 3B, 4 and 5 and the space counts of channels 1 and 2 near their dark counts.
constexpr int kPrtCount = 260;  // about 290 K by NOAA-14's polynomial
constexpr std::array<int, 3> kBackScanCounts{700, 398, 405};
constexpr std::array<int, kChannels> kSpaceCounts{41, 41, 990, 988, 987};

double BlackbodyKelvin() {
    return avhrr::PrtTemperature(SampleSatellite(), 0, kPrtCount);
}

// The count whose albedo (%) is `albedo`: the inverse of avhrr::Albedo.
double VisibleCount(avhrr::VisibleChannel channel, double albedo) {
    const avhrr::SatelliteCoefficients& sat = SampleSatellite();
    const avhrr::VisibleCoefficients& c = sat.Visible[static_cast<std::size_t>(IndexOf(channel))];
    const double years = avhrr::YearsSinceLaunch(sat, kSampleYear, kSampleDayOfYear);
    const double drift = (100.0 + c.S1 * years + c.S2 * years * years) / 100.0;
    const double plain = albedo / drift;
    if (c.SwitchCount <= 0.0 || plain <= c.LowSlope * (c.SwitchCount - c.DarkCount)) {
        return c.DarkCount + plain / c.LowSlope;
    }
    return c.SwitchCount + (plain - c.LowSlope * (c.SwitchCount - c.DarkCount)) / c.HighSlope;
}

// The count whose brightness temperature is `celsius`, with the calibration words above: the
// channel's Planck radiance, Walton et al.'s quadratic undone, and the linear radiance between
// the blackbody's and space's turned into a count.
double ThermalCount(avhrr::ThermalChannel channel, double celsius) {
    const avhrr::SatelliteCoefficients& sat = SampleSatellite();
    const auto t = static_cast<std::size_t>(IndexOf(channel));
    const avhrr::ThermalCoefficients& c = sat.Thermal[t];
    const double radiance = avhrr::PlanckRadiance(c.Wavenumber, c.A + c.B * (celsius + 273.15));
    const double linear =
        c.B2 == 0.0 ? (radiance - c.B0) / (1.0 + c.B1)
                    : (-(1.0 + c.B1) +
                       std::sqrt((1.0 + c.B1) * (1.0 + c.B1) - 4.0 * c.B2 * (c.B0 - radiance))) /
                          (2.0 * c.B2);
    const double blackbody = avhrr::PlanckRadiance(c.Wavenumber, c.A + c.B * BlackbodyKelvin());
    const double space = kSpaceCounts[t + 2];
    return space - (linear - c.SpaceRadiance) * (space - kBackScanCounts[t]) /
                       (blackbody - c.SpaceRadiance);
}

std::array<std::int16_t, kChannels> Counts(const Sample& s, std::int32_t line,
                                           std::int32_t column) {
    using avhrr::ThermalChannel;
    using avhrr::VisibleChannel;
    return {Count(VisibleCount(VisibleChannel::Ch1, s.Albedo[0]) + Noise(column, line, 101u)),
            Count(VisibleCount(VisibleChannel::Ch2, s.Albedo[1]) + Noise(column, line, 102u)),
            Count(ThermalCount(ThermalChannel::Ch3B, s.Brightness[0]) + Noise(column, line, 103u)),
            Count(ThermalCount(ThermalChannel::Ch4, s.Brightness[1]) + Noise(column, line, 104u)),
            Count(ThermalCount(ThermalChannel::Ch5, s.Brightness[2]) + Noise(column, line, 105u))};
}

void FrameSync(std::span<std::uint8_t> frame) {
    for (std::size_t k = 0; k < avhrr::kFrameSync.size(); ++k) {
        avhrr::SetWord(frame, avhrr::kFrameSyncWords.First + static_cast<int>(k),
                       avhrr::kFrameSync[k]);
    }
}

// Everything of an HRPT line but the earth view: frame sync and time words, the telemetry with
// the thermometer readings, the back-scan and space-view words, and plausible filler where the
// program reads nothing.
void FrameWords(std::vector<std::uint8_t>& bytes, std::int32_t line, std::int32_t lines) {
    FrameSync(bytes);
    for (int word = avhrr::kIdWord; word <= avhrr::kTelemetryWords.Last(); ++word) {
        avhrr::SetWord(bytes, word, static_cast<std::uint16_t>((line * 3 + word * 61) & 1023));
    }
    for (int word = avhrr::kSyncDeltaWord; word <= avhrr::kSpareWords.Last(); ++word) {
        avhrr::SetWord(bytes, word, static_cast<std::uint16_t>((line + word * 37) & 1023));
    }
    for (int word = avhrr::kAuxSyncWords.First; word <= avhrr::kAuxSyncWords.Last(); ++word) {
        avhrr::SetWord(bytes, word, static_cast<std::uint16_t>((line * 5 + word * 11) & 1023));
    }
    if (line == 1) {
        swathly::LineHeaderRecord header;
        const char title[] = "NOAA-14 ";
        std::copy(title, title + header.Title.size(), header.Title.begin());
        header.SatId = kSampleSatId;
        header.Month = 7;
        header.Day = 21;
        header.Year = 1998;
        header.Hour = 11;
        header.Minute = 42;
        header.Secs = 17;
        header.RowsLow = static_cast<std::uint8_t>(lines & 0xFF);
        header.RowsHigh = static_cast<std::uint8_t>((lines >> 8) & 0xFF);
        header.TimeDiff = -0.375;
        const auto record = swathly::EncodeLineHeader(header);
        std::copy(record.begin(), record.end(), bytes.begin());
    }
    // The thermometer of this line, its three readings a count or so apart.
    const int slot = (line - 1) % 5;
    for (int k = 0; k < avhrr::kPrtWords.Count; ++k) {
        const int reading = slot == 0 ? 0 : kPrtCount + Noise(k, line, 200u) / 2;
        avhrr::SetWord(bytes, avhrr::kPrtWords.First + k, static_cast<std::uint16_t>(reading));
    }
    // Back-scan: ten looks at the internal target in channels 3B, 4 and 5, interleaved.
    for (int look = 1; look <= avhrr::kCalibrationSamples; ++look) {
        for (int t = 0; t < avhrr::kBackScanChannels; ++t) {
            avhrr::SetWord(bytes, avhrr::BackScanWord(look, t),
                           static_cast<std::uint16_t>(kBackScanCounts[static_cast<std::size_t>(t)] +
                                                      Noise(look * 3 + t, line, 201u)));
        }
    }
    // Space view: ten looks at cold space in all five channels, interleaved.
    for (int look = 1; look <= avhrr::kCalibrationSamples; ++look) {
        for (int c = 1; c <= kChannels; ++c) {
            avhrr::SetWord(
                bytes, avhrr::SpaceViewWord(look, c),
                static_cast<std::uint16_t>(kSpaceCounts[static_cast<std::size_t>(c - 1)] +
                                           Noise(look * 5 + c, line, 202u)));
        }
    }
}

// Words 1-22 of a recording's frame, where the HRP sample has its pass header on line 1 and
// filler elsewhere: the frame sync, the spacecraft address with the minor frame number, the
// time code, and telemetry in ten bits.
void RecordingWords(std::vector<std::uint8_t>& bytes, std::int32_t line) {
    constexpr int kDay = 158;
    constexpr std::int64_t kFirstMillisecond = (9 * 3600 + 41 * 60 + 30) * 1000 + 500;
    FrameSync(bytes);
    if (line == 40 || line == 41 || line == 170) {
        avhrr::SetWord(bytes, 4, avhrr::kFrameSync[3] ^ 0x40);
    }
    constexpr int kNoaa19 = 15;
    avhrr::SetWord(bytes, avhrr::kIdWord,
                   static_cast<std::uint16_t>(((line - 1) % 3 + 1) << 7 | kNoaa19 << 3));
    avhrr::SetWord(bytes, avhrr::kIdWord + 1, 0);
    avhrr::EncodeTimeCode(bytes, {kDay, kFirstMillisecond + (line - 1) * 1000 / 6});
    if (line == 1) {
        // Line 1 carries a day that no year has, so that the import must take its time code
        // from the frames after it.
        avhrr::SetWord(bytes, avhrr::kTimeCodeWords.First, 0x3FF);
    }
    // Ramp calibration of the five channels, the patch temperature and a spare word.
    for (int word = avhrr::kTelemetryWords.First; word <= avhrr::kTelemetryWords.Last(); ++word) {
        if (word >= avhrr::kPrtWords.First && word <= avhrr::kPrtWords.Last()) {
            continue;  // the thermometer readings of FrameWords
        }
        avhrr::SetWord(bytes, word, static_cast<std::uint16_t>(400 + (word * 37 + line % 7) % 200));
    }
}

// A sample file written from its start, one block after the other.
class Output {
public:
    Failure Open(const std::filesystem::path& path) {
        return file_.Open(path, BinaryFile::Mode::WriteTruncate);
    }
    Failure Append(const std::vector<std::uint8_t>& bytes) {
        if (Failure failure = file_.WriteAt(offset_, bytes)) {
            return failure;
        }
        offset_ += static_cast<std::int64_t>(bytes.size());
        return {};
    }

private:
    BinaryFile file_{FileRole::Output};
    std::int64_t offset_ = 0;
};

// The earth view of one line: the five channel counts of every sample of the scene.
void EarthView(std::vector<std::uint8_t>& bytes, std::int32_t line) {
    for (std::int32_t column = 0; column < kEarthSamples; ++column) {
        const auto counts = Counts(SceneAt(line - 1, column), line, column);
        std::uint8_t* earth = &bytes[static_cast<std::size_t>(swathly::kEarthViewOffset +
                                                              swathly::kEarthSampleBytes * column)];
        for (int k = 0; k < kChannels; ++k) {
            WriteInt16Le(earth + 2 * k, counts[static_cast<std::size_t>(k)]);
        }
    }
}

}  // namespace

std::vector<std::uint8_t> RecordingFrame(std::int32_t line, std::int32_t frames) {
    std::vector<std::uint8_t> frame(static_cast<std::size_t>(kLineBytes));
    FrameWords(frame, line, frames);
    RecordingWords(frame, line);
    EarthView(frame, line);
    return frame;
}

Failure WriteHrptRecording(const std::filesystem::path& file, std::int32_t frames,
                           swathly::ByteOrder order) {
    Output recording;
    if (Failure failure = recording.Open(file)) {
        return failure;
    }
    for (std::int32_t line = 1; line <= frames; ++line) {
        std::vector<std::uint8_t> frame = RecordingFrame(line, frames);
        if (order == swathly::ByteOrder::Big) {
            for (std::size_t i = 0; i < frame.size(); i += 2) {
                std::swap(frame[i], frame[i + 1]);
            }
        }
        if (Failure failure = recording.Append(frame)) {
            return failure;
        }
    }
    return {};
}

Failure WriteHrptSamples(const std::filesystem::path& dir, std::int32_t lines) {
    if (Failure failure = MakeFolder(dir)) {
        return failure;
    }
    const std::filesystem::path pass = dir / "avhrr-pass.hrp";
    {
        Output hrp;
        if (Failure failure = hrp.Open(pass)) {
            return failure;
        }
        std::vector<std::uint8_t> hrpLine(static_cast<std::size_t>(kLineBytes));
        for (std::int32_t line = 1; line <= lines; ++line) {
            FrameWords(hrpLine, line, lines);
            EarthView(hrpLine, line);
            if (Failure failure = hrp.Append(hrpLine)) {
                return failure;
            }
        }
    }
    // The products are what the program itself makes of the pass.
    swathly::ProductSummary summary;
    const swathly::CommandOutcome outcome =
        swathly::MakeProducts(pass.string(), swathly::ProductPathsOf((dir / "avhrr-pass").string()),
                              std::nullopt, summary);
    if (outcome.FileFailure() != nullptr) {
        return *outcome.FileFailure();
    }
    if (outcome.Refusal() != nullptr) {
        return Failure::Details{FileProblem::Refused, FileRole::Input, pass.string(),
                                "the products of the sample pass were refused"};
    }
    return {};
}

}  // namespace qiv::samples
