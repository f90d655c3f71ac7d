#include "avhrr/tle.h"

#include <gtest/gtest.h>

#include <string>

namespace qiv::avhrr {
namespace {

// Sets of the verification file SGP4-VER.TLE of Vallado et al. (2006) and of pygac's
// gap-filled NOAA 16 element sets, with the checksums they were published with.
constexpr const char* kVanguard1 =
    "1 00005U 58002B   00179.78495062  .00000023  00000-0  28098-4 0  4753";
constexpr const char* kVanguard2 =
    "2 00005  34.2682 348.7242 1859667 331.7664  19.3264 10.82419157413667";
constexpr const char* kNoaa16a1 =
    "1 26536U 00055A   00265.61930214  .00000000  00000-0  00000+0 0    58";
constexpr const char* kNoaa16a2 =
    "2 26536  98.7900 210.3675 0010476 274.6981  85.3501 14.10895524    30";
constexpr const char* kNoaa16b1 =
    "1 26536U 00055A   00265.76707352 -.00020078  00000-0 -11203-1 0    13";
constexpr const char* kNoaa16b2 =
    "2 26536  98.7886 210.5136 0009705 275.1802 115.0094 14.10880075    42";
constexpr const char* kStr3_1 =
    "1 88888U          80275.98708465  .00073094  13844-3  66816-4 0    87";
constexpr const char* kStr3_2 =
    "2 88888  72.8435 115.9689 0086731  52.6988 110.5714 16.05824518  1058";

// A line with one field replaced and its checksum made right again, so that only the field is
// at fault.
std::string WithField(std::string line, std::size_t firstColumn, const std::string& text) {
    line.replace(firstColumn - 1, text.size(), text);
    line[68] = static_cast<char>('0' + TleChecksum(line));
    return line;
}

TEST(Tle, ChecksumsOfPublishedLines) {
    for (const char* line :
         {kVanguard1, kVanguard2, kNoaa16a1, kNoaa16a2, kNoaa16b1, kNoaa16b2, kStr3_1, kStr3_2}) {
        SCOPED_TRACE(line);
        EXPECT_EQ(TleChecksum(line), line[68] - '0');
    }
}

TEST(Tle, ReadsTheFields) {
    const TleParse vanguard = ParseTle(kVanguard1, kVanguard2, "  VANGUARD 1 ");
    ASSERT_TRUE(vanguard.Set.has_value());
    const Tle& v = *vanguard.Set;
    EXPECT_EQ(v.Name, "VANGUARD 1");
    EXPECT_EQ(v.CatalogNumber, 5);
    EXPECT_EQ(v.Classification, 'U');
    EXPECT_EQ(v.Designator, "58002B");
    EXPECT_EQ(v.EpochYear, 2000);
    EXPECT_DOUBLE_EQ(v.EpochDay, 179.78495062);
    EXPECT_DOUBLE_EQ(v.MeanMotionDot, 0.00000023);
    EXPECT_DOUBLE_EQ(v.MeanMotionDdot, 0.0);
    EXPECT_DOUBLE_EQ(v.Bstar, 0.28098e-4);
    EXPECT_EQ(v.ElementNumber, 475);
    EXPECT_DOUBLE_EQ(v.InclinationDeg, 34.2682);
    EXPECT_DOUBLE_EQ(v.RaanDeg, 348.7242);
    EXPECT_DOUBLE_EQ(v.Eccentricity, 0.1859667);
    EXPECT_DOUBLE_EQ(v.ArgPerigeeDeg, 331.7664);
    EXPECT_DOUBLE_EQ(v.MeanAnomalyDeg, 19.3264);
    EXPECT_DOUBLE_EQ(v.MeanMotionRevPerDay, 10.82419157);
    EXPECT_EQ(v.RevolutionNumber, 41366);

    const Tle noaa16 = *ParseTle(kNoaa16b1, kNoaa16b2).Set;
    EXPECT_DOUBLE_EQ(noaa16.MeanMotionDot, -0.00020078);
    EXPECT_DOUBLE_EQ(noaa16.Bstar, -0.11203e-1);

    // Spacetrack Report #3's own test set: no designator, 1980, a second derivative.
    const Tle str3 = *ParseTle(kStr3_1, kStr3_2).Set;
    EXPECT_EQ(str3.Designator, "");
    EXPECT_EQ(str3.EpochYear, 1980);
    EXPECT_DOUBLE_EQ(str3.MeanMotionDdot, 0.13844e-3);
    // 1980 January 1 is JD 2444239.5.
    EXPECT_NEAR(str3.EpochJulianDate(), 2444239.5 + 274.98708465, 1e-9);
    EXPECT_NEAR(str3.MinutesSinceEpoch(str3.EpochJulianDate() + 0.5), 720.0, 1e-6);
}

TEST(Tle, RefusesFaultySets) {
    const std::string l1 = kVanguard1;
    const std::string l2 = kVanguard2;
    std::string badSum1 = l1;
    badSum1[68] = '4';
    std::string badSum2 = l2;
    badSum2[68] = '0';
    struct Case {
        const char* desc;
        std::string Line1;
        std::string Line2;
        int Line;
        TleProblem Problem;
        const char* Field;
    };
    const Case cases[] = {
        {"checksum of line 1", badSum1, l2, 1, TleProblem::kBadChecksum, ""},
        {"checksum of line 2", l1, badSum2, 2, TleProblem::kBadChecksum, ""},
        {"short line 1", l1.substr(0, 68), l2, 1, TleProblem::kLineTooShort, ""},
        {"short line 2", l1, l2.substr(0, 60), 2, TleProblem::kLineTooShort, ""},
        {"line 2 where line 1 belongs", l2, l2, 1, TleProblem::kMissingLine1, ""},
        {"line 1 where line 2 belongs", l1, l1, 2, TleProblem::kMissingLine2, ""},
        {"two satellites", l1, WithField(l2, 3, "00006"), 2, TleProblem::kCatalogMismatch,
         "catalogue number"},
        {"letters in the catalogue number", WithField(l1, 3, "0A005"), l2, 1,
         TleProblem::kBadNumber, "catalogue number"},
        {"inclination above 180", l1, WithField(l2, 9, "180.0001"), 2, TleProblem::kFieldOutOfRange,
         "inclination"},
        {"right ascension above 360", l1, WithField(l2, 18, "360.5000"), 2,
         TleProblem::kFieldOutOfRange, "right ascension"},
        {"eccentricity with a letter", l1, WithField(l2, 27, "18x9667"), 2, TleProblem::kBadNumber,
         "eccentricity"},
        {"eccentricity with a sign", l1, WithField(l2, 27, "-859667"), 2, TleProblem::kBadNumber,
         "eccentricity"},
        {"mean motion zero", l1, WithField(l2, 53, " 0.00000000"), 2, TleProblem::kFieldOutOfRange,
         "mean motion"},
        {"mean motion negative", l1, WithField(l2, 53, "-1.00000000"), 2,
         TleProblem::kFieldOutOfRange, "mean motion"},
        {"epoch day 0", WithField(l1, 21, "000.78495062"), l2, 1, TleProblem::kFieldOutOfRange,
         "epoch day"},
        {"epoch day 366 of a common year", WithField(l1, 19, "01366.00000000"), l2, 1,
         TleProblem::kFieldOutOfRange, "epoch day"},
        {"an exponent in a decimal field", WithField(l1, 21, "1.7978495e02"), l2, 1,
         TleProblem::kBadNumber, "epoch day"},
        {"nan in a decimal field", l1, WithField(l2, 9, "     nan"), 2, TleProblem::kBadNumber,
         "inclination"},
        {"drag term without its exponent", WithField(l1, 54, " 28098 4"), l2, 1,
         TleProblem::kBadNumber, "drag term"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.desc);
        const TleParse parse = ParseTle(c.Line1, c.Line2, {}, 1);
        EXPECT_FALSE(parse.Set.has_value());
        EXPECT_EQ(parse.Rejection.Line, c.Line);
        EXPECT_EQ(parse.Rejection.Problem, c.Problem) << TleProblemText(parse.Rejection.Problem);
        EXPECT_EQ(parse.Rejection.Field, c.Field);
    }
    // Epoch day 366 is fine in a leap year.
    EXPECT_TRUE(ParseTle(WithField(l1, 19, "00366.50000000"), l2).Set.has_value());
}

TEST(Tle, ReadsAFileOfSets) {
    // Names before some sets ("0 " style too), CR LF, blank lines, text after column 69, and two
    // faulty sets among good ones: the good ones are all read.
    const std::string text = std::string("VANGUARD 1\r\n") + kVanguard1 + "\r\n" + kVanguard2 +
                             "     0.00      4320.0        360.00\r\n\r\n" + "0 NOAA 16\n" +
                             kNoaa16a1 + "\n\n" + kNoaa16a2 + "\n" + kNoaa16b1 + "\n" + kNoaa16b1 +
                             "\n" + kNoaa16b2 + "\n" + kStr3_2 + "\n" + kStr3_1 + "\n" +
                             kStr3_2;  // no line end at the end
    const TleFile file = ReadTleFile(text);
    ASSERT_EQ(file.Sets.size(), 4u);
    EXPECT_EQ(file.Sets[0].Name, "VANGUARD 1");
    EXPECT_EQ(file.Sets[0].CatalogNumber, 5);
    EXPECT_EQ(file.Sets[1].Name, "NOAA 16");
    EXPECT_DOUBLE_EQ(file.Sets[1].EpochDay, 265.61930214);
    EXPECT_EQ(file.Sets[2].Name, "");
    EXPECT_DOUBLE_EQ(file.Sets[2].EpochDay, 265.76707352);
    EXPECT_EQ(file.Sets[3].CatalogNumber, 88888);
    ASSERT_EQ(file.Rejections.size(), 2u);
    EXPECT_EQ(file.Rejections[0].Line, 9);  // the first of two line 1s in a row
    EXPECT_EQ(file.Rejections[0].Problem, TleProblem::kMissingLine2);
    EXPECT_EQ(file.Rejections[1].Line, 12);  // a line 2 alone
    EXPECT_EQ(file.Rejections[1].Problem, TleProblem::kMissingLine1);

    const TleFile faulty = ReadTleFile(std::string(kVanguard1) + "\n" + kNoaa16a2 + "\n");
    ASSERT_EQ(faulty.Rejections.size(), 1u);
    EXPECT_EQ(faulty.Rejections[0].Line, 2);
    EXPECT_EQ(faulty.Rejections[0].Problem, TleProblem::kCatalogMismatch);
    EXPECT_TRUE(ReadTleFile("").Sets.empty());
}

TEST(Tle, CatalogueNumbersOfTheHrpSatIds) {
    const std::pair<int, int> table[] = {{12, 21263},  {14, 23455}, {15, 25338}, {16, 26536},
                                         {17, 27453},  {18, 28654}, {19, 33591}, {102, 29499},
                                         {101, 38771}, {103, 43689}};
    for (const auto& [satId, catalog] : table) {
        EXPECT_EQ(CatalogNumberOfSatId(satId), catalog) << satId;
    }
    EXPECT_EQ(CatalogNumberOfSatId(13), std::nullopt);  // NOAA 13 failed after launch
    EXPECT_EQ(CatalogNumberOfSatId(0), std::nullopt);
}

TEST(Tle, NearestEpoch) {
    const TleFile file =
        ReadTleFile(std::string(kNoaa16a1) + "\n" + kNoaa16a2 + "\n" + kVanguard1 + "\n" +
                    kVanguard2 + "\n" + kNoaa16b1 + "\n" + kNoaa16b2 + "\n");
    ASSERT_EQ(file.Sets.size(), 3u);
    const double epochA = file.Sets[0].EpochJulianDate();
    const double epochB = file.Sets[2].EpochJulianDate();
    struct Case {
        const char* desc;
        double Jd;
        double ExpectedEpoch;
    };
    const Case cases[] = {
        {"just after the first", epochA + 0.01, epochA},
        {"before both", epochA - 3.0, epochA},
        {"nearer the second", epochB - 0.05, epochB},
        {"long after both", epochB + 40.0, epochB},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.desc);
        const std::optional<NearestTle> nearest = FindNearestTle(file.Sets, 26536, c.Jd);
        ASSERT_TRUE(nearest.has_value());
        EXPECT_DOUBLE_EQ(nearest->Set.EpochJulianDate(), c.ExpectedEpoch);
        EXPECT_NEAR(nearest->DaysFromEpoch, c.Jd - c.ExpectedEpoch, 1e-9);
    }
    EXPECT_FALSE(FindNearestTle(file.Sets, 33591, epochA).has_value());
}

}  // namespace
}  // namespace qiv::avhrr
