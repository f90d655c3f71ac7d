#include "avhrr/level1b.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "avhrr/frame.h"
#include "avhrr/level1b_writer.h"

namespace qiv::avhrr {
namespace {

namespace w = l1b_writer;
using Line = std::vector<std::uint8_t>;

constexpr std::size_t kLineBytes = static_cast<std::size_t>(kFrameBytes);

Level1bFile Detect(const w::Bytes& file) {
    return DetectLevel1b(file, static_cast<std::int64_t>(file.size()));
}

// Record `index` (from 0) of a written file, as the detection places it.
std::span<const std::uint8_t> RecordOf(const w::Bytes& file, const Level1bFile& found, int index) {
    return std::span<const std::uint8_t>(file).subspan(
        static_cast<std::size_t>(found.FirstRecordAt + index * found.RecordBytes),
        static_cast<std::size_t>(found.RecordBytes));
}

RecordFacts Decode(const Level1bFile& found, std::span<const std::uint8_t> record, Line& line) {
    line.assign(kLineBytes, 0xAB);  // every word not written stays visibly so
    return DecodeRecord(found.Kind, found.Version, record,
                        std::span<std::uint8_t, kLineBytes>(line.data(), kLineBytes));
}

std::uint16_t Word(const Line& line, int k) {
    return static_cast<std::uint16_t>(WordOf(line, k));
}

w::Record SomeRecord(int seed) {
    w::Record r;
    r.ScanLine = seed;
    r.When = {2010, 42, static_cast<std::uint32_t>(3'600'000 + 167 * seed)};
    r.FrameWords = w::PatternFrameWords(seed);
    r.Counts = w::PatternCounts(seed);
    r.LatLon = w::PatternLatLon(40.5, -3.25);
    return r;
}

struct DetectCase {
    const char* desc;
    bool klm;
    int version;
    int spacecraft;
    int dataType;
    bool archive;
    int startYear;
    // expected
    std::int64_t archiveBytes;
    std::int64_t recordBytes;
    bool versionKnown;
    Level1bDataType type;
    std::int16_t satId;
    const char* title;  // nullptr: no spacecraft the guides list
};

const DetectCase kDetectCases[] = {
    {"KLM v2 NOAA-15 LAC", true, 2, 4, 1, false, 2001, 0, 15872, true, Level1bDataType::Lac, 15,
     "NOAA-15 "},
    {"KLM v2 NOAA-16 HRPT after an ARS header", true, 2, 2, 3, true, 2003, 512, 15872, true,
     Level1bDataType::Hrpt, 16, "NOAA-16 "},
    {"KLM v3 NOAA-17 HRPT", true, 3, 6, 3, false, 2005, 0, 15872, true, Level1bDataType::Hrpt, 17,
     "NOAA-17 "},
    {"KLM v4 NOAA-18 LAC after an ARS header", true, 4, 7, 1, true, 2006, 512, 15872, true,
     Level1bDataType::Lac, 18, "NOAA-18 "},
    {"KLM v5 NOAA-19 HRPT", true, 5, 8, 3, false, 2012, 0, 15872, true, Level1bDataType::Hrpt, 19,
     "NOAA-19 "},
    {"KLM v5 MetOp-A FRAC coded 13", true, 5, 12, 13, true, 2008, 512, 15872, true,
     Level1bDataType::Frac, 102, "METOP-A "},
    {"KLM v5 MetOp-B FRAC coded 4", true, 5, 11, 4, false, 2014, 0, 15872, true,
     Level1bDataType::Frac, 101, "METOP-B "},
    {"KLM v5 MetOp-C HRPT", true, 5, 13, 3, true, 2020, 512, 15872, true, Level1bDataType::Hrpt,
     103, "METOP-C "},
    {"KLM v4 NOAA-18 GAC", true, 4, 7, 2, false, 2007, 0, 4608, true, Level1bDataType::Gac, 18,
     "NOAA-18 "},
    {"KLM unknown spacecraft code", true, 5, 9, 3, false, 2012, 0, 15872, true,
     Level1bDataType::Hrpt, 0, nullptr},
    {"KLM unknown version 6", true, 6, 8, 3, false, 2025, 0, 15872, false, Level1bDataType::Hrpt,
     19, "NOAA-19 "},
    {"KLM unknown data type", true, 5, 8, 7, false, 2012, 0, 15872, true, Level1bDataType::Unknown,
     19, "NOAA-19 "},
    {"POD NOAA-12 HRPT after a TBM header", false, 1, 5, 3, true, 1995, 122, 14800, true,
     Level1bDataType::Hrpt, 12, "NOAA-12 "},
    {"POD NOAA-14 LAC", false, 1, 3, 1, false, 1999, 0, 14800, true, Level1bDataType::Lac, 14,
     "NOAA-14 "},
    {"POD NOAA-14 GAC", false, 1, 3, 2, true, 2001, 122, 3220, true, Level1bDataType::Gac, 14,
     "NOAA-14 "},
    {"POD code 1 before 1988 is TIROS-N", false, 1, 1, 3, false, 1979, 0, 14800, true,
     Level1bDataType::Hrpt, 0, "TIROS-N "},
    {"POD code 1 from 1988 is NOAA-11", false, 1, 1, 3, true, 1990, 122, 14800, true,
     Level1bDataType::Hrpt, 11, "NOAA-11 "},
};

class DetectTest : public ::testing::TestWithParam<DetectCase> {};

TEST_P(DetectTest, HeaderFields) {
    const DetectCase& c = GetParam();
    w::File f;
    f.Klm = c.klm;
    f.Version = c.version;
    f.Spacecraft = c.spacecraft;
    f.DataType = c.dataType;
    f.ArchiveHeader = c.archive;
    f.Start = {c.startYear, 200, 41'000'123};
    f.End = {c.startYear, 200, 41'600'000};
    f.Records = {SomeRecord(1), SomeRecord(2)};
    const w::Bytes file = w::Write(f);

    const Level1bFile found = Detect(file);
    ASSERT_EQ(found.Verdict, Level1bVerdict::Recognised);
    EXPECT_EQ(found.Kind, c.klm ? Level1bKind::Klm : Level1bKind::Pod);
    EXPECT_EQ(found.ArchiveHeaderBytes, c.archiveBytes);
    EXPECT_EQ(found.RecordBytes, c.recordBytes);
    EXPECT_EQ(found.FirstRecordAt, c.archiveBytes + c.recordBytes);
    EXPECT_EQ(found.Version, c.klm ? c.version : 1);
    EXPECT_EQ(found.VersionKnown, c.versionKnown);
    EXPECT_EQ(found.DataType, c.type);
    EXPECT_EQ(found.SpacecraftCode, c.spacecraft);
    if (c.title == nullptr) {
        EXPECT_EQ(found.Spacecraft, nullptr);
    } else {
        ASSERT_NE(found.Spacecraft, nullptr);
        EXPECT_EQ(found.Spacecraft->SatId, c.satId);
        EXPECT_EQ(std::string(found.Spacecraft->Title), c.title);
    }
    EXPECT_EQ(found.Start.Year, c.startYear);
    EXPECT_EQ(found.Start.DayOfYear, 200);
    EXPECT_EQ(found.Start.Millisecond, 41'000'123);
    EXPECT_EQ(found.End.Millisecond, 41'600'000);
    EXPECT_EQ(found.StatedRecords, 2);
    EXPECT_EQ(found.WholeRecords, 2);
    EXPECT_EQ(found.TrailingBytes, 0);
}

INSTANTIATE_TEST_SUITE_P(Level1b, DetectTest, ::testing::ValuesIn(kDetectCases),
                         [](const ::testing::TestParamInfo<DetectCase>& row) {
                             std::string name;
                             for (const char ch : std::string(row.param.desc)) {
                                 name += std::isalnum(static_cast<unsigned char>(ch)) ? ch : '_';
                             }
                             return name;
                         });

// A TBM header tells how the archive wrote the samples; packed 10-bit counts unless it says 8
// or 16 bits.
TEST(Level1b, SampleBitsOfTheTbmHeader) {
    const struct {
        const char* wordSize;
        int bits;
    } cases[] = {{"10", 10}, {"16", 16}, {" 8", 8}, {"08", 8}, {"  ", 10}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.wordSize);
        w::File f;
        f.Klm = false;
        f.ArchiveHeader = true;
        f.TbmWordSize = c.wordSize;
        f.Records = {SomeRecord(1)};
        const Level1bFile found = Detect(w::Write(f));
        ASSERT_EQ(found.Verdict, Level1bVerdict::Recognised);
        EXPECT_EQ(found.SampleBits, c.bits);
    }
}

TEST(Level1b, OtherFilesAreNotLevel1b) {
    w::File klm;
    klm.Records = {SomeRecord(1)};
    const w::Bytes klmFile = w::Write(klm);

    // An HRP file: the pass header's title where a KLM header has its creation site.
    w::Bytes hrp(kLineBytes, 0);
    w::PutText(hrp, 0, "NOAA-19 ");
    // A raw recording: the frame sync in little-endian words.
    w::Bytes raw(kLineBytes, 0);
    for (std::size_t k = 0; k < kFrameSync.size(); ++k) {
        raw[2 * k] = static_cast<std::uint8_t>(kFrameSync[k] & 0xFF);
        raw[2 * k + 1] = static_cast<std::uint8_t>(kFrameSync[k] >> 8);
    }
    // A KLM header with a version of 0, and one cut short before its record count.
    w::Bytes noVersion = klmFile;
    noVersion[5] = 0;
    const w::Bytes cut(klmFile.begin(), klmFile.begin() + 100);
    // A POD header whose start day is 0, and one with an unknown code and no data set name.
    w::File pod;
    pod.Klm = false;
    pod.Start.Day = 0;
    pod.Records = {SomeRecord(1)};
    const w::Bytes podNoDay = w::Write(pod);
    pod.Start.Day = 10;
    pod.Spacecraft = 9;
    pod.DataSetName = "";
    const w::Bytes podUnknown = w::Write(pod);

    const struct {
        const char* desc;
        const w::Bytes& bytes;
    } cases[] = {
        {"HRP file", hrp},       {"raw recording", raw},  {"KLM version 0", noVersion},
        {"KLM header cut", cut}, {"POD day 0", podNoDay}, {"POD unknown, unnamed", podUnknown},
        {"empty", w::Bytes{}}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.desc);
        EXPECT_EQ(Detect(c.bytes).Verdict, Level1bVerdict::NotLevel1b);
    }
    // A known code finds POD without the data set name.
    pod.Spacecraft = 3;
    EXPECT_EQ(Detect(w::Write(pod)).Verdict, Level1bVerdict::Recognised);
}

