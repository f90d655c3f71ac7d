// Sample data for Swathly_Qiv: one synthetic NOAA AVHRR pass as an HRP line file, the CAL, SST
// and NDV products made from it, and the scene as a raw recording to import. Made from fixed
// seeds, so that every machine gets the same bytes.
#pragma once

#include <cstdint>
#include <filesystem>
#include <vector>

#include "common/core/failure.h"
#include "hrpt_tool/core/recording_import.h"

namespace qiv::samples {

inline constexpr std::int32_t kHrptSampleLines = 1200;
inline constexpr std::int32_t kRecordingSampleFrames = 300;

// Writes into dir (created when missing):
//   avhrr-pass.hrp  HRPT lines of 22180 bytes; line 1 carries the pass header (title
//                   "NOAA-14 ", Sat Id 14, 21 July 1998, 11:42:17, the line count) and every line
//                   its calibration words (a thermometer near 290 K, back-scan and space-view
//                   counts) and five 10-bit channels of earth view: sea, land and cloud, the
//                   counts NOAA-14's calibration turns back into the scene's albedos and
//                   temperatures
//   avhrr-pass.cal, avhrr-pass.sst, avhrr-pass.ndv
//                   the products of that pass as the program itself makes them (products.h)
// each with `lines` scan lines. Fails when a file cannot be written.
Failure WriteHrptSamples(const std::filesystem::path& dir, std::int32_t lines = kHrptSampleLines);

// Writes `file` (usually avhrr-recording.raw16): the same scene as a raw recording, the way a
// decoder writes a pass as it comes down: `frames` HRPT minor frames with no pass header, words
// in `order`. The frames carry the frame sync, the spacecraft address of NOAA-19 and the time
// codes of day 158 (6 June in a leap year) from 09:41:30.5 on, 1/6 s a frame; as in a real
// recording, the first frame's time code is garbled and frames 40, 41 and 170 (from 1) have a
// damaged sync word. Fails when the file cannot be written.
Failure WriteHrptRecording(const std::filesystem::path& file,
                           std::int32_t frames = kRecordingSampleFrames,
                           swathly::ByteOrder order = swathly::ByteOrder::Little);

// Frame `line` (from 1) of the recording WriteHrptRecording writes of `frames` frames, in
// little-endian words: the Level 1b sample is made of the same frames.
std::vector<std::uint8_t> RecordingFrame(std::int32_t line, std::int32_t frames);

}  // namespace qiv::samples
