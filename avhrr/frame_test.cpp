#include "avhrr/frame.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace qiv::avhrr {
namespace {

TEST(Frame, TheGroupsTileTheFrame) {
    // Every word from 1 to 11090 belongs to exactly one group, in this order.
    const std::array groups{kFrameSyncWords,
                            WordRange{kIdWord, 2},
                            kTimeCodeWords,
                            kTelemetryWords,
                            kBackScanWords,
                            kSpaceViewWords,
                            WordRange{kSyncDeltaWord, 1},
                            kTipWords,
                            kSpareWords,
                            kEarthViewWords,
                            kAuxSyncWords};
    int next = 1;
    for (const WordRange& group : groups) {
        SCOPED_TRACE("the group from word " + std::to_string(group.First));
        EXPECT_EQ(group.First, next);
        next = group.Last() + 1;
    }
    EXPECT_EQ(next, kFrameWords + 1);
    EXPECT_EQ(EarthWord(kEarthSamples, kChannels), kEarthViewWords.Last());
    EXPECT_EQ(BackScanWord(kCalibrationSamples, 2), kBackScanWords.Last());
    EXPECT_EQ(SpaceViewWord(kCalibrationSamples, kChannels), kSpaceViewWords.Last());
    EXPECT_EQ(ByteOfWord(kEarthViewWords.First), 1500);
}

TEST(Frame, TimeCodeRoundTrips) {
    std::vector<std::uint8_t> frame(kFrameBytes);
    for (const TimeCode code :
         {TimeCode{1, 0}, TimeCode{158, 34'890'500}, TimeCode{366, 86'399'999}}) {
        SCOPED_TRACE("day " + std::to_string(code.Day) + ", ms " + std::to_string(code.Millisecond));
        EncodeTimeCode(frame, code);
        const TimeCode back = DecodeTimeCode(frame);
        EXPECT_EQ(back.Day, code.Day);
        EXPECT_EQ(back.Millisecond, code.Millisecond);
    }
}

TEST(Frame, WordsAreLittleEndianAndSigned) {
    std::vector<std::uint8_t> frame(kFrameBytes);
    SetWord(frame, 2, 0x0284);
    EXPECT_EQ(frame[2], 0x84);
    EXPECT_EQ(frame[3], 0x02);
    SetWord(frame, 3, 0xFFFF);
    EXPECT_EQ(WordOf(frame, 3), -1);
}

}  // namespace
}  // namespace qiv::avhrr
