// Runs a fuzz target's entry point once on every file of the folders (or on the single files)
// given, without libFuzzer, so that the ordinary build and CTest replay the seed inputs and the
// reproducers of past findings. A target reports a finding by aborting; a missing or empty
// folder fails too, so that a mistyped path cannot pass as a clean replay.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace {

namespace fs = std::filesystem;

bool RunFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "replay: cannot read %s\n", path.c_str());
        return false;
    }
    const std::vector<char> bytes{std::istreambuf_iterator<char>(in),
                                  std::istreambuf_iterator<char>()};
    // Printed before the run, so that the input a target aborts on is the last one named.
    std::fprintf(stderr, "replay: %s (%zu bytes)\n", path.c_str(), bytes.size());
    // A copy of exactly the input's size, so that AddressSanitizer sees a read past its end.
    std::vector<std::uint8_t> data(bytes.begin(), bytes.end());
    LLVMFuzzerTestOneInput(data.data(), data.size());
    return true;
}

// The regular files of a folder in name order, so that every run replays in the same order.
std::vector<fs::path> FilesIn(const fs::path& folder, std::error_code& error) {
    std::vector<fs::path> files;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        if (it->is_regular_file()) {
            files.push_back(it->path());
        }
    }
    std::sort(files.begin(), files.end());
    return files;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s FOLDER_OR_FILE...\n", argv[0]);
        return 2;
    }
    std::size_t replayed = 0;
    for (int i = 1; i < argc; ++i) {
        const fs::path path = argv[i];
        std::error_code error;
        if (fs::is_regular_file(path, error)) {
            if (!RunFile(path)) {
                return 1;
            }
            ++replayed;
            continue;
        }
        if (!fs::is_directory(path, error)) {
            std::fprintf(stderr, "replay: %s is neither a folder nor a file\n", path.c_str());
            return 1;
        }
        const std::vector<fs::path> files = FilesIn(path, error);
        if (error) {
            std::fprintf(stderr, "replay: cannot list %s: %s\n", path.c_str(),
                         error.message().c_str());
            return 1;
        }
        if (files.empty()) {
            std::fprintf(stderr, "replay: %s holds no input files\n", path.c_str());
            return 1;
        }
        for (const fs::path& file : files) {
            if (!RunFile(file)) {
                return 1;
            }
            ++replayed;
        }
    }
    std::printf("replayed %zu inputs\n", replayed);
    return 0;
}
