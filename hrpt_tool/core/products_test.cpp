#include "hrpt_tool/core/products.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <numbers>
#include <set>
#include <string>
#include <vector>

#include "common/core/dimension_header.h"
#include "common/testing/failure_check.h"
#include "common/testing/memory_canvas.h"
#include "common/testing/param_name.h"
#include "common/testing/scripted_dialogs.h"
#include "common/testing/temp_dir.h"
#include "hrpt_tool/core/products_command.h"
#include "hrpt_tool/core/swathly_texts.h"
#include "hrpt_tool/testing/pass_fixture.h"

namespace qiv::swathly {
namespace {

namespace fs = std::filesystem;
using qiv::testing::PassPlan;
using qiv::testing::TempDir;

struct Made {
    ProductSummary Summary;
    std::vector<std::uint8_t> Cal, Sst, Ndv;
};

// Writes the pass of `plan` and makes its products beside it.
Made MakeOf(const TempDir& dir, const PassPlan& plan,
            std::optional<std::int16_t> satellite = std::nullopt) {
    const fs::path hrp = qiv::testing::WritePass(dir / "pass.hrp", plan);
    const ProductPaths paths = ProductPathsOf((dir / "pass").string());
    Made made;
    const CommandOutcome outcome = MakeProducts(hrp.string(), paths, satellite, made.Summary);
    EXPECT_TRUE(outcome.Done()) << (outcome.Refusal() ? static_cast<int>(outcome.Refusal()->Why)
                                                      : -1);
    if (outcome.FileFailure() != nullptr) {
        EXPECT_TRUE(qiv::testing::Succeeded(*outcome.FileFailure()));
    }
    made.Cal = TempDir::Read(paths.Cal);
    made.Sst = TempDir::Read(paths.Sst);
    made.Ndv = TempDir::Read(paths.Ndv);
    return made;
}

// Band `band` (1..5) of sample `sample` (0-based) of line `line` (1-based) of a CAL product.
int CalValue(const std::vector<std::uint8_t>& cal, int line, int sample, int band) {
    const auto at = static_cast<std::size_t>(line * kCalRecordBytes + 10 * sample + 2 * (band - 1));
    return at + 1 < cal.size() ? ReadInt16Le(&cal[at]) : 99999;
}
int SingleValue(const std::vector<std::uint8_t>& product, int line, int sample) {
    const auto at = static_cast<std::size_t>(line * kSingleBandRecordBytes + 2 * sample);
    return at + 1 < product.size() ? ReadInt16Le(&product[at]) : 99999;
}

// Expected values computed once, outside the build, with python3-pygac 1.7.1
// (pygac.calibration.calibrate_solar and calibrate_thermal, PATMOS-x v2017r1 and the KLM/POD
// thermal coefficients), the same figures as avhrr/calibration_test.cpp: albedos (%) at the
// counts of kVisibleCounts on the date of the case, and brightness temperatures (K) at the counts
// of kThermalCounts with PRT count 400 (0 every fifth line), back-scan 380 / 390 / 385 and space
// 990 / 985 / 988 for channels 3B / 4 / 5, the calibration words of PassPlan's lines.
constexpr std::array<int, 7> kVisibleCounts{60, 150, 400, 480, 520, 700, 950};
constexpr std::array<int, 5> kThermalCounts{950, 800, 600, 400, 200};

struct PassCase {
    const char* desc;
    std::int16_t SatId;
    std::int16_t Year, Month, Day;
    std::array<std::array<double, 7>, 2> Albedo;  // channels 1, 2
    std::array<std::array<double, 5>, 3> Kelvin;  // channels 3B, 4, 5
};

void PrintTo(const PassCase& c, std::ostream* os) {
    *os << c.desc;
}

class KnownPass : public ::testing::TestWithParam<PassCase> {};

// Every sample of a synthetic pass carries counts whose albedo and temperature an independent
// implementation gave: the CAL product holds them within its own rounding (half a unit, and the
// 0.02 K by which that implementation's blackbody differs from the guide's plain mean).
TEST_P(KnownPass, CalHoldsTheKnownAlbedosAndTemperatures) {
    const PassCase& c = GetParam();
    TempDir dir;
    PassPlan plan;
    plan.SatId = c.SatId;
    plan.Year = c.Year;
    plan.Month = c.Month;
    plan.Day = c.Day;
    plan.Lines = 40;
    plan.Counts = [](int, int s) {
        const int v = kVisibleCounts[static_cast<std::size_t>(s % 7)];
        const int t = kThermalCounts[static_cast<std::size_t>(s % 5)];
        return std::array<int, 5>{v, v, t, t, t};
    };
    const Made made = MakeOf(dir, plan);
    EXPECT_EQ(made.Summary.SatId, c.SatId);
    EXPECT_EQ(made.Summary.Source, SatelliteSource::Header);
    EXPECT_EQ(made.Summary.Lines, 40);
    EXPECT_EQ(made.Summary.FilledLines, (std::array<std::int64_t, 3>{}));
    EXPECT_EQ(made.Cal.size(), static_cast<std::size_t>(41 * kCalRecordBytes));
    for (const int line : {1, 20, 40}) {
        for (int s = 0; s < 70; ++s) {
            SCOPED_TRACE(::testing::Message() << "line " << line << " sample " << s);
            for (int band = 1; band <= 2; ++band) {
                const double albedo = c.Albedo[band - 1][static_cast<std::size_t>(s % 7)];
                EXPECT_NEAR(CalValue(made.Cal, line, s, band), 2.0 * albedo, 0.5 + 1e-3);
            }
            for (int band = 3; band <= 5; ++band) {
                const double kelvin = c.Kelvin[band - 3][static_cast<std::size_t>(s % 5)];
                EXPECT_NEAR(CalValue(made.Cal, line, s, band), kelvin - 273.15 + 100.0, 0.52);
            }
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Satellites, KnownPass,
    ::testing::Values(
        PassCase{"noaa14_single_gain",
                 14,
                 1998,
                 7,
                 21,
                 {{{2.491100, 14.291049, 47.068686, 57.557529, 62.801951, 86.401849, 119.179485},
                   {2.987529, 17.138980, 56.448569, 69.027637, 75.317171, 103.620075, 142.929663}}},
                 {{{246.204328, 272.599776, 287.275555, 296.518359, 303.416285},
                   {181.377001, 234.922174, 270.366121, 296.136875, 317.623688},
                   {175.658812, 230.361172, 267.860196, 295.445910, 318.561937}}}},
        PassCase{"noaa19_dual_gain",
                 19,
                 2012,
                 5,
                 8,
                 {{{1.162799, 6.099212, 19.811469, 24.199391, 28.978935, 58.597409, 99.734179},
                   {1.315340, 6.952512, 22.611324, 27.622144, 32.586613, 66.409646, 113.386081}}},
                 {{{245.095637, 272.463423, 287.251996, 296.512088, 303.406812},
                   {183.943096, 234.993848, 270.161837, 296.110497, 317.981033},
                   {176.973516, 230.306186, 267.685098, 295.408721, 318.783855}}}},
        PassCase{"metopb",
                 101,
                 2016,
                 10,
                 26,
                 {{{1.170994, 6.362594, 20.783703, 25.398458, 29.903801, 61.242183, 104.767714},
                   {1.265523, 6.960374, 22.779407, 27.841497, 32.799814, 66.968924, 114.426021}}},
                 {{{244.908686, 272.307804, 287.116859, 296.391045, 303.296898},
                   {184.981864, 235.578510, 270.407299, 295.986251, 317.443922},
                   {178.371102, 230.894938, 267.880733, 295.297563, 318.392928}}}}),
    qiv::testing::DescName<PassCase>);

// NOAA-14 by day over four scenes side by side: clear sea, vegetated land, cold bright cloud and
// sea at night (channels 1 and 2 at their dark counts). Albedos from the pygac figures above
// (channel 2 count 52 by its slope, 2.987529 / 19 % a count), temperatures at count 400.
constexpr double kT4 = 296.136875;
constexpr double kT5 = 295.445910;

// The split window of the NOAA Polar Orbiter Data User's Guide, p. E-33, for NOAA-14, with the
// zenith of the sample from the scan angle (±55.37°, KLM User's Guide 3.1) and an 833 km orbit.
double ExpectedSst(bool day, int sample) {
    const double scan = (sample + 1 - 1024.5) * 55.37 / 1023.5 * std::numbers::pi / 180.0;
    const double zenith = std::asin((6371.0 + 833.0) / 6371.0 * std::sin(std::abs(scan)));
    const double split = kT4 - kT5;
    const double sec = 1.0 / std::cos(zenith) - 1.0;
    return day ? 2.139588 * split + 1.017342 * kT4 + 0.779706 * split * sec - 278.43
               : 2.275385 * split + 1.029088 * kT4 + 0.752567 * split * sec - 282.24;
}

TEST(Products, SstAndNdviOverSeaLandAndCloud) {
    TempDir dir;
    PassPlan plan;
    plan.Lines = 30;
    plan.Counts = [](int, int s) -> std::array<int, 5> {
        if (s < 512) {
            return {60, 52, 400, 400, 400};  // clear sea by day
        }
        if (s < 1024) {
            return {60, 150, 400, 400, 400};  // vegetated land
        }
        if (s < 1536) {
            return {950, 950, 950, 950, 950};  // cold bright cloud
        }
        return {41, 41, 400, 400, 400};  // sea at night
    };
    const Made made = MakeOf(dir, plan);
    for (const int line : {1, 15, 30}) {
        for (const int s : {0, 100, 300, 511, 700, 1100, 1400, 1537, 1800, 2047}) {
            SCOPED_TRACE(::testing::Message() << "line " << line << " sample " << s);
            const int sst = SingleValue(made.Sst, line, s);
            const int ndv = SingleValue(made.Ndv, line, s);
            if (s < 512) {
                EXPECT_NEAR(sst, 10.0 * ExpectedSst(true, s), 1.5);
                EXPECT_NEAR(ndv, 100.0 * (1.0 + (1.729622 - 2.4911) / (1.729622 + 2.4911)), 0.51);
            } else if (s < 1024) {
                EXPECT_EQ(sst, kNoData);
                EXPECT_NEAR(ndv, 100.0 * (1.0 + (17.13898 - 2.4911) / (17.13898 + 2.4911)), 0.51);
            } else if (s < 1536) {
                EXPECT_EQ(sst, kNoData);
                EXPECT_NEAR(ndv, 100.0 * (1.0 + (142.929663 - 119.179485) / 262.109148), 0.51);
            } else {
                EXPECT_NEAR(sst, 10.0 * ExpectedSst(false, s), 1.5);
                EXPECT_EQ(ndv, kNoData);
            }
        }
    }
    // Sample 1536, night sea beside the cold cloud, is not uniform in channel 4: cloud. Day sea
    // beside land of the same temperature stays clear.
    EXPECT_EQ(SingleValue(made.Sst, 10, 1536), kNoData);
    EXPECT_EQ(made.Summary.ClearSeaSamples, 30 * (512 + 511));
    EXPECT_EQ(made.Summary.Samples, 30 * 2048);
}

TEST(Products, Channel3ALinesHaveNoBand3AndLineOneTakesLineTwosMode) {
    TempDir dir;
    PassPlan plan;
    plan.SatId = 19;
    plan.Year = 2012;
    plan.Month = 5;
    plan.Day = 8;
    plan.DayOfYear = 129;
    plan.Lines = 50;
    plan.Words = [](int line) {
        qiv::testing::LineWords words;
        words.Prt = line % 5 == 0 ? 0 : 400;
        words.Channel3A = line == 1 || (line >= 20 && line < 30);
        return words;
    };
    const Made made = MakeOf(dir, plan);
    EXPECT_EQ(made.Summary.Lines3A, 12);
    EXPECT_EQ(made.Summary.Lines3B, 38);
    for (int line = 1; line <= 50; ++line) {
        SCOPED_TRACE(line);
        const bool mode3A = line <= 2 || (line >= 21 && line <= 30);
        EXPECT_EQ(CalValue(made.Cal, line, 7, 3) == kNoData, mode3A);
        EXPECT_NE(CalValue(made.Cal, line, 7, 4), kNoData);
    }
    // The line times: line 1 the header's, later lines their own time codes (from line 3 on,
    // which the line before confirms).
    EXPECT_DOUBLE_EQ(made.Summary.Times.First, 11 * 3600 + 42 * 60 + 17);
    EXPECT_NEAR(made.Summary.Times.Last, 11 * 3600 + 42 * 60 + 17 + 49.0 / 6.0, 0.002);
    EXPECT_EQ(made.Summary.Times.TimeCodesUsed, 48);
}

TEST(Products, DamagedCalibrationIsFilledFromNeighboursAndCounted) {
    TempDir clean;
    TempDir damaged;
    PassPlan plan;
    plan.Lines = 80;
    plan.Counts = [](int line, int s) {
        const int t = kThermalCounts[static_cast<std::size_t>((s + line) % 5)];
        return std::array<int, 5>{60 + s % 50, 52, t, t, t};
    };
    const Made good = MakeOf(clean, plan);
    plan.Words = [](int line) {
        qiv::testing::LineWords words;
        words.Prt = line % 5 == 0 ? 0 : 400;
        if (line == 30) {
            words.BackScan = {0, 0, 0};  // lost words: all channels
        }
        if (line == 31) {
            words.Space[3] = 1400;  // out of range: channel 4
        }
        if (line == 33) {
            words.Prt = 1000;  // an implausible thermometer: all channels
        }
        return words;
    };
    const Made bad = MakeOf(damaged, plan);
    EXPECT_EQ(bad.Summary.FilledLines, (std::array<std::int64_t, 3>{2, 3, 2}));
    EXPECT_EQ(bad.Summary.UncalibratedLines, 0);
    EXPECT_TRUE(bad.Cal == good.Cal);
    EXPECT_TRUE(bad.Sst == good.Sst);
    EXPECT_TRUE(bad.Ndv == good.Ndv);
}

TEST(Products, HeaderRecordsSayWhatTheFileIs) {
    TempDir dir;
    PassPlan plan;
    plan.Lines = 3;
    const Made made = MakeOf(dir, plan);
    for (const auto* product : {&made.Cal, &made.Sst, &made.Ndv}) {
        ASSERT_GT(product->size(), 4096u);
        EXPECT_EQ(ReadInt16Le(product->data()), 3);
    }
    const std::string cal(made.Cal.begin() + 2, made.Cal.begin() + kCalRecordBytes);
    const std::string sst(made.Sst.begin() + 2, made.Sst.begin() + kSingleBandRecordBytes);
    EXPECT_EQ(cal.rfind("QIV CAL product", 0), 0u);
    EXPECT_EQ(sst.rfind("QIV SST product", 0), 0u);
    for (const char* text : {"NOAA-14 (Sat Id 14)", "1998-07-21", "11:42:17", "-999",
                             "half percent", "degrees Celsius + 100"}) {
        EXPECT_NE(cal.find(text), std::string::npos) << text;
    }
    EXPECT_NE(sst.find("tenths of a degree Celsius"), std::string::npos);
    EXPECT_EQ(cal.find('\0'), cal.find_first_of('\0'));
    EXPECT_EQ(cal.back(), '\0');
}

TEST(Products, ShortFileGivesTheLinesItHolds) {
    TempDir dir;
    PassPlan plan;
    plan.Lines = 70;
    plan.StatedLines = 100;
    const Made made = MakeOf(dir, plan);
    EXPECT_EQ(made.Summary.StatedLines, 100);
    EXPECT_EQ(made.Summary.Lines, 70);
    EXPECT_EQ(made.Summary.MissingLines, 30);
    EXPECT_EQ(ReadInt16Le(made.Cal.data()), 70);
    EXPECT_EQ(made.Ndv.size(), static_cast<std::size_t>(71 * kSingleBandRecordBytes));
}

TEST(Products, SatelliteFromTheAddressOrTheUser) {
    TempDir dir;
    PassPlan plan;
    plan.SatId = 0;
    plan.Year = 2012;
    plan.Month = 5;
    plan.Day = 8;
    plan.Lines = 10;
    plan.Words = [](int line) {
        qiv::testing::LineWords words;
        words.Prt = line % 5 == 0 ? 0 : 400;
        words.Address = 15;
        return words;
    };
    const Made byAddress = MakeOf(dir, plan);
    EXPECT_EQ(byAddress.Summary.SatId, 19);
    EXPECT_EQ(byAddress.Summary.Satellite, "NOAA-19");
    EXPECT_EQ(byAddress.Summary.Source, SatelliteSource::Address);
    const Made named = MakeOf(dir, plan, SatIdOfName("noaa18"));
    EXPECT_EQ(named.Summary.SatId, 18);
    EXPECT_EQ(named.Summary.Source, SatelliteSource::Override);
    EXPECT_NE(named.Cal, byAddress.Cal);
}

// Every refusal leaves the folder as it was: no product, no temporary file.
struct RefusalCase {
    const char* desc;
    std::function<std::string(const TempDir&)> Input;  // writes the input, returns its path
    std::optional<Refusal> Reason;  // none: the output names the input, a failure
    std::optional<std::int16_t> Satellite = std::nullopt;
    bool OutputOnInput = false;
};

void PrintTo(const RefusalCase& c, std::ostream* os) {
    *os << c.desc;
}

class Refusals : public ::testing::TestWithParam<RefusalCase> {};

std::set<std::string> Names(const fs::path& dir) {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir)) {
        names.insert(entry.path().filename().string());
    }
    return names;
}

TEST_P(Refusals, WriteNothing) {
    const RefusalCase& c = GetParam();
    TempDir dir;
    const std::string input = c.Input(dir);
    const std::set<std::string> before = Names(dir.Path());
    ProductPaths paths = ProductPathsOf((dir / "out").string());
    if (c.OutputOnInput) {
        paths.Sst = input;
    }
    ProductSummary summary;
    const CommandOutcome outcome = MakeProducts(input, paths, c.Satellite, summary);
    if (c.Reason) {
        ASSERT_NE(outcome.Refusal(), nullptr);
        EXPECT_EQ(outcome.Refusal()->Why, *c.Reason);
        // Every refusal has its own message.
        EXPECT_FALSE(MessageFor(*outcome.Refusal()).empty());
    } else {
        ASSERT_NE(outcome.FileFailure(), nullptr);
        EXPECT_EQ((*outcome.FileFailure())->Problem, FileProblem::IsTheInput);
    }
    EXPECT_EQ(Names(dir.Path()), before);
}

std::string Pass(const TempDir& dir, PassPlan plan) {
    return qiv::testing::WritePass(dir / "pass.hrp", plan).string();
}

INSTANTIATE_TEST_SUITE_P(
    Inputs, Refusals,
    ::testing::Values(
        RefusalCase{"less_than_a_line",
                    [](const TempDir& d) {
                        return d.Write("short.hrp", std::vector<std::uint8_t>(22179, 1)).string();
                    },
                    Refusal::NoWholeLine},
        RefusalCase{"product_of_this_routine",
                    [](const TempDir& d) {
                        PassPlan plan;
                        plan.Lines = 2;
                        ProductSummary s;
                        const auto made = MakeProducts(
                            Pass(d, plan), ProductPathsOf((d / "made").string()), std::nullopt, s);
                        EXPECT_TRUE(made.Done());
                        return (d / "made.ndv").string();
                    },
                    Refusal::ProductAsInput},
        RefusalCase{"sample_product_of_zero_header",
                    [](const TempDir& d) {
                        std::vector<std::uint8_t> bytes(static_cast<std::size_t>(7 * 20480));
                        bytes[0] = 6;
                        return d.Write("old.cal", bytes).string();
                    },
                    Refusal::ProductAsInput},
        RefusalCase{"raw_recording",
                    [](const TempDir& d) {
                        PassPlan plan;
                        plan.Lines = 2;
                        std::vector<std::uint8_t> frame = qiv::testing::PassLine(plan, 1);
                        return d.Write("pass.raw16", frame).string();
                    },
                    Refusal::RecordingAsInput},
        RefusalCase{"unknown_satellite",
                    [](const TempDir& d) {
                        PassPlan plan;
                        plan.SatId = 0;
                        return Pass(d, plan);
                    },
                    Refusal::UnknownSatellite},
        RefusalCase{"unknown_satellite_named", [](const TempDir& d) { return Pass(d, PassPlan{}); },
                    Refusal::UnknownSatelliteNamed, std::int16_t{13}},
        RefusalCase{"no_date",
                    [](const TempDir& d) {
                        PassPlan plan;
                        plan.Month = 0;
                        return Pass(d, plan);
                    },
                    Refusal::NoPassDate},
        RefusalCase{"date_before_launch",
                    [](const TempDir& d) {
                        PassPlan plan;
                        plan.SatId = 19;
                        return Pass(d, plan);
                    },
                    Refusal::NoPassDate},
        RefusalCase{"no_lines_stated",
                    [](const TempDir& d) {
                        PassPlan plan;
                        plan.StatedLines = 0;
                        return Pass(d, plan);
                    },
                    Refusal::NoLinesStated},
        RefusalCase{"no_usable_calibration",
                    [](const TempDir& d) {
                        PassPlan plan;
                        plan.Words = [](int) {
                            qiv::testing::LineWords words;
                            words.Prt = 1;
                            return words;
                        };
                        return Pass(d, plan);
                    },
                    Refusal::NoCalibration},
        RefusalCase{"output_is_input", [](const TempDir& d) { return Pass(d, PassPlan{}); },
                    std::nullopt, std::nullopt, true}),
    qiv::testing::DescName<RefusalCase>);

TEST(Products, MissingInputIsAFileFailure) {
    TempDir dir;
    ProductSummary summary;
    const CommandOutcome outcome = MakeProducts((dir / "none.hrp").string(),
                                                ProductPathsOf((dir / "x").string()), {}, summary);
    ASSERT_NE(outcome.FileFailure(), nullptr);
    EXPECT_EQ((*outcome.FileFailure())->Problem, FileProblem::CannotOpen);
    EXPECT_TRUE(fs::is_empty(dir.Path()));
}

TEST(Products, NamesAndStems) {
    EXPECT_EQ(ProductStem("a/pass.CAL"), "a/pass");
    EXPECT_EQ(ProductStem("pass.ndv"), "pass");
    EXPECT_EQ(ProductStem("pass.hrp"), "pass.hrp");
    EXPECT_EQ(ProductStem("dir.cal/pass"), "dir.cal/pass");
    EXPECT_EQ(ProductPathsOf("p").Sst, "p.sst");
    const std::vector<std::pair<const char*, int>> names{
        {"noaa12", 12},   {"NOAA-14", 14}, {"noaa19", 19}, {"metopa", 102},
        {"MetOp-B", 101}, {"metopc", 103}, {"noaa13", -1}, {"", -1}};
    for (const auto& [name, id] : names) {
        EXPECT_EQ(SatIdOfName(name).value_or(-1), id) << name;
    }
}

// The command of the window: the input first, its refusals before any name is asked, one name
// offered as the input's with .cal, the wait notice gone, one summary.
TEST(ProductsCommand, AsksOneNameAndTellsTheSummary) {
    TempDir dir;
    PassPlan plan;
    plan.Lines = 30;
    const fs::path hrp = qiv::testing::WritePass(dir / "pass.hrp", plan);
    MemoryCanvas waitArea = qiv::testing::WaitArea();

    SwathlyState state;
    qiv::testing::ScriptedDialogs none;
    EXPECT_TRUE(MakeProductsCommand(state, none, waitArea).Is(Refusal::NoInputChosen));
    EXPECT_TRUE(none.Suggested.empty());

    state.InputPath = hrp.string();
    state.InputChosen = true;
    qiv::testing::ScriptedDialogs dialogs;
    dialogs.File((dir / "out.cal").string());
    ASSERT_TRUE(MakeProductsCommand(state, dialogs, waitArea).Done());
    EXPECT_EQ(dialogs.Suggested, std::vector<std::string>{(dir / "pass.cal").string()});
    ASSERT_EQ(dialogs.Messages.size(), 1u);
    for (const char* part : {"out.cal", "out.sst", "out.ndv",
                             "Satellite: NOAA-14 (Sat Id 14, "
                             "from the pass header)",
                             "Lines: 30",
                             "1998-07-21, 11:42:17 to "
                             "11:42:21 UTC",
                             "3B: 30", "Clear sea: ", "neighbours: 3B 0, 4 0, 5 0"}) {
        EXPECT_NE(dialogs.Messages[0].find(part), std::string::npos) << part;
    }
    EXPECT_TRUE(fs::exists(dir / "out.ndv"));
    EXPECT_TRUE(waitArea.Texts().empty());

    // A cancelled dialog writes nothing and tells nothing.
    qiv::testing::ScriptedDialogs cancel;
    cancel.File(std::nullopt);
    EXPECT_TRUE(MakeProductsCommand(state, cancel, waitArea).Done());
    EXPECT_TRUE(cancel.Messages.empty());
    EXPECT_EQ(cancel.Suggested.size(), 1u);

    // A product as the input is refused before a name is asked.
    state.InputPath = (dir / "out.cal").string();
    qiv::testing::ScriptedDialogs product;
    const CommandOutcome refused = MakeProductsCommand(state, product, waitArea);
    EXPECT_TRUE(refused.Is(Refusal::ProductAsInput));
    EXPECT_TRUE(product.Suggested.empty());
    EXPECT_NE(MessageFor(refused).find("is a CAL, SST or NDV product"), std::string::npos);
}

}  // namespace
}  // namespace qiv::swathly
