// The calibrated products of an HRP pass: CAL (the five channels as albedo and brightness
// temperature), SST (sea surface temperature over clear sea) and NDV (vegetation index), in the
// product layouts that the quicklook from products reads, made with the AVHRR science of avhrr/.
//
// Every product file is a header record and one record per line, each record as long as a line
// of the product (CAL 2048 x 10 bytes, SST and NDV 2048 x 2 bytes); values are little-endian
// signed 16-bit:
//   header record  the line count N in its first two bytes, then an ASCII text that says what the
//                  file is (product, satellite, date and start time, the unit of each band, the
//                  no-data value), padded with zero bytes
//   record r       line r of the pass (r = 1 .. N)
// Units, as the sample products use them:
//   CAL  bands 1, 2: albedo of channels 1, 2 in half percent (2 x %); bands 3, 4, 5: brightness
//        temperature of channels 3B, 4, 5 in degrees Celsius + 100; band 3 is kNoData on a line
//        sent in channel 3A mode
//   SST  sea surface temperature in tenths of a degree Celsius over clear sea, kNoData elsewhere
//   NDV  100 x (NDVI + 1) of the unrounded albedos, kNoData where the scene is too dark
// Real values are rounded halves to even and held at the limits of 16 bits.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "common/core/failure.h"
#include "hrpt_tool/core/swathly_outcome.h"

namespace qiv::swathly {

inline constexpr std::int16_t kNoData = -999;
inline constexpr std::int64_t kCalRecordBytes = 20480;
inline constexpr std::int64_t kSingleBandRecordBytes = 4096;
// The line count of a product header is a signed 16-bit word.
inline constexpr std::int64_t kMostProductLines = 32767;

// The three files of one product set: STEM.cal, STEM.sst, STEM.ndv.
struct ProductPaths {
    std::string Cal;
    std::string Sst;
    std::string Ndv;
};
// The stem of a name: the name without a .cal, .sst or .ndv ending (any case), else all of it.
std::string ProductStem(const std::string& name);
ProductPaths ProductPathsOf(const std::string& stem);

// The SatId of a satellite named noaa12, noaa14 .. noaa19, metopa, metopb or metopc (any case;
// "NOAA-19" and "MetOp-B" too), or no value.
std::optional<std::int16_t> SatIdOfName(std::string_view name);

enum class SatelliteSource {
    Header,    // the pass header's SatId
    Address,   // the spacecraft address of the frames' ID word, from line 2 on
    Override,  // the user named it
};

// Seconds of the day of a line, from 0 (not wrapped at midnight: a pass over midnight goes on
// past 86400).
struct LineTimes {
    double First = 0.0;
    double Last = 0.0;
    std::int64_t TimeCodesUsed = 0;  // lines whose own time code was taken
};

struct ProductSummary {
    std::int16_t SatId = 0;
    std::string Satellite;  // "NOAA-19"
    SatelliteSource Source = SatelliteSource::Header;
    std::int16_t Year = 0;  // the pass header's date
    std::int16_t Month = 0;
    std::int16_t Day = 0;
    LineTimes Times;
    std::int64_t StatedLines = 0;   // the header's line count
    std::int64_t Lines = 0;         // lines in the products
    std::int64_t MissingLines = 0;  // stated but not in the file
    std::int64_t Lines3A = 0;
    std::int64_t Lines3B = 0;
    std::int64_t ClearSeaSamples = 0;
    std::int64_t Samples = 0;
    // Lines whose own calibration words were refused and filled in from their neighbours, per
    // thermal channel (3B, 4, 5); and lines left without a calibration of channels 4 and 5.
    std::array<std::int64_t, 3> FilledLines{};
    std::int64_t UncalibratedLines = 0;
    bool SstPublished = false;  // false: the split window of another satellite (avhrr/)
};

// The refusals of MakeProducts that the input alone decides (no whole line, a product, a raw
// recording), or a file failure: asked before a name for the products is.
CommandOutcome CheckProductsInput(const std::string& inputPath);

// Makes the three products of the HRP file inputPath. The satellite is `satellite` when given,
// else the header's SatId when the coefficient table has it, else the address most frames of the
// first lines carry. The pass is read in blocks and calibrated line by line with a window of
// lines around each (avhrr::CalibrationAverager), so that memory stays the same whatever its
// length. An output that names the input is a failure (IsTheInput). Each product is written under a
// temporary name beside its own and takes its name when all of it is written; a refusal or a
// failure leaves no new file behind. A file shorter than its header's line count gives the lines it
// holds (the summary counts the missing ones).
CommandOutcome MakeProducts(const std::string& inputPath, const ProductPaths& outputs,
                            std::optional<std::int16_t> satellite, ProductSummary& summary);

}  // namespace qiv::swathly
