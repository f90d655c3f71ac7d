// Fuzz target over the NOAA Level 1b reader of the AVHRR library: DetectLevel1b on a fuzzed file
// and DecodeRecord on each of its first records, KLM and POD, with and without an archive header,
// whole, cut short and with fuzzed kinds and versions.
//
// Input (fuzz_support.h), choices:
//   bytes 0-1  the file's length: 16 x (byte 0 + 256 x (byte 1 & 15)) + (byte 1 >> 4), 0..65535
//   byte 2     bit 0     decode with the kind and version below instead of those detected
//              bit 1     that kind: 0 KLM, 1 POD
//              bits 2-4  that version, 0..7
// no replies, then the file as patches over zeros (level1b_sparse_file.h).
//
// Beside the sanitizers it checks: detection from the first kLevel1bDetectBytes says the same
// as from the whole file; a recognised file's sizes add up (the archive header, the header
// records, the whole records and the trailing part make the file), the archive header and record
// sizes are those of its kind, a spacecraft named has the code read; DecodeRecord on each of the
// first four records, the part after the last whole one included, refuses exactly a version
// other than KLM 2-5 or POD 1 and a record shorter than its kind's, writing nothing then, and
// otherwise writes words 1-103 and the earth view as a bit-by-bit model of the guides' layouts
// reads them from the record, 0 in words 104-750 and 10991-11090, and reports "no counts"
// exactly when every count is 0 and "bad" exactly for its three reasons.
#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "avhrr/frame.h"
#include "avhrr/level1b.h"
#include "fuzz/fuzz_support.h"
#include "fuzz/level1b_sparse_file.h"

