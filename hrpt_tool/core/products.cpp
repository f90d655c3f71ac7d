#include "hrpt_tool/core/products.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <limits>
#include <span>
#include <system_error>
#include <vector>

#include "avhrr/calibration.h"
#include "avhrr/coefficients.h"
#include "avhrr/frame.h"
#include "common/core/binary_file.h"
#include "common/core/dimension_header.h"
#include "common/core/replacing_file.h"
#include "hrpt_tool/core/hrp_file.h"
#include "hrpt_tool/core/line_record.h"
#include "hrpt_tool/core/recording_import.h"

namespace qiv::swathly {
namespace {

namespace av = qiv::avhrr;

// Whole lines are read in blocks of about a megabyte. Two blocks are held: the calibration of a
// line is complete only kHalfWindow lines later, when its earth view may lie in the block before.
constexpr std::int64_t kLinesPerBlock = 48;
static_assert(kLinesPerBlock > av::CalibrationAverager::kHalfWindow + 1);
// Product lines are written in blocks of the same number of lines.
constexpr std::int64_t kCalSampleBytes = 10;
constexpr double kKelvinOfCelsius = 273.15;
constexpr double kNan = std::numeric_limits<double>::quiet_NaN();
// A pass cannot be dated after its satellite's life: the drift of the visible slopes is a fit
// over years, not a law for centuries.
constexpr double kMostYearsSinceLaunch = 50.0;
constexpr int kCounts = av::kMostCount + 1;

// A real value as a product word: rounded halves to even (the default rounding mode) and held at
// the limits of 16 bits; no value at all is kNoData.
inline std::int16_t ProductWord(double value) {
    constexpr double kHeld = 40000.0;
    if (!(std::abs(value) <= kHeld)) {
        if (std::isnan(value) || std::isinf(value)) {
            return kNoData;
        }
        return value < 0.0 ? std::numeric_limits<std::int16_t>::min()
                           : std::numeric_limits<std::int16_t>::max();
    }
    // Adding and taking away 1.5 x 2^52 rounds to an integer in the current rounding mode, as
    // std::nearbyint does, for any magnitude below 2^51; the sum stays inline where nearbyint is
    // a call into the library.
    constexpr double kRounder = 0x1.8p52;
    const double rounded = (value + kRounder) - kRounder;
    return static_cast<std::int16_t>(std::clamp(rounded, -32768.0, 32767.0));
}

bool IsCount(int value) {
    return value >= 0 && value <= av::kMostCount;
}

// The time of each line. Line 1's frame time code lies under the pass header, so its time is
// the header's; a later line takes its own time code when it names a moment on the pass's day
// (or the next) that agrees with the line before's code, 1/6 s apart, or with the time carried
// on from the last code taken. Any other code is damaged, and the line is 1/6 s after the one
// before.
class LineClock {
public:
    LineClock(double firstSeconds, int firstDayOfYear)
        : time_(firstSeconds), firstDay_(firstDayOfYear) {
        times_.First = firstSeconds;
        times_.Last = firstSeconds;
    }

    void Next(std::span<const std::uint8_t> frame) {
        constexpr double kLine = 1.0 / 6.0;
        const double carried = time_ + kLine;
        const std::optional<double> code = CodeSeconds(av::DecodeTimeCode(frame));
        const bool withLineBefore =
            code && havePrevious_ && std::abs(*code - previousCode_ - kLine) <= 0.005;
        const bool withCarried = code && anyTaken_ && std::abs(*code - carried) <= 0.02;
        if (withLineBefore || withCarried) {
            time_ = *code;
            anyTaken_ = true;
            ++times_.TimeCodesUsed;
        } else {
            time_ = carried;
        }
        havePrevious_ = code.has_value();
        previousCode_ = code.value_or(0.0);
        times_.Last = time_;
    }

    const LineTimes& Times() const { return times_; }

private:
    std::optional<double> CodeSeconds(const av::TimeCode& code) const {
        if (code.Millisecond < 0 || code.Millisecond >= 86'400'000) {
            return std::nullopt;
        }
        int days = -1;
        if (code.Day == firstDay_) {
            days = 0;
        } else if (code.Day == firstDay_ + 1 || (firstDay_ >= 365 && code.Day == 1)) {
            days = 1;
        }
        if (days < 0) {
            return std::nullopt;
        }
        return 86400.0 * days + static_cast<double>(code.Millisecond) / 1000.0;
    }

