// Everything Swathly_Qiv knows during a run, in one record owned by the main window and passed
// by reference to the routines. The layout of the HRP line file it reads is hrp_file.h.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "hrpt_tool/core/hrp_file.h"

namespace qiv::swathly {

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