namespace {

using namespace qiv::avhrr;
using qiv::fuzz::Broken;
using qiv::fuzz::Require;
using qiv::fuzz::Text;

constexpr std::size_t kChoiceBytes = 3;
constexpr std::size_t kMostInputBytes = 16384;
constexpr int kMostRecords = 4;
constexpr std::size_t kLineBytes = static_cast<std::size_t>(kFrameBytes);

// Bit `bit` (0 the most significant) of a run of bytes.
std::uint32_t BitAt(std::span<const std::uint8_t> bytes, std::size_t bit) {
    return (bytes[bit / 8] >> (7 - bit % 8)) & 1u;
}

// Count i of a 10-bit packed block: two zero bits, then three counts, in every 32 bits.
std::uint16_t PackedCount(std::span<const std::uint8_t> block, std::size_t i) {
    const std::size_t first = 32 * (i / 3) + 2 + 10 * (i % 3);
    std::uint32_t value = 0;
    for (std::size_t b = 0; b < 10; ++b) {
        value = value << 1 | BitAt(block, first + b);
    }
    return static_cast<std::uint16_t>(value);
}

void CheckDetection(const Level1bFile& file, std::int64_t length) {
    if (file.Verdict != Level1bVerdict::Recognised) {
        return;
    }
    const bool klm = file.Kind == Level1bKind::Klm;
    Require(file.ArchiveHeaderBytes == 0 ||
                file.ArchiveHeaderBytes == (klm ? kArsHeaderBytes : kTbmHeaderBytes),
            "an archive header of " + Text(file.ArchiveHeaderBytes) + " bytes");
    const std::int64_t lac = klm ? kKlmLacRecordBytes : kPodLacRecordBytes;
    const std::int64_t gac = klm ? kKlmGacRecordBytes : kPodGacRecordBytes;
    Require(file.RecordBytes == (file.DataType == Level1bDataType::Gac ? gac : lac),
            "records of " + Text(file.RecordBytes) + " bytes");
    Require(file.HeaderRecords >= 1 && (klm || file.HeaderRecords == 1),
            "header records: " + Text(file.HeaderRecords));
    Require(file.FirstRecordAt == file.ArchiveHeaderBytes + file.HeaderRecords * file.RecordBytes,
            "the first record is not after the headers");
    if (length >= file.FirstRecordAt) {
        Require(file.FirstRecordAt + file.WholeRecords * file.RecordBytes + file.TrailingBytes ==
                        length &&
                    file.TrailingBytes >= 0 && file.TrailingBytes < file.RecordBytes,
                "the records do not add up to the file");
    } else {
        Require(file.WholeRecords == 0 && file.TrailingBytes == 0,
                "records counted in a file that ends within its headers");
    }
    Require(file.RecordsToRead() >= 0 && file.RecordsToRead() <= file.WholeRecords,
            "more records to read than the file holds");
    Require(file.SampleBits == 10 || (!klm && file.ArchiveHeaderBytes == kTbmHeaderBytes &&
                                      (file.SampleBits == 8 || file.SampleBits == 16)),
            "samples of " + Text(file.SampleBits) + " bits");
    Require(file.Spacecraft == nullptr || file.Spacecraft->Code == file.SpacecraftCode,
            "the spacecraft named is not the code read");
    Require(file.VersionKnown == (klm ? file.Version >= 2 && file.Version <= 5 : file.Version == 1),
            "a version known that is not, or the other way round");
}

bool SameDetection(const Level1bFile& a, const Level1bFile& b) {
    return a.Verdict == b.Verdict && a.Kind == b.Kind &&
           a.ArchiveHeaderBytes == b.ArchiveHeaderBytes && a.HeaderRecords == b.HeaderRecords &&
           a.RecordBytes == b.RecordBytes && a.Version == b.Version &&
           a.SampleBits == b.SampleBits && a.DataType == b.DataType &&
           a.Spacecraft == b.Spacecraft && a.StatedRecords == b.StatedRecords &&
           a.WholeRecords == b.WholeRecords && a.TrailingBytes == b.TrailingBytes &&
           a.Start.Year == b.Start.Year && a.Start.DayOfYear == b.Start.DayOfYear &&
           a.Start.Millisecond == b.Start.Millisecond && a.End.Year == b.End.Year &&
           a.End.Millisecond == b.End.Millisecond;
}

void CheckRecord(Level1bKind kind, int version, std::span<const std::uint8_t> record) {
    std::vector<std::uint8_t> line(kLineBytes, 0xA5);
    const RecordFacts facts = DecodeRecord(
        kind, version, record, std::span<std::uint8_t, kLineBytes>(line.data(), kLineBytes));
    const bool klm = kind == Level1bKind::Klm;
    const bool versionKnown = klm ? version >= 2 && version <= 5 : version == 1;
    const auto needed = static_cast<std::size_t>(klm ? kKlmLacRecordBytes : kPodLacRecordBytes);
    if (!versionKnown || record.size() < needed) {
        Require(facts.Outcome ==
                    (!versionKnown ? RecordOutcome::UnsupportedVersion : RecordOutcome::TooShort),
                "a refusal for another reason");
        Require(std::all_of(line.begin(), line.end(), [](std::uint8_t b) { return b == 0xA5; }),
                "a refused record wrote into the line");
        return;
    }
    Require(facts.Outcome == RecordOutcome::Decoded, "a whole record was not decoded");
    const auto word = [&](int k) { return static_cast<std::uint16_t>(WordOf(line, k)); };
    for (int k = 1; k <= kSyncDeltaWord; ++k) {
        const std::size_t at = static_cast<std::size_t>(2 * (k - 1));
        const std::uint16_t expected =
            klm ? static_cast<std::uint16_t>(record[1056 + at] << 8 | record[1057 + at])
                : PackedCount(record.subspan(308), static_cast<std::size_t>(k - 1));
        if (word(k) != expected) {
            Broken("frame word " + Text(k) + " is " + Text(word(k)) + ", the record holds " +
                   Text(expected));
        }
    }
    for (int k = kTipWords.First; k < kEarthViewWords.First; ++k) {
        if (word(k) != 0) {
            Broken("word " + Text(k) + " is not 0");
        }
    }
    for (int k = kAuxSyncWords.First; k <= kAuxSyncWords.Last(); ++k) {
        if (word(k) != 0) {
            Broken("word " + Text(k) + " is not 0");
        }
    }
    const std::span<const std::uint8_t> counts = record.subspan(klm ? 1264 : 448);
    bool anyCount = false;
    for (std::size_t i = 0; i < static_cast<std::size_t>(kEarthSamples * kChannels); ++i) {
        const std::uint16_t expected = PackedCount(counts, i);
        const int k = kEarthViewWords.First + static_cast<int>(i);
        if (word(k) != expected) {
            Broken("earth-view word " + Text(k) + " is " + Text(word(k)) + ", the record holds " +
                   Text(expected));
        }
        anyCount |= expected != 0;
    }
    Require(facts.NoCounts == !anyCount, "\"no counts\" wrongly told");
    Require(facts.DoNotUse == ((facts.QualityBits >> 31) != 0), "\"do not use\" wrongly told");
    Require(facts.Bad() == (facts.DoNotUse || facts.MissingTime || facts.NoCounts),
            "\"bad\" for another reason");
    Require(
        facts.MissingTime || (facts.Time.DayOfYear >= 1 && facts.Time.DayOfYear <= 366 &&
                              facts.Time.Millisecond >= 0 && facts.Time.Millisecond < 86'400'000),
        "a time out of range taken as a moment");
    for (const EarthPoint& p : facts.EarthLocation) {
        Require(std::isfinite(p.Latitude) && std::isfinite(p.Longitude),
                "an earth point is no number");
    }
}

int Run(std::span<const std::uint8_t> data) {
    if (data.size() > kMostInputBytes) {
        return 0;
    }
    const qiv::fuzz::FuzzInput input(data, kChoiceBytes);
    const std::size_t length =
        16 * (input.Choice(0) + 256 * (input.Choice(1) & 15u)) + (input.Choice(1) >> 4);
    const bool fuzzedKind = (input.Choice(2) & 1) != 0;
    const Level1bKind kind = (input.Choice(2) & 2) != 0 ? Level1bKind::Pod : Level1bKind::Klm;
    const int version = (input.Choice(2) >> 2) & 7;
    const std::vector<std::uint8_t> file = qiv::fuzz::BuildSparseFile(input.File(), length);
    const auto size = static_cast<std::int64_t>(file.size());

    const std::span<const std::uint8_t> all(file);
    const Level1bFile whole = DetectLevel1b(all, size);
    const Level1bFile found =
        DetectLevel1b(all.first(std::min<std::size_t>(file.size(), kLevel1bDetectBytes)), size);
    Require(SameDetection(whole, found), "the first bytes and the whole file tell apart");
    CheckDetection(found, size);
    if (found.Verdict != Level1bVerdict::Recognised) {
        return 0;
    }
    for (int r = 0; r < kMostRecords; ++r) {
        const std::int64_t start = found.FirstRecordAt + r * found.RecordBytes;
        if (start >= size) {
            break;
        }
        const auto count = static_cast<std::size_t>(std::min(found.RecordBytes, size - start));
        const std::span<const std::uint8_t> record =
            all.subspan(static_cast<std::size_t>(start), count);
        CheckRecord(fuzzedKind ? kind : found.Kind, fuzzedKind ? version : found.Version, record);
    }
    return 0;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    return Run({data, size});
}