    double time_;
    int firstDay_;
    bool anyTaken_ = false;
    bool havePrevious_ = false;
    double previousCode_ = 0.0;
    LineTimes times_;
};

// The input's lines, read a block at a time into one of two buffers.
class PassReader {
public:
    PassReader(BinaryFile& input, std::int64_t lines) : input_(input), lines_(lines) {
        const auto bytes = static_cast<std::size_t>(std::min(lines, kLinesPerBlock) * kLineBytes);
        for (auto& block : blocks_) {
            block.resize(bytes);
        }
    }

    // Makes line `line` (from 0) and the lines of its block ready.
    Failure Load(std::int64_t line) {
        const std::int64_t block = line / kLinesPerBlock;
        const auto slot = static_cast<std::size_t>(block % 2);
        if (loaded_[slot] == block) {
            return {};
        }
        const std::int64_t first = block * kLinesPerBlock;
        const std::int64_t count = std::min(kLinesPerBlock, lines_ - first);
        const std::span<std::uint8_t> bytes(blocks_[slot].data(),
                                            static_cast<std::size_t>(count * kLineBytes));
        loaded_[slot] = -1;
        if (Failure failure = input_.ReadAt(first * kLineBytes, bytes)) {
            return failure;
        }
        loaded_[slot] = block;
        return {};
    }

    // Line `line` of a block that is loaded.
    std::span<const std::uint8_t> Frame(std::int64_t line) const {
        const std::int64_t block = line / kLinesPerBlock;
        const auto slot = static_cast<std::size_t>(block % 2);
        if (loaded_[slot] != block) {
            return {};
        }
        const auto at = static_cast<std::size_t>((line - block * kLinesPerBlock) * kLineBytes);
        return std::span<const std::uint8_t>(blocks_[slot]).subspan(at, kLineBytes);
    }

private:
    BinaryFile& input_;
    std::int64_t lines_;
    std::array<std::vector<std::uint8_t>, 2> blocks_;
    std::array<std::int64_t, 2> loaded_{-1, -1};
};

// One line in physical units; NaN where a value cannot be had.
struct Row {
    std::int64_t Line = -1;
    bool Channel3A = false;
    bool Calibrated = false;  // channels 4 and 5
    std::array<double, kEarthSamples> Albedo1{};
    std::array<double, kEarthSamples> Albedo2{};
    std::array<double, kEarthSamples> T3{};
    std::array<double, kEarthSamples> T4{};
    std::array<double, kEarthSamples> T5{};
    std::array<bool, kEarthSamples> Day{};
};

// Brightness temperatures of the counts of one line's calibration, worked out as the counts
// come: a line holds a few hundred distinct counts of each channel, and their temperature is
// the costly part.
class ThermalTable {
public:
    ThermalTable() { stamps_.fill(-1); }

    void Start(std::optional<av::ThermalCalibration> calibration, std::int64_t line) {
        calibration_ = calibration;
        line_ = line;
    }

    double Kelvin(int count) {
        if (!calibration_ || !IsCount(count)) {
            return kNan;
        }
        const auto c = static_cast<std::size_t>(count);
        if (stamps_[c] != line_) {
            stamps_[c] = line_;
            kelvin_[c] = calibration_->Kelvin(count).value_or(kNan);
        }
        return kelvin_[c];
    }

private:
    std::optional<av::ThermalCalibration> calibration_;
    std::int64_t line_ = -1;
    std::array<double, kCounts> kelvin_{};
    std::array<std::int64_t, kCounts> stamps_{};
};

// The three products, a block of lines at a time, each into its pending file.
class ProductWriter {
public:
    ProductWriter(const ProductPaths& paths) : paths_{paths.Cal, paths.Sst, paths.Ndv} {
        calBlock_.resize(static_cast<std::size_t>(kLinesPerBlock * kCalRecordBytes));
        sstBlock_.resize(static_cast<std::size_t>(kLinesPerBlock * kSingleBandRecordBytes));
        ndvBlock_.resize(sstBlock_.size());
    }

