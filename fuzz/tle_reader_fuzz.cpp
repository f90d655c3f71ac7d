// Fuzz target for the reader of two-line element sets, and for SGP4 and the geolocation on
// every set it accepts. The input is the text of a TLE file. Beside the sanitizers it checks:
// every accepted set comes from a line 1 and a line 2 of the input whose checksums, recomputed
// here apart from tle.cpp, are right and whose catalogue numbers agree; its fields lie in their
// ranges; and propagating it, and locating three samples of a scan line, never gives a value that
// is not finite without naming a problem.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "avhrr/geolocation.h"
#include "avhrr/sgp4.h"
#include "avhrr/tle.h"

namespace {

using namespace qiv::avhrr;

// A file of a few hundred sets is plenty; longer inputs only slow the campaign down.
constexpr std::size_t kMaxInput = 64 * 1024;

[[noreturn]] void Broken(std::string_view text, const char* rule, const Tle& set) {
    std::fprintf(stderr, "input of %zu bytes; set %05d epoch day %.8f: %s\n", text.size(),
                 set.CatalogNumber, set.EpochDay, rule);
    std::abort();
}

// The checksum rule written out again: digits count their value, '-' counts one.
int ReferenceChecksum(std::string_view line) {
    int sum = 0;
    for (std::size_t i = 0; i < 68 && i < line.size(); ++i) {
        const char c = line[i];
        sum += (c >= '0' && c <= '9') ? c - '0' : (c == '-' ? 1 : 0);
    }
    return sum % 10;
}

bool ChecksumHolds(std::string_view line) {
    return line.size() >= 69 && line[68] >= '0' && line[68] <= '9' &&
           ReferenceChecksum(line) == line[68] - '0';
}

std::vector<std::string_view> LinesOf(std::string_view text) {
    std::vector<std::string_view> lines;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        while (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        lines.push_back(line);
        text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
    }
    return lines;
}

// Columns 3-7 as a number: blanks, then digits only ("  6251" and "06251" are one satellite).
long CatalogueOf(std::string_view line) {
    const std::string_view field = line.substr(2, 5);
    const std::size_t first = field.find_first_not_of(' ');
    if (first == std::string_view::npos) {
        return -1;
    }
    long value = 0;
    for (const char c : field.substr(first)) {
        if (c < '0' || c > '9') {
            return -1;
        }
        value = value * 10 + (c - '0');
    }
    return value;
}

// Whether some line 1 of the input, with a line 2 after it (blank lines between allowed), both
// with good checksums and the same catalogue number, could have given the set.
bool HasSourceLines(const std::vector<std::string_view>& lines, const Tle& set) {
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (lines[i].substr(0, 2) != "1 " || !ChecksumHolds(lines[i])) {
            continue;
        }
        std::size_t next = i + 1;
        while (next < lines.size() && lines[next].find_first_not_of(" \t") == std::string::npos) {
            ++next;
        }
        if (next == lines.size() || lines[next].substr(0, 2) != "2 " ||
            !ChecksumHolds(lines[next])) {
            continue;
        }
        if (CatalogueOf(lines[i]) == set.CatalogNumber &&
            CatalogueOf(lines[next]) == set.CatalogNumber) {
            return true;
        }
    }
    return false;
}

bool InRange(double value, double low, double high) {
    return value >= low && value <= high;
}

bool Finite(const Vec3& v) {
    return std::isfinite(v[0]) && std::isfinite(v[1]) && std::isfinite(v[2]);
}

void CheckModel(std::string_view text, const Tle& set);

void CheckSet(std::string_view text, const std::vector<std::string_view>& lines, const Tle& set) {
    if (!HasSourceLines(lines, set)) {
        Broken(text, "accepted without a line 1 and 2 of good checksums", set);
    }
    CheckModel(text, set);
}

void CheckModel(std::string_view text, const Tle& set) {
    const bool fieldsInRange =
        InRange(set.CatalogNumber, 0, 99999) && InRange(set.InclinationDeg, 0.0, 180.0) &&
        InRange(set.RaanDeg, 0.0, 360.0) && InRange(set.ArgPerigeeDeg, 0.0, 360.0) &&
        InRange(set.MeanAnomalyDeg, 0.0, 360.0) && set.Eccentricity >= 0.0 &&
        set.Eccentricity < 1.0 && set.MeanMotionRevPerDay > 0.0 &&
        std::isfinite(set.MeanMotionRevPerDay) && set.EpochDay >= 1.0 && set.EpochDay < 367.0 &&
        InRange(set.EpochYear, 1957, 2056) && std::isfinite(set.Bstar) &&
        std::isfinite(set.MeanMotionDot) && std::isfinite(set.MeanMotionDdot);
    if (!fieldsInRange) {
        Broken(text, "accepted with a field out of range", set);
    }

    const Sgp4::Init init = Sgp4::Create(set);
    if (!init.Model) {
        if (init.Problem == Sgp4Problem::kNone) {
            Broken(text, "no model and no problem named", set);
        }
        return;
    }
    for (const double minutes : {-1440.0, 0.0, 0.5, 97.0, 1440.0, 10080.0}) {
        const Sgp4State state = init.Model->Propagate(minutes);
        if (state.Problem == Sgp4Problem::kNone &&
            (!Finite(state.PositionKm) || !Finite(state.VelocityKmPerS))) {
            Broken(text, "a state that is not finite without a problem", set);
        }
        const LineGeometry line(state, set.EpochJulianDate() + minutes / kMinutesPerDay);
        for (const double sample : {1.0, 1024.5, 2048.0}) {
            const PixelLocation pixel = line.LocateSample(sample);
            if (pixel.Problem != LocationProblem::kNone) {
                continue;
            }
            if (!InRange(pixel.LatitudeDeg, -90.0, 90.0) ||
                !InRange(pixel.LongitudeDeg, -180.0, 180.0) ||
                !InRange(pixel.SatelliteZenithDeg, 0.0, 180.0) ||
                !InRange(pixel.SolarZenithDeg, 0.0, 180.0)) {
                Broken(text, "a located pixel out of range or not finite", set);
            }
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size > kMaxInput) {
        return 0;
    }
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const TleFile file = ReadTleFile(text);
    const std::vector<std::string_view> lines = LinesOf(text);
    for (const Tle& set : file.Sets) {
        CheckSet(text, lines, set);
    }
    // A mutated field almost never keeps its checksum right, so the fields and the model are
    // also driven with every line 1 and the line after it, their checksums made right.
    for (std::size_t i = 0; i + 1 < lines.size(); ++i) {
        if (lines[i].size() < 69 || lines[i + 1].size() < 69) {
            continue;
        }
        std::string line1(lines[i]);
        std::string line2(lines[i + 1]);
        line1[68] = static_cast<char>('0' + ReferenceChecksum(line1));
        line2[68] = static_cast<char>('0' + ReferenceChecksum(line2));
        const TleParse parse = ParseTle(line1, line2);
        if (parse.Set) {
            CheckModel(text, *parse.Set);
        }
    }
    for (const TleRejection& rejection : file.Rejections) {
        if (rejection.Line < 1 || static_cast<std::size_t>(rejection.Line) > lines.size()) {
            std::fprintf(stderr, "rejection names line %d of %zu\n", rejection.Line, lines.size());
            std::abort();
        }
    }
    return 0;
}
