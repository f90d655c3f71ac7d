#include "avhrr/tle.h"

#include <charconv>
#include <cmath>
#include <cstdlib>

#include "avhrr/earth.h"

namespace qiv::avhrr {
namespace {

constexpr std::size_t kLineColumns = 69;

std::string_view Trimmed(std::string_view text) {
    const std::size_t begin = text.find_first_not_of(" \t");
    if (begin == std::string_view::npos) {
        return {};
    }
    const std::size_t end = text.find_last_not_of(" \t");
    return text.substr(begin, end - begin + 1);
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// Columns first..last (1-based, inclusive) of a line known to hold 69 columns.
std::string_view Columns(std::string_view line, std::size_t first, std::size_t last) {
    return line.substr(first - 1, last - first + 1);
}

// A field of digits, blanks allowed only before them.
std::optional<int> WholeField(std::string_view field) {
    const std::string_view digits = Trimmed(field);
    if (digits.empty() || digits.size() != field.size() - field.find_first_not_of(' ')) {
        return std::nullopt;
    }
    int value = 0;
    for (const char c : digits) {
        if (!IsDigit(c)) {
            return std::nullopt;
        }
        value = value * 10 + (c - '0');
    }
    return value;
}

// A decimal field: optional sign, digits with at most one point, blanks around. from_chars alone
// would also take "inf", "nan" and exponents, which a TLE never holds.
std::optional<double> DecimalField(std::string_view field) {
    std::string_view text = Trimmed(field);
    bool negative = false;
    if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    int points = 0;
    int digits = 0;
    for (const char c : text) {
        if (c == '.') {
            ++points;
        } else if (IsDigit(c)) {
            ++digits;
        } else {
            return std::nullopt;
        }
    }
    if (digits == 0 || points > 1) {
        return std::nullopt;
    }
    double value = 0.0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc{} || end != text.data() + text.size()) {
        return std::nullopt;
    }
    return negative ? -value : value;
}

// The "assumed decimal point" form of line 1 (columns 45-52 and 54-61): a sign or blank, five
// digits read as 0.ddddd, and a signed exponent digit: " 28098-4" = 0.28098e-4.
std::optional<double> ExponentField(std::string_view field) {
    const char sign = field[0];
    if (sign != ' ' && sign != '+' && sign != '-') {
        return std::nullopt;
    }
    const std::string_view mantissa = field.substr(1, 5);
    const char exponentSign = field[6];
    const char exponentDigit = field[7];
    if (exponentSign != '-' && exponentSign != '+') {
        return std::nullopt;
    }
    if (!IsDigit(exponentDigit)) {
        return std::nullopt;
    }
    // Leading blanks of the mantissa are seen in some sets ("    0-0").
    const std::optional<int> digits = WholeField(mantissa);
    if (!digits) {
        return std::nullopt;
    }
    const int exponent = (exponentSign == '-' ? -1 : 1) * (exponentDigit - '0');
    const double value = *digits * 1e-5 * std::pow(10.0, exponent);
    return sign == '-' ? -value : value;
}

// Drops a CR left by a CR LF line end.
std::string_view WithoutCr(std::string_view line) {
    while (!line.empty() && (line.back() == '\r' || line.back() == '\n')) {
        line.remove_suffix(1);
    }
    return line;
}

bool IsLineOf(std::string_view line, char number) {
    return line.size() >= 2 && line[0] == number && line[1] == ' ';
}

}  // namespace

double Tle::EpochJulianDate() const {
    return JulianDateOfYear(EpochYear) + (EpochDay - 1.0);
}

double Tle::MinutesSinceEpoch(double jd) const {
    return (jd - EpochJulianDate()) * kMinutesPerDay;
}

int TleChecksum(std::string_view line) {
    int sum = 0;
    for (std::size_t i = 0; i < line.size() && i < kLineColumns - 1; ++i) {
        if (IsDigit(line[i])) {
            sum += line[i] - '0';
        } else if (line[i] == '-') {
            sum += 1;
        }
    }
    return sum % 10;
}

TleParse ParseTle(std::string_view line1, std::string_view line2, std::string_view name,
                  int lineOfLine1) {
    TleParse result;
    const int lineOfLine2 = lineOfLine1 + 1;
    const auto refuse = [&](int line, TleProblem problem, std::string_view field = {}) {
        result.Rejection = TleRejection{line, problem, std::string(field)};
        return result;
    };
    if (!IsLineOf(line1, '1')) {
        return refuse(lineOfLine1, TleProblem::MissingLine1);
    }
    if (!IsLineOf(line2, '2')) {
        return refuse(lineOfLine2, TleProblem::MissingLine2);
    }
    if (line1.size() < kLineColumns) {
        return refuse(lineOfLine1, TleProblem::LineTooShort);
    }
    if (line2.size() < kLineColumns) {
        return refuse(lineOfLine2, TleProblem::LineTooShort);
    }
    if (line1[68] - '0' != TleChecksum(line1)) {
        return refuse(lineOfLine1, TleProblem::BadChecksum);
    }
    if (line2[68] - '0' != TleChecksum(line2)) {
        return refuse(lineOfLine2, TleProblem::BadChecksum);
    }

    Tle set;
    set.Name = std::string(Trimmed(name));
    const std::optional<int> catalog1 = WholeField(Columns(line1, 3, 7));
    const std::optional<int> catalog2 = WholeField(Columns(line2, 3, 7));
    if (!catalog1) {
        return refuse(lineOfLine1, TleProblem::BadNumber, "catalogue number");
    }
    if (!catalog2) {
        return refuse(lineOfLine2, TleProblem::BadNumber, "catalogue number");
    }
    if (*catalog1 != *catalog2) {
        return refuse(lineOfLine2, TleProblem::CatalogMismatch, "catalogue number");
    }
    set.CatalogNumber = *catalog1;
    set.Classification = line1[7];
    set.Designator = std::string(Trimmed(Columns(line1, 10, 17)));

    // Each field: where it lies, how it reads, its range, where it goes.
    struct DecimalColumns {
        const char* Name;
        int Line;
        std::size_t First;
        std::size_t Last;
        double Low;
        double High;
        bool HighIncluded;
        double* Target;
    };
    double epochYear = 0.0;
    const DecimalColumns decimals[] = {
        {"epoch year", 1, 19, 20, 0.0, 99.0, true, &epochYear},
        {"epoch day", 1, 21, 32, 1.0, 367.0, false, &set.EpochDay},
        {"mean motion derivative", 1, 34, 43, -1.0, 1.0, false, &set.MeanMotionDot},
        {"inclination", 2, 9, 16, 0.0, 180.0, true, &set.InclinationDeg},
        {"right ascension", 2, 18, 25, 0.0, 360.0, true, &set.RaanDeg},
        {"argument of perigee", 2, 35, 42, 0.0, 360.0, true, &set.ArgPerigeeDeg},
        {"mean anomaly", 2, 44, 51, 0.0, 360.0, true, &set.MeanAnomalyDeg},
        {"mean motion", 2, 53, 63, 0.0, 100.0, false, &set.MeanMotionRevPerDay},
    };
    for (const DecimalColumns& field : decimals) {
        const std::string_view line = field.Line == 1 ? line1 : line2;
        const int lineNumber = field.Line == 1 ? lineOfLine1 : lineOfLine2;
        const std::optional<double> value = DecimalField(Columns(line, field.First, field.Last));
        if (!value) {
            return refuse(lineNumber, TleProblem::BadNumber, field.Name);
        }
        const bool belowHigh = field.HighIncluded ? *value <= field.High : *value < field.High;
        if (!(*value >= field.Low && belowHigh)) {
            return refuse(lineNumber, TleProblem::FieldOutOfRange, field.Name);
        }
        *field.Target = *value;
    }
    // A mean motion of 0 stands for no orbit at all.
    if (!(set.MeanMotionRevPerDay > 0.0)) {
        return refuse(lineOfLine2, TleProblem::FieldOutOfRange, "mean motion");
    }
    const int year = static_cast<int>(epochYear);
    if (year != epochYear) {
        return refuse(lineOfLine1, TleProblem::BadNumber, "epoch year");
    }
    set.EpochYear = year < 57 ? 2000 + year : 1900 + year;
    const bool leap = set.EpochYear % 4 == 0;  // 1957..2056: every fourth year
    if (set.EpochDay >= (leap ? 367.0 : 366.0)) {
        return refuse(lineOfLine1, TleProblem::FieldOutOfRange, "epoch day");
    }

    const std::optional<double> ddot = ExponentField(Columns(line1, 45, 52));
    if (!ddot) {
        return refuse(lineOfLine1, TleProblem::BadNumber, "mean motion second derivative");
    }
    set.MeanMotionDdot = *ddot;
    const std::optional<double> bstar = ExponentField(Columns(line1, 54, 61));
    if (!bstar) {
        return refuse(lineOfLine1, TleProblem::BadNumber, "drag term");
    }
    set.Bstar = *bstar;

    // Eccentricity: seven digits after an assumed "0.".
    const std::string_view eccentricity = Columns(line2, 27, 33);
    const std::optional<int> eccentricityDigits = WholeField(eccentricity);
    if (!eccentricityDigits || eccentricity[0] == ' ') {
        return refuse(lineOfLine2, TleProblem::BadNumber, "eccentricity");
    }
    set.Eccentricity = *eccentricityDigits * 1e-7;

    // Element set and revolution numbers are counters, often left blank on old sets.
    const std::string_view element = Columns(line1, 65, 68);
    const std::string_view revolution = Columns(line2, 64, 68);
    const std::optional<int> elementNumber = WholeField(element);
    const std::optional<int> revolutionNumber = WholeField(revolution);
    if (!elementNumber && !Trimmed(element).empty()) {
        return refuse(lineOfLine1, TleProblem::BadNumber, "element set number");
    }
    if (!revolutionNumber && !Trimmed(revolution).empty()) {
        return refuse(lineOfLine2, TleProblem::BadNumber, "revolution number");
    }
    set.ElementNumber = elementNumber.value_or(0);
    set.RevolutionNumber = revolutionNumber.value_or(0);

    result.Set = std::move(set);
    return result;
}

TleFile ReadTleFile(std::string_view text) {
    std::vector<std::string_view> lines;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        lines.push_back(WithoutCr(text.substr(0, end)));
        text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
    }