TEST(Level1b, RecordCountsOfHeaderAndFile) {
    const struct {
        const char* desc;
        bool klm;
        bool archive;
        int headerRecords;
        int records;
        int stated;  // -1: as written
        std::size_t drop;
        std::int64_t whole;
        std::int64_t trailing;
        std::int64_t toRead;
    } cases[] = {
        {"KLM as stated", true, false, 1, 3, -1, 0, 3, 0, 3},
        {"KLM last record truncated", true, true, 1, 3, -1, 1000, 2, 15872 - 1000, 2},
        {"KLM stated more than there are", true, false, 1, 2, 5, 0, 2, 0, 2},
        {"KLM fill records after the stated ones", true, false, 1, 4, 2, 0, 4, 0, 2},
        {"KLM no count stated", true, false, 1, 3, 0, 0, 3, 0, 3},
        {"KLM secondary header records", true, true, 3, 2, -1, 0, 2, 0, 2},
        {"POD last record one byte short", false, true, 1, 2, -1, 1, 1, 14799, 1},
        {"POD header only", false, false, 1, 0, 0, 0, 0, 0, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.desc);
        w::File f;
        f.Klm = c.klm;
        f.ArchiveHeader = c.archive;
        f.HeaderRecords = c.headerRecords;
        f.StatedRecords = c.stated;
        f.DropBytes = c.drop;
        for (int i = 0; i < c.records; ++i) {
            f.Records.push_back(SomeRecord(i));
        }
        const w::Bytes file = w::Write(f);
        const Level1bFile found = Detect(file);
        ASSERT_EQ(found.Verdict, Level1bVerdict::Recognised);
        EXPECT_EQ(found.HeaderRecords, c.headerRecords);
        EXPECT_EQ(found.FirstRecordAt,
                  (c.archive ? (c.klm ? 512 : 122) : 0) + c.headerRecords * found.RecordBytes);
        EXPECT_EQ(found.WholeRecords, c.whole);
        EXPECT_EQ(found.TrailingBytes, c.trailing);
        EXPECT_EQ(found.RecordsToRead(), c.toRead);
    }
    // Only the first bytes of a file are needed: the size gives the counts.
    w::File f;
    f.ArchiveHeader = true;
    f.Records = {SomeRecord(1)};
    const w::Bytes file = w::Write(f);
    const std::span<const std::uint8_t> start(file.data(), kLevel1bDetectBytes);
    const Level1bFile found = DetectLevel1b(start, 6000 * kKlmLacRecordBytes + 512 + 15872);
    EXPECT_EQ(found.Verdict, Level1bVerdict::Recognised);
    EXPECT_EQ(found.WholeRecords, 6000);
}

