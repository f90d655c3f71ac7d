// Raw HRPT recordings for the tests, made frame by frame from what each frame should say.
#pragma once

#include <cstdint>
#include <utility>
#include <vector>

#include "common/core/dimension_header.h"
#include "hrpt_tool/core/recording_import.h"
#include "hrpt_tool/core/swathly_state.h"

namespace qiv::testing {

// What a frame says about itself in words 1-12.
struct FrameFacts {
    int Address = 15;  // NOAA-19
    int Day = 158;
    std::int64_t Millisecond = 34'890'500;  // 09:41:30.5
    bool Sync = true;
};

inline void PutWord(std::vector<std::uint8_t>& frame, int k, std::uint32_t value) {
    qiv::WriteInt16Le(&frame[static_cast<std::size_t>(2 * (k - 1))],
                      static_cast<std::int16_t>(value));
}

// Frame `index` (from 0) in little-endian words: its facts in words 1-12, and in every other
// word a 10-bit value that names the frame and the word, so that each line tells where it
// came from.
inline std::vector<std::uint8_t> Frame(std::int64_t index, const FrameFacts& facts) {
    std::vector<std::uint8_t> frame(static_cast<std::size_t>(swathly::kLineBytes));
    for (int k = 1; k <= swathly::kLineWords; ++k) {
        PutWord(frame, k, static_cast<std::uint32_t>(index * 31 + k * 7) & 0x3FF);
    }
    for (int k = 1; k <= 6; ++k) {
        PutWord(frame, k, swathly::kFrameSync[static_cast<std::size_t>(k - 1)]);
    }
    if (!facts.Sync) {
        PutWord(frame, 3, swathly::kFrameSync[2] ^ 0x10);
    }
    PutWord(frame, 7, static_cast<std::uint32_t>(facts.Address) << 3 | 0x80);
    PutWord(frame, 8, 0);
    PutWord(frame, 9, static_cast<std::uint32_t>(facts.Day) << 1);
    PutWord(frame, 10, static_cast<std::uint32_t>(facts.Millisecond >> 20) & 0x7F);
    PutWord(frame, 11, static_cast<std::uint32_t>(facts.Millisecond >> 10) & 0x3FF);
    PutWord(frame, 12, static_cast<std::uint32_t>(facts.Millisecond) & 0x3FF);
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