    Failure Open(const std::array<std::string, 3>& headerTexts, std::int64_t lines) {
        std::array<ReplacingFile*, 3> files{&cal_, &sst_, &ndv_};
        for (std::size_t k = 0; k < files.size(); ++k) {
            if (Failure failure = files[k]->Open(paths_[k], ".products")) {
                return failure;
            }
            std::vector<std::uint8_t> header(
                static_cast<std::size_t>(k == 0 ? kCalRecordBytes : kSingleBandRecordBytes));
            WriteInt16Le(header.data(), static_cast<std::int16_t>(lines));
            const std::string& text = headerTexts[k];
            std::memcpy(header.data() + 2, text.data(), std::min(text.size(), header.size() - 2));
            if (Failure failure = files[k]->WriteAt(0, header)) {
                return failure;
            }
        }
        return {};
    }

    // The records of the next line, to be filled.
    std::uint8_t* CalLine() {
        return &calBlock_[static_cast<std::size_t>(held_ * kCalRecordBytes)];
    }
    std::uint8_t* SstLine() {
        return &sstBlock_[static_cast<std::size_t>(held_ * kSingleBandRecordBytes)];
    }
    std::uint8_t* NdvLine() {
        return &ndvBlock_[static_cast<std::size_t>(held_ * kSingleBandRecordBytes)];
    }

    Failure LineDone() {
        ++held_;
        return held_ == kLinesPerBlock ? Flush() : Failure{};
    }

    Failure Flush() {
        const auto write = [&](ReplacingFile& file, const std::vector<std::uint8_t>& block,
                               std::int64_t record) {
            return file.WriteAt((written_ + 1) * record,
                                std::span(block.data(), static_cast<std::size_t>(held_ * record)));
        };
        if (held_ > 0) {
            if (Failure failure = write(cal_, calBlock_, kCalRecordBytes)) {
                return failure;
            }
            if (Failure failure = write(sst_, sstBlock_, kSingleBandRecordBytes)) {
                return failure;
            }
            if (Failure failure = write(ndv_, ndvBlock_, kSingleBandRecordBytes)) {
                return failure;
            }
        }
        written_ += held_;
        held_ = 0;
        return {};
    }