// Every version and both kinds carry the same frame into the line.
TEST(Level1b, RecordBecomesHrpLine) {
    const struct {
        const char* desc;
        bool klm;
        int version;
        bool archive;
    } cases[] = {{"KLM v2", true, 2, false},
                 {"KLM v3", true, 3, true},
                 {"KLM v4", true, 4, false},
                 {"KLM v5", true, 5, true},
                 {"POD", false, 1, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.desc);
        w::File f;
        f.Klm = c.klm;
        f.Version = c.version;
        f.ArchiveHeader = c.archive;
        f.Spacecraft = c.klm ? 8 : 3;
        f.Records = {SomeRecord(3), SomeRecord(4)};
        f.Records[1].LatLon = w::PatternLatLon(-60.75, 170.5);
        const w::Bytes file = w::Write(f);
        const Level1bFile found = Detect(file);
        ASSERT_EQ(found.Verdict, Level1bVerdict::Recognised);

        for (int index = 0; index < 2; ++index) {
            SCOPED_TRACE(index);
            const w::Record& r = f.Records[static_cast<std::size_t>(index)];
            Line line;
            const RecordFacts facts = Decode(found, RecordOf(file, found, index), line);
            ASSERT_EQ(facts.Outcome, RecordOutcome::Decoded);
            EXPECT_EQ(facts.ScanLine, r.ScanLine);
            EXPECT_EQ(facts.Time.Year, 2010);
            EXPECT_EQ(facts.Time.DayOfYear, 42);
            EXPECT_EQ(facts.Time.Millisecond, r.When.Millisecond);
            EXPECT_FALSE(facts.Bad());
            EXPECT_TRUE(facts.EarthLocated);
            int wrong = 0;
            for (int k = 1; k <= kSyncDeltaWord; ++k) {
                wrong += Word(line, k) != r.FrameWords[static_cast<std::size_t>(k - 1)];
            }
            for (int k = kTipWords.First; k < kEarthViewWords.First; ++k) {
                wrong += Word(line, k) != 0;
            }
            for (int s = 1; s <= kEarthSamples; ++s) {
                for (int ch = 1; ch <= kChannels; ++ch) {
                    wrong += Word(line, EarthWord(s, ch)) !=
                             r.Counts[static_cast<std::size_t>(kChannels * (s - 1) + ch - 1)];
                }
            }
            for (int k = kAuxSyncWords.First; k <= kAuxSyncWords.Last(); ++k) {
                wrong += Word(line, k) != 0;
            }
            EXPECT_EQ(wrong, 0);
            // The points as the writer stored them: 1e-4 degree (KLM) or 1/128 degree (POD).
            const double step = c.klm ? 0.5e-4 : 0.5 / 128;
            for (int p : {0, 25, 50}) {
                EXPECT_NEAR(facts.EarthLocation[p].Latitude, r.LatLon[p][0], step);
                EXPECT_NEAR(facts.EarthLocation[p].Longitude, r.LatLon[p][1], step);
            }
        }
    }
}

