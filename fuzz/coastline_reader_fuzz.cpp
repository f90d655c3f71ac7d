// Fuzz target over the GSHHG coastline reader of the AVHRR library: ReadCoastlines on a fuzzed
// file (the user can name any file as the coastline data), for one of a few boxes.
//
// Input (fuzz_support.h), choices:
//   byte 0  the box: 0 the whole globe, 1 the Strait of Gibraltar, 2 across the dateline,
//           3 a box of no height on the equator
// no replies, then the bytes of the file (the seeds are small binned files in netCDF's classic
// format, written with the netCDF library by qiv_make_coastline_seeds).
//
// Beside the sanitizers it checks: a refusal is CannotOpen or Refused, names the file and adds no
// line; lines that come back have two points or more, latitudes within [-90, 90] and longitudes
// within a bin (at most 360°) of the box.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "avhrr/coastlines.h"
#include "fuzz/fuzz_support.h"

namespace {

using namespace qiv::avhrr;
using qiv::fuzz::Require;

constexpr std::size_t kChoiceBytes = 1;
constexpr std::size_t kMostInputBytes = 65536;

constexpr GeoBox kBoxes[] = {
    {-90.0, 90.0, -180.0, 180.0},
    {35.5, 36.5, -6.5, -5.0},
    {-20.0, -10.0, 170.0, 190.0},
    {0.0, 0.0, -10.0, 10.0},
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size > kMostInputBytes) {
        return 0;
    }
    const qiv::fuzz::FuzzInput input({data, size}, kChoiceBytes);
    const GeoBox& box = kBoxes[input.Choice(0) % std::size(kBoxes)];
    const auto path = qiv::fuzz::FreshRunFolder() / "coast.nc";
    qiv::fuzz::WriteFile(path, input.File());

    std::vector<GeoPolyline> lines;
    const qiv::Failure failure = ReadCoastlines(path, box, lines);
    if (failure) {
        Require(failure->Problem == qiv::FileProblem::Refused ||
                    failure->Problem == qiv::FileProblem::CannotOpen,
                "a refusal is CannotOpen or Refused");
        Require(failure->Path == path.string(), "the refusal names the file");
        Require(lines.empty(), "a refusal adds no line");
        return 0;
    }
    for (const GeoPolyline& line : lines) {
        Require(line.size() >= 2, "a line has two points or more");
        for (const GeoPoint& point : line) {
            Require(point.Latitude >= -90.0 && point.Latitude <= 90.0,
                    "latitude " + std::to_string(point.Latitude) + " within [-90, 90]");
            Require(point.Longitude >= box.West - 360.0 && point.Longitude <= box.East + 360.0,
                    "longitude " + std::to_string(point.Longitude) + " within a bin of the box");
        }
    }
    return 0;
}
