// The HRPT minor frame of the NOAA AVHRR, as the satellites broadcast it and as an HRP file holds
// it, one frame per scan line: 11090 ten-bit words, each stored in 16 bits. This is the one place
// that knows where each group of words lies in a frame.
//
// Sources: NOAA KLM User's Guide, section 4.1 (HRPT minor frame format, table 4.1.2-1);
// NOAA Polar Orbiter Data User's Guide (POD), section 4.1 for TIROS-N to NOAA-14, whose frame
// has the same word positions.
//
// Words are numbered from 1 as the guides number them; bits of a 10-bit word from the least
// significant, 0.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

namespace qiv::avhrr {

inline constexpr int kFrameWords = 11090;
inline constexpr std::int64_t kFrameBytes = 2 * kFrameWords;

// A run of words [First, First + Count).
struct WordRange {
    int First = 1;
    int Count = 0;
    constexpr int Last() const { return First + Count - 1; }
};

inline constexpr WordRange kFrameSyncWords{1, 6};
inline constexpr int kIdWord = 7;  // spacecraft address, frame counters, channel 3 select
inline constexpr WordRange kTimeCodeWords{9, 4};
// Telemetry: ramp calibration (13-17), the PRT reading of the one thermometer that this line
// carries (18-20, three readings of it), the channel 3 patch temperature (21) and a spare (22).
inline constexpr WordRange kTelemetryWords{13, 10};
inline constexpr WordRange kPrtWords{18, 3};
// Internal calibration target (back scan): ten samples of the three thermal channels,
// interleaved 3B, 4, 5, 3B, 4, 5, ...
inline constexpr WordRange kBackScanWords{23, 30};
inline constexpr int kBackScanChannels = 3;
inline constexpr int kCalibrationSamples = 10;
// Space view: ten samples of the five channels, interleaved 1, 2, 3, 4, 5, 1, 2, ...
inline constexpr WordRange kSpaceViewWords{53, 50};
inline constexpr int kChannels = 5;
inline constexpr int kSyncDeltaWord = 103;
inline constexpr WordRange kTipWords{104, 520};  // TIP data, five frames of 104 words
inline constexpr WordRange kSpareWords{624, 127};
// Earth view: 2048 samples of the five channels, the channels of one sample side by side.
inline constexpr WordRange kEarthViewWords{751, 10240};
inline constexpr int kEarthSamples = 2048;
inline constexpr WordRange kAuxSyncWords{10991, 100};

// The frame sync of words 1-6.
inline constexpr std::array<std::uint16_t, 6> kFrameSync{0x284, 0x16F, 0x35C, 0x19D, 0x20F, 0x095};

// The 10-bit counts every sensor word carries.
inline constexpr int kMostCount = 1023;

// Word k (from 1) of a frame stored in little-endian 16-bit words, read as signed, as an HRP
// file is read. `frame` must hold at least 2 k bytes.
constexpr std::int16_t WordOf(std::span<const std::uint8_t> frame, int k) {
    const auto at = static_cast<std::size_t>(2 * (k - 1));
    return static_cast<std::int16_t>(frame[at] | (frame[at + 1] << 8));
}

constexpr void SetWord(std::span<std::uint8_t> frame, int k, std::uint16_t value) {
    const auto at = static_cast<std::size_t>(2 * (k - 1));
    frame[at] = static_cast<std::uint8_t>(value & 0xFF);
    frame[at + 1] = static_cast<std::uint8_t>(value >> 8);
}

// The 0-based byte at which word k starts in a frame.
constexpr std::int64_t ByteOfWord(int k) {
    return 2 * static_cast<std::int64_t>(k - 1);
}

// Where channel `channel` (1..5) of earth-view sample `sample` (1..2048) lies.
constexpr int EarthWord(int sample, int channel) {
    return kEarthViewWords.First + kChannels * (sample - 1) + (channel - 1);
}
// Back-scan sample `sample` (1..10) of thermal channel `thermal` (0: 3B, 1: 4, 2: 5).
constexpr int BackScanWord(int sample, int thermal) {
    return kBackScanWords.First + kBackScanChannels * (sample - 1) + thermal;
}
// Space-view sample `sample` (1..10) of channel `channel` (1..5).
constexpr int SpaceViewWord(int sample, int channel) {
    return kSpaceViewWords.First + kChannels * (sample - 1) + (channel - 1);
}

// The time code of words 9-12: day of the year in word 9 above its lowest bit; the milliseconds
// of the day in the low 7 bits of word 10 and all of words 11 and 12.
struct TimeCode {
    int Day = 0;
    std::int64_t Millisecond = 0;
};
TimeCode DecodeTimeCode(std::span<const std::uint8_t> frame);
void EncodeTimeCode(std::span<std::uint8_t> frame, TimeCode code);

// The spacecraft address of the ID word (bits 3-6).
int SpacecraftAddress(std::span<const std::uint8_t> frame);

// Bit 0 of the ID word tells which half of channel 3 the AVHRR/3 sends: 1 for 3A (1.6 um, the
// earth view and space words of channel 3 are then reflectance counts), 0 for 3B (3.7 um).
// NOAA KLM User's Guide, section 4.1.2 (HRPT minor frame format, word 7, its bit 10 when bits are
// numbered from the most significant, 1), as the Dundee Satellite Receiving Station's summary of
// the HRPT format gives it. The AVHRR/2 of NOAA-12 and NOAA-14 has no channel 3A.
inline constexpr int kChannel3ABit = 0;
inline bool Channel3ASent(std::span<const std::uint8_t> frame) {
    return ((WordOf(frame, kIdWord) >> kChannel3ABit) & 1) != 0;
}

// What a spacecraft address names: the satellite's number in SatId's sense and its title.
struct Spacecraft {
    int Address = 0;
    std::int16_t SatId = 0;
    const char* Title = "";  // eight characters, blank padded, as a pass header holds it
};
// The spacecraft that `address` names, or nullptr when it names none the guides list.
const Spacecraft* SpacecraftOfAddress(int address);

}  // namespace qiv::avhrr