// The counts at the edges of the packed block, written as literal bytes.
TEST(Level1b, TenBitUnpackingAtTheEdges) {
    for (const bool klm : {true, false}) {
        SCOPED_TRACE(klm ? "KLM" : "POD");
        w::File f;
        f.Klm = klm;
        f.Records = {SomeRecord(1)};
        f.Records[0].Counts.clear();
        w::Bytes file = w::Write(f);
        const Level1bFile found = Detect(file);
        const std::size_t first =
            static_cast<std::size_t>(found.FirstRecordAt) + (klm ? 1264 : 448);
        // Word 1: bits 31-30 set (never counts), then 1023, 0, 1.
        const std::uint8_t firstWord[] = {0xFF, 0xF0, 0x00, 0x01};
        // Word 3413: 0, 1023, 512.
        const std::uint8_t nextToLast[] = {0x00, 0x0F, 0xFE, 0x00};
        // Word 3414: bits 31-30 set, the last count, 641, and padding of all ones.
        const std::uint8_t lastWord[] = {0xE8, 0x1F, 0xFF, 0xFF};
        std::copy(std::begin(firstWord), std::end(firstWord), file.begin() + first);
        std::copy(std::begin(nextToLast), std::end(nextToLast), file.begin() + first + 4 * 3412);
        std::copy(std::begin(lastWord), std::end(lastWord), file.begin() + first + 4 * 3413);

        Line line;
        const RecordFacts facts = Decode(found, RecordOf(file, found, 0), line);
        ASSERT_EQ(facts.Outcome, RecordOutcome::Decoded);
        EXPECT_EQ(Word(line, EarthWord(1, 1)), 1023);
        EXPECT_EQ(Word(line, EarthWord(1, 2)), 0);
        EXPECT_EQ(Word(line, EarthWord(1, 3)), 1);
        // Counts 10236-10238 are sample 2048's channels 2-4, count 10239 its channel 5; the
        // padding after it reaches no word.
        EXPECT_EQ(Word(line, EarthWord(2048, 2)), 0);
        EXPECT_EQ(Word(line, EarthWord(2048, 3)), 1023);
        EXPECT_EQ(Word(line, EarthWord(2048, 4)), 512);
        EXPECT_EQ(Word(line, EarthWord(2048, 5)), 641);
        EXPECT_EQ(Word(line, kAuxSyncWords.First), 0);
        EXPECT_FALSE(facts.NoCounts);
    }
}

