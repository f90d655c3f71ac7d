// The HRP line file that Swathly_Qiv reads and writes: a plain sequence of HRPT minor frames, one
// per scan line, with no file header outside the lines. The first 33 bytes of every line are
// overwritten by a packed header record (meaningful on line 1 only), and the header display reads
// the calibration words as byte blocks from where this program has always read them. Where the
// file and the frame coincide, the figures come from avhrr/frame.h. Offsets are 0-based bytes
// within one line.
#pragma once

#include <array>
#include <cstdint>

#include "avhrr/frame.h"

namespace qiv::swathly {

inline constexpr std::int64_t kLineBytes = avhrr::kFrameBytes;  // little-endian 16-bit words
inline constexpr std::int64_t kLineWords = avhrr::kFrameWords;
inline constexpr std::int64_t kLineHeaderBytes = 33;  // packed; meaningful on line 1 only
// Three telemetry values right after the header record, off the word grid.
inline constexpr std::int64_t kTelemetryOffset = kLineHeaderBytes;
inline constexpr std::int64_t kTelemetryBytes = 6;
inline constexpr std::int64_t kBackScanOffset = avhrr::ByteOfWord(avhrr::kBackScanWords.First);
inline constexpr std::int64_t kBackScanBytes = 2 * avhrr::kBackScanWords.Count;
inline constexpr std::int64_t kSpaceViewOffset = avhrr::ByteOfWord(avhrr::kSpaceViewWords.First);
inline constexpr std::int64_t kSpaceViewBytes = 2 * avhrr::kSpaceViewWords.Count;
// A header read needs this much of a line.
inline constexpr std::int64_t kCalibrationEnd = kSpaceViewOffset + kSpaceViewBytes;
inline constexpr std::int64_t kEarthViewOffset = avhrr::ByteOfWord(avhrr::kEarthViewWords.First);
inline constexpr int kEarthSamples = avhrr::kEarthSamples;
inline constexpr int kChannels = avhrr::kChannels;
inline constexpr std::int64_t kEarthSampleBytes = 2 * kChannels;  // channels 1-5, contiguous

// The figures the files already written hold; a change in the frame's header must not move them.
static_assert(kLineBytes == 22180 && kBackScanOffset == 44 && kBackScanBytes == 60 &&
              kSpaceViewOffset == 104 && kSpaceViewBytes == 100 && kCalibrationEnd == 204 &&
              kEarthViewOffset == 1500);

// The 33-byte record at the start of every line; on line 1 it describes the whole pass.
struct LineHeaderRecord {
    std::array<std::uint8_t, 8> Title{};  // single-byte characters as stored
    std::int16_t SatId = 0;
    std::int16_t Month = 0;
    std::int16_t Day = 0;
    std::int16_t Year = 0;
    std::int16_t Hour = 0;
    std::int16_t Minute = 0;
    std::int16_t Secs = 0;
    std::uint8_t Spare = 0;
    std::uint8_t RowsLow = 0;  // the line count is RowsHigh * 256 + RowsLow, never signed
    std::uint8_t RowsHigh = 0;
    double TimeDiff = 0.0;
    friend bool operator==(const LineHeaderRecord&, const LineHeaderRecord&) = default;
};

// Back-scan: three runs of ten words as they lie in the line (BackScan[run][element], from 0),
// each run 20 contiguous bytes from kBackScanOffset on; the display does not undo the
// interleaving of the channels.
using BackScanBlock = std::array<std::array<std::int16_t, avhrr::kCalibrationSamples>,
                                 avhrr::kBackScanChannels>;
// Space view: five runs of ten words, the same way from kSpaceViewOffset on.
using SpaceViewBlock =
    std::array<std::array<std::int16_t, avhrr::kCalibrationSamples>, avhrr::kChannels>;

}  // namespace qiv::swathly
