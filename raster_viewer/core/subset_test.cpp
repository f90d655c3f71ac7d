#include "raster_viewer/core/subset.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <ostream>
#include <string>
#include <vector>

#include "common/testing/failure_check.h"
#include "common/testing/memory_canvas.h"
#include "common/testing/param_name.h"
#include "common/testing/reference_models.h"
#include "raster_viewer/core/rastel_texts.h"
#include "raster_viewer/core/raster_file.h"
#include "common/testing/scripted_dialogs.h"
#include "common/testing/temp_dir.h"

namespace qiv::rastel {
namespace {

using Bytes = std::vector<std::uint8_t>;

// The name the file dialog gives back.
enum class Target { NewFile, LongerFile, ImageOtherSpelling, ImageLink, Cancel, FullDisk, Folder };
// What the new file holds afterwards: nothing at all, the listed bytes, or what the model below
// says a subset of the request must be.
enum class Output { Absent, Literal, Model };
enum class Msg {
    ChooseFirst,
    Outside,
    AskName,
    BadCounts,
    TooLarge,
    ShortImage,
    OverImage,
    WriteFailed
};

struct SubsetCase {
    const char* desc;
    std::int32_t imageRows = 20;
    std::int32_t imageCols = 30;
    std::int64_t imageBytes = -1;  // -1: exactly rows x cols
    bool imageChosen = true;
    std::vector<std::optional<std::string>> replies{};
    Target target = Target::NewFile;
    std::vector<Msg> messages{};
    Output output = Output::Absent;
    Bytes literal{};
    friend void PrintTo(const SubsetCase& c, std::ostream* os) { *os << c.desc; }
};

constexpr std::uint8_t kOldByte = 0xEE;
constexpr std::size_t kLongerFileSize = 64;

Bytes ImageBytes(std::int64_t count) {
    Bytes bytes(static_cast<std::size_t>(count));
    for (std::size_t k = 0; k < bytes.size(); ++k) {
        bytes[k] = static_cast<std::uint8_t>(k % 251);
    }
    return bytes;
}

// Form1 as the subset sees it: what Label4 shows, and how many messages had been shown when it
// changed.
class RecordedForm1 : public MainView {
public:
    explicit RecordedForm1(const testing::ScriptedDialogs& dialogs) : dialogs_(dialogs) {}
    void ShowSubsetPath(std::string_view path) override {
        Label4 = std::string(path);
        MessagesBeforeLabel4 = dialogs_.Messages.size();
    }

