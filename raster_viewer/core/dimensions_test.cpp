#include "raster_viewer/core/dimensions.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <ostream>
#include <vector>

#include "common/testing/param_name.h"
#include "common/testing/scripted_dialogs.h"
#include "common/testing/temp_dir.h"
#include "raster_viewer/core/rastel_texts.h"

namespace qiv::rastel {
namespace {

using Bytes = std::vector<std::uint8_t>;
using qiv::testing::ScriptedDialogs;
using qiv::testing::TempDir;

TEST(DimensionCaptionTest, BlankBeforeNonNegativeMinusBeforeNegative) {
    ViewerState state;
    state.ImageRows = 512;
    state.ImageCols = 400;
    EXPECT_EQ(DimensionCaption(state), " 512 ,  400");
    EXPECT_EQ(DimensionCaption(state).size(), 11u);
    state.ImageRows = 0;
    state.ImageCols = -32768;
    EXPECT_EQ(DimensionCaption(state), " 0 , -32768");
    state.ImageRows = 2147483647;
    EXPECT_EQ(NumberText(state.ImageRows), " 2147483647");
}

struct TypedCase {
    const char* desc;
    std::optional<std::string> reply;
    std::int32_t expected;
    friend void PrintTo(const TypedCase& c, std::ostream* os) { *os << c.desc; }
};

class SetDimensionsTable : public ::testing::TestWithParam<TypedCase> {};

// The same reply to both prompts: rows and columns follow one rule.
TEST_P(SetDimensionsTable, ReadsEachReply) {
    const TypedCase& c = GetParam();
    ScriptedDialogs dialogs;
    dialogs.Answer(c.reply).Answer(c.reply);
    ViewerState state;
    state.TablesReady = true;

    const std::string caption = SetDimensions(state, dialogs);

    EXPECT_EQ(state.ImageRows, c.expected);
    EXPECT_EQ(state.ImageCols, c.expected);
    EXPECT_EQ(caption, NumberText(c.expected) + " , " + NumberText(c.expected));
    EXPECT_EQ(state.TablesReady, true);
    EXPECT_TRUE(dialogs.Messages.empty());
    ASSERT_EQ(dialogs.PromptCalls.size(), 2u);
    EXPECT_EQ(dialogs.PromptCalls[0].Text, "Βάλε αριθμό Γραμμών");
    EXPECT_EQ(dialogs.PromptCalls[1].Text, "Βάλε αριθμό Στηλών");
    for (const auto& call : dialogs.PromptCalls) {
        EXPECT_EQ(call.XTwips, 100);
        EXPECT_EQ(call.YTwips, 5000);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Replies, SetDimensionsTable,
    ::testing::Values(TypedCase{"half down to even", "12.5", 12},
                      TypedCase{"half up to even", "13.5", 14}, TypedCase{"letters only", "abc", 0},
                      TypedCase{"blanks then a number", "   300", 300},
                      TypedCase{"cancelled", std::nullopt, 0}, TypedCase{"negative", "-7", -7},
                      TypedCase{"too large is held at the 32-bit limit", "3000000000", 2147483647},
                      TypedCase{"too small is held at the 32-bit limit", "-1e30", -2147483648},
                      TypedCase{"overflowing exponent", "1e400", 2147483647}),
    qiv::testing::DescName<TypedCase>);

// As the window runs the two header commands: the message of an outcome that is not done, and
// the new caption of Label2 after a read.
std::optional<std::string> ReadHeader(ViewerState& state, ScriptedDialogs& dialogs) {
    if (!ShowOutcome(rastel::ReadHeader(state), dialogs)) {
        return std::nullopt;
    }
    return DimensionCaption(state);
}

void WriteHeader(const ViewerState& state, ScriptedDialogs& dialogs) {
    ShowOutcome(rastel::WriteHeader(state), dialogs);
}

struct HeaderFixture {
    TempDir dir;
    ScriptedDialogs dialogs;
    ViewerState state;

    std::string Choose(const Bytes& bytes) {
        state.ImagePath = dir.Write("image.raw", bytes).string();
        state.FileChosen = true;
        return state.ImagePath;
    }
};

struct ReadCase {
    const char* desc;
    Bytes file;
    std::int32_t rows;
    std::int32_t cols;
    friend void PrintTo(const ReadCase& c, std::ostream* os) { *os << c.desc; }
};

class ReadHeaderTable : public ::testing::TestWithParam<ReadCase> {};

TEST_P(ReadHeaderTable, TakesTheFirstFourBytesAsTheDimensions) {
    const ReadCase& c = GetParam();
    HeaderFixture f;
    const std::string path = f.Choose(c.file);
    f.state.TablesReady = true;

    const std::optional<std::string> caption = ReadHeader(f.state, f.dialogs);

    EXPECT_EQ(caption, DimensionCaption(f.state));
    EXPECT_EQ(f.state.ImageRows, c.rows);
    EXPECT_EQ(f.state.ImageCols, c.cols);
    EXPECT_EQ(f.state.Header.HeaderRows, c.rows);
    EXPECT_EQ(f.state.Header.HeaderCols, c.cols);
    EXPECT_EQ(f.state.TablesReady, true);
    EXPECT_TRUE(f.dialogs.Messages.empty());
    EXPECT_EQ(TempDir::Read(path), c.file);
}

INSTANTIATE_TEST_SUITE_P(
    Headers, ReadHeaderTable,
    ::testing::Values(ReadCase{"512 rows 400 columns", {0x00, 0x02, 0x90, 0x01, 9, 9}, 512, 400},
                      ReadCase{"sign is kept", {0x00, 0x80, 0xFF, 0xFF}, -32768, -1},
                      ReadCase{
                          "pixels of a file without header", {10, 20, 30, 40, 50}, 5130, 10270}),
    qiv::testing::DescName<ReadCase>);

TEST(ReadHeaderTest, RefusalsChangeNothing) {
    HeaderFixture f;
    f.state.ImageRows = 7;
    f.state.ImageCols = 9;
    const std::string path = f.Choose({1, 2, 3});

    f.state.FileChosen = false;
    EXPECT_EQ(ReadHeader(f.state, f.dialogs), std::nullopt);
    f.state.FileChosen = true;
    EXPECT_EQ(ReadHeader(f.state, f.dialogs), std::nullopt);
    std::filesystem::remove(path);
    EXPECT_EQ(ReadHeader(f.state, f.dialogs), std::nullopt);

    EXPECT_EQ(
        f.dialogs.Messages,
        (std::vector<std::string>{
            "Βάλε πρώτα το όνομα αρχείου εικόνας",
            "Το αρχείο εικόνας \"" + path + "\" έχει μόνο 3 bytes: δεν χωράει Header 4 bytes.",
            "Δεν ανοίγει το αρχείο εικόνας \"" + path + "\" (No such file or directory)."}));
    EXPECT_EQ(f.state.ImageRows, 7);
    EXPECT_EQ(f.state.ImageCols, 9);
    EXPECT_EQ(f.state.Header, DimensionHeader{});
    EXPECT_FALSE(std::filesystem::exists(path));  // reading never creates the file
}

// Write then read back, at the byte level: exactly bytes 1-4 change.
TEST(WriteHeaderTest, RoundTripReplacesOnlyTheFirstFourBytes) {
    HeaderFixture f;
    const Bytes original{1, 2, 3, 4, 5, 6, 7, 8, 9};
    const std::string path = f.Choose(original);
    f.state.ImageRows = 512;
    f.state.ImageCols = 400;

    WriteHeader(f.state, f.dialogs);

    EXPECT_EQ(TempDir::Read(path), (Bytes{0x00, 0x02, 0x90, 0x01, 5, 6, 7, 8, 9}));
    f.state.ImageRows = 1;
    f.state.ImageCols = 1;
    EXPECT_EQ(ReadHeader(f.state, f.dialogs), std::optional<std::string>(" 512 ,  400"));
    EXPECT_EQ(f.state.ImageRows, 512);
    EXPECT_EQ(f.state.ImageCols, 400);

    f.state.ImageRows = -32768;
    f.state.ImageCols = 32767;
    WriteHeader(f.state, f.dialogs);
    EXPECT_EQ(TempDir::Read(path), (Bytes{0x00, 0x80, 0xFF, 0x7F, 5, 6, 7, 8, 9}));
    EXPECT_TRUE(f.dialogs.Messages.empty());
}

TEST(WriteHeaderTest, MissingFileIsCreatedWithTheHeaderOnly) {
    HeaderFixture f;
    f.state.ImagePath = (f.dir / "new.raw").string();
    f.state.FileChosen = true;
    f.state.ImageRows = 3;
    f.state.ImageCols = 258;
    WriteHeader(f.state, f.dialogs);
    EXPECT_EQ(TempDir::Read(f.state.ImagePath), (Bytes{3, 0, 2, 1}));
}

struct WriteRefusal {
    const char* desc;
    bool fileChosen;
    std::int32_t rows;
    std::int32_t cols;
    std::string message;
    friend void PrintTo(const WriteRefusal& c, std::ostream* os) { *os << c.desc; }
};

class WriteHeaderRefusal : public ::testing::TestWithParam<WriteRefusal> {};

TEST_P(WriteHeaderRefusal, WritesNothing) {
    const WriteRefusal& c = GetParam();
    HeaderFixture f;
    const Bytes original{1, 2, 3, 4, 5};
    const std::string path = f.Choose(original);
    f.state.FileChosen = c.fileChosen ? true : false;
    f.state.ImageRows = c.rows;
    f.state.ImageCols = c.cols;

    WriteHeader(f.state, f.dialogs);

    EXPECT_EQ(f.dialogs.Messages, std::vector<std::string>{c.message});
    EXPECT_EQ(TempDir::Read(path), original);
}

INSTANTIATE_TEST_SUITE_P(
    Refusals, WriteHeaderRefusal,
    ::testing::Values(
        WriteRefusal{"no file chosen", false, 512, 512, "Βάλε πρώτα το όνομα αρχείου εικόνας"},
        WriteRefusal{"rows above 16 bits", true, 32768, 10,
                     "Οι διαστάσεις 32768 x 10 δεν χωράνε στο Header (από -32768 έως 32767): δεν "
                     "γράφτηκε τίποτα."},
        WriteRefusal{"columns below 16 bits", true, 10, -32769,
                     "Οι διαστάσεις 10 x -32769 δεν χωράνε στο Header (από -32768 έως 32767): δεν "
                     "γράφτηκε τίποτα."}),
    qiv::testing::DescName<WriteRefusal>);

}  // namespace
}  // namespace qiv::rastel