    TleFile file;
    std::string_view name;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::string_view line = lines[i];
        const int lineNumber = static_cast<int>(i) + 1;
        if (Trimmed(line).empty()) {
            continue;
        }
        if (IsLineOf(line, '2')) {
            file.Rejections.push_back({lineNumber, TleProblem::MissingLine1, {}});
            name = {};
            continue;
        }
        if (!IsLineOf(line, '1')) {
            name = line.size() >= 2 && line[0] == '0' && line[1] == ' ' ? line.substr(2) : line;
            continue;
        }
        std::size_t next = i + 1;
        while (next < lines.size() && Trimmed(lines[next]).empty()) {
            ++next;
        }
        if (next == lines.size() || !IsLineOf(lines[next], '2')) {
            file.Rejections.push_back({lineNumber, TleProblem::MissingLine2, {}});
            name = {};
            continue;
        }
        TleParse parse = ParseTle(line, lines[next], name, lineNumber);
        // A blank line between the two lines moves line 2's number.
        if (!parse.Set && parse.Rejection.Line == lineNumber + 1) {
            parse.Rejection.Line = static_cast<int>(next) + 1;
        }
        if (parse.Set) {
            file.Sets.push_back(std::move(*parse.Set));
        } else {
            file.Rejections.push_back(std::move(parse.Rejection));
        }
        name = {};
        i = next;
    }
    return file;
}

