#include "hrpt_tool/core/quicklook.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <ostream>
#include <string>
#include <vector>

#include "common/core/dimension_header.h"
#include "hrpt_tool/testing/fake_main_view.h"
#include "hrpt_tool/core/line_record.h"
#include "common/testing/memory_canvas.h"
#include "common/testing/open_files.h"
#include "common/testing/param_name.h"
#include "common/testing/scripted_dialogs.h"
#include "hrpt_tool/core/swathly_texts.h"
#include "common/testing/temp_dir.h"

namespace qiv::swathly {
namespace {

using qiv::testing::ScriptedDialogs;
using qiv::testing::TempDir;

// A canvas that also keeps every text ever printed, across clears.
class RecordingCanvas : public MemoryCanvas {
public:
    RecordingCanvas()
        : MemoryCanvas(qiv::testing::kWaitAreaWidth, qiv::testing::kWaitAreaHeight) {}
    void PrintLine(std::string_view text) override {
        printed.emplace_back(text);
        MemoryCanvas::PrintLine(text);
    }
    std::vector<std::string> printed;
};

// A product file: header record stating `lines`, then `lines` records whose sample c of band b
// holds c % 250 + b.
std::vector<std::uint8_t> MakeProduct(bool fiveBands, std::int16_t lines, std::int64_t present) {
    const std::int64_t record = fiveBands ? 20480 : 4096;
    const std::int64_t sample = fiveBands ? 10 : 2;
    std::vector<std::uint8_t> file(static_cast<std::size_t>((present + 1) * record), 0);
    WriteInt16Le(file.data(), lines);
    for (std::int64_t r = 1; r <= present; ++r) {
        for (std::int64_t c = 1; c <= 2048; ++c) {
            for (std::int64_t b = 1; b <= sample / 2; ++b) {
                WriteInt16Le(
                    &file[static_cast<std::size_t>(r * record + (c - 1) * sample + (b - 1) * 2)],
                    static_cast<std::int16_t>(c % 250 + b));
            }
        }
    }
    return file;
}

// An HRP pass of `present` lines whose line 1 header states `stated` lines; channel b of
// every earth sample holds 100 × b, so each channel scales to its own byte.
std::vector<std::uint8_t> MakePass(std::int64_t present, std::int64_t stated) {
    std::vector<std::uint8_t> file(static_cast<std::size_t>(present * kLineBytes), 0);
    LineHeaderRecord header;
    header.RowsLow = static_cast<std::uint8_t>(stated % 256);
    header.RowsHigh = static_cast<std::uint8_t>(stated / 256);
    const auto bytes = EncodeLineHeader(header);
    std::copy(bytes.begin(), bytes.end(), file.begin());
    for (std::int64_t r = 0; r < present; ++r) {
        for (std::int64_t c = 0; c < kEarthSamples; ++c) {
            for (std::int64_t b = 0; b < kChannels; ++b) {
                WriteInt16Le(&file[static_cast<std::size_t>(r * kLineBytes + kEarthViewOffset +
                                                            c * kEarthSampleBytes + b * 2)],
                             static_cast<std::int16_t>(100 * (b + 1)));
            }
        }
    }
    return file;
}

SwathlyState Chosen(const std::filesystem::path& input, const std::filesystem::path& output) {
    SwathlyState state;
    state.InputChosen = true;
    state.OutputChosen = true;
    state.InputPath = input.string();
    state.OutputPath = output.string();
    return state;
}

DimensionHeader HeaderOf(const std::vector<std::uint8_t>& image) {
    return DecodeDimensionHeader(std::span<const std::uint8_t, 4>(image.data(), 4));
}

TEST(ProductQuicklook, WritesTheImageAndClearsTheOutputChoice) {
    TempDir dir;
    const auto input = dir.Write("scene.cal", MakeProduct(true, 12, 12));
    SwathlyState state = Chosen(input, dir / "scene.qlk");
    ScriptedDialogs dialogs;
    RecordingCanvas wait;

    ASSERT_TRUE(ShowOutcome(ProductQuicklook(state, "5", BandButton::Band3, wait), dialogs));
    EXPECT_EQ(dialogs.Messages, std::vector<std::string>{});
    EXPECT_EQ(state.SamplingInterval, 5);
    EXPECT_EQ(state.QuicklookRows, 3);
    EXPECT_EQ(state.QuicklookCols, 410);
    EXPECT_EQ(state.OutputChosen, false);
    EXPECT_EQ(state.InputChosen, true);
    EXPECT_EQ(wait.printed, std::vector<std::string>{"Please wait!!!"});
    EXPECT_EQ(wait.Texts().size(), 0u);

    const auto image = TempDir::Read(dir / "scene.qlk");
    ASSERT_EQ(image.size(), 3u * 410u);
    EXPECT_EQ(HeaderOf(image), (DimensionHeader{3, 410}));
    // Pixel (1, 1) is sample 6 of line 6, band 3.
    EXPECT_EQ(image[410 + 1], 6 % 250 + 3);

    // The output must be chosen again before the next quicklook.
    ASSERT_FALSE(ShowOutcome(ProductQuicklook(state, "5", BandButton::Band3, wait), dialogs));
    EXPECT_EQ(dialogs.Messages, std::vector<std::string>{std::string(kEnterFilesFirst)});
}

TEST(ProductQuicklook, SingleBandReadsTheFirstWordOfEachSample) {
    TempDir dir;
    const auto input = dir.Write("scene.sst", MakeProduct(false, 3, 3));
    SwathlyState state = Chosen(input, dir / "scene.qlk");
    ScriptedDialogs dialogs;
    RecordingCanvas wait;
    ASSERT_TRUE(ShowOutcome(ProductQuicklook(state, "1", BandButton::SingleBand, wait), dialogs));
    const auto image = TempDir::Read(dir / "scene.qlk");
    ASSERT_EQ(image.size(), 3u * 2048u);
    EXPECT_EQ(HeaderOf(image), (DimensionHeader{3, 2048}));
    EXPECT_EQ(image[2048 + 9], 10 % 250 + 1);
}

TEST(ProductQuicklook, AFileTooShortForItsLineCountHoldsNoLines) {
    TempDir dir;
    const auto input = dir.Write("scene.sst", std::vector<std::uint8_t>{0x05});
    SwathlyState state = Chosen(input, dir / "scene.qlk");
    ScriptedDialogs dialogs;
    RecordingCanvas wait;
    ASSERT_TRUE(ShowOutcome(ProductQuicklook(state, "5", BandButton::SingleBand, wait), dialogs));
    EXPECT_EQ(state.QuicklookRows, 0);
    EXPECT_EQ(TempDir::Read(dir / "scene.qlk"), std::vector<std::uint8_t>(4, 0));
}

TEST(HrpQuicklook, ReadsTheChosenChannelOfEveryFifthSampleAndLine) {
    struct Row {
        BandButton button;
        std::uint8_t byte;  // 100 × channel, scaled
    };
    for (const Row row : {Row{BandButton::Band1, 25}, Row{BandButton::Band2, 50},
                          Row{BandButton::SingleBand, 75}, Row{BandButton::Band5, 125}}) {
        SCOPED_TRACE("button " + std::to_string(static_cast<int>(row.button)));
        TempDir dir;
        const auto input = dir.Write("pass.hrp", MakePass(11, 11));
        SwathlyState state = Chosen(input, dir / "pass.qlk");
        ScriptedDialogs dialogs;
        RecordingCanvas wait;
        testing::FakeMainView form1;
        const int filesBefore = testing::OpenFiles();

        ASSERT_TRUE(
            ShowOutcome(HrpQuicklook(state, "5", "1", row.button, dialogs, form1, wait), dialogs));
        EXPECT_EQ(dialogs.Messages, std::vector<std::string>{});
        EXPECT_EQ(state.LineCount, 11);
        EXPECT_EQ(state.QuicklookRows, 3);
        EXPECT_EQ(state.QuicklookCols, 410);
        EXPECT_EQ(state.OutputChosen, false);
        EXPECT_EQ(testing::OpenFiles(), filesBefore);
        EXPECT_EQ(wait.printed, std::vector<std::string>{"Please wait!!!"});
        EXPECT_EQ(wait.Texts().size(), 0u);

        const auto image = TempDir::Read(dir / "pass.qlk");
        ASSERT_EQ(image.size(), 3u * 410u);
        EXPECT_EQ(HeaderOf(image), (DimensionHeader{3, 410}));
        EXPECT_EQ(std::count(image.begin() + 4, image.end(), row.byte), 3 * 410 - 4);
    }
}

TEST(HrpQuicklook, AnotherLineNumberShowsItsHeaderThenRefuses) {
    TempDir dir;
    const auto input = dir.Write("pass.hrp", MakePass(3, 3));
    SwathlyState state = Chosen(input, dir / "pass.qlk");
    ScriptedDialogs dialogs;
    RecordingCanvas wait;
    testing::FakeMainView form1;
    const int filesBefore = testing::OpenFiles();

    EXPECT_FALSE(ShowOutcome(
        HrpQuicklook(state, "5", "2", BandButton::SingleBand, dialogs, form1, wait), dialogs));
    EXPECT_EQ(dialogs.Messages, std::vector<std::string>{std::string(kSetLineOne)});
    EXPECT_EQ(state.HeaderLine, 2);
    EXPECT_EQ(state.OutputChosen, true);
    EXPECT_EQ(testing::OpenFiles(), filesBefore);
    EXPECT_FALSE(std::filesystem::exists(dir / "pass.qlk"));
    EXPECT_TRUE(wait.printed.empty());

    // The input was closed: line 1 then works as usual.
    EXPECT_TRUE(ShowOutcome(
        HrpQuicklook(state, "5", "1", BandButton::SingleBand, dialogs, form1, wait), dialogs));
    EXPECT_EQ(HeaderOf(TempDir::Read(dir / "pass.qlk")), (DimensionHeader{1, 410}));
}

TEST(HrpQuicklook, AShortPassWritesZerosAndKeepsItsSize) {
    TempDir dir;
    auto pass = MakePass(3, 10);
    pass.resize(pass.size() - 15000);
    const auto input = dir.Write("pass.hrp", pass);
    SwathlyState state = Chosen(input, dir / "pass.qlk");
    ScriptedDialogs dialogs;
    RecordingCanvas wait;
    testing::FakeMainView form1;

    ASSERT_TRUE(ShowOutcome(HrpQuicklook(state, "1", "1", BandButton::Band3, dialogs, form1, wait),
                            dialogs));
    const auto image = TempDir::Read(dir / "pass.qlk");
    ASSERT_EQ(image.size(), 10u * 2048u);
    EXPECT_EQ(HeaderOf(image), (DimensionHeader{10, 2048}));
    // Line 3 stops 15000 bytes short: its samples from 569 on and lines 4-10 are missing.
    EXPECT_EQ(image[2 * 2048 + 567], 75);
    EXPECT_EQ(image[2 * 2048 + 568], 0);
    EXPECT_EQ(std::count(image.begin() + 3 * 2048, image.end(), 0), 7 * 2048);
}

TEST(HrpQuicklook, ALineCountBeyondTheHeaderRowsIsRefused) {
    TempDir dir;
    const auto input = dir.Write("pass.hrp", MakePass(1, 40000));
    SwathlyState state = Chosen(input, dir / "pass.qlk");
    ScriptedDialogs dialogs;
    RecordingCanvas wait;
    testing::FakeMainView form1;
    const int filesBefore = testing::OpenFiles();

    EXPECT_FALSE(ShowOutcome(HrpQuicklook(state, "1", "1", BandButton::Band1, dialogs, form1, wait),
                             dialogs));
    ASSERT_EQ(dialogs.Messages.size(), 1u);
    EXPECT_NE(dialogs.Messages[0].find("40000 rows"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(dir / "pass.qlk"));
    EXPECT_EQ(testing::OpenFiles(), filesBefore);
    EXPECT_EQ(state.OutputChosen, true);
}

// Refusals of both commands: a message, no output file, the choice kept.
enum class Command { Product, Hrp };

struct RefusalCase {
    const char* desc;
    Command command;
    bool inputChosen;
    bool outputChosen;
    const char* interval;
    const char* output;   // name in the folder; "input" is the input itself
    const char* message;  // the start of the message
    friend void PrintTo(const RefusalCase& c, std::ostream* os) { *os << c.desc; }
};

class QuicklookRefusalTest : public ::testing::TestWithParam<RefusalCase> {};

TEST_P(QuicklookRefusalTest, ToldAndNothingWritten) {
    const RefusalCase& c = GetParam();
    TempDir dir;
    const auto input = c.command == Command::Product ? dir.Write("input", MakeProduct(false, 3, 3))
                                                     : dir.Write("input", MakePass(3, 3));
    const auto before = TempDir::Read(input);
    SwathlyState state = Chosen(input, dir / c.output);
    if (std::string(c.output) == "input") {
        // Another spelling of the same file.
        state.OutputPath = (dir.Path() / "." / "input").string();
    }
    state.InputChosen = c.inputChosen;
    state.OutputChosen = c.outputChosen;
    state.SamplingInterval = 7;
    ScriptedDialogs dialogs;
    RecordingCanvas wait;
    testing::FakeMainView form1;
    const int filesBefore = testing::OpenFiles();

    const bool written =
        c.command == Command::Product
            ? ShowOutcome(ProductQuicklook(state, c.interval, BandButton::SingleBand, wait),
                          dialogs)
            : ShowOutcome(HrpQuicklook(state, c.interval, "1", BandButton::SingleBand, dialogs,
                                       form1, wait),
                          dialogs);
    EXPECT_FALSE(written);
    ASSERT_EQ(dialogs.Messages.size(), 1u);
    EXPECT_EQ(dialogs.Messages[0].rfind(c.message, 0), 0u) << dialogs.Messages[0];
    EXPECT_EQ(TempDir::Read(input), before);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()),
                            std::filesystem::directory_iterator()),
              1);
    EXPECT_EQ(state.OutputChosen, c.outputChosen);
    EXPECT_EQ(testing::OpenFiles(), filesBefore);
    EXPECT_TRUE(wait.printed.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Table, QuicklookRefusalTest,
    ::testing::Values(
        RefusalCase{"no output chosen", Command::Product, true, false, "5", "q",
                    "Enter Input and Output Image files first"},
        RefusalCase{"no input chosen", Command::Hrp, false, true, "5", "q",
                    "Enter Input and Output Image files first"},
        RefusalCase{"interval 0", Command::Product, true, true, "0", "q", "Enter a sampling"},
        RefusalCase{"negative interval", Command::Hrp, true, true, "-5", "q", "Enter a sampling"},
        RefusalCase{"interval not a number", Command::Product, true, true, "five", "q",
                    "Enter a sampling"},
        RefusalCase{"empty interval", Command::Hrp, true, true, "", "q", "Enter a sampling"},
        RefusalCase{"interval beyond 16 bits", Command::Product, true, true, "40000", "q",
                    "Enter a sampling"},
        RefusalCase{"interval rounding to 0", Command::Hrp, true, true, "0.5", "q",
                    "Enter a sampling"},
        RefusalCase{"product output is the input", Command::Product, true, true, "5", "input",
                    "The output file is the input file"},
        RefusalCase{"HRP output is the input", Command::Hrp, true, true, "5", "input",
                    "The output file is the input file"},
        RefusalCase{"product output cannot be opened", Command::Product, true, true, "5",
                    "missing/q", "Cannot open the output file"},
        RefusalCase{"HRP output cannot be opened", Command::Hrp, true, true, "5", "missing/q",
                    "Cannot open the output file"}),
    qiv::testing::DescName<RefusalCase>);

TEST(ProductQuicklook, AnInputThatCannotBeOpenedIsTold) {
    TempDir dir;
    SwathlyState state = Chosen(dir / "gone.cal", dir / "q");
    ScriptedDialogs dialogs;
    RecordingCanvas wait;
    EXPECT_FALSE(ShowOutcome(ProductQuicklook(state, "5", BandButton::Band1, wait), dialogs));
    ASSERT_EQ(dialogs.Messages.size(), 1u);
    EXPECT_EQ(dialogs.Messages[0].rfind("Cannot open the input file", 0), 0u);
    EXPECT_FALSE(std::filesystem::exists(dir / "q"));
}

TEST(SamplingInterval, KeptOnlyWhenUsable) {
    SwathlyState state;
    state.SamplingInterval = 7;
    ScriptedDialogs dialogs;
    RecordingCanvas wait;
    testing::FakeMainView form1;
    // No files are chosen, so the commands stop after taking the interval.
    ShowOutcome(ProductQuicklook(state, "2.5", BandButton::SingleBand, wait), dialogs);
    EXPECT_EQ(state.SamplingInterval, 2);
    ShowOutcome(HrpQuicklook(state, "0", "1", BandButton::SingleBand, dialogs, form1, wait),
                dialogs);
    EXPECT_EQ(state.SamplingInterval, 2);
    ShowOutcome(HrpQuicklook(state, " 3.5 ", "1", BandButton::SingleBand, dialogs, form1, wait),
                dialogs);
    EXPECT_EQ(state.SamplingInterval, 4);
}

}  // namespace
}  // namespace qiv::swathly