TEST(Level1b, BadRecordsAreMarked) {
    const struct {
        const char* desc;
        bool klm;
        std::uint32_t quality;
        w::Time when;
        bool zeroCounts;
        bool doNotUse, missingTime, noCounts, suspect, located;
    } cases[] = {
        {"KLM good", true, 0, {2010, 42, 1000}, false, false, false, false, false, true},
        {"KLM do not use",
         true,
         1u << 31,
         {2010, 42, 1000},
         false,
         true,
         false,
         false,
         false,
         true},
        {"KLM time sequence error",
         true,
         1u << 30,
         {2010, 42, 1000},
         false,
         false,
         false,
         false,
         true,
         true},
        {"KLM no earth location",
         true,
         1u << 27,
         {2010, 42, 1000},
         false,
         false,
         false,
         false,
         false,
         false},
        {"KLM year 0", true, 0, {0, 42, 1000}, false, false, true, false, false, true},
        {"KLM day 366 of 2009", true, 0, {2009, 366, 1000}, false, false, true, false, false, true},
        {"KLM day 366 of 2008",
         true,
         0,
         {2008, 366, 1000},
         false,
         false,
         false,
         false,
         false,
         true},
        {"KLM millisecond 86400000",
         true,
         0,
         {2010, 42, 86'400'000},
         false,
         false,
         true,
         false,
         false,
         true},
        {"KLM zero counts", true, 0, {2010, 42, 1000}, true, false, false, true, false, true},
        {"POD do not use",
         false,
         1u << 31,
         {1998, 42, 1000},
         false,
         true,
         false,
         false,
         false,
         true},
        {"POD no earth location",
         false,
         1u << 26,
         {1998, 42, 1000},
         false,
         false,
         false,
         false,
         false,
         false},
        {"POD day 0", false, 0, {1998, 0, 1000}, false, false, true, false, false, true},
        {"POD zero counts", false, 0, {1998, 42, 1000}, true, false, false, true, false, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.desc);
        w::File f;
        f.Klm = c.klm;
        f.Spacecraft = c.klm ? 8 : 3;
        w::Record r = SomeRecord(5);
        r.Quality = c.quality;
        r.When = c.when;
        if (c.zeroCounts) {
            r.Counts.clear();
        }
        f.Records = {r};
        const w::Bytes file = w::Write(f);
        const Level1bFile found = Detect(file);
        ASSERT_EQ(found.Verdict, Level1bVerdict::Recognised);
        Line line;
        const RecordFacts facts = Decode(found, RecordOf(file, found, 0), line);
        ASSERT_EQ(facts.Outcome, RecordOutcome::Decoded);
        EXPECT_EQ(facts.DoNotUse, c.doNotUse);
        EXPECT_EQ(facts.MissingTime, c.missingTime);
        EXPECT_EQ(facts.NoCounts, c.noCounts);
        EXPECT_EQ(facts.TimeSuspect, c.suspect);
        EXPECT_EQ(facts.Bad(), c.doNotUse || c.missingTime || c.noCounts);
        EXPECT_EQ(facts.EarthLocated, c.located);
        EXPECT_EQ(facts.QualityBits, c.quality);
    }
    // A record with no earth location at all, whatever the flags say.
    w::File f;
    w::Record r = SomeRecord(5);
    r.LatLon.clear();
    f.Records = {r};
    const w::Bytes file = w::Write(f);
    Line line;
    EXPECT_FALSE(Decode(Detect(file), RecordOf(file, Detect(file), 0), line).EarthLocated);
}

