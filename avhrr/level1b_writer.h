// Writes NOAA Level 1b files for tests, fuzz seeds, benchmarks and the sample generator's archive
// sample (never for the programs, which only read them), field by field from the published
// layouts (KLM User's Guide 8.3.1: ARS header, header record, LAC/HRPT/GAC data record of
// versions 2-5; POD Guide 2 and 3: TBM header, header record, LAC/HRPT/GAC data record). It uses
// nothing of the reader: offsets are the guides' octet numbers less one, and the 10-bit counts
// are written as a bit stream, 2 zero bits and three counts to every 32 bits.
#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace qiv::avhrr::l1b_writer {

using Bytes = std::vector<std::uint8_t>;

inline void Put16(Bytes& b, std::size_t at, std::uint32_t v) {
    b[at] = static_cast<std::uint8_t>(v >> 8);
    b[at + 1] = static_cast<std::uint8_t>(v);
}
inline void Put32(Bytes& b, std::size_t at, std::uint32_t v) {
    Put16(b, at, v >> 16);
    Put16(b, at + 2, v & 0xFFFF);
}
inline void PutText(Bytes& b, std::size_t at, const std::string& text) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        b[at + i] = static_cast<std::uint8_t>(text[i]);
    }
}

// Count i of a packed block starting at byte `at`: bits 2 + 10 i' .. 11 + 10 i' of its 32-bit
// word, counted from the word's most significant bit (i' = i mod 3), written bit by bit.
inline void PutPacked(Bytes& b, std::size_t at, std::size_t i, std::uint32_t value) {
    const std::size_t firstBit = 32 * (i / 3) + 2 + 10 * (i % 3);
    for (std::size_t bit = 0; bit < 10; ++bit) {
        const std::size_t pos = firstBit + bit;
        const auto mask = static_cast<std::uint8_t>(0x80 >> (pos % 8));
        if ((value >> (9 - bit)) & 1) {
            b[at + pos / 8] |= mask;
        } else {
            b[at + pos / 8] &= static_cast<std::uint8_t>(~mask);
        }
    }
}

struct Time {
    int Year = 2010;
    int Day = 1;
    std::uint32_t Millisecond = 0;
};

struct Record {
    int ScanLine = 1;
    Time When;
    // The year as a POD record stores it (two digits); -1: Year % 100.
    int PodYear = -1;
    std::uint32_t Quality = 0;
    // Frame words 1-103 and the 10240 counts; empty: zeros.
    std::vector<std::uint16_t> FrameWords;
    std::vector<std::uint16_t> Counts;
    // Earth location in degrees, 51 points; empty: zeros.
    std::vector<std::array<double, 2>> LatLon;
};

struct File {
    bool Klm = true;
    int Version = 5;     // KLM only
    int Spacecraft = 8;  // the header's code
    int DataType = 3;    // KLM: 1 LAC, 2 GAC, 3 HRPT, 4 or 13 FRAC; POD: 1 LAC, 2 GAC, 3 HRPT
    bool ArchiveHeader = false;  // ARS (KLM) or TBM (POD) in front
    int HeaderRecords = 1;       // KLM: the count the header states, and the records written
    Time Start;
    Time End;
    int PodStartYear = -1;  // two digits as stored; -1: Start.Year % 100
    int PodEndYear = -1;
    int StatedRecords = -1;  // -1: the records written
    std::string DataSetName = "NSS.HRPT.NP.D10001.S0000.E0010.B1234567.WI";
    std::vector<Record> Records;
    std::size_t DropBytes = 0;  // cut off the end, a truncated last record
    std::string TbmWordSize = "10";
};

inline bool Gac(const File& f) {
    return f.DataType == 2;
}

inline std::size_t RecordBytes(const File& f) {
    if (f.Klm) {
        return Gac(f) ? 4608 : 15872;
    }
    return Gac(f) ? 3220 : 14800;
}

