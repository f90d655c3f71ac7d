#include "tools/bench/bench_support.h"

#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <stdexcept>
#include <vector>

#include "common/core/binary_file.h"

namespace qiv::bench {
namespace {

constexpr std::size_t kBlock = 4 << 20;

void ThrowIf(const Failure& failure) {
    if (failure) {
        throw std::runtime_error(failure->Path + ": " + failure->Reason);
    }
}

BinaryFile OpenOrThrow(const std::filesystem::path& file, BinaryFile::Mode mode) {
    BinaryFile handle;
    ThrowIf(handle.Open(file, mode));
    return handle;
}

}  // namespace

double MedianSeconds(int runs, const std::function<void()>& f) {
    f();
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        const auto start = std::chrono::steady_clock::now();
        f();
        times.push_back(
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

void PlainRead(const std::filesystem::path& file, std::int64_t bytes) {
    BinaryFile in = OpenOrThrow(file, BinaryFile::Mode::Read);
    if (bytes < 0) {
        ThrowIf(in.Size(bytes));
    }
    std::vector<std::uint8_t> block(kBlock);
    volatile std::uint8_t sink = 0;
    for (std::int64_t done = 0; done < bytes;) {
        const auto want = static_cast<std::size_t>(std::min<std::int64_t>(kBlock, bytes - done));
        ThrowIf(in.ReadAt(done, std::span(block.data(), want)));
        sink = sink + block[0];
        done += static_cast<std::int64_t>(want);
    }
}

void PlainCopy(const std::filesystem::path& from, const std::filesystem::path& to,
               std::int64_t bytes) {
    BinaryFile in = OpenOrThrow(from, BinaryFile::Mode::Read);
    BinaryFile out = OpenOrThrow(to, BinaryFile::Mode::ReadWriteCreate);
    std::vector<std::uint8_t> block(kBlock);
    for (std::int64_t done = 0; done < bytes;) {
        const auto want = static_cast<std::size_t>(std::min<std::int64_t>(kBlock, bytes - done));
        ThrowIf(in.ReadAt(done, std::span(block.data(), want)));
        ThrowIf(out.WriteAt(done, std::span(block.data(), want)));
        done += static_cast<std::int64_t>(want);
    }
}

void WriteNoiseFile(const std::filesystem::path& file, std::int64_t bytes, std::uint32_t seed) {
    BinaryFile out = OpenOrThrow(file, BinaryFile::Mode::WriteTruncate);
    std::vector<std::uint8_t> block(kBlock);
    std::uint32_t state = seed | 1u;
    for (std::int64_t done = 0; done < bytes;) {
        const auto want = static_cast<std::size_t>(std::min<std::int64_t>(kBlock, bytes - done));
        for (std::size_t i = 0; i < want; ++i) {
            // xorshift, smoothed a little so that the histogram is not flat
            state ^= state << 13;
            state ^= state >> 17;
            state ^= state << 5;
            block[i] = static_cast<std::uint8_t>(((state & 0xFF) + ((state >> 8) & 0xFF)) / 2);
        }
        ThrowIf(out.WriteAt(done, std::span(block.data(), want)));
        done += static_cast<std::int64_t>(want);
    }
}

void Report(const std::string& name, std::int64_t bytes, double seconds, double floorSeconds) {
    std::printf("case=%s bytes=%lld time_s=%.6f floor_s=%.6f ratio=%.3f\n", name.c_str(),
                static_cast<long long>(bytes), seconds, floorSeconds,
                floorSeconds > 0 ? seconds / floorSeconds : 0.0);
    std::fflush(stdout);
}

double PeakRssMib() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0;  // ru_maxrss is in KiB on Linux
}

rastel::ViewerState ImageState(const std::filesystem::path& image, int rows, int cols) {
    rastel::ViewerState state;
    state.ImagePath = image.string();
    state.FileChosen = true;
    state.ImageRows = rows;
    state.ImageCols = cols;
    return state;
}

}  // namespace qiv::bench
