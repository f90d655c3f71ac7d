#include "tools/samples/level1b_samples.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "avhrr/level1b.h"
#include "common/testing/failure_check.h"
#include "common/testing/temp_dir.h"
#include "hrpt_tool/core/level1b_import.h"
#include "hrpt_tool/core/line_record.h"
#include "hrpt_tool/core/products.h"
#include "hrpt_tool/core/recording_import.h"
#include "tools/samples/hrpt_samples.h"

namespace qiv::samples {
namespace {

using qiv::testing::Succeeded;
using qiv::testing::TempDir;

// The archive sample is the recording sample as the archive holds it: imported, both give the
// same pass header and the same frame words and earth view on every line.
TEST(Level1bSample, ImportsIntoTheRecordingSamplesPass) {
    TempDir dir;
    const auto archive = dir / "avhrr-archive.l1b";
    const auto recording = dir / "avhrr-recording.raw16";
    ASSERT_TRUE(Succeeded(WriteLevel1bSample(archive)));
    ASSERT_TRUE(Succeeded(WriteHrptRecording(recording)));
    const std::vector<std::uint8_t> bytes = TempDir::Read(archive);
    const avhrr::Level1bFile file =
        avhrr::DetectLevel1b(bytes, static_cast<std::int64_t>(bytes.size()));
    EXPECT_EQ(file.Kind, avhrr::Level1bKind::Klm);
    EXPECT_EQ(file.Version, 5);
    EXPECT_EQ(file.ArchiveHeaderBytes, 512);
    EXPECT_EQ(file.DataType, avhrr::Level1bDataType::Hrpt);
    EXPECT_EQ(file.StatedRecords, kLevel1bSampleRecords);
    EXPECT_EQ(file.TrailingBytes, 0);

    swathly::Level1bImportSummary summary;
    ASSERT_TRUE(Succeeded(
        swathly::ImportLevel1b(archive.string(), (dir / "archive.hrp").string(), summary)));
    swathly::ImportSummary recordingSummary;
    ASSERT_TRUE(Succeeded(swathly::ImportRecording(
        recording.string(), (dir / "recording.hrp").string(), 2024, recordingSummary)));
    EXPECT_EQ(summary.Header, recordingSummary.Header);
    EXPECT_EQ(summary.Records, kRecordingSampleFrames);
    EXPECT_EQ(summary.BadRecords, 3);

    const std::vector<std::uint8_t> a = TempDir::Read(dir / "archive.hrp");
    const std::vector<std::uint8_t> b = TempDir::Read(dir / "recording.hrp");
    ASSERT_EQ(a.size(), b.size());
    constexpr std::size_t kFrameWordBytes = 2 * 103;
    constexpr std::size_t kEarthFrom = 1500;
    constexpr std::size_t kEarthTo = 21980;
    for (std::size_t line = 0; line < a.size() / swathly::kLineBytes; ++line) {
        const auto at = [&](const std::vector<std::uint8_t>& f, std::size_t byte) {
            return f.begin() + static_cast<std::ptrdiff_t>(line * swathly::kLineBytes + byte);
        };
        const std::size_t from = line == 0 ? swathly::kLineHeaderBytes : 0;
        ASSERT_TRUE(std::equal(at(a, from), at(a, kFrameWordBytes), at(b, from))) << line + 1;
        ASSERT_TRUE(std::equal(at(a, kEarthFrom), at(a, kEarthTo), at(b, kEarthFrom))) << line + 1;
        ASSERT_TRUE(std::all_of(at(a, kFrameWordBytes), at(a, kEarthFrom), [](std::uint8_t v) {
            return v == 0;
        })) << line + 1;
    }

    // Words 104-750 and the auxiliary sync differ, and the products read none of them: the
    // archive's pass calibrates into the same products as the recording's.
    swathly::ProductSummary archiveProducts;
    swathly::ProductSummary recordingProducts;
    ASSERT_TRUE(Succeeded(swathly::MakeProducts((dir / "archive.hrp").string(),
                                                swathly::ProductPathsOf((dir / "a").string()),
                                                std::nullopt, archiveProducts)));
    ASSERT_TRUE(Succeeded(swathly::MakeProducts((dir / "recording.hrp").string(),
                                                swathly::ProductPathsOf((dir / "r").string()),
                                                std::nullopt, recordingProducts)));
    EXPECT_EQ(archiveProducts.Lines, kRecordingSampleFrames);
    for (const char* extension : {".cal", ".sst", ".ndv"}) {
        SCOPED_TRACE(extension);
        EXPECT_EQ(TempDir::Read(dir / (std::string("a") + extension)),
                  TempDir::Read(dir / (std::string("r") + extension)));
    }
}

}  // namespace
}  // namespace qiv::samples
