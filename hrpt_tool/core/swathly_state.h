// Everything Swathly_Qiv knows during a run, in one record owned by the main window and passed
// by reference to the routines, together with the layout of the HRP line file it reads.
#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace qiv::swathly {

// An HRP file is a plain sequence of HRPT minor frames, one per scan line, with no file header
// outside the lines. Offsets below are 0-based bytes within one line.
inline constexpr std::int64_t kLineBytes = 22180;  // 11090 little-endian 16-bit words
inline constexpr std::int64_t kLineWords = kLineBytes / 2;
inline constexpr std::int64_t kLineHeaderBytes = 33;  // packed; meaningful on line 1 only
inline constexpr std::int64_t kTelemetryOffset = 33;  // right after the header, off the word grid
inline constexpr std::int64_t kTelemetryBytes = 6;
inline constexpr std::int64_t kBackScanOffset = 44;  // words 23-52
inline constexpr std::int64_t kBackScanBytes = 60;
inline constexpr std::int64_t kSpaceViewOffset = 104;  // words 53-102
inline constexpr std::int64_t kSpaceViewBytes = 100;
inline constexpr std::int64_t kCalibrationEnd = 204;    // a header read needs this much of a line
inline constexpr std::int64_t kEarthViewOffset = 1500;  // words 751-10990
inline constexpr int kEarthSamples = 2048;
inline constexpr int kChannels = 5;
inline constexpr std::int64_t kEarthSampleBytes = 2 * kChannels;  // channels 1-5, contiguous

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

// Back-scan: three runs of ten words as they lie in the line (BackScan[run][element], from 0).
using BackScanBlock = std::array<std::array<std::int16_t, 10>, 3>;
// Space view: five runs of ten words.
using SpaceViewBlock = std::array<std::array<std::int16_t, 10>, 5>;

struct SwathlyState {
    // Cleared when the main window opens. Only OutputChosen is ever cleared again (by each
    // quicklook): the input is fixed for the run once chosen, and once a calibration file is
    // named every later header read rewrites it.
    bool InputChosen = false;
    bool DatChosen = false;
    bool OutputChosen = false;

    std::string InputPath;
    std::string DatPath;     // the calibration ASCII file
    std::string OutputPath;  // the quicklook image or the shorter HRP file

    // Where the last header read ended: the 1-based byte position right after the calibration
    // blocks of line HeaderLine. 64-bit, so that every line of a large file can be addressed.
    std::int64_t FilePos = 0;
    std::int32_t LineCount = 0;   // lines the header of the last line read states, 0-65535
    std::int32_t HeaderLine = 0;  // 1-based line whose header was read last

    std::int16_t SamplingInterval = 0;  // the SamplInter of the last quicklook that took it
    std::int16_t QuicklookRows = 0;     // size of the last quicklook written
    std::int16_t QuicklookCols = 0;

    // What the last header read found; kept until the next one.
    LineHeaderRecord LineHeader;
    std::array<std::int16_t, 3> TelemetryTriple{};
    BackScanBlock BackScan{};
    SpaceViewBlock SpaceView{};
};

}  // namespace qiv::swathly