std::string_view TleProblemText(TleProblem problem) {
    switch (problem) {
        case TleProblem::LineTooShort:
            return "line shorter than 69 columns";
        case TleProblem::MissingLine2:
            return "line 1 without a line 2 after it";
        case TleProblem::MissingLine1:
            return "line 2 without a line 1 before it";
        case TleProblem::BadChecksum:
            return "checksum does not match";
        case TleProblem::CatalogMismatch:
            return "the two lines name different satellites";
        case TleProblem::BadNumber:
            return "field is not a number";
        case TleProblem::FieldOutOfRange:
            return "field out of range";
    }
    return "unknown problem";
}

std::optional<int> CatalogNumberOfSatId(int satId) {
    // NORAD catalogue numbers of the satellites, as CelesTrak lists them.
    struct Entry {
        int SatId;
        int Catalog;
    };
    static constexpr Entry kTable[] = {
        {12, 21263}, {14, 23455}, {15, 25338},  {16, 26536},  {17, 27453},
        {18, 28654}, {19, 33591}, {102, 29499}, {101, 38771}, {103, 43689},
    };
    for (const Entry& entry : kTable) {
        if (entry.SatId == satId) {
            return entry.Catalog;
        }
    }
    return std::nullopt;
}

std::optional<NearestTle> FindNearestTle(std::span<const Tle> sets, int catalogNumber, double jd) {
    std::optional<NearestTle> best;
    for (const Tle& set : sets) {
        if (set.CatalogNumber != catalogNumber) {
            continue;
        }
        const double days = jd - set.EpochJulianDate();
        if (!best || std::abs(days) < std::abs(best->DaysFromEpoch)) {
            best = NearestTle{set, days};
        }
    }
    return best;
}

}  // namespace qiv::avhrr