    std::optional<std::string> Label4;
    std::size_t MessagesBeforeLabel4 = 0;

private:
    const testing::ScriptedDialogs& dialogs_;
};

class SubsetTest : public ::testing::TestWithParam<SubsetCase> {};

TEST_P(SubsetTest, CutsOrRefusesAndNeverTouchesTheImage) {
    const SubsetCase& c = GetParam();
    testing::TempDir dir;
    const std::int64_t imageBytes =
        c.imageBytes >= 0 ? c.imageBytes : std::int64_t{c.imageRows} * c.imageCols;
    const Bytes image = ImageBytes(imageBytes);
    const auto imagePath = dir.Write("image.raw", image);

    std::filesystem::path outPath = dir / "cut.raw";
    Bytes old;
    std::optional<std::string> answer = outPath.string();
    switch (c.target) {
        case Target::NewFile:
            break;
        case Target::LongerFile:
            old.assign(kLongerFileSize, kOldByte);
            dir.Write("cut.raw", old);
            break;
        case Target::ImageOtherSpelling:
            answer = (dir.Path() / "." / "image.raw").string();
            break;
        case Target::ImageLink:
            std::filesystem::create_symlink(imagePath, dir / "link.raw");
            answer = (dir / "link.raw").string();
            break;
        case Target::Cancel:
            answer = std::nullopt;
            break;
        case Target::FullDisk:
            answer = "/dev/full";
            break;
        case Target::Folder:
            answer = dir.Path().string();
            break;
    }

    ViewerState state;
    state.ImageRows = c.imageRows;
    state.ImageCols = c.imageCols;
    if (c.imageChosen) {
        state.ImagePath = imagePath.string();
        state.FileChosen = true;
    }
    testing::ScriptedDialogs dialogs;
    for (const auto& reply : c.replies) {
        dialogs.Answer(reply);
    }
    dialogs.File(answer);
    MemoryCanvas wait = qiv::testing::WaitArea();

    RecordedForm1 form1(dialogs);
    ShowOutcome(SubsetRequest(state, dialogs, form1, wait), dialogs);  // as the window does

    // The prompts come in their order, at their place, and stop where the checks stop them.
    const std::vector<std::string> promptTexts{"βάλε γραμμή αρχής", "βάλε στήλη αρχής",
                                               "βάλε αριθμό γραμμών", "βάλε αριθμό στηλών"};
    ASSERT_EQ(dialogs.PromptCalls.size(), c.replies.size());
    for (std::size_t k = 0; k < dialogs.PromptCalls.size(); ++k) {
        EXPECT_EQ(dialogs.PromptCalls[k].Text, promptTexts[k]);
        EXPECT_EQ(dialogs.PromptCalls[k].XTwips, 100);
        EXPECT_EQ(dialogs.PromptCalls[k].YTwips, 5000);
    }

    std::vector<std::string> expected;
    for (const Msg m : c.messages) {
        switch (m) {
            case Msg::ChooseFirst:
                expected.emplace_back(kChooseImageFirst);
                break;
            case Msg::Outside:
                expected.emplace_back(kSubsetOutsideImage);
                break;
            case Msg::AskName:
                expected.emplace_back(kSubsetAskFileName);
                break;
            case Msg::BadCounts:
                expected.emplace_back(kSubsetBadCounts);
                break;
            case Msg::TooLarge:
                expected.emplace_back(kSubsetTooLarge);
                break;
            case Msg::OverImage:
                expected.emplace_back(kSubsetOverImage);
                break;
            case Msg::ShortImage:
                expected.push_back(ShortFileMessage(
                    imagePath.string(), std::int64_t{c.imageRows} * c.imageCols, imageBytes));
                break;
            case Msg::WriteFailed:
                expected.push_back(SubsetWriteFailedMessage(*answer, "REASON"));
                break;
        }
    }
    ASSERT_EQ(dialogs.Messages.size(), expected.size());
    for (std::size_t k = 0; k < expected.size(); ++k) {
        if (c.messages[k] == Msg::WriteFailed) {
            // The system's reason ends the message.
            const std::string prefix = expected[k].substr(0, expected[k].size() - 6);
            EXPECT_EQ(dialogs.Messages[k].substr(0, prefix.size()), prefix);
            EXPECT_GT(dialogs.Messages[k].size(), prefix.size());
        } else {
            EXPECT_EQ(dialogs.Messages[k], expected[k]);
        }
    }
    const bool askedName =
        std::find(c.messages.begin(), c.messages.end(), Msg::AskName) != c.messages.end();
    EXPECT_EQ(dialogs.FileFilters,
              askedName ? std::vector<std::string>{"All Files|*.*"} : std::vector<std::string>{});

    const bool copied =
        c.output != Output::Absent ||
        std::find(c.messages.begin(), c.messages.end(), Msg::WriteFailed) != c.messages.end();
    EXPECT_EQ(form1.Label4, copied ? answer : std::nullopt);
    // Label4 names the new file before the copy starts, so a failure is told under that name.
    const auto writeFailed = std::find(c.messages.begin(), c.messages.end(), Msg::WriteFailed);
    if (writeFailed != c.messages.end()) {
        EXPECT_EQ(form1.MessagesBeforeLabel4,
                  static_cast<std::size_t>(writeFailed - c.messages.begin()));
    }
    EXPECT_EQ(wait.Clears(), copied ? 1 : 0);
    EXPECT_TRUE(wait.Texts().empty()) << "the wait notice stays after the subset";

    EXPECT_EQ(testing::TempDir::Read(imagePath), image);
    switch (c.output) {
        case Output::Absent:
            if (c.target == Target::NewFile) {
                EXPECT_FALSE(std::filesystem::exists(outPath));
            }
            break;
        case Output::Literal:
            EXPECT_EQ(testing::TempDir::Read(outPath), c.literal);
            break;
        case Output::Model:
            EXPECT_EQ(testing::TempDir::Read(outPath), models::SubsetFile(image, c.imageCols, state.SubsetStartRow,
                                         state.SubsetStartCol, state.SubsetRows,
                                         state.SubsetCols, old));
            break;
    }
}

using R = std::vector<std::optional<std::string>>;

// clang-format off
INSTANTIATE_TEST_SUITE_P(
    Table, SubsetTest,
    ::testing::Values(
        SubsetCase{.desc = "whole 512 x 512 image",
                   .imageRows = 512, .imageCols = 512,
                   .replies = R{"0", "0", "512", "512"},
                   .messages = {Msg::AskName}, .output = Output::Model},
        SubsetCase{.desc = "3 x 5 cut at row 10 column 20 is 15 bytes",
                   .replies = R{"10", "20", "3", "5"},
                   .messages = {Msg::AskName}, .output = Output::Literal,
                   .literal = {3, 0, 5, 0, 73, 99, 100, 101, 102, 103, 129, 130, 131, 132, 133}},
        SubsetCase{.desc = "rectangle ending at the last row and column",
                   .replies = R{"17", "25", "3", "5"},
                   .messages = {Msg::AskName}, .output = Output::Model},
        SubsetCase{.desc = "start row equal to ImageRows with no rows gives the header alone",
                   .replies = R{"20", "0", "0", "5"},
                   .messages = {Msg::AskName}, .output = Output::Literal,
                   .literal = {0, 0, 5, 0}},
        SubsetCase{.desc = "start row equal to ImageRows with one row is outside",
                   .replies = R{"20", "0", "1", "5"},
                   .messages = {Msg::Outside}},
        SubsetCase{.desc = "no rows writes only the header",
                   .replies = R{"2", "3", "0", "7"},
                   .messages = {Msg::AskName}, .output = Output::Literal,
                   .literal = {0, 0, 7, 0}},
        SubsetCase{.desc = "no rows and no columns writes a zero header",
                   .replies = R{"2", "3", "0", "0"},
                   .messages = {Msg::AskName}, .output = Output::Literal,
                   .literal = {0, 0, 0, 0}},
        SubsetCase{.desc = "existing longer file keeps its tail",
                   .replies = R{"1", "1", "3", "5"}, .target = Target::LongerFile,
                   .messages = {Msg::AskName}, .output = Output::Model},
        SubsetCase{.desc = "cancelled prompts read as 0",
                   .replies = R{std::nullopt, std::nullopt, "2", "3"},
                   .messages = {Msg::AskName}, .output = Output::Model},
        SubsetCase{.desc = "32767 rows fit the header",
                   .imageRows = 32767, .imageCols = 2,
                   .replies = R{"0", "1", "32767", "1"},
                   .messages = {Msg::AskName}, .output = Output::Model},
        SubsetCase{.desc = "start row beyond the image skips the count prompts",
                   .replies = R{"21", "0"}, .messages = {Msg::Outside}},
        SubsetCase{.desc = "start column beyond the image skips the count prompts",
                   .replies = R{"0", "31"}, .messages = {Msg::Outside}},
        SubsetCase{.desc = "negative start row is outside",
                   .replies = R{"-1", "0"}, .messages = {Msg::Outside}},
        SubsetCase{.desc = "start beyond 32 bits is outside",
                   .replies = R{"0", "1e12"}, .messages = {Msg::Outside}},
        SubsetCase{.desc = "rectangle one column too wide",
                   .replies = R{"0", "26", "1", "5"}, .messages = {Msg::Outside}},
        SubsetCase{.desc = "negative row count",
                   .replies = R{"0", "0", "-1", "5"}, .messages = {Msg::BadCounts}},
        SubsetCase{.desc = "negative column count",
                   .replies = R{"0", "0", "0", "-3"}, .messages = {Msg::BadCounts}},
        SubsetCase{.desc = "rows without columns",
                   .replies = R{"0", "0", "3", "0"}, .messages = {Msg::BadCounts}},
        SubsetCase{.desc = "more rows than the header holds",
                   .imageRows = 32768, .imageCols = 1,
                   .replies = R{"0", "0", "32768", "1"}, .messages = {Msg::TooLarge}},
        SubsetCase{.desc = "image file shorter than its dimensions",
                   .imageBytes = 599,
                   .replies = R{"0", "0", "2", "2"}, .messages = {Msg::ShortImage}},
        SubsetCase{.desc = "no image chosen", .imageChosen = false,
                   .messages = {Msg::ChooseFirst}},
        SubsetCase{.desc = "cancelled file dialog",
                   .replies = R{"0", "0", "2", "2"}, .target = Target::Cancel,
                   .messages = {Msg::AskName}},
        SubsetCase{.desc = "the image itself by another spelling",
                   .replies = R{"0", "0", "2", "2"}, .target = Target::ImageOtherSpelling,
                   .messages = {Msg::AskName, Msg::OverImage}},
        SubsetCase{.desc = "the image itself through a link",
                   .replies = R{"0", "0", "2", "2"}, .target = Target::ImageLink,
                   .messages = {Msg::AskName, Msg::OverImage}},
        SubsetCase{.desc = "a full disk",
                   .replies = R{"0", "0", "2", "2"}, .target = Target::FullDisk,
                   .messages = {Msg::AskName, Msg::WriteFailed}},
        SubsetCase{.desc = "a folder as the new file",
                   .replies = R{"0", "0", "2", "2"}, .target = Target::Folder,
                   .messages = {Msg::AskName, Msg::WriteFailed}}),
    testing::DescName<SubsetCase>);
// clang-format on

// The process's own count of read and write system calls.
std::pair<long long, long long> SystemCalls() {
    std::ifstream io("/proc/self/io");
    std::string key;
    long long value = 0;
    long long reads = -1;
    long long writes = -1;
    while (io >> key >> value) {
        if (key == "syscr:") {
            reads = value;
        } else if (key == "syscw:") {
            writes = value;
        }
    }
    return {reads, writes};
}

TEST(CutSubsetTest, CopiesEachRowWithOneReadAndOneWrite) {
    testing::TempDir dir;
    ViewerState state;
    state.ImageRows = 300;
    state.ImageCols = 400;
    state.ImagePath = dir.Write("image.raw", ImageBytes(300 * 400)).string();
    state.SubsetStartRow = 20;
    state.SubsetStartCol = 30;
    state.SubsetRows = 250;
    state.SubsetCols = 333;
    state.SubsetPath = (dir / "cut.raw").string();
    MemoryCanvas wait = qiv::testing::WaitArea();

    const auto before = SystemCalls();
    if (before.first < 0) {
        GTEST_SKIP() << "no system call counts on this machine";
    }
    ASSERT_TRUE(testing::Succeeded(CutSubset(state, wait)));
    const auto after = SystemCalls();

    // One read per row and one write per row plus the header. The slack is for the reads of the
    // count file itself and what a sanitizer's runtime may do meanwhile; a copy in smaller
    // pieces would need hundreds of calls more.
    EXPECT_GE(after.first - before.first, 250);
    EXPECT_LE(after.first - before.first, 250 + 10);
    EXPECT_GE(after.second - before.second, 250 + 1);
    EXPECT_LE(after.second - before.second, 250 + 1 + 10);
}

}  // namespace
}  // namespace qiv::rastel