// POD time code: 7 bits of year, 9 of day, then 5 zero bits and 27 of milliseconds.
inline void PutPodTime(Bytes& b, std::size_t at, int twoDigitYear, const Time& t) {
    Put16(b, at, static_cast<std::uint32_t>(twoDigitYear << 9 | t.Day));
    Put32(b, at + 2, t.Millisecond & 0x07FFFFFF);
}

inline Bytes ArsHeader(const File& f) {
    Bytes b(512, ' ');
    PutText(b, 0, "123456");                          // COST number
    PutText(b, 30, f.DataSetName);                    // data set name, 42 characters
    PutText(b, 161, "NOAA Level 1b       ");          // data format
    PutText(b, 181, std::to_string(RecordBytes(f)));  // size of record
    return b;
}

inline Bytes TbmHeader(const File& f) {
    Bytes b(122, ' ');
    PutText(b, 30, f.DataSetName);
    b[74] = 'T';                     // total copy
    PutText(b, 117, f.TbmWordSize);  // sensor data word size
    return b;
}

inline Bytes KlmHeader(const File& f) {
    Bytes b(RecordBytes(f), 0);
    PutText(b, 0, "NSS ");
    Put16(b, 4, static_cast<std::uint32_t>(f.Version));
    Put16(b, 6, 2006);
    Put16(b, 8, 318);
    Put16(b, 14, static_cast<std::uint32_t>(f.HeaderRecords));
    PutText(b, 22, f.DataSetName);
    Put16(b, 72, static_cast<std::uint32_t>(f.Spacecraft));
    Put16(b, 74, 306);  // instrument
    Put16(b, 76, static_cast<std::uint32_t>(f.DataType));
    Put16(b, 84, static_cast<std::uint32_t>(f.Start.Year));
    Put16(b, 86, static_cast<std::uint32_t>(f.Start.Day));
    Put32(b, 88, f.Start.Millisecond);
    Put16(b, 96, static_cast<std::uint32_t>(f.End.Year));
    Put16(b, 98, static_cast<std::uint32_t>(f.End.Day));
    Put32(b, 100, f.End.Millisecond);
    const int stated = f.StatedRecords >= 0 ? f.StatedRecords : static_cast<int>(f.Records.size());
    Put16(b, 128, static_cast<std::uint32_t>(stated));
    return b;
}

inline Bytes PodHeader(const File& f) {
    Bytes b(RecordBytes(f), 0);
    b[0] = static_cast<std::uint8_t>(f.Spacecraft);
    b[1] = static_cast<std::uint8_t>(f.DataType << 4 | 1);  // type, embedded TIP
    PutPodTime(b, 2, f.PodStartYear >= 0 ? f.PodStartYear : f.Start.Year % 100, f.Start);
    const int stated = f.StatedRecords >= 0 ? f.StatedRecords : static_cast<int>(f.Records.size());
    Put16(b, 8, static_cast<std::uint32_t>(stated));
    PutPodTime(b, 10, f.PodEndYear >= 0 ? f.PodEndYear : f.End.Year % 100, f.End);
    PutText(b, 16, "1234512");  // processing block
    PutText(b, 40, f.DataSetName);
    return b;
}

inline Bytes KlmRecord(const File& f, const Record& r) {
    Bytes b(RecordBytes(f), 0);
    Put16(b, 0, static_cast<std::uint32_t>(r.ScanLine));
    Put16(b, 2, static_cast<std::uint32_t>(r.When.Year));
    Put16(b, 4, static_cast<std::uint32_t>(r.When.Day));
    Put32(b, 8, r.When.Millisecond);
    Put32(b, 24, r.Quality);
    for (std::size_t p = 0; p < r.LatLon.size(); ++p) {
        Put32(b, 640 + 8 * p,
              static_cast<std::uint32_t>(static_cast<std::int32_t>(
                  r.LatLon[p][0] * 1e4 + (r.LatLon[p][0] < 0 ? -0.5 : 0.5))));
        Put32(b, 644 + 8 * p,
              static_cast<std::uint32_t>(static_cast<std::int32_t>(
                  r.LatLon[p][1] * 1e4 + (r.LatLon[p][1] < 0 ? -0.5 : 0.5))));
    }
    for (std::size_t k = 0; k < r.FrameWords.size(); ++k) {
        Put16(b, 1056 + 2 * k, r.FrameWords[k]);
    }
    const std::size_t counts = Gac(f) ? 409 * 5 : 2048 * 5;
    for (std::size_t i = 0; i < r.Counts.size() && i < counts; ++i) {
        PutPacked(b, 1264, i, r.Counts[i]);
    }
    return b;
}

