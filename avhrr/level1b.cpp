#include "avhrr/level1b.h"

#include <algorithm>
#include <bit>
#include <cstring>

namespace qiv::avhrr {
namespace {

constexpr std::int64_t kMillisecondsPerDay = 86'400'000;
// TIROS-N, the first satellite of either series, was launched in 1978.
constexpr int kFirstYear = 1978;
constexpr int kLastYear = 2100;

std::uint32_t Be16(const std::uint8_t* at) {
    return static_cast<std::uint32_t>(at[0] << 8 | at[1]);
}
std::uint32_t Be32(const std::uint8_t* at) {
    return static_cast<std::uint32_t>(at[0]) << 24 | static_cast<std::uint32_t>(at[1]) << 16 |
           static_cast<std::uint32_t>(at[2]) << 8 | at[3];
}

bool IsLeap(int year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

bool NamesMoment(const Level1bTime& time) {
    return time.Year >= kFirstYear && time.Year <= kLastYear && time.DayOfYear >= 1 &&
           time.DayOfYear <= (IsLeap(time.Year) ? 366 : 365) && time.Millisecond >= 0 &&
           time.Millisecond < kMillisecondsPerDay;
}

// KLM guide, table 8.3.1.3.2-1 (spacecraft identification code) and, for MetOp-C, the code its
// archive files carry (cross-checked against pygac's table of codes).
constexpr std::array kKlmSpacecraft{
    Level1bSpacecraft{4, 15, "NOAA-15 "},   Level1bSpacecraft{2, 16, "NOAA-16 "},
    Level1bSpacecraft{6, 17, "NOAA-17 "},   Level1bSpacecraft{7, 18, "NOAA-18 "},
    Level1bSpacecraft{8, 19, "NOAA-19 "},   Level1bSpacecraft{12, 102, "METOP-A "},
    Level1bSpacecraft{11, 101, "METOP-B "}, Level1bSpacecraft{13, 103, "METOP-C "},
};

// POD guide, section 2 (data set header record, byte 1). Code 1 names TIROS-N and, from 1988,
// NOAA-11; TIROS-N has no NOAA number and so no SatId of its own.
constexpr std::array kPodSpacecraft{
    Level1bSpacecraft{1, 0, "TIROS-N "},  Level1bSpacecraft{2, 6, "NOAA-6  "},
    Level1bSpacecraft{4, 7, "NOAA-7  "},  Level1bSpacecraft{6, 8, "NOAA-8  "},
    Level1bSpacecraft{7, 9, "NOAA-9  "},  Level1bSpacecraft{8, 10, "NOAA-10 "},
    Level1bSpacecraft{1, 11, "NOAA-11 "}, Level1bSpacecraft{5, 12, "NOAA-12 "},
    Level1bSpacecraft{3, 14, "NOAA-14 "},
};
// NOAA-11 was launched in September 1988, years after TIROS-N had ended.
constexpr int kFirstNoaa11Year = 1988;

template <std::size_t N>
const Level1bSpacecraft* Find(const std::array<Level1bSpacecraft, N>& table, int code,
                              std::int16_t satId = -1) {
    const auto* found = std::find_if(table.begin(), table.end(), [&](const Level1bSpacecraft& s) {
        return s.Code == code && (satId < 0 || s.SatId == satId);
    });
    return found == table.end() ? nullptr : found;
}

// The fields of a KLM header record (KLM guide, table 8.3.1.3.2-1; the same octets in the
// header records of versions 2 to 5), as 0-based offsets.
namespace klm {
constexpr std::size_t kSiteId = 0;  // three letters, then a blank
constexpr std::size_t kVersion = 4;
constexpr std::size_t kHeaderCount = 14;
constexpr std::size_t kDataSetName = 22;
constexpr std::size_t kSpacecraft = 72;
constexpr std::size_t kDataType = 76;
constexpr std::size_t kStartYear = 84;  // year, day of year, then the 32-bit millisecond
constexpr std::size_t kEndYear = 96;
constexpr std::size_t kRecordCount = 128;
constexpr std::size_t kHeaderFieldsEnd = 130;
}  // namespace klm

// The ARS header before a KLM file (KLM guide, section 8.3.1, ARS header record): its data set
// name, and the data format it states.
namespace ars {
constexpr std::size_t kDataSetName = 30;
constexpr std::size_t kDataFormat = 161;
constexpr std::size_t kDataSetNameBytes = 42;
}  // namespace ars

// A POD header record (POD guide, section 2, data set header record): spacecraft, data type in the
// high four bits, the start time, the count of scans, the end time; the data set name from byte 40.
namespace pod {
constexpr std::size_t kSpacecraft = 0;
constexpr std::size_t kDataType = 1;
constexpr std::size_t kStartTime = 2;
constexpr std::size_t kScanCount = 8;
constexpr std::size_t kEndTime = 10;
constexpr std::size_t kHeaderFieldsEnd = 16;
}  // namespace pod

// The TBM header before a POD file (POD guide, section 2.1.1): the data set name it copies.
namespace tbm {
constexpr std::size_t kDataSetName = 30;
constexpr std::size_t kWordSize = 117;  // two characters: "10", "16" or " 8"
}  // namespace tbm

// A data set name of the archive's form, "NSS.HRPT.NJ.D98202.S1142.E1155.B1850506.WI": the
// first 13 characters are enough to tell one from bytes of another kind.
bool LooksLikeDataSetName(std::span<const std::uint8_t> bytes, std::size_t at) {
    if (at + 13 > bytes.size()) {
        return false;
    }
    const auto alnum = [&](std::size_t i) {
        const std::uint8_t c = bytes[at + i];
        return (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z');
    };
    for (const std::size_t i : {0u, 1u, 2u, 4u, 5u, 6u, 7u, 9u, 10u}) {
        if (!alnum(i)) {
            return false;
        }
    }
    return bytes[at + 3] == '.' && bytes[at + 8] == '.' && bytes[at + 11] == '.' &&
           bytes[at + 12] == 'D';
}

bool IsKlmHeader(std::span<const std::uint8_t> bytes, std::size_t at) {
    if (at + klm::kHeaderFieldsEnd > bytes.size()) {
        return false;
    }
    const std::uint8_t* h = bytes.data() + at;
    for (std::size_t i = 0; i < 3; ++i) {
        if (h[klm::kSiteId + i] < 'A' || h[klm::kSiteId + i] > 'Z') {
            return false;
        }
    }
    const std::uint32_t version = Be16(h + klm::kVersion);
    return h[3] == ' ' && version >= 1 && version <= 99;
}

bool IsArsHeader(std::span<const std::uint8_t> bytes) {
    const auto header = static_cast<std::size_t>(kArsHeaderBytes);
    if (!IsKlmHeader(bytes, header)) {
        return false;
    }
    constexpr char kFormat[] = "NOAA Level 1b";
    const bool statesFormat =
        std::memcmp(bytes.data() + ars::kDataFormat, kFormat, sizeof kFormat - 1) == 0;
    const bool sameName =
        std::memcmp(bytes.data() + ars::kDataSetName, bytes.data() + header + klm::kDataSetName,
                    ars::kDataSetNameBytes) == 0;
    return statesFormat || sameName;
}

Level1bTime PodTime(const std::uint8_t* at) {
    // Seven bits of the year in two digits above nine bits of the day; 27 bits of milliseconds.
    const std::uint32_t first = Be16(at);
    const int twoDigits = static_cast<int>(first >> 9);
    Level1bTime time;
    time.Year = twoDigits >= 78 ? 1900 + twoDigits : 2000 + twoDigits;
    time.DayOfYear = static_cast<int>(first & 0x1FF);
    time.Millisecond = Be32(at + 2) & 0x07FFFFFF;
    return time;
}

Level1bTime KlmTime(const std::uint8_t* at) {
    Level1bTime time;
    time.Year = static_cast<int>(Be16(at));
    time.DayOfYear = static_cast<int>(Be16(at + 2));
    time.Millisecond = Be32(at + 4);
    return time;
}

bool IsPodHeader(std::span<const std::uint8_t> bytes, std::size_t at) {
    if (at + pod::kHeaderFieldsEnd > bytes.size()) {
        return false;
    }
    const std::uint8_t* h = bytes.data() + at;
    const int type = h[pod::kDataType] >> 4;
    const bool knownCode = Find(kPodSpacecraft, h[pod::kSpacecraft]) != nullptr;
    constexpr std::size_t kPodDataSetName = 40;
    return type >= 1 && type <= 3 && NamesMoment(PodTime(h + pod::kStartTime)) &&
           (knownCode || LooksLikeDataSetName(bytes, at + kPodDataSetName));
}

bool IsTbmHeader(std::span<const std::uint8_t> bytes) {
    if (!IsPodHeader(bytes, static_cast<std::size_t>(kTbmHeaderBytes))) {
        return false;
    }
    // A TBM header of a data set without a name holds 42 zero bytes and two blanks there.
    const std::uint8_t* name = bytes.data() + tbm::kDataSetName;
    const bool unnamed = std::all_of(name, name + 42, [](std::uint8_t c) { return c == 0; }) &&
                         name[42] == ' ' && name[43] == ' ';
    return unnamed || LooksLikeDataSetName(bytes, tbm::kDataSetName);
}

void CountRecords(Level1bFile& file, std::int64_t fileSize) {
    file.FirstRecordAt = file.ArchiveHeaderBytes + file.HeaderRecords * file.RecordBytes;
    const std::int64_t dataBytes = std::max<std::int64_t>(0, fileSize - file.FirstRecordAt);
    file.WholeRecords = dataBytes / file.RecordBytes;
    file.TrailingBytes = dataBytes % file.RecordBytes;
}

Level1bFile KlmFile(std::span<const std::uint8_t> bytes, std::int64_t archive,
                    std::int64_t fileSize) {
    const std::uint8_t* h = bytes.data() + archive;
    Level1bFile file;
    file.Verdict = Level1bVerdict::Recognised;
    file.Kind = Level1bKind::Klm;
    file.ArchiveHeaderBytes = archive;
    file.Version = static_cast<int>(Be16(h + klm::kVersion));
    file.VersionKnown = file.Version >= 2 && file.Version <= 5;
    // Data type codes of table 8.3.1.3.2-1; FRAC is 4 there, and 13 in the archive's files.
    switch (Be16(h + klm::kDataType)) {
        case 1:
            file.DataType = Level1bDataType::Lac;
            break;
        case 2:
            file.DataType = Level1bDataType::Gac;
            break;
        case 3:
            file.DataType = Level1bDataType::Hrpt;
            break;
        case 4:
        case 13:
            file.DataType = Level1bDataType::Frac;
            break;
        default:
            file.DataType = Level1bDataType::Unknown;
            break;
    }
    file.RecordBytes =
        file.DataType == Level1bDataType::Gac ? kKlmGacRecordBytes : kKlmLacRecordBytes;
    file.HeaderRecords = std::max<std::int64_t>(1, Be16(h + klm::kHeaderCount));
    file.SpacecraftCode = static_cast<int>(Be16(h + klm::kSpacecraft));
    file.Spacecraft = Find(kKlmSpacecraft, file.SpacecraftCode);
    file.Start = KlmTime(h + klm::kStartYear);
    file.End = KlmTime(h + klm::kEndYear);
    file.StatedRecords = Be16(h + klm::kRecordCount);
    CountRecords(file, fileSize);
    return file;
}

Level1bFile PodFile(std::span<const std::uint8_t> bytes, std::int64_t archive,
                    std::int64_t fileSize) {
    const std::uint8_t* h = bytes.data() + archive;
    Level1bFile file;
    file.Verdict = Level1bVerdict::Recognised;
    file.Kind = Level1bKind::Pod;
    file.ArchiveHeaderBytes = archive;
    file.Version = 1;
    file.VersionKnown = true;
    switch (h[pod::kDataType] >> 4) {
        case 1:
            file.DataType = Level1bDataType::Lac;
            break;
        case 2:
            file.DataType = Level1bDataType::Gac;
            break;
        default:
            file.DataType = Level1bDataType::Hrpt;
            break;
    }
    file.RecordBytes =
        file.DataType == Level1bDataType::Gac ? kPodGacRecordBytes : kPodLacRecordBytes;
    file.HeaderRecords = 1;
    file.Start = PodTime(h + pod::kStartTime);
    file.End = PodTime(h + pod::kEndTime);
    file.SpacecraftCode = h[pod::kSpacecraft];
    file.Spacecraft = file.SpacecraftCode == 1
                          ? Find(kPodSpacecraft, 1, file.Start.Year < kFirstNoaa11Year ? 0 : 11)
                          : Find(kPodSpacecraft, file.SpacecraftCode);
    file.StatedRecords = Be16(h + pod::kScanCount);
    if (archive == kTbmHeaderBytes) {
        const std::uint8_t* size = bytes.data() + tbm::kWordSize;
        if (size[0] == '1' && size[1] == '6') {
            file.SampleBits = 16;
        } else if ((size[0] == ' ' || size[0] == '0') && size[1] == '8') {
            file.SampleBits = 8;
        }
    }
    CountRecords(file, fileSize);
    return file;
}

// Earth view: 2048 samples of 5 channels, three 10-bit counts in each big-endian 32-bit word,
// the first in bits 29-20, the second in 19-10, the third in 9-0, bits 31-30 zero (KLM guide
// 8.3.1.3.3.1; POD guide 2.2.1). 3414 words carry 10242 counts: the last word only one.
constexpr int kPackedEarthWords = 3414;
constexpr int kEarthCounts = kEarthSamples * kChannels;

void StoreWord(std::uint8_t* at, std::uint32_t value) {
    at[0] = static_cast<std::uint8_t>(value & 0xFF);
    at[1] = static_cast<std::uint8_t>(value >> 8);
}

// Unpacks the counts into consecutive little-endian words from `out` and tells whether any of
// them is not zero. The counts of a few dozen packed words go through a small array first: the
// loop of fixed length over it becomes a few vector instructions, where stores straight into
// `out` would have to be made one at a time, as bytes may alias the record.
bool UnpackEarthView(const std::uint8_t* packed, std::uint8_t* out) {
    constexpr int kFullWords = kEarthCounts / 3;
    constexpr int kChunkWords = 32;
    std::array<std::uint16_t, 3 * kChunkWords> counts;
    std::uint32_t any = 0;
    int i = 0;
    for (; i + kChunkWords <= kFullWords; i += kChunkWords) {
        for (int j = 0; j < kChunkWords; ++j) {
            const std::uint32_t word = Be32(packed + 4 * (i + j));
            counts[3 * j] = static_cast<std::uint16_t>((word >> 20) & 0x3FF);
            counts[3 * j + 1] = static_cast<std::uint16_t>((word >> 10) & 0x3FF);
            counts[3 * j + 2] = static_cast<std::uint16_t>(word & 0x3FF);
            any |= word & 0x3FFFFFFF;
        }
        if constexpr (std::endian::native == std::endian::little) {
            std::memcpy(out + 6 * i, counts.data(), sizeof counts);
        } else {
            for (std::size_t k = 0; k < counts.size(); ++k) {
                StoreWord(out + 6 * i + 2 * k, counts[k]);
            }
        }
    }
    for (; i < kFullWords; ++i) {
        const std::uint32_t word = Be32(packed + 4 * i);
        StoreWord(out + 6 * i, (word >> 20) & 0x3FF);
        StoreWord(out + 6 * i + 2, (word >> 10) & 0x3FF);
        StoreWord(out + 6 * i + 4, word & 0x3FF);
        any |= word & 0x3FFFFFFF;
    }
    const std::uint32_t last = (Be32(packed + 4 * kFullWords) >> 20) & 0x3FF;
    StoreWord(out + 6 * kFullWords, last);
    return (any | last) != 0;
}

void ZeroWords(std::span<std::uint8_t> line, WordRange range) {
    std::fill_n(line.begin() + ByteOfWord(range.First), 2 * range.Count, std::uint8_t{0});
}

bool AnyPoint(const std::array<EarthPoint, kEarthLocationPoints>& points) {
    return std::any_of(points.begin(), points.end(),
                       [](const EarthPoint& p) { return p.Latitude != 0 || p.Longitude != 0; });
}

// The KLM LAC/HRPT data record (KLM guide, tables 8.3.1.3.3.1-1 and 8.3.1.3.3.2-1; the fields
// read here stand at the same octets in versions 2 to 5), as 0-based offsets.
namespace klm_record {
constexpr std::size_t kScanLine = 0;
constexpr std::size_t kTime = 2;  // year, day of year, clock drift, then the millisecond
constexpr std::size_t kMillisecond = 8;
constexpr std::size_t kQuality = 24;
constexpr std::size_t kEarthLocation = 640;  // 51 pairs of 32-bit latitude, longitude
constexpr double kEarthLocationScale = 1e-4;
constexpr std::size_t kFrameWords = 1056;  // words 1-103 of the minor frame, 16 bits each
constexpr std::size_t kEarthView = 1264;
}  // namespace klm_record

// The POD LAC/HRPT data record (POD guide, table 3.2.2.1-1), as 0-based offsets.
namespace pod_record {
constexpr std::size_t kScanLine = 0;
constexpr std::size_t kTime = 2;
constexpr std::size_t kQuality = 8;
constexpr std::size_t kEarthLocation = 104;  // 51 pairs of 16-bit latitude, longitude
constexpr double kEarthLocationScale = 1.0 / 128;
constexpr std::size_t kFrameWords = 308;  // words 1-103 and two spare, 10-bit packed
constexpr std::size_t kEarthView = 448;
}  // namespace pod_record

// Quality indicator bits of both guides.
constexpr std::uint32_t kDoNotUseBit = 1u << 31;
constexpr std::uint32_t kTimeErrorBit = 1u << 30;
constexpr std::uint32_t kKlmNoEarthLocationBit = 1u << 27;
constexpr std::uint32_t kPodNoEarthLocationBit = 1u << 26;

void DecodeKlm(const std::uint8_t* r, std::span<std::uint8_t> line, RecordFacts& facts) {
    using namespace klm_record;
    facts.ScanLine = static_cast<int>(Be16(r + kScanLine));
    facts.Time.Year = static_cast<int>(Be16(r + kTime));
    facts.Time.DayOfYear = static_cast<int>(Be16(r + kTime + 2));
    facts.Time.Millisecond = Be32(r + kMillisecond);
    facts.QualityBits = Be32(r + kQuality);
    for (int k = 0; k < kSyncDeltaWord; ++k) {
        SetWord(line, k + 1, static_cast<std::uint16_t>(Be16(r + kFrameWords + 2 * k)));
    }
    facts.NoCounts =
        !UnpackEarthView(r + kEarthView, line.data() + ByteOfWord(kEarthViewWords.First));
    for (int p = 0; p < kEarthLocationPoints; ++p) {
        const std::uint8_t* at = r + kEarthLocation + 8 * p;
        facts.EarthLocation[p].Latitude = static_cast<std::int32_t>(Be32(at)) * kEarthLocationScale;
        facts.EarthLocation[p].Longitude =
            static_cast<std::int32_t>(Be32(at + 4)) * kEarthLocationScale;
    }
    facts.EarthLocated =
        (facts.QualityBits & kKlmNoEarthLocationBit) == 0 && AnyPoint(facts.EarthLocation);
}

void DecodePod(const std::uint8_t* r, std::span<std::uint8_t> line, RecordFacts& facts) {
    using namespace pod_record;
    facts.ScanLine = static_cast<std::int16_t>(Be16(r + kScanLine));
    facts.Time = PodTime(r + kTime);
    facts.QualityBits = Be32(r + kQuality);
    for (int k = 0; k < kSyncDeltaWord; ++k) {
        const std::uint32_t word = Be32(r + kFrameWords + 4 * (k / 3));
        SetWord(line, k + 1, static_cast<std::uint16_t>((word >> (20 - 10 * (k % 3))) & 0x3FF));
    }
    facts.NoCounts =
        !UnpackEarthView(r + kEarthView, line.data() + ByteOfWord(kEarthViewWords.First));
    for (int p = 0; p < kEarthLocationPoints; ++p) {
        const std::uint8_t* at = r + kEarthLocation + 4 * p;
        facts.EarthLocation[p].Latitude = static_cast<std::int16_t>(Be16(at)) * kEarthLocationScale;
        facts.EarthLocation[p].Longitude =
            static_cast<std::int16_t>(Be16(at + 2)) * kEarthLocationScale;
    }
    facts.EarthLocated =
        (facts.QualityBits & kPodNoEarthLocationBit) == 0 && AnyPoint(facts.EarthLocation);
}

}  // namespace

Level1bFile DetectLevel1b(std::span<const std::uint8_t> fileStart, std::int64_t fileSize) {
    const std::span<const std::uint8_t> bytes = fileStart.first(std::min<std::size_t>(
        fileStart.size(), static_cast<std::size_t>(std::max<std::int64_t>(0, fileSize))));
    if (IsKlmHeader(bytes, 0)) {
        return KlmFile(bytes, 0, fileSize);
    }
    if (IsArsHeader(bytes)) {
        return KlmFile(bytes, kArsHeaderBytes, fileSize);
    }
    if (IsTbmHeader(bytes)) {
        return PodFile(bytes, kTbmHeaderBytes, fileSize);
    }
    if (IsPodHeader(bytes, 0)) {
        return PodFile(bytes, 0, fileSize);
    }
    return Level1bFile{};
}

RecordFacts DecodeRecord(Level1bKind kind, int version, std::span<const std::uint8_t> record,
                         std::span<std::uint8_t, static_cast<std::size_t>(kFrameBytes)> hrpLine) {
    RecordFacts facts;
    const bool klm = kind == Level1bKind::Klm;
    if ((klm && (version < 2 || version > 5)) || (!klm && version != 1)) {
        facts.Outcome = RecordOutcome::UnsupportedVersion;
        return facts;
    }
    const std::int64_t needed = klm ? kKlmLacRecordBytes : kPodLacRecordBytes;
    if (static_cast<std::int64_t>(record.size()) < needed) {
        facts.Outcome = RecordOutcome::TooShort;
        return facts;
    }
    ZeroWords(hrpLine, WordRange{kTipWords.First, kEarthViewWords.First - kTipWords.First});
    ZeroWords(hrpLine, kAuxSyncWords);
    switch (kind) {
        case Level1bKind::Klm:
            DecodeKlm(record.data(), hrpLine, facts);
            break;
        case Level1bKind::Pod:
            DecodePod(record.data(), hrpLine, facts);
            break;
    }
    facts.Outcome = RecordOutcome::Decoded;
    facts.DoNotUse = (facts.QualityBits & kDoNotUseBit) != 0;
    facts.TimeSuspect = (facts.QualityBits & kTimeErrorBit) != 0;
    facts.MissingTime = !NamesMoment(facts.Time);
    return facts;
}

CalendarDay CalendarDayOf(int year, int dayOfYear) {
    constexpr std::array<int, 12> kDays{31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = IsLeap(year);
    if (dayOfYear < 1 || dayOfYear > (leap ? 366 : 365)) {
        return {};
    }
    int left = dayOfYear;
    for (int month = 0; month < 12; ++month) {
        const int days = kDays[static_cast<std::size_t>(month)] + (month == 1 && leap ? 1 : 0);
        if (left <= days) {
            return {month + 1, left};
        }
        left -= days;
    }
    return {};
}

}  // namespace qiv::avhrr