    Failure Commit() {
        if (Failure failure = Flush()) {
            return failure;
        }
        // A set is whole or not there: when a later file cannot take its name, the ones that
        // took theirs go again.
        const std::array<ReplacingFile*, 3> files{&cal_, &sst_, &ndv_};
        for (std::size_t k = 0; k < files.size(); ++k) {
            if (Failure failure = files[k]->Commit()) {
                for (std::size_t j = 0; j < k; ++j) {
                    std::error_code ignored;
                    std::filesystem::remove(paths_[j], ignored);
                }
                return failure;
            }
        }
        return {};
    }

private:
    std::array<std::string, 3> paths_;
    ReplacingFile cal_;
    ReplacingFile sst_;
    ReplacingFile ndv_;
    std::vector<std::uint8_t> calBlock_;
    std::vector<std::uint8_t> sstBlock_;
    std::vector<std::uint8_t> ndvBlock_;
    std::int64_t held_ = 0;
    std::int64_t written_ = 0;
};

// The text of the header records, after the line count.
std::array<std::string, 3> ProductHeaderTexts(const ProductSummary& s, const LineHeaderRecord& h) {
    char head[160];
    std::snprintf(head, sizeof head,
                  "Satellite: %s (Sat Id %d)\r\nDate: %04d-%02d-%02d  Start: %02d:%02d:%02d UTC\r\n"
                  "Lines: %lld  Samples per line: %d\r\n",
                  s.Satellite.c_str(), s.SatId, s.Year, s.Month, s.Day, h.Hour, h.Minute, h.Secs,
                  static_cast<long long>(s.Lines), kEarthSamples);
    const std::string common = head;
    const std::string noData = "No data: -999\r\n";
    return {
        "QIV CAL product of an AVHRR HRPT pass\r\n" + common +
            "Sample: 5 bands of little-endian signed 16-bit words\r\n"
            "Band 1: channel 1 albedo in half percent (2 x %)\r\n"
            "Band 2: channel 2 albedo in half percent (2 x %)\r\n"
            "Band 3: channel 3B brightness temperature in degrees Celsius + 100 (no data on "
            "lines in 3A mode)\r\n"
            "Band 4: channel 4 brightness temperature in degrees Celsius + 100\r\n"
            "Band 5: channel 5 brightness temperature in degrees Celsius + 100\r\n" +
            noData,
        "QIV SST product of an AVHRR HRPT pass\r\n" + common +
            "Sample: 1 band of little-endian signed 16-bit words\r\n"
            "Band 1: sea surface temperature over clear sea in tenths of a degree Celsius\r\n" +
            noData,
        "QIV NDV product of an AVHRR HRPT pass\r\n" + common +
            "Sample: 1 band of little-endian signed 16-bit words\r\n"
            "Band 1: vegetation index as 100 x (NDVI + 1)\r\n" +
            noData,
    };
}

// What the first bytes of the input say it is.
std::optional<Refusal> WrongKind(std::span<const std::uint8_t> start, std::int64_t size) {
    if (start.size() >= static_cast<std::size_t>(kFrameSyncBytes) &&
        RecordingOrder(start.first<kFrameSyncBytes>())) {
        return Refusal::RecordingAsInput;
    }
    const std::int64_t n = start.size() >= 2 ? ReadInt16Le(start.data()) : -1;
    const bool productSize =
        n >= 0 && (size == (n + 1) * kCalRecordBytes || size == (n + 1) * kSingleBandRecordBytes);
    const bool productText = start.size() >= 6 && std::memcmp(start.data() + 2, "QIV ", 4) == 0;
    if (productSize || productText) {
        return Refusal::ProductAsInput;
    }
    return std::nullopt;
}

// The spacecraft address that most of the loaded lines from line 2 on carry, and the satellite
// it names; -1 when no line names one.
int MostAddress(const PassReader& reader, std::int64_t lines) {
    std::array<int, 16> votes{};
    for (std::int64_t line = 1; line < std::min(lines, kLinesPerBlock); ++line) {
        const int address = av::SpacecraftAddress(reader.Frame(line));
        if (av::SpacecraftOfAddress(address) != nullptr) {
            ++votes[static_cast<std::size_t>(address)];
        }
    }
    const auto most = std::max_element(votes.begin(), votes.end());
    return *most == 0 ? -1 : static_cast<int>(most - votes.begin());
}

// The products of one pass once the input is accepted.
class Pass {
public:
    Pass(const av::SatelliteCoefficients& sat, double years, ProductSummary& summary)
        : sat_(sat), summary_(summary), rows_(3) {
        for (int c = 0; c < kCounts; ++c) {
            const auto k = static_cast<std::size_t>(c);
            albedo1_[k] = av::Albedo(sat, av::VisibleChannel::Ch1, c, years);
            albedo2_[k] = av::Albedo(sat, av::VisibleChannel::Ch2, c, years);
        }
        for (int s = 0; s < kEarthSamples; ++s) {
            zenith_[static_cast<std::size_t>(s)] = av::SatelliteZenith(s + 1, av::kMeanHeightKm);
        }
    }

    // Line `cal.Line` in physical units, from its frame and its averaged calibration.
    void Calibrate(std::span<const std::uint8_t> frame, const av::LineCalibration& cal) {
        Row& row = rows_[static_cast<std::size_t>(cal.Line % 3)];
        row.Line = cal.Line;
        row.Channel3A = cal.Channel3A;
        row.Calibrated = cal.Valid[1] && cal.Valid[2];
        ++(cal.Channel3A ? summary_.Lines3A : summary_.Lines3B);
        summary_.UncalibratedLines += row.Calibrated ? 0 : 1;

        constexpr std::array kThermal{av::ThermalChannel::Ch3B, av::ThermalChannel::Ch4,
                                      av::ThermalChannel::Ch5};
        for (std::size_t t = 0; t < 3; ++t) {
            const bool usable = cal.Valid[t] && !(t == 0 && cal.Channel3A);
            tables_[t].Start(
                usable ? std::optional(av::ThermalCalibration(sat_, kThermal[t], cal.Thermal[t]))
                       : std::nullopt,
                cal.Line);
        }
        for (int s = 0; s < kEarthSamples; ++s) {
            const auto k = static_cast<std::size_t>(s);
            const int c1 = av::WordOf(frame, av::EarthWord(s + 1, 1));
            const int c2 = av::WordOf(frame, av::EarthWord(s + 1, 2));
            const bool visible = IsCount(c1) && IsCount(c2);
            row.Albedo1[k] = IsCount(c1) ? albedo1_[static_cast<std::size_t>(c1)] : kNan;
            row.Albedo2[k] = IsCount(c2) ? albedo2_[static_cast<std::size_t>(c2)] : kNan;
            row.Day[k] = visible && av::IsDayByCounts(sat_, c1, c2);
            row.T3[k] = tables_[0].Kelvin(av::WordOf(frame, av::EarthWord(s + 1, 3)));
            row.T4[k] = tables_[1].Kelvin(av::WordOf(frame, av::EarthWord(s + 1, 4)));
            row.T5[k] = tables_[2].Kelvin(av::WordOf(frame, av::EarthWord(s + 1, 5)));
        }
    }

