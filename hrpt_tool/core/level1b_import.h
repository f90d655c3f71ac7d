// NOAA Level 1b files of full-resolution AVHRR (LAC, HRPT, and MetOp's FRAC; KLM format versions
// 2 to 5 and POD), as NOAA's archive serves them, imported into HRP files of this program's own
// format: one line per data record, in order, with a pass header over the first 33 bytes of
// line 1 made from what the file says. The reading of the records is avhrr/level1b.h's.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "avhrr/level1b.h"
#include "hrpt_tool/core/recording_import.h"
#include "hrpt_tool/core/swathly_outcome.h"
#include "hrpt_tool/core/swathly_state.h"

namespace qiv::swathly {

// The refusal of a file DetectLevel1b has looked at, or no value when it can be imported (a
// file of more records than a pass header counts is refused by the import, as a file failure).
std::optional<Refused<Refusal>> Level1bRefusalOf(const avhrr::Level1bFile& file);

// True when the first bytes of a file (up to avhrr::kLevel1bDetectBytes of them) and its size
// are those of a Level 1b file, importable or not: the files that Swathly_Qiv offers to import.
bool IsLevel1b(std::span<const std::uint8_t> fileStart, std::int64_t fileSize);

struct Level1bImportSummary {
    avhrr::Level1bKind Kind = avhrr::Level1bKind::Klm;
    int Version = 0;  // the header's format version; POD: 1
    avhrr::Level1bDataType DataType = avhrr::Level1bDataType::Unknown;
    std::int64_t ArchiveHeaderBytes = 0;  // an ARS or TBM header skipped in front
    int SpacecraftCode = 0;               // the header's code, told when it names no satellite
    bool SpacecraftKnown = false;
    // The pass header written over line 1: title, satellite, date, start time, line count.
    LineHeaderRecord Header;
    std::int64_t Records = 0;        // data records, now lines of the HRP file
    std::int64_t StatedRecords = 0;  // the data records the header counts
    // False when no record's time names a moment: the date and the time are then left at 0.
    bool TimeFound = false;
    avhrr::Level1bTime First;  // the first and the last record's time that names a moment
    avhrr::Level1bTime Last;
    std::int64_t BadRecords = 0;        // marked "do not use", with no time, or with no counts
    std::int64_t RecordsPastCount = 0;  // whole records after the header's count, left out
    std::int64_t BytesLeftOver = 0;     // a part of a record after the last whole one, left out
};

// Writes the HRP file outputPath from the Level 1b file at level1bPath. Every data record the
// header counts (every whole one when it counts none) becomes one line, records the file marks as
// bad included, so that the lines stay in step with the scan: words 1-103 of its minor frame, the
// earth view of words 751-10990, 0 in the words a record does not carry.
//
// The header: the title and SatId of the spacecraft the header names ("NOAA-?? " and 0 for a
// code the guides do not list); the date and the time of line 1, cut down to whole seconds, from
// record 1's own time, or when that names no moment from the first record's that does, taken
// back 1/6 s a line; Spare 0; the line count; TimeDiff 0.
//
// Refuses, with nothing written, an output that is the input file itself (the failure
// IsTheInput), a file that is no Level 1b file or cannot be imported (Level1bRefusalOf), and one
// of more than kMostHrpLines records (the failure TooLong), all before a record is read. The file
// is written under a temporary name beside outputPath and takes that name only when all of it is
// written.
CommandOutcome ImportLevel1b(const std::string& level1bPath, const std::string& outputPath,
                             Level1bImportSummary& summary);

}  // namespace qiv::swathly
