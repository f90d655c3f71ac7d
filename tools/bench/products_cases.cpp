// The products of an HRP pass against their floor: a plain read of the pass and a plain write of
// as many bytes as the three products hold, into new files, as the products are written.
#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

#include "common/core/binary_file.h"
#include "hrpt_tool/core/products.h"
#include "tools/bench/bench_cases.h"
#include "tools/bench/bench_support.h"

namespace qiv::bench {
namespace {

void ThrowIf(const Failure& failure) {
    if (failure) {
        throw std::runtime_error(failure->Path + ": " + failure->Reason);
    }
}

// Writes `bytes` bytes into a new file in 4 MiB blocks.
void PlainWrite(const std::filesystem::path& file, std::int64_t bytes) {
    std::filesystem::remove(file);
    BinaryFile out(FileRole::Output);
    ThrowIf(out.Open(file, BinaryFile::Mode::CreateNew));
    std::vector<std::uint8_t> block(std::size_t{4} << 20, 0x5A);
    for (std::int64_t done = 0; done < bytes;) {
        const auto want = static_cast<std::size_t>(
            std::min<std::int64_t>(static_cast<std::int64_t>(block.size()), bytes - done));
        ThrowIf(out.WriteAt(done, std::span(block.data(), want)));
        done += static_cast<std::int64_t>(want);
    }
}

}  // namespace

void ProductsCase(const std::filesystem::path& hrp, const std::filesystem::path& dir, int runs) {
    const swathly::ProductPaths paths = swathly::ProductPathsOf((dir / "products").string());
    const auto removeProducts = [&] {
        for (const std::string& file : {paths.Cal, paths.Sst, paths.Ndv}) {
            std::filesystem::remove(file);
        }
    };
    std::int64_t lines = 0;
    ::sync();
    const double seconds = MedianSeconds(runs, [&] {
        removeProducts();
        swathly::ProductSummary summary;
        const swathly::CommandOutcome outcome =
            swathly::MakeProducts(hrp.string(), paths, std::nullopt, summary);
        if (!outcome.Done()) {
            throw std::runtime_error("products refused or failed on " + hrp.string());
        }
        lines = summary.Lines;
    });
    const std::int64_t written = static_cast<std::int64_t>(std::filesystem::file_size(paths.Cal) +
                                                           std::filesystem::file_size(paths.Sst) +
                                                           std::filesystem::file_size(paths.Ndv));
    removeProducts();
    const auto floorFile = dir / "products-floor.bin";
    ::sync();
    const double floor = MedianSeconds(runs, [&] {
        PlainRead(hrp);
        PlainWrite(floorFile, written);
    });
    std::filesystem::remove(floorFile);
    Report("products_" + std::to_string(lines),
           static_cast<std::int64_t>(std::filesystem::file_size(hrp)), seconds, floor);
}

}  // namespace qiv::bench