    // The product records of line `line`, whose neighbours are calibrated (or lie outside the
    // pass: `lines`).
    void Write(std::int64_t line, std::int64_t lines, ProductWriter& writer) {
        const Row& row = rows_[static_cast<std::size_t>(line % 3)];
        std::array<const Row*, 3> around{};
        std::size_t n = 0;
        for (std::int64_t j = std::max<std::int64_t>(0, line - 1);
             j <= std::min(lines - 1, line + 1); ++j) {
            around[n++] = &rows_[static_cast<std::size_t>(j % 3)];
        }
        // Channel 4's least and most over the 3 x 3 pixels: first down the lines, then along.
        for (int s = 0; s < kEarthSamples; ++s) {
            const auto k = static_cast<std::size_t>(s);
            double least = std::numeric_limits<double>::infinity();
            double most = -least;
            for (std::size_t i = 0; i < n; ++i) {
                const double t = around[i]->T4[k];
                if (std::isfinite(t)) {
                    least = std::min(least, t);
                    most = std::max(most, t);
                }
            }
            columnLeast_[k] = least;
            columnMost_[k] = most;
        }

        std::uint8_t* cal = writer.CalLine();
        std::uint8_t* sst = writer.SstLine();
        std::uint8_t* ndv = writer.NdvLine();
        for (int s = 0; s < kEarthSamples; ++s) {
            const auto k = static_cast<std::size_t>(s);
            const double a1 = row.Albedo1[k];
            const double a2 = row.Albedo2[k];
            const double t4 = row.T4[k];
            const double t5 = row.T5[k];
            std::uint8_t* sample = cal + kCalSampleBytes * s;
            WriteInt16Le(sample, ProductWord(2.0 * a1));
            WriteInt16Le(sample + 2, ProductWord(2.0 * a2));
            WriteInt16Le(sample + 4, ProductWord(row.T3[k] - kKelvinOfCelsius + 100.0));
            WriteInt16Le(sample + 6, ProductWord(t4 - kKelvinOfCelsius + 100.0));
            WriteInt16Le(sample + 8, ProductWord(t5 - kKelvinOfCelsius + 100.0));

            double sea = kNan;
            if (std::isfinite(t4) && std::isfinite(t5) && (!row.Day[k] || std::isfinite(a1 + a2))) {
                const std::size_t from = k == 0 ? 0 : k - 1;
                const std::size_t to = std::min<std::size_t>(kEarthSamples - 1, k + 1);
                double least = columnLeast_[from];
                double most = columnMost_[from];
                for (std::size_t j = from + 1; j <= to; ++j) {
                    least = std::min(least, columnLeast_[j]);
                    most = std::max(most, columnMost_[j]);
                }
                const av::SeaPixel pixel{row.Day[k], a1, a2, t4, t5, most - least};
                if (av::ClearSeaTest(pixel) == av::SeaVerdict::ClearSea) {
                    ++summary_.ClearSeaSamples;
                    const std::optional<double> celsius =
                        av::SeaSurfaceTemperature(sat_.SatId, row.Day[k], t4, t5, zenith_[k]);
                    sea = celsius ? 10.0 * *celsius : kNan;
                }
            }
            WriteInt16Le(sst + 2 * s, ProductWord(sea));

            double vegetation = kNan;
            if (row.Day[k]) {
                // A count below its dark count gives a negative albedo, and with it a ratio
                // beyond ±1 that is no vegetation index.
                const std::optional<double> index = av::Ndvi(a1, a2);
                if (index && std::abs(*index) <= 1.0) {
                    vegetation = 100.0 * (*index + 1.0);
                }
            }
            WriteInt16Le(ndv + 2 * s, ProductWord(vegetation));
        }
        summary_.Samples += kEarthSamples;
    }

private:
    const av::SatelliteCoefficients& sat_;
    ProductSummary& summary_;
    std::vector<Row> rows_;  // lines i % 3
    std::array<ThermalTable, 3> tables_;
    std::array<double, kCounts> albedo1_{};
    std::array<double, kCounts> albedo2_{};
    std::array<double, kEarthSamples> zenith_{};
    std::array<double, kEarthSamples> columnLeast_{};
    std::array<double, kEarthSamples> columnMost_{};
};

std::optional<int> DayOfYear(const LineHeaderRecord& h) {
    using namespace std::chrono;
    const year_month_day date{year{h.Year}, month{static_cast<unsigned>(std::max<int>(0, h.Month))},
                              day{static_cast<unsigned>(std::max<int>(0, h.Day))}};
    if (h.Year < 1 || h.Month < 1 || h.Day < 1 || !date.ok()) {
        return std::nullopt;
    }
    return static_cast<int>((sys_days{date} - sys_days{year{h.Year} / January / 1}).count()) + 1;
}

// The input's size and first line, or why it is no HRP pass.
CommandOutcome InputKind(BinaryFile& input, std::int64_t& size, std::vector<std::uint8_t>& start) {
    if (Failure failure = input.Size(size)) {
        return failure;
    }
    start.resize(static_cast<std::size_t>(std::min<std::int64_t>(size, kLineBytes)));
    if (Failure failure = input.ReadAt(0, start)) {
        return failure;
    }
    if (const std::optional<Refusal> kind = WrongKind(start, size)) {
        return *kind;
    }
    if (size < kLineBytes) {
        return {Refusal::NoWholeLine, size};
    }
    return {};
}

}  // namespace

CommandOutcome CheckProductsInput(const std::string& inputPath) {
    BinaryFile input(FileRole::Input);
    if (Failure failure = input.Open(inputPath, BinaryFile::Mode::Read)) {
        return failure;
    }
    std::int64_t size = 0;
    std::vector<std::uint8_t> start;
    return InputKind(input, size, start);
}

std::string ProductStem(const std::string& name) {
    const auto dot = name.rfind('.');
    const auto slash = name.find_last_of("/\\");
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) {
        return name;
    }
    std::string ending = name.substr(dot + 1);
    for (char& c : ending) {
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return ending == "cal" || ending == "sst" || ending == "ndv" ? name.substr(0, dot) : name;
}

ProductPaths ProductPathsOf(const std::string& stem) {
    return {stem + ".cal", stem + ".sst", stem + ".ndv"};
}

std::optional<std::int16_t> SatIdOfName(std::string_view name) {
    std::string key;
    for (const char c : name) {
        if (c != '-' && c != '_' && c != ' ') {
            key += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        }
    }
    struct Named {
        std::string_view Key;
        std::int16_t SatId;
    };
    static constexpr std::array kNames{
        Named{"noaa12", 12},          Named{"noaa14", 14},          Named{"noaa15", 15},
        Named{"noaa16", 16},          Named{"noaa17", 17},          Named{"noaa18", 18},
        Named{"noaa19", 19},          Named{"metopa", av::kMetopA}, Named{"metopb", av::kMetopB},
        Named{"metopc", av::kMetopC},
    };
    for (const Named& n : kNames) {
        if (key == n.Key) {
            return n.SatId;
        }
    }
    return std::nullopt;
}

CommandOutcome MakeProducts(const std::string& inputPath, const ProductPaths& outputs,
                            std::optional<std::int16_t> satellite, ProductSummary& summary) {
    summary = {};
    BinaryFile input(FileRole::Input);
    if (Failure failure = input.Open(inputPath, BinaryFile::Mode::Read)) {
        return failure;
    }
    for (const std::string* output : {&outputs.Cal, &outputs.Sst, &outputs.Ndv}) {
        if (SameFile(inputPath, *output)) {
            return Failure(
                Failure::Details{FileProblem::IsTheInput, FileRole::Output, *output, {}});
        }
    }
    for (const std::string* output : {&outputs.Cal, &outputs.Sst, &outputs.Ndv}) {
        std::error_code error;
        if (std::filesystem::is_directory(*output, error)) {
            Failure::Details details;
            details.Problem = FileProblem::CannotOpen;
            details.Role = FileRole::Output;
            details.Path = *output;
            details.Reason = std::make_error_code(std::errc::is_a_directory).message();
            return Failure(details);
        }
    }
    std::int64_t size = 0;
    std::vector<std::uint8_t> start;
    if (CommandOutcome kind = InputKind(input, size, start); !kind.Done()) {
        return kind;
    }

    // Everything that refuses the input is decided before an output is opened.
    const LineHeaderRecord header = DecodeLineHeader(std::span(start).first<kLineHeaderBytes>());
    summary.StatedLines = LineCountOf(header);
    const std::int64_t present = size / kLineBytes;
    const std::int64_t lines = std::min(summary.StatedLines, present);
    summary.MissingLines = summary.StatedLines - lines;
    if (summary.StatedLines == 0) {
        return Refusal::NoLinesStated;
    }
    if (lines > kMostProductLines) {
        return {Refusal::TooManyProductLines, lines, kMostProductLines};
    }
    PassReader reader(input, lines);
    if (Failure failure = reader.Load(0)) {
        return failure;
    }

    const av::SatelliteCoefficients* sat = nullptr;
    if (satellite) {
        sat = av::CoefficientsOf(*satellite);
        summary.Source = SatelliteSource::Override;
        if (sat == nullptr) {
            return {Refusal::UnknownSatelliteNamed, *satellite};
        }
    } else if ((sat = av::CoefficientsOf(header.SatId)) != nullptr) {
        summary.Source = SatelliteSource::Header;
    } else {
        const int address = MostAddress(reader, lines);
        const av::Spacecraft* craft = av::SpacecraftOfAddress(address);
        sat = craft != nullptr ? av::CoefficientsOf(craft->SatId) : nullptr;
        summary.Source = SatelliteSource::Address;
        if (sat == nullptr) {
            return {Refusal::UnknownSatellite, header.SatId, address};
        }
    }
    summary.SatId = sat->SatId;
    summary.Satellite = sat->Name;
    summary.SstPublished = av::SstCoefficientsOf(sat->SatId) != nullptr &&
                           av::SstCoefficientsOf(sat->SatId)->Published;
    summary.Year = header.Year;
    summary.Month = header.Month;
    summary.Day = header.Day;
    const std::optional<int> dayOfYear = DayOfYear(header);
    const double years = dayOfYear ? av::YearsSinceLaunch(*sat, header.Year, *dayOfYear) : -1.0;
    if (!dayOfYear || years < -1.0 / 365.0 || years > kMostYearsSinceLaunch) {
        return {Refusal::NoPassDate, sat->SatId,
                header.Year * 10000LL + header.Month * 100 + header.Day};
    }
    summary.Lines = lines;

    ProductWriter writer(outputs);
    if (Failure failure = writer.Open(ProductHeaderTexts(summary, header), lines)) {
        return failure;
    }
    Pass pass(*sat, years, summary);
    av::CalibrationAverager averager(*sat);
    LineClock clock(header.Hour * 3600.0 + header.Minute * 60.0 + header.Secs, *dayOfYear);
    const auto calibrated = [&](const av::LineCalibration& cal) -> Failure {
        pass.Calibrate(reader.Frame(cal.Line), cal);
        // A line's record waits for the line after it, whose channel 4 its cloud test looks at.
        if (cal.Line >= 1) {
            pass.Write(cal.Line - 1, lines, writer);
            return writer.LineDone();
        }
        return {};
    };
    for (std::int64_t line = 0; line < lines; ++line) {
        if (Failure failure = reader.Load(line)) {
            return failure;
        }
        const std::span<const std::uint8_t> frame = reader.Frame(line);
        std::optional<av::CalibrationWords> words = av::ReadCalibrationWords(frame);
        if (line == 0) {
            // Line 1's ID word lies under the pass header: its channel 3 mode is line 2's.
            words->Channel3A = lines > 1 && av::Channel3ASent(reader.Frame(1));
        } else {
            clock.Next(frame);
        }
        if (const std::optional<av::LineCalibration> cal = averager.Feed(*words)) {
            if (Failure failure = calibrated(*cal)) {
                return failure;
            }
        }
    }
    while (const std::optional<av::LineCalibration> cal = averager.Finish()) {
        if (Failure failure = calibrated(*cal)) {
            return failure;
        }
    }
    pass.Write(lines - 1, lines, writer);
    summary.Times = clock.Times();
    summary.FilledLines = averager.RefusedLines();
    if (summary.UncalibratedLines == lines) {
        return Refusal::NoCalibration;
    }
    if (Failure failure = writer.LineDone()) {
        return failure;
    }
    if (Failure failure = writer.Commit()) {
        return failure;
    }
    return {};
}

}  // namespace qiv::swathly
