// Sample data for Swathly_Qiv's import of NOAA Level 1b files: the scene of the raw recording
// sample as NOAA's archive serves a pass. Made from fixed seeds, so that every machine gets the
// same bytes.
#pragma once

#include <cstdint>
#include <filesystem>

#include "common/core/failure.h"

namespace qiv::samples {

inline constexpr std::int32_t kLevel1bSampleRecords = 300;

// Writes `file` (usually avhrr-archive.l1b): a KLM format version 5 Level 1b HRPT file of
// NOAA-19 after the archive's 512-byte ARS header, one data record for each of `records` frames
// of the recording WriteHrptRecording writes (frame words 1-103 and the earth view as the frame
// holds them), each record dated 2024, day 158 (6 June), from 09:41:30.5 on, 1/6 s a record. The
// records of the three frames with a damaged sync (40, 41 and 170, from 1) are marked "do not
// use", as NOAA's processing marks a frame it could not trust. Fails when the file cannot be
// written.
Failure WriteLevel1bSample(const std::filesystem::path& file,
                           std::int32_t records = kLevel1bSampleRecords);

}  // namespace qiv::samples
