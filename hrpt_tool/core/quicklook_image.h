// The quicklook image: every s-th sample of every s-th line of one band, one byte per kept
// sample, in the raster format of Rastel_Qiv with its dimension header over the first four
// pixels. Both quicklook commands (from CAL, SST, NDV products and from HRP line files) write it
// through this one engine; they differ only in where the samples lie and how a value becomes
// a byte.
#pragma once

#include <cstdint>

#include "common/core/binary_file.h"
#include "hrpt_tool/core/hrp_file.h"

namespace qiv::swathly {

// Every line of both input kinds, products and HRP, holds this many samples.
inline constexpr std::int64_t kSamplesPerLine = kEarthSamples;

struct QuicklookSize {
    std::int64_t Rows = 0;
    std::int64_t Cols = 0;
    friend bool operator==(const QuicklookSize&, const QuicklookSize&) = default;
};

// Rows ⌊(N − 1) / s⌋ + 1 and columns ⌊2047 / s⌋ + 1 for N ≥ 1; 0 × 0 for N below 1.
// Needs s ≥ 1.
QuicklookSize QuicklookSizeFor(std::int64_t lines, std::int64_t interval);

// How a 16-bit sample becomes an output byte.
enum class SampleScale {
    Clip,        // products: values already in grey levels; below 1 gives 0, above 255 gives 255
    TenToEight,  // HRP words: v × 255 / 1024 rounded halves to even, then held to 0..255
};

std::uint8_t ClipToByte(std::int16_t value);
std::uint8_t ScaleTenToEight(std::int16_t value);

// Where one band's samples lie in the input file. Sample c (from 1) of line r (from 1) starts
// at FirstLineOffset + (r − 1) × LineLength + (c − 1) × SampleLength; the band's 16-bit
// little-endian value lies ValueOffset bytes further on.
struct SampleLayout {
    std::int64_t FirstLineOffset = 0;
    std::int64_t LineLength = 0;
    std::int64_t SampleLength = 0;
    std::int64_t ValueOffset = 0;
    SampleScale Scale = SampleScale::Clip;
};

// The band option buttons Option1(0) to Option1(5), by the first one selected.
enum class BandButton { Band1, Band2, Band3, Band4, Band5, SingleBand };

// CAL products: 20480-byte records of 2048 five-band samples, the chosen band; "single Band"
// reads SST and NDV products: 4096-byte records of one value per sample. Record 0 is the
// product header, so line r is record r.
SampleLayout ProductLayout(BandButton band);
// HRP lines of 22180 bytes, earth view from line byte 1500 on, five channels per sample; the
// channel chosen, and channel 3 for "single Band".
SampleLayout HrpLayout(BandButton band);

// Writes the R × C pixels of QuicklookSizeFor(lines, interval) from output offset 0 and then
// the header R, C over the first four bytes; the output is never shortened, so the tail of a
// longer existing file stays. Samples that lie beyond the end of the input are written as 0.
// Each kept line is one read and the pixels go out in large blocks. Rows and columns must fit
// the 16-bit header (the caller checks); interval ≥ 1.
Failure WriteQuicklookImage(BinaryFile& input, BinaryFile& output, const SampleLayout& layout,
                            std::int64_t lines, std::int64_t interval);

}  // namespace qiv::swathly
