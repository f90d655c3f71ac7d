// NOAA Level 1b files of full-resolution AVHRR (LAC, HRPT, and FRAC from MetOp), as NOAA's
// archive serves them, read in memory: what a file is (DetectLevel1b) and one data record turned
// into an HRPT line of an HRP file (DecodeRecord). Nothing here opens a file; the caller reads
// the file in blocks and hands the bytes over.
//
// Sources: NOAA KLM User's Guide, section 8.3.1 (Level 1b data sets of NOAA-15 to -19 and MetOp:
// the ARS header, table 8.3.1.3.2-1 the data set header record, tables 8.3.1.3.3.1-1 and
// 8.3.1.3.3.2-1 the LAC/HRPT data record of versions 2 to 5); NOAA Polar Orbiter Data User's
// Guide (POD), sections 2 and 3 (TIROS-N to NOAA-14: the TBM header, the data set header, the
// LAC/HRPT data record of 14800 bytes). Both keep integers big-endian. The offsets were
// cross-checked against the record layouts that pygac's data tables hold.
//
// A KLM file:  [ARS header, 512 bytes]  header records  data records
// A POD file:  [TBM header, 122 bytes]  one header record  data records
// Every header record is as long as a data record.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

#include "avhrr/frame.h"

namespace qiv::avhrr {

enum class Level1bKind {
    Klm,  // NOAA-15 and later, MetOp: format versions 2 to 5
    Pod,  // TIROS-N to NOAA-14: format version 1
};

enum class Level1bDataType {
    Lac,
    Hrpt,
    Frac,  // MetOp's full resolution, laid out as LAC
    Gac,   // 409 samples a line: recognised so that a caller can refuse it
    Unknown,
};

// A satellite as a Level 1b header names it, and as a pass header names it: SatId is the NOAA
// number, 101-103 for MetOp-B, -A, -C.
struct Level1bSpacecraft {
    int Code = 0;  // the header's spacecraft identification code
    std::int16_t SatId = 0;
    const char* Title = "";  // eight characters, blank padded
};

// A moment as Level 1b records it: the year in full, the day of the year from 1 and the
// milliseconds of the day.
struct Level1bTime {
    int Year = 0;
    int DayOfYear = 0;
    std::int64_t Millisecond = 0;
};

enum class Level1bVerdict {
    Recognised,
    NotLevel1b,  // neither layout's header stands at the start, after an archive header or not
};

// The bytes DetectLevel1b needs from the start of a file to recognise every layout: an ARS
// header and the header record's fields after it.
inline constexpr std::int64_t kLevel1bDetectBytes = 1024;

// Record lengths (KLM guide 8.3.1.3 LAC/HRPT and 8.3.1.4 GAC; POD guide 3.2.2 LAC/HRPT and
// section 3 GAC).
inline constexpr std::int64_t kKlmLacRecordBytes = 15872;
inline constexpr std::int64_t kKlmGacRecordBytes = 4608;
inline constexpr std::int64_t kPodLacRecordBytes = 14800;
inline constexpr std::int64_t kPodGacRecordBytes = 3220;
inline constexpr std::int64_t kArsHeaderBytes = 512;
inline constexpr std::int64_t kTbmHeaderBytes = 122;

struct Level1bFile {
    Level1bVerdict Verdict = Level1bVerdict::NotLevel1b;
    Level1bKind Kind = Level1bKind::Klm;
    std::int64_t ArchiveHeaderBytes = 0;  // 0, kArsHeaderBytes (KLM) or kTbmHeaderBytes (POD)
    std::int64_t HeaderRecords = 1;       // KLM: the header's count, at least 1; POD: 1
    std::int64_t RecordBytes = 0;         // of every data record, and of every header record
    std::int64_t FirstRecordAt = 0;       // the byte at which data record 1 starts
    int Version = 0;                      // the header's format version; POD: 1
    // The bits of each sample: 10, packed three to 32 bits, unless a TBM header states that the
    // archive unpacked them into 8 or 16 bits (for a selection of channels); DecodeRecord reads
    // only packed records.
    int SampleBits = 10;
    bool VersionKnown = false;  // KLM 2 to 5, or POD: DecodeRecord reads it
    Level1bDataType DataType = Level1bDataType::Unknown;
    int SpacecraftCode = 0;
    const Level1bSpacecraft* Spacecraft = nullptr;  // nullptr: a code the guides do not list
    Level1bTime Start;
    Level1bTime End;
    std::int64_t StatedRecords = 0;  // the data records the header counts
    std::int64_t WholeRecords = 0;   // the whole data records the file holds
    std::int64_t TrailingBytes = 0;  // a part of a record after the last whole one

    // The records to import: the whole ones, but no more than the header counts when it counts
    // any (records past that count are the archive's fill).
    std::int64_t RecordsToRead() const {
        return StatedRecords > 0 && StatedRecords < WholeRecords ? StatedRecords : WholeRecords;
    }
};

// What a file is, from its first bytes (kLevel1bDetectBytes of them, or the whole file when it is
// shorter) and its size. Recognised only with the header's own fields in place: KLM by its
// creation site, blank and version; POD by a known spacecraft, data type and a start time that
// names a day; an ARS or TBM header in front by its own fields and the header record after it.
Level1bFile DetectLevel1b(std::span<const std::uint8_t> fileStart, std::int64_t fileSize);

// The number of earth-location points every data record carries, on samples 25, 65, ..., 2025
// (every 40th from 25, as pygac's tie points place them too).
inline constexpr int kEarthLocationPoints = 51;

struct EarthPoint {
    double Latitude = 0;   // degrees north
    double Longitude = 0;  // degrees east
};

enum class RecordOutcome {
    Decoded,
    TooShort,            // fewer bytes than a LAC/HRPT record of the kind: nothing is written
    UnsupportedVersion,  // a KLM version other than 2 to 5: nothing is written
};

struct RecordFacts {
    RecordOutcome Outcome = RecordOutcome::TooShort;
    int ScanLine = 0;
    Level1bTime Time;  // the record's own: the year changes within a pass over New Year
    std::uint32_t QualityBits = 0;
    // What marks the record bad: the quality indicators' "do not use" bit (bit 31), a time that
    // names no moment (year, day or millisecond out of range) and earth-view counts that are all
    // zero. A time sequence error (bit 30) only casts doubt on the time.
    bool DoNotUse = false;
    bool MissingTime = false;
    bool NoCounts = false;
    bool TimeSuspect = false;
    bool Bad() const { return DoNotUse || MissingTime || NoCounts; }
    // False when the quality indicators say there is no earth location, or every point is 0.
    bool EarthLocated = false;
    std::array<EarthPoint, kEarthLocationPoints> EarthLocation{};
};

// Fills hrpLine, an HRP line of little-endian words, from one LAC/HRPT/FRAC data record:
// words 1-103 (frame sync to sync delta) as the record holds them, the earth view of words
// 751-10990 from the record's 10-bit packed counts, and 0 in the words the record does not carry
// (104-750, 10991-11090). Only the first RecordBytes of `record` are read.
RecordFacts DecodeRecord(Level1bKind kind, int version, std::span<const std::uint8_t> record,
                         std::span<std::uint8_t, static_cast<std::size_t>(kFrameBytes)> hrpLine);

// The month (1-12) and day of the month of a day of the year (1-366), or {0, 0} when the year
// has no such day.
struct CalendarDay {
    int Month = 0;
    int Day = 0;
};
CalendarDay CalendarDayOf(int year, int dayOfYear);

}  // namespace qiv::avhrr
