// Raw HRPT recordings, as a software-defined radio and a free decoder write them: the NOAA minor
// frames as they came down, one frame of 11090 ten-bit words per scan line, each word in 16 bits,
// and no pass header. Importing one writes an HRP file of this program's own format: the same
// lines in little-endian words, with a pass header over the first 33 bytes of line 1 made from
// what the frames themselves carry.
//
// What the frames carry (the frame sync, the spacecraft address, the time code) is read as
// avhrr/frame.h describes it. The year is not in the frames, and AVHRR scans 6 lines a second.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "avhrr/frame.h"
#include "common/core/binary_file.h"
#include "common/core/failure.h"
#include "hrpt_tool/core/hrp_file.h"
#include "hrpt_tool/core/swathly_outcome.h"

namespace qiv::swathly {

inline constexpr std::int64_t kFrameSyncBytes = 2 * avhrr::kFrameSyncWords.Count;
// The line count of a pass header is two bytes: a longer recording cannot be described.
inline constexpr std::int64_t kMostHrpLines = 65535;
// The years a recording can be imported for. A pass that starts before New Year is dated in the
// year before, which must fit the 16-bit Year of the header too.
inline constexpr std::int16_t kFirstYear = 1;
inline constexpr std::int16_t kLastYear = 9999;

enum class ByteOrder {
    Little,  // the files usually called .raw16
    Big,     // what other station software often calls .hrp
};

// How many of the six frame sync words stand in their place at the start of a frame whose
// words are stored in `order`.
int SyncWordsInPlace(std::span<const std::uint8_t, kFrameSyncBytes> frameStart, ByteOrder order);

// The order of a file's words when its first bytes are the frame sync, with up to two of the six
// words damaged; no value when they are not, as on line 1 of an HRP file, which starts with the
// pass header instead.
std::optional<ByteOrder> RecordingOrder(std::span<const std::uint8_t, kFrameSyncBytes> fileStart);

// True when the open file starts with the frame sync, as a recording does where an HRP file has
// the title of its pass header: the files that Swathly_Qiv offers to import.
bool StartsWithFrameSync(BinaryFile& file);

struct ImportSummary {
    std::int64_t Frames = 0;  // whole frames, now lines of the HRP file
    ByteOrder Order = ByteOrder::Little;
    // The pass header written over line 1: title, satellite, date, start time, line count.
    LineHeaderRecord Header;
    // False when no frame carries a valid time code: the date and the time are then left at 0.
    bool TimeFound = false;
    std::int64_t DamagedFrames = 0;  // frames whose six sync words are not all intact
    std::int64_t BytesLeftOver = 0;  // a partial frame at the end, left out
};

// Writes the HRP file outputPath from the recording at recordingPath, whose frames hold no year:
// `year` is the year the recording was made in. The byte order comes from the frame sync of the
// first frames. Every whole frame becomes one line, frames with a damaged sync included, so that
// the lines stay aligned with the scan; a partial frame at the end is left out.
//
// The header: the title and SatId of the spacecraft address that most intact frames carry
// ("NOAA-?? " and 0 for an address that names none of NOAA-15, -18 and -19); the date and the
// start time of line 1 from the first valid time code (see recording_import.cpp), taken back at
// 1/6 s a line and cut down to whole seconds; Spare 0; the line count; TimeDiff 0.
//
// Refuses, with nothing written, a year outside kFirstYear..kLastYear (BadYear), a recording that
// holds no whole frame or whose first frames carry the frame sync in neither byte order
// (NoFrames), one of more than kMostHrpLines frames (TooLong), and an output that is the
// recording itself (IsTheInput). The file is written under a temporary name beside outputPath and
// takes that name, replacing a file of that name, only when all of it is written: a failure
// leaves no half-written file behind.
CommandOutcome ImportRecording(const std::string& recordingPath, const std::string& outputPath,
                               std::int16_t year, ImportSummary& summary);

}  // namespace qiv::swathly
