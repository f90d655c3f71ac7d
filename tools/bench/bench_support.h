// Timing support of qiv_bench: medians over warm runs, and the floors each routine is compared
// with (a plain sequential read of its input, a plain copy of the bytes it writes).
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>

#include "raster_viewer/core/viewer_state.h"

namespace qiv::bench {

// Runs f once untimed (to warm the cache), then `runs` times, and returns the median in seconds.
double MedianSeconds(int runs, const std::function<void()>& f);

// Reads the first `bytes` bytes of a file (all of it for -1) in large blocks and throws them away.
void PlainRead(const std::filesystem::path& file, std::int64_t bytes = -1);
// Copies `bytes` bytes from one file into another in large blocks, the way a plain copy does.
void PlainCopy(const std::filesystem::path& from, const std::filesystem::path& to,
               std::int64_t bytes);

// Writes `bytes` bytes of deterministic, image-like content into a new file.
void WriteNoiseFile(const std::filesystem::path& file, std::int64_t bytes, std::uint32_t seed);

// One result line: case=NAME bytes=N time_s=T floor_s=F ratio=R
void Report(const std::string& name, std::int64_t bytes, double seconds, double floorSeconds);

// The peak resident set of the whole run, in MiB.
double PeakRssMib();

// Rastel_Qiv with the image opened and its dimensions given, before Start.
rastel::ViewerState ImageState(const std::filesystem::path& image, int rows, int cols);

}  // namespace qiv::bench
