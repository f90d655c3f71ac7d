// qivtool as scripts run it: the exit status, stdout and stderr of the program itself, for the
// command line's own errors and for a few whole runs.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <algorithm>
#include <cstdlib>
#include <ostream>
#include <string>
#include <vector>

#include "common/core/dimension_header.h"
#include "common/testing/param_name.h"
#include "common/testing/temp_dir.h"

namespace {

using qiv::testing::TempDir;

struct Outcome {
    int Status = -1;
    std::string Out;
    std::string Err;
};

// Runs qivtool with `arguments` (already quoted for the shell) in `dir`, stdin empty.
Outcome Qivtool(const TempDir& dir, const std::string& arguments) {
    const std::string command = "cd '" + dir.Path().string() + "' && '" QIVTOOL_PATH "' " +
                                arguments + " >out.txt 2>err.txt </dev/null";
    const int raw = std::system(command.c_str());
    Outcome run;
    run.Status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    const auto out = TempDir::Read(dir / "out.txt");
    const auto err = TempDir::Read(dir / "err.txt");
    run.Out.assign(out.begin(), out.end());
    run.Err.assign(err.begin(), err.end());
    return run;
}

struct UsageCase {
    const char* desc;
    const char* arguments;
    int status;
    const char* errStarts;  // what stderr begins with
};
void PrintTo(const UsageCase& row, std::ostream* out) {
    *out << row.desc;
}

class UsageTest : public ::testing::TestWithParam<UsageCase> {};

TEST_P(UsageTest, TheStatusTellsBadUsageFromRefusal) {
    const UsageCase& row = GetParam();
    TempDir dir;
    std::vector<std::uint8_t> image(16, 50);
    const auto header = qiv::EncodeDimensionHeader({4, 4});
    std::copy(header.begin(), header.end(), image.begin());
    dir.Write("image.raw", image);
    // One frame of a raw recording: the frame sync in little-endian words, zeros after it.
    std::vector<std::uint8_t> frame(22180, 0);
    const std::uint16_t sync[] = {0x284, 0x16F, 0x35C, 0x19D, 0x20F, 0x095};
    for (std::size_t k = 0; k < 6; ++k) {
        frame[2 * k] = static_cast<std::uint8_t>(sync[k] & 0xFF);
        frame[2 * k + 1] = static_cast<std::uint8_t>(sync[k] >> 8);
    }
    dir.Write("pass.raw16", frame);

    const Outcome run = Qivtool(dir, row.arguments);
    EXPECT_EQ(run.Status, row.status) << run.Err;
    EXPECT_EQ(run.Err.rfind(row.errStarts, 0), 0u) << run.Err;
}

// clang-format off
const UsageCase kUsageCases[] = {
    {"no subcommand", "", 2, "qivtool: A subcommand is required"},
    {"an unknown subcommand", "paint image.raw", 2, "qivtool: "},
    {"an unknown table", "render image.raw --table bright -o a.png", 2, "qivtool: --table"},
    {"a node without its comma", "tables image.raw --nodes 10", 2, "qivtool: --nodes"},
    {"one number for --size", "tables image.raw --size 4", 2, "qivtool: "},
    {"no output for render", "render image.raw", 2, "qivtool: --output is required"},
    {"a header value beyond 16 bits", "header image.raw --set 40000 1", 2, "qivtool: --set"},
    {"a sampling interval of 0", "quicklook x.hrp --from hrp --step 0 -o q.img", 2,
     "qivtool: --step"},
    {"help of a subcommand", "render --help", 0, ""},
    {"a recording's import without its year", "import pass.raw16 -o pass.hrp", 2,
     "qivtool import: --year is needed for a raw recording"},
    {"a year out of range", "import pass.raw16 --year 0 -o pass.hrp", 2, "qivtool: --year"},
    {"an image is no recording nor Level 1b file", "import image.raw -o pass.hrp", 1,
     "qivtool import: The input file image.raw is no HRPT recording"},
    {"a missing image is refused", "info missing.raw", 1,
     "qivtool info: Cannot open the input file missing.raw: No such file or directory"},
    {"a refused subset", "subset image.raw --start 5 0 --count 1 1 -o s.raw", 1,
     "qivtool subset: The start, or the rows and columns, of the subset lie outside the image"},
};
// clang-format on
INSTANTIATE_TEST_SUITE_P(CommandLines, UsageTest, ::testing::ValuesIn(kUsageCases),
                         qiv::testing::DescName<UsageCase>);

TEST(QivtoolRunTest, ScriptsGetTheCsvOnStdoutAndNothingOnStderr) {
    TempDir dir;
    std::vector<std::uint8_t> image(256);
    for (int v = 0; v < 256; ++v) {
        image[v] = static_cast<std::uint8_t>(v);
    }
    dir.Write("levels.raw", image);

    const Outcome run = Qivtool(dir, "tables levels.raw --size 16 16 --nodes 128,64");
    EXPECT_EQ(run.Status, 0);
    EXPECT_EQ(run.Err, "");  // no progress line: stderr is no terminal
    EXPECT_EQ(run.Out.rfind("level,count,equalised,stretched\n0,1,1,0\n1,1,2,0\n", 0), 0u)
        << run.Out.substr(0, 80);
    EXPECT_NE(run.Out.find("\n128,1,128,64\n"), std::string::npos);
    EXPECT_EQ(std::count(run.Out.begin(), run.Out.end(), '\n'), 257);

    const Outcome help = Qivtool(dir, "header --help");
    EXPECT_EQ(help.Status, 0);
    EXPECT_NE(help.Out.find("the one subcommand that changes its input"), std::string::npos);
}

}  // namespace
