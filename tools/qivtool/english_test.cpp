// No Greek on the command line: every refusal of both programs, said by qivtool, and every
// refusal that each subcommand reaches from its command line, run in process.
#include "tools/qivtool/english.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <sstream>
#include <string>
#include <vector>

#include "common/core/dimension_header.h"
#include "common/testing/temp_dir.h"
#include "tools/qivtool/command_line.h"
#include "tools/samples/hrpt_samples.h"

namespace qiv::qivtool {
namespace {

using qiv::testing::TempDir;

// The first Greek letter (U+0370..U+03FF, U+1F00..U+1FFF) of a UTF-8 text, or 0.
char32_t FirstGreek(const std::string& text) {
    for (std::size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        int length = 1;
        char32_t code = lead;
        if (lead >= 0xF0) {
            length = 4;
            code = lead & 0x07;
        } else if (lead >= 0xE0) {
            length = 3;
            code = lead & 0x0F;
        } else if (lead >= 0xC0) {
            length = 2;
            code = lead & 0x1F;
        }
        for (int k = 1; k < length && i + k < text.size(); ++k) {
            code = (code << 6) | (static_cast<unsigned char>(text[i + k]) & 0x3F);
        }
        if ((code >= 0x370 && code <= 0x3FF) || (code >= 0x1F00 && code <= 0x1FFF)) {
            return code;
        }
        i += static_cast<std::size_t>(length);
    }
    return 0;
}

TEST(EnglishTest, FirstGreekFindsGreekOnly) {
    EXPECT_EQ(FirstGreek("Give the image file first"), 0u);
    EXPECT_EQ(FirstGreek("x \xce\x91"), 0x391u);         // Α
    EXPECT_EQ(FirstGreek("\xe1\xbc\x80"), 0x1F00u);      // ἀ
    EXPECT_EQ(FirstGreek("\xc3\xa9 \xe2\x80\x94"), 0u);  // é, an em dash
}

// Each reason of both enums, with numbers in every place a message may show them.
TEST(EnglishTest, EveryRefusalOfBothProgramsIsEnglish) {
    using R = rastel::Refusal;
    using S = swathly::Refusal;
    for (const R why :
         {R::NoImageChosen, R::PassWithoutImage, R::TablesNotBuilt, R::NoPixels, R::BeyondHeader,
          R::SubsetOutsideImage, R::SubsetBadCounts, R::SubsetTooLarge, R::TooManyNodes}) {
        const std::string text = EnglishFor(Refused<R>{why, 40000, -3});
        SCOPED_TRACE("rastel reason " + std::to_string(static_cast<int>(why)) + ": " + text);
        EXPECT_FALSE(text.empty());
        EXPECT_EQ(FirstGreek(text), 0u);
    }
    for (const S why :
         {S::NoInputChosen, S::FilesNotChosen, S::LineBelowOne, S::LineBeyondFile,
          S::HeaderTooShort, S::BadStartLine, S::BadEndLine, S::StartBeyondFile, S::BadInterval,
          S::NotLineOne, S::QuicklookTooLarge, S::BadYear, S::NoWholeLine, S::ProductAsInput,
          S::RecordingAsInput, S::UnknownSatellite, S::UnknownSatelliteNamed, S::NoPassDate,
          S::NoLinesStated, S::TooManyProductLines, S::NoCalibration, S::NotLevel1b,
          S::Level1bGac, S::Level1bUnknownType, S::Level1bVersion, S::Level1bUnpacked,
          S::Level1bNoRecord}) {
        const std::string text = EnglishFor(Refused<S>{why, 40000, 3});
        SCOPED_TRACE("swathly reason " + std::to_string(static_cast<int>(why)) + ": " + text);
        EXPECT_FALSE(text.empty());
        EXPECT_EQ(FirstGreek(text), 0u);
    }
}

// The image's dimension header, written into, and the file failures of both roles.
TEST(EnglishTest, FileFailuresAreEnglish) {
    for (const FileRole role :
         {FileRole::Input, FileRole::Output, FileRole::Calibration, FileRole::Header}) {
        for (const FileProblem problem :
             {FileProblem::CannotOpen, FileProblem::CannotRead, FileProblem::CannotWrite,
              FileProblem::TooShort, FileProblem::IsTheInput, FileProblem::NoFrames,
              FileProblem::TooLong}) {
            const std::string text =
                EnglishFor(Failure(Failure::Details{problem, role, "f.raw", "No space", 4, 2}));
            SCOPED_TRACE(text);
            EXPECT_FALSE(text.empty());
            EXPECT_EQ(FirstGreek(text), 0u);
        }
    }
}

TEST(EnglishTest, EveryRefusalOfEverySubcommandIsEnglishOnStderr) {
    TempDir dir;
    ASSERT_FALSE(samples::WriteHrptSamples(dir.Path(), 12));
    std::vector<std::uint8_t> image(8 * 8, 7);
    const auto header = EncodeDimensionHeader({8, 8});
    std::copy(header.begin(), header.end(), image.begin());
    const std::string img = dir.Write("image.raw", image).string();
    const std::string zeros = dir.Write("zeros.raw", std::vector<std::uint8_t>(16, 0)).string();
    const std::string tiny = dir.Write("tiny.raw", std::vector<std::uint8_t>{1, 2}).string();
    const std::string hrp = (dir / "avhrr-pass.hrp").string();
    const std::string cal = (dir / "avhrr-pass.cal").string();
    const std::string missing = (dir / "missing").string();
    const std::string out = (dir / "out").string();
    std::vector<std::string> manyNodes{"tables", img, "--nodes"};
    for (int n = 0; n < 100; ++n) {
        manyNodes.push_back("1,1");
    }

    const std::vector<std::vector<std::string>> kCommands{
        {"info", missing},
        {"header", missing, "--set", "8", "8"},
        {"header", img, "--set", "40000", "1"},
        {"tables", zeros},
        {"tables", tiny},
        {"tables", img, "--size", "100", "100"},
        manyNodes,
        {"tables", img, "-o", img},
        {"render", img, "-o", img},
        {"render", missing, "-o", out},
        {"plot", img, "-o", img},
        {"plot", zeros, "-o", out},
        {"subset", img, "--start", "9", "0", "--count", "1", "1", "-o", out},
        {"subset", img, "--start", "0", "0", "--count", "-1", "1", "-o", out},
        {"subset", img, "--start", "0", "0", "--count", "1", "0", "-o", out},
        {"subset", img, "--start", "0", "0", "--count", "2", "2", "-o", img},
        {"hrp-info", missing},
        {"hrp-info", hrp, "--line", "0"},
        {"hrp-info", hrp, "--line", "999"},
        {"hrp-info", hrp, "--calibration", hrp},
        {"hrp-info", img},
        {"quicklook", hrp, "--from", "hrp", "--band", "2", "--step", "0", "-o", out},
        {"quicklook", hrp, "--from", "hrp", "--band", "2", "-o", hrp},
        {"quicklook", missing, "--from", "product", "--band", "1", "-o", out},
        {"quicklook", cal, "--from", "product", "--band", "1", "-o", cal},
        {"cut", hrp, "--lines", "0", "5", "-o", out},
        {"cut", hrp, "--lines", "5", "3", "-o", out},
        {"cut", hrp, "--lines", "999", "1000", "-o", out},
        {"cut", hrp, "--lines", "1", "2", "-o", hrp},
        {"cut", hrp, "--line", "999", "--lines", "1", "2", "-o", out},
        {"import", hrp, "--year", "2024", "-o", out},
        {"import", tiny, "--year", "2024", "-o", out},
        {"import", missing, "--year", "2024", "-o", out},
    };
    const PlotLoader loader = [] {
        return [](rastel::ViewerState&, rastel::LevelMapping, const std::string&) -> Failure {
            return {};
        };
    };
    for (const std::vector<std::string>& args : kCommands) {
        std::string line;
        for (const std::string& word : args) {
            line += word + " ";
        }
        SCOPED_TRACE(line);
        std::ostringstream stdoutText;
        std::ostringstream stderrText;
        const int status = RunQivtool(args, stdoutText, stderrText, false, loader);
        EXPECT_NE(status, 0);
        EXPECT_FALSE(stderrText.str().empty());
        EXPECT_EQ(FirstGreek(stderrText.str()), 0u) << stderrText.str();
    }
}

}  // namespace
}  // namespace qiv::qivtool
