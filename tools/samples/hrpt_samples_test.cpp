#include "tools/samples/hrpt_samples.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>

#include "avhrr/calibration.h"
#include "avhrr/coefficients.h"
#include "common/core/dimension_header.h"
#include "common/testing/failure_check.h"
#include "common/testing/scripted_dialogs.h"
#include "common/testing/temp_dir.h"
#include "hrpt_tool/core/line_header.h"
#include "hrpt_tool/core/line_record.h"
#include "hrpt_tool/core/products.h"
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
    static const Written kWritten;
    return kWritten;
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
}

// The calibration words are a real pass's, on the word grid: each line one thermometer near 290 K
// (a reference line of zeros every fifth), back-scan and space counts of a plausible instrument.
TEST(HrptSamples, CalibrationWordsGiveAPlausibleBlackbody) {
    const auto hrp = Samples().Read("avhrr-pass.hrp");
    const avhrr::SatelliteCoefficients& sat = *avhrr::CoefficientsOf(14);
    int references = 0;
    for (std::int32_t line = 0; line < 20; ++line) {
        SCOPED_TRACE(line + 1);
        const auto words = avhrr::ReadCalibrationWords(std::span(hrp).subspan(
            static_cast<std::size_t>(line * swathly::kLineBytes), swathly::kLineBytes));
        ASSERT_TRUE(words.has_value());
        if (words->Prt[0] == 0) {
            ++references;
            continue;
        }
        EXPECT_NEAR(avhrr::PrtTemperature(sat, 0, words->Prt[1]), 290.0, 0.5);
        EXPECT_NEAR(words->BackScan[1][4], 398, 2);
        EXPECT_NEAR(words->Space[3][4], 988, 2);
    }
    EXPECT_EQ(references, 4);
}

// The products are the program's own from the pass: a second run gives the same bytes, with the
// whole pass calibrated, and they give the scene back (clear sea some 1-3 degrees warmer than
// channel 4, as the split window corrects for the atmosphere).
TEST(HrptSamples, ProductsAreTheProgramsOwn) {
    TempDir dir;
    swathly::ProductSummary summary;
    const auto stem = (dir / "again").string();
    ASSERT_TRUE(swathly::MakeProducts((Samples().folder / "avhrr-pass.hrp").string(),
                                      swathly::ProductPathsOf(stem), std::nullopt, summary)
                    .Done());
    EXPECT_EQ(TempDir::Read(stem + ".cal"), Samples().Read("avhrr-pass.cal"));
    EXPECT_EQ(TempDir::Read(stem + ".sst"), Samples().Read("avhrr-pass.sst"));
    EXPECT_EQ(summary.Satellite, "NOAA-14");
    EXPECT_EQ(summary.Lines, kLines);
    EXPECT_EQ(summary.FilledLines, (std::array<std::int64_t, 3>{}));
    EXPECT_EQ(summary.UncalibratedLines, 0);
    EXPECT_GT(summary.ClearSeaSamples, summary.Samples / 20);

    const auto cal = Samples().Read("avhrr-pass.cal");
    const auto sst = Samples().Read("avhrr-pass.sst");
    double difference = 0.0;
    int sea = 0;
    for (std::int32_t line = 1; line <= kLines; line += 7) {
        for (int sample = 0; sample < swathly::kEarthSamples; sample += 7) {
            const int t = WordAt(sst, static_cast<std::size_t>(line * 4096 + 2 * sample));
            if (t != swathly::kNoData) {
                const int band4 =
                    WordAt(cal, static_cast<std::size_t>(line * 20480 + 10 * sample + 6));
                difference += t / 10.0 - (band4 - 100);
                ++sea;
            }
        }
    }
    ASSERT_GT(sea, 100);
    EXPECT_GT(difference / sea, 1.0);
    EXPECT_LT(difference / sea, 3.5);
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
