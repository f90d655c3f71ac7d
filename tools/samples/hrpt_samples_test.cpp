#include "tools/samples/hrpt_samples.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>

#include "common/core/dimension_header.h"
#include "common/testing/failure_check.h"
#include "common/testing/scripted_dialogs.h"
#include "common/testing/temp_dir.h"
#include "hrpt_tool/core/line_header.h"
#include "hrpt_tool/core/line_record.h"
#include "hrpt_tool/core/recording_import.h"
#include "hrpt_tool/core/swathly_state.h"
#include "hrpt_tool/core/swathly_texts.h"
#include "hrpt_tool/testing/fake_main_view.h"

namespace qiv::samples {
namespace {

using qiv::testing::TempDir;

constexpr std::int32_t kLines = 300;

struct Written {
    TempDir dir;
    std::filesystem::path folder = dir / "samples";
    Written() { EXPECT_TRUE(qiv::testing::Succeeded(WriteHrptSamples(folder, kLines))); }
    std::vector<std::uint8_t> Read(const char* name) const { return TempDir::Read(folder / name); }
};

const Written& Samples() {
    static const Written written;
    return written;
}

std::int16_t WordAt(const std::vector<std::uint8_t>& bytes, std::size_t offset) {
    return ReadInt16Le(&bytes[offset]);
}

TEST(HrptSamples, PassHeaderReadsBackThroughTheHeaderDisplay) {
    swathly::SwathlyState state;
    state.InputPath = (Samples().folder / "avhrr-pass.hrp").string();
    state.InputChosen = true;
    qiv::testing::ScriptedDialogs dialogs;
    qiv::testing::FakeMainView form1(",");
    ASSERT_TRUE(swathly::ShowOutcome(swathly::DisplayHeaderAndPrintData(state, "1", dialogs, form1),
                                     dialogs));
    const swathly::HeaderTexts shown = form1.Boxes();
    EXPECT_EQ(shown.Title, "NOAA-14 ");
    EXPECT_EQ(shown.Year, "1998");
    EXPECT_EQ(shown.Hour + ":" + shown.Minute + ":" + shown.Secs, "11:42:17");
    EXPECT_EQ(shown.TimeDiff, "-0,375");
    EXPECT_EQ(state.LineCount, kLines);
    EXPECT_EQ(std::filesystem::file_size(state.InputPath),
              static_cast<std::uintmax_t>(kLines * swathly::kLineBytes));
    // The telemetry runs through negative values over the pass.
    bool negative = false;
    for (int line = 1; line <= 25 && !negative; ++line) {
        ASSERT_TRUE(swathly::ShowOutcome(
            swathly::DisplayHeaderAndPrintData(state, std::to_string(line), dialogs, form1),
            dialogs));
        negative = state.TelemetryTriple[0] < 0;
    }
    EXPECT_TRUE(negative);
}

TEST(HrptSamples, EarthViewIsATenBitSceneOfSeaLandAndCloud) {
    const auto hrp = Samples().Read("avhrr-pass.hrp");
    std::array<int, 5> low{1023, 1023, 1023, 1023, 1023};
    std::array<int, 5> high{};
    for (std::int32_t line = 0; line < kLines; line += 3) {
        for (int sample = 0; sample < swathly::kEarthSamples; sample += 3) {
            for (int k = 0; k < 5; ++k) {
                const int v = WordAt(hrp, static_cast<std::size_t>(line * swathly::kLineBytes +
                                                                   1500 + 10 * sample + 2 * k));
                ASSERT_GE(v, 0);
                ASSERT_LE(v, 1023);
                low[k] = std::min(low[k], v);
                high[k] = std::max(high[k], v);
            }
        }
    }
    // Dark sea and bright cloud in the visible channel, warm ground and cold tops in the
    // thermal ones.
    EXPECT_LT(low[0], 120);
    EXPECT_GT(high[0], 500);
    EXPECT_LT(low[3], 480);
    EXPECT_GT(high[3], 650);
}

TEST(HrptSamples, ProductsHaveTheirRecordLayouts) {
    const auto cal = Samples().Read("avhrr-pass.cal");
    const auto sst = Samples().Read("avhrr-pass.sst");
    const auto ndv = Samples().Read("avhrr-pass.ndv");
    EXPECT_EQ(cal.size(), static_cast<std::size_t>((kLines + 1) * 20480));
    EXPECT_EQ(sst.size(), static_cast<std::size_t>((kLines + 1) * 4096));
    EXPECT_EQ(ndv.size(), static_cast<std::size_t>((kLines + 1) * 4096));
    EXPECT_EQ(WordAt(cal, 0), kLines);
    EXPECT_EQ(WordAt(sst, 0), kLines);
    EXPECT_EQ(WordAt(ndv, 0), kLines);

    // Clear sea carries a temperature, land and cloud the no-data value.
    int sea = 0;
    int masked = 0;
    for (std::size_t offset = 4096; offset < sst.size(); offset += 2) {
        const int v = WordAt(sst, offset);
        if (v == -999) {
            ++masked;
        } else {
            ++sea;
            ASSERT_GE(v, 100);
            ASSERT_LE(v, 260);
        }
    }
    EXPECT_GT(sea, 0);
    EXPECT_GT(masked, 0);
}

TEST(HrptSamples, SameBytesEveryTime) {
    TempDir dir;
    ASSERT_TRUE(qiv::testing::Succeeded(WriteHrptSamples(dir.Path(), kLines)));
    for (const char* name :
         {"avhrr-pass.hrp", "avhrr-pass.cal", "avhrr-pass.sst", "avhrr-pass.ndv"}) {
        EXPECT_EQ(TempDir::Read(dir / name), Samples().Read(name)) << name;
    }
}

// The recording is the pass as a decoder would have written it: imported, it has the header its
// frames tell of and the same earth view.
TEST(HrptSamples, RecordingImportsIntoTheSameScene) {
    TempDir dir;
    const auto recording = dir / "avhrr-recording.raw16";
    ASSERT_TRUE(qiv::testing::Succeeded(WriteHrptRecording(recording, 180)));
    swathly::ImportSummary summary;
    ASSERT_TRUE(qiv::testing::Succeeded(swathly::ImportRecording(
        recording.string(), (dir / "imported.hrp").string(), 2024, summary)));
    EXPECT_EQ(summary.Frames, 180);
    EXPECT_EQ(summary.Order, swathly::ByteOrder::Little);
    EXPECT_EQ(summary.DamagedFrames, 3);
    EXPECT_EQ(summary.BytesLeftOver, 0);
    const swathly::LineHeaderRecord& h = summary.Header;
    EXPECT_EQ(swathly::TitleText(h.Title), "NOAA-19 ");
    EXPECT_TRUE(summary.TimeFound);
    EXPECT_EQ((std::array<int, 6>{h.Year, h.Month, h.Day, h.Hour, h.Minute, h.Secs}),
              (std::array<int, 6>{2024, 6, 6, 9, 41, 30}));

    const auto imported = TempDir::Read(dir / "imported.hrp");
    const auto pass = Samples().Read("avhrr-pass.hrp");
    for (const std::size_t line : {0u, 41u, 179u}) {
        SCOPED_TRACE("line " + std::to_string(line + 1));
        const std::size_t earth = line * swathly::kLineBytes + swathly::kEarthViewOffset;
        const std::size_t end = earth + 2 * 5 * swathly::kEarthSamples;
        EXPECT_TRUE(
            std::equal(imported.begin() + earth, imported.begin() + end, pass.begin() + earth))
            << "line " << line + 1;
    }
}

TEST(HrptSamples, UnwritableFolderIsReported) {
    TempDir dir;
    dir.Write("file", std::vector<std::uint8_t>(1));
    const Failure failure = WriteHrptSamples(dir / "file" / "samples", 2);
    ASSERT_TRUE(failure);
    EXPECT_NE(failure->Path.find("file"), std::string::npos);
}

}  // namespace
}  // namespace qiv::samples
