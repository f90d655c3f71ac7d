#include "avhrr/frame.h"

#include <algorithm>

namespace qiv::avhrr {

TimeCode DecodeTimeCode(std::span<const std::uint8_t> frame) {
    const auto word = [&](int k) { return static_cast<std::int64_t>(WordOf(frame, k) & 0x3FF); };
    TimeCode code;
    code.Day = static_cast<int>(word(9) >> 1);
    code.Millisecond = (word(10) & 0x7F) << 20 | word(11) << 10 | word(12);
    return code;
}

void EncodeTimeCode(std::span<std::uint8_t> frame, TimeCode code) {
    const auto ms = static_cast<std::uint64_t>(code.Millisecond);
    SetWord(frame, 9, static_cast<std::uint16_t>((code.Day << 1) & 0x3FF));
    SetWord(frame, 10, static_cast<std::uint16_t>((ms >> 20) & 0x7F));
    SetWord(frame, 11, static_cast<std::uint16_t>((ms >> 10) & 0x3FF));
    SetWord(frame, 12, static_cast<std::uint16_t>(ms & 0x3FF));
}

int SpacecraftAddress(std::span<const std::uint8_t> frame) {
    return (WordOf(frame, kIdWord) >> 3) & 0xF;
}

namespace {

// NOAA KLM User's Guide, section 4.1.2 (HRPT minor frame, word 7). NOAA-16 and NOAA-17 are left
// out until their addresses are checked against the guide's table. The MetOps broadcast AHRPT in
// CCSDS packets, not this minor frame, and have no address here.
constexpr std::array kSpacecraft{
    Spacecraft{7, 15, "NOAA-15 "},
    Spacecraft{13, 18, "NOAA-18 "},
    Spacecraft{15, 19, "NOAA-19 "},
};

}  // namespace

const Spacecraft* SpacecraftOfAddress(int address) {
    const auto* found = std::find_if(kSpacecraft.begin(), kSpacecraft.end(),
                                     [&](const Spacecraft& s) { return s.Address == address; });
    return found == kSpacecraft.end() ? nullptr : found;
}

}  // namespace qiv::avhrr
