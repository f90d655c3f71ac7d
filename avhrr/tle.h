// Two-line element sets (TLE): the mean orbital elements, in the SGP4 model's own sense, that the
// orbit of a NOAA or MetOp satellite is computed from.
//
// Layout: Spacetrack Report #3 (Hoots and Roehrich, 1980), appendix "two-line element set", and
// the column layout of the element sets as CelesTrak and Space-Track publish them: 69 columns per
// line, the last one a modulo-10 checksum of columns 1-68 (digits count their value, '-' counts
// 1, every other character 0). Columns are numbered from 1 below.
//
// A file holds the sets one after another, each line 1 then line 2, optionally preceded by a name
// line (a "0 " in front of the name is dropped); blank lines, CR LF ends and text after column
// 69 are tolerated.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace qiv::avhrr {

struct Tle {
    std::string Name;             // the name line before the set, blanks trimmed; may be empty
    int CatalogNumber = 0;        // NORAD catalogue number, columns 3-7 of both lines
    char Classification = 'U';    // column 8 of line 1
    std::string Designator;       // international designator, columns 10-17, blanks trimmed
    int EpochYear = 2000;         // four digits; the two of the set read 57-99 as 19xx
    double EpochDay = 1.0;        // day of the year, 1.0 = 1 January 0 h UTC
    double MeanMotionDot = 0.0;   // first derivative of mean motion / 2, revolutions/day^2
    double MeanMotionDdot = 0.0;  // second derivative / 6, revolutions/day^3
    double Bstar = 0.0;           // drag term, 1/Earth radii
    int ElementNumber = 0;
    double InclinationDeg = 0.0;       // 0..180
    double RaanDeg = 0.0;              // right ascension of the ascending node, 0..360
    double Eccentricity = 0.0;         // 0..<1
    double ArgPerigeeDeg = 0.0;        // 0..360
    double MeanAnomalyDeg = 0.0;       // 0..360
    double MeanMotionRevPerDay = 0.0;  // > 0, as published (Kozai mean motion)
    int RevolutionNumber = 0;

    // The epoch as a UTC Julian date (days).
    double EpochJulianDate() const;
    // Minutes from the epoch to the UTC Julian date jd, as SGP4 takes its time.
    double MinutesSinceEpoch(double jd) const;
};

enum class TleProblem {
    kLineTooShort,     // a line of a set has fewer than 69 columns
    kMissingLine2,     // a line 1 not followed by a line 2
    kMissingLine1,     // a line 2 without a line 1 before it
    kBadChecksum,      // column 69 differs from the modulo-10 sum of columns 1-68
    kCatalogMismatch,  // the two lines name different catalogue numbers
    kBadNumber,        // a field is not a number of its layout
    kFieldOutOfRange,  // a field is a number outside its range
};

// Why one set was refused; Line is the 1-based line of the file where the fault lies.
struct TleRejection {
    int Line = 0;
    TleProblem Problem = TleProblem::kBadNumber;
    std::string Field;  // the field at fault ("inclination", ...), or empty
};

struct TleFile {
    std::vector<Tle> Sets;
    std::vector<TleRejection> Rejections;
};

// Reads every set of a file's text; a faulty set is reported and skipped, the rest are read.
TleFile ReadTleFile(std::string_view text);

// Checks and reads one set from its two lines (without line ends). lineOfLine1 is the line
// number Rejection.Line counts from.
struct TleParse {
    std::optional<Tle> Set;
    TleRejection Rejection;  // meaningful when Set is empty
};
TleParse ParseTle(std::string_view line1, std::string_view line2, std::string_view name = {},
                  int lineOfLine1 = 1);

// The modulo-10 checksum of columns 1-68 of a line.
int TleChecksum(std::string_view line);

// A short English description of a problem, for messages.
std::string_view TleProblemText(TleProblem problem);

// The NORAD catalogue number of the satellite a HRP pass header names by its SatId (NOAA 12..19,
// MetOp-A 102, MetOp-B 101, MetOp-C 103), or empty for an id not in the table.
std::optional<int> CatalogNumberOfSatId(int satId);

// The set of the catalogue number whose epoch lies nearest the UTC Julian date jd.
struct NearestTle {
    Tle Set;
    double DaysFromEpoch = 0.0;  // jd - epoch, days (negative when jd is before the epoch)
};
std::optional<NearestTle> FindNearestTle(std::span<const Tle> sets, int catalogNumber, double jd);

}  // namespace qiv::avhrr
