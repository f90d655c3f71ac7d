// Raw HRPT recordings for the tests, made frame by frame from what each frame should say.
#pragma once

#include <cstdint>
#include <utility>
#include <vector>

#include "avhrr/frame.h"
#include "hrpt_tool/core/recording_import.h"

namespace qiv::testing {

// What a frame says about itself in words 1-12.
struct FrameFacts {
    int Address = 15;  // NOAA-19
    int Day = 158;
    std::int64_t Millisecond = 34'890'500;  // 09:41:30.5
    bool Sync = true;
};

// Frame `index` (from 0) in little-endian words: its facts in words 1-12, and in every other
// word a 10-bit value that names the frame and the word, so that each line tells where it
// came from.
inline std::vector<std::uint8_t> Frame(std::int64_t index, const FrameFacts& facts) {
    std::vector<std::uint8_t> frame(static_cast<std::size_t>(avhrr::kFrameBytes));
    for (int k = 1; k <= avhrr::kFrameWords; ++k) {
        avhrr::SetWord(frame, k, static_cast<std::uint16_t>((index * 31 + k * 7) & 0x3FF));
    }
    for (int k = 0; k < avhrr::kFrameSyncWords.Count; ++k) {
        avhrr::SetWord(frame, avhrr::kFrameSyncWords.First + k,
                       avhrr::kFrameSync[static_cast<std::size_t>(k)]);
    }
    if (!facts.Sync) {
        avhrr::SetWord(frame, 3, avhrr::kFrameSync[2] ^ 0x10);
    }
    avhrr::SetWord(frame, avhrr::kIdWord, static_cast<std::uint16_t>(facts.Address << 3 | 0x80));
    avhrr::SetWord(frame, avhrr::kIdWord + 1, 0);
    avhrr::EncodeTimeCode(frame, {facts.Day, facts.Millisecond});
    return frame;
}

// `count` frames of one pass from `first` on, 1/6 s apart as the scan runs.
inline std::vector<FrameFacts> Pass(int count, FrameFacts first = {}) {
    std::vector<FrameFacts> frames;
    for (int i = 0; i < count; ++i) {
        FrameFacts facts = first;
        facts.Millisecond = first.Millisecond + i * 1000 / 6;
        frames.push_back(facts);
    }
    return frames;
}

// The recording of `frames` in `order`, with `leftOver` bytes of a partial frame at the end.
inline std::vector<std::uint8_t> Recording(const std::vector<FrameFacts>& frames,
                                           swathly::ByteOrder order = swathly::ByteOrder::Little,
                                           std::size_t leftOver = 0) {
    std::vector<std::uint8_t> bytes;
    for (std::size_t i = 0; i < frames.size(); ++i) {
        const std::vector<std::uint8_t> frame = Frame(static_cast<std::int64_t>(i), frames[i]);
        bytes.insert(bytes.end(), frame.begin(), frame.end());
    }
    bytes.resize(bytes.size() + leftOver, 0x11);
    if (order == swathly::ByteOrder::Big) {
        for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
            std::swap(bytes[i], bytes[i + 1]);
        }
    }
    return bytes;
}

}  // namespace qiv::testing