// Each record's time is its own: over midnight and New Year, and from POD's two-digit years.
TEST(Level1b, TimesOverMidnightAndNewYear) {
    const struct {
        const char* desc;
        bool klm;
        int podYear;  // two digits as stored; -1 from the year
        w::Time when;
        int year;
    } cases[] = {
        {"KLM before midnight on New Year's Eve", true, -1, {2009, 365, 86'399'900}, 2009},
        {"KLM after midnight on New Year's Day", true, -1, {2010, 1, 66}, 2010},
        {"KLM leap year's last day", true, -1, {2016, 366, 86'399'999}, 2016},
        {"POD 99 is 1999", false, 99, {1999, 365, 86'399'900}, 1999},
        {"POD 00 is 2000", false, 0, {2000, 1, 66}, 2000},
        {"POD 78 is 1978", false, 78, {1978, 300, 5}, 1978},
        {"POD 77 is 2077", false, 77, {2077, 300, 5}, 2077},
        {"POD 05 is 2005", false, 5, {2005, 100, 12'345'678}, 2005},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.desc);
        w::File f;
        f.Klm = c.klm;
        f.Spacecraft = c.klm ? 8 : 5;
        w::Record r = SomeRecord(1);
        r.When = c.when;
        r.PodYear = c.podYear;
        f.Records = {SomeRecord(0), r};
        const w::Bytes file = w::Write(f);
        const Level1bFile found = Detect(file);
        ASSERT_EQ(found.Verdict, Level1bVerdict::Recognised);
        Line line;
        const RecordFacts facts = Decode(found, RecordOf(file, found, 1), line);
        EXPECT_EQ(facts.Time.Year, c.year);
        EXPECT_EQ(facts.Time.DayOfYear, c.when.Day);
        EXPECT_EQ(facts.Time.Millisecond, c.when.Millisecond);
        EXPECT_FALSE(facts.MissingTime);
    }
    // A POD pass over New Year: the header's start in 1999, its end in 2000.
    w::File f;
    f.Klm = false;
    f.Spacecraft = 3;
    f.Start = {1999, 365, 86'000'000};
    f.End = {2000, 1, 500'000};
    f.Records = {SomeRecord(1)};
    const Level1bFile found = Detect(w::Write(f));
    EXPECT_EQ(found.Start.Year, 1999);
    EXPECT_EQ(found.End.Year, 2000);
    EXPECT_EQ(found.End.DayOfYear, 1);
}