inline Bytes PodRecord(const File& f, const Record& r) {
    Bytes b(RecordBytes(f), 0);
    Put16(b, 0, static_cast<std::uint32_t>(r.ScanLine));
    PutPodTime(b, 2, r.PodYear >= 0 ? r.PodYear : r.When.Year % 100, r.When);
    Put32(b, 8, r.Quality);
    for (std::size_t p = 0; p < r.LatLon.size(); ++p) {
        const auto scaled = [](double degrees) {
            return static_cast<std::uint32_t>(static_cast<std::uint16_t>(
                static_cast<std::int16_t>(degrees * 128 + (degrees < 0 ? -0.5 : 0.5))));
        };
        Put16(b, 104 + 4 * p, scaled(r.LatLon[p][0]));
        Put16(b, 106 + 4 * p, scaled(r.LatLon[p][1]));
    }
    for (std::size_t k = 0; k < r.FrameWords.size(); ++k) {
        PutPacked(b, 308, k, r.FrameWords[k]);
    }
    const std::size_t counts = Gac(f) ? 409 * 5 : 2048 * 5;
    for (std::size_t i = 0; i < r.Counts.size() && i < counts; ++i) {
        PutPacked(b, 448, i, r.Counts[i]);
    }
    return b;
}

inline Bytes Write(const File& f) {
    Bytes out;
    const auto append = [&](const Bytes& part) { out.insert(out.end(), part.begin(), part.end()); };
    if (f.ArchiveHeader) {
        append(f.Klm ? ArsHeader(f) : TbmHeader(f));
    }
    append(f.Klm ? KlmHeader(f) : PodHeader(f));
    for (int extra = 1; f.Klm && extra < f.HeaderRecords; ++extra) {
        append(Bytes(RecordBytes(f), 0));  // secondary header records, unused
    }
    for (const Record& r : f.Records) {
        append(f.Klm ? KlmRecord(f, r) : PodRecord(f, r));
    }
    out.resize(out.size() - std::min(f.DropBytes, out.size()));
    return out;
}

// Counts that differ from sample to sample and channel to channel and reach both ends of the
// 10-bit range.
inline std::vector<std::uint16_t> PatternCounts(int seed) {
    std::vector<std::uint16_t> counts(2048 * 5);
    for (std::size_t i = 0; i < counts.size(); ++i) {
        counts[i] =
            static_cast<std::uint16_t>((i * 7 + static_cast<std::size_t>(seed) * 131) % 1024);
    }
    counts.front() = 1023;
    counts.back() = 1023;
    return counts;
}

inline std::vector<std::uint16_t> PatternFrameWords(int seed) {
    std::vector<std::uint16_t> words(103);
    for (std::size_t k = 0; k < words.size(); ++k) {
        words[k] = static_cast<std::uint16_t>((k * 37 + static_cast<std::size_t>(seed)) % 1024);
    }
    return words;
}

inline std::vector<std::array<double, 2>> PatternLatLon(double lat0, double lon0) {
    std::vector<std::array<double, 2>> points(51);
    for (std::size_t p = 0; p < points.size(); ++p) {
        points[p] = {lat0 + 0.1 * static_cast<double>(p), lon0 - 0.25 * static_cast<double>(p)};
    }
    return points;
}

}  // namespace qiv::avhrr::l1b_writer
