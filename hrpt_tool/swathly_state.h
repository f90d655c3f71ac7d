// Everything Swathly_Qiv knows during a run, in one record owned by the main window and passed
// by reference to the routines, together with the layout of the HRP line file it reads.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "binary_file.h"

namespace qiv::swathly {

using Flag = std::int16_t;
inline constexpr Flag kTrue = -1;
inline constexpr Flag kFalse = 0;

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
};

// Back-scan: three runs of ten words as they lie in the line (BackScan[run][element], from 0).
using BackScanBlock = std::array<std::array<std::int16_t, 10>, 3>;
// Space view: five runs of ten words.
using SpaceViewBlock = std::array<std::array<std::int16_t, 10>, 5>;

// The texts that the header display puts into the boxes of the Text1 array.
struct HeaderDisplay {
    std::string Title;     // Text1(0)
    std::string SatId;     // Text1(1)
    std::string Month;     // Text1(2)
    std::string Day;       // Text1(3)
    std::string Year;      // Text1(4)
    std::string Hour;      // Text1(5)
    std::string Minute;    // Text1(6)
    std::string Secs;      // Text1(7)
    std::string TimeDiff;  // Text1(11)
    std::string Rows;      // Text1(12)
    std::string Cols;      // Text1(13)
};

struct SwathlyState {
    // Cleared when the main window opens. Only OutputChosen and KeepInputOpen are ever cleared
    // again: the input is fixed for the run once chosen.
    Flag InputChosen = kFalse;
    Flag DatChosen = kFalse;
    Flag OutputChosen = kFalse;
    Flag KeepInputOpen = kFalse;  // set while a line-range cut runs

    std::string InputPath;
    std::string DatPath;
    std::string OutputPath;

    // The one input handle. A header read leaves it open exactly when KeepInputOpen or
    // OutputChosen is set, for the quicklook or the cut to go on reading; they close it.
    BinaryFile Input;

    // Running 1-based byte position in the input file. 64-bit, so that every line of a large
    // file can be addressed.
    std::int64_t FilePos = 0;
    std::int32_t LineCount = 0;   // lines the header states, 0-65535
    std::int32_t HeaderLine = 0;  // 1-based line whose header was read last

    std::int16_t SamplingInterval = 0;
    std::int16_t QuicklookRows = 0;
    std::int16_t QuicklookCols = 0;

    // What the last header read found; kept until the next one.
    LineHeaderRecord LineHeader;
    std::array<std::int16_t, 3> TelemetryTriple{};
    BackScanBlock BackScan{};
    SpaceViewBlock SpaceView{};
    HeaderDisplay Display;

    // The five channel values of one earth-view sample, channels 1-5.
    std::array<std::int16_t, kChannels> EarthSample{};
};

}  // namespace qiv::swathly