TEST(Level1b, RecordsThatCannotBeDecodedLeaveTheLine) {
    w::File f;
    f.Records = {SomeRecord(1)};
    const w::Bytes file = w::Write(f);
    const Level1bFile found = Detect(file);
    const std::span<const std::uint8_t> record = RecordOf(file, found, 0);
    const struct {
        const char* desc;
        Level1bKind kind;
        int version;
        std::size_t bytes;
        RecordOutcome outcome;
    } cases[] = {
        {"KLM one byte short", Level1bKind::Klm, 5, 15871, RecordOutcome::TooShort},
        {"KLM a GAC record", Level1bKind::Klm, 4, 4608, RecordOutcome::TooShort},
        {"POD one byte short", Level1bKind::Pod, 1, 14799, RecordOutcome::TooShort},
        {"KLM version 1", Level1bKind::Klm, 1, 15872, RecordOutcome::UnsupportedVersion},
        {"KLM version 6", Level1bKind::Klm, 6, 15872, RecordOutcome::UnsupportedVersion},
        {"POD version 2", Level1bKind::Pod, 2, 15872, RecordOutcome::UnsupportedVersion},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.desc);
        Line line(kLineBytes, 0xAB);
        const RecordFacts facts =
            DecodeRecord(c.kind, c.version, record.first(c.bytes),
                         std::span<std::uint8_t, kLineBytes>(line.data(), kLineBytes));
        EXPECT_EQ(facts.Outcome, c.outcome);
        EXPECT_EQ(std::count(line.begin(), line.end(), 0xAB), static_cast<long>(kLineBytes));
    }
    // A longer span is read only as far as the record goes.
    Line line;
    const w::Bytes doubled = [&] {
        w::Bytes b(record.begin(), record.end());
        b.insert(b.end(), record.begin(), record.end());
        return b;
    }();
    EXPECT_EQ(Decode(found, doubled, line).Outcome, RecordOutcome::Decoded);
}

TEST(Level1b, CalendarDays) {
    const struct {
        int year, day, month, dayOfMonth;
    } cases[] = {{2024, 1, 1, 1},   {2024, 60, 2, 29},   {2023, 60, 3, 1},    {1900, 60, 3, 1},
                 {2000, 60, 2, 29}, {2024, 366, 12, 31}, {2023, 365, 12, 31}, {2023, 366, 0, 0},
                 {2023, 0, 0, 0},   {1998, 202, 7, 21}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.year) + "-" + std::to_string(c.day));
        const CalendarDay d = CalendarDayOf(c.year, c.day);
        EXPECT_EQ(d.Month, c.month);
        EXPECT_EQ(d.Day, c.dayOfMonth);
    }
}

}  // namespace
}  // namespace qiv::avhrr
