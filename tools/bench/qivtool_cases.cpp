// qivtool against its goals: the whole `qivtool tables` process against the histogram pass in
// process; the painting of `render` without its PNG encoding in pixels per second, the encoding
// on its own, and the whole `render` process; and the peak memory of `render` on a large image.
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "tools/bench/bench_cases.h"
#include "tools/bench/bench_support.h"
#include "raster_viewer/core/histogram_pass.h"
#include "common/testing/memory_canvas.h"
#include "raster_viewer/core/paint_image.h"
#include "common/core/png_file.h"
#include "raster_viewer/core/rastel_texts.h"
#include "common/testing/scripted_dialogs.h"

extern char** environ;

namespace qiv::bench {
namespace {

using rastel::ViewerState;

struct Child {
    double Seconds = 0;
    double PeakRssMib = 0;
};

// The peak resident set of a running process so far, in KiB (VmHWM of /proc/PID/status), or 0
// once it has ended.
long PeakKib(pid_t pid) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmHWM:", 0) == 0) {
            return std::strtol(line.c_str() + 6, nullptr, 10);
        }
    }
    return 0;
}

// Runs qivtool with `arguments`, its stdout and stderr thrown away, and waits for it: the wall
// time of the whole process and its own peak resident set. The peak is read from the running
// process, not from its resource usage: a child started from this process inherits the peak of
// this process's memory at the start, which says nothing about qivtool.
// Only a child whose memory is watched is polled; the others are waited for at once, so that
// their times are not stretched to the next poll.
Child RunQivtool(const std::vector<std::string>& arguments, bool watchMemory = false) {
    std::vector<std::string> words{QIVTOOL_PATH};
    words.insert(words.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (std::string& word : words) {
        argv.push_back(word.data());
    }
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    const auto start = std::chrono::steady_clock::now();
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0) {
        throw std::runtime_error("cannot start " + words[0]);
    }
    int status = 0;
    long peak = 0;
    if (watchMemory) {
        while (waitpid(pid, &status, WNOHANG) == 0) {
            peak = std::max(peak, PeakKib(pid));
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
    } else {
        waitpid(pid, &status, 0);
    }
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        throw std::runtime_error("qivtool " + arguments.front() + " failed");
    }
    return {seconds, static_cast<double>(peak) / 1024.0};
}

// A sink that keeps nothing: the painting alone.
class NoRows : public rastel::RowSink {
public:
    Failure TakeRow(std::int64_t /*row*/, std::span<const Colour> colours) override {
        sink_ = sink_ + colours[0];
        return {};
    }

private:
    volatile Colour sink_ = 0;
};

void Paint(ViewerState& state, rastel::RowSink& sink) {
    if (Failure failure = rastel::PaintImageRows(state, rastel::LevelMapping::Equalised,
                                                 rastel::ColourScheme::Grey, sink)) {
        throw std::runtime_error(rastel::MessageFor(failure));
    }
}

}  // namespace

void RunQivtoolCases(const std::filesystem::path& dir, const Sizes& sizes) {
    const auto big = dir / "big.raw";
    const std::string side = std::to_string(sizes.PassSide);
    const std::int64_t pixels = std::int64_t{sizes.PassSide} * sizes.PassSide;

    // tables: the floor is the histogram pass in process, the goal a ratio of 1.5 at most.
    ViewerState state = ImageState(big, sizes.PassSide, sizes.PassSide);
    const double pass = MedianSeconds(sizes.Runs, [&] {
        MemoryCanvas waitArea = qiv::testing::WaitArea();
        state.TablesReady = false;
        (void)rastel::HistogramPass(state, waitArea);
    });
    const double tables = MedianSeconds(sizes.Runs, [&] {
        RunQivtool({"tables", big.string(), "--size", side, side, "-o", (dir / "t.csv").string()});
    });
    Report("qivtool_tables_" + side, pixels, tables, pass);

    // render: the painting into a sink that keeps nothing, against a plain read of the image
    // (the goal: pixels / time_s of 100 million or more).
    ViewerState painted = ImageState(big, sizes.PassSide, sizes.PassSide);
    {
        MemoryCanvas waitArea = qiv::testing::WaitArea();
        (void)rastel::HistogramPass(painted, waitArea);
    }
    NoRows nothing;
    const double paint = MedianSeconds(sizes.Runs, [&] { Paint(painted, nothing); });
    const double read = MedianSeconds(sizes.Runs, [&] { PlainRead(big); });
    Report("render_paint_" + side, pixels, paint, read);

    // The PNG encoding on its own: the same number of grey rows, already painted.
    const std::vector<Colour> row(static_cast<std::size_t>(sizes.PassSide), MakeColour(90, 90, 90));
    std::vector<Colour> noisy(row.size());
    std::uint32_t noise = 1;
    for (Colour& c : noisy) {
        noise = noise * 1664525u + 1013904223u;
        const int level = static_cast<int>((noise >> 24) / 2 + 60);
        c = MakeColour(level, level, level);
    }
    const double encode = MedianSeconds(sizes.Runs, [&] {
        PngFile png;
        if (png.Open(dir / "encode.png", sizes.PassSide, sizes.PassSide, PngColours::Grey)) {
            throw std::runtime_error("cannot write encode.png");
        }
        for (int y = 0; y < sizes.PassSide; ++y) {
            if (png.WriteRow(y % 2 == 0 ? noisy : row)) {
                throw std::runtime_error("cannot write encode.png");
            }
        }
        if (png.Finish()) {
            throw std::runtime_error("cannot finish encode.png");
        }
    });
    Report("png_encode_grey_" + side, pixels, encode, read);

    const double render = MedianSeconds(sizes.Runs, [&] {
        RunQivtool({"render", big.string(), "--size", side, side, "--table", "equalised", "-o",
                    (dir / "render.png").string()});
    });
    Report("qivtool_render_" + side, pixels, render, read);

    // Peak memory of one render of a large image, in the child alone (goal: under 64 MiB).
    const auto huge = dir / "huge.raw";
    const std::string hugeSide = std::to_string(sizes.RenderMemorySide);
    WriteNoiseFile(huge, std::int64_t{sizes.RenderMemorySide} * sizes.RenderMemorySide, 3);
    const Child child =
        RunQivtool({"render", huge.string(), "--size", hugeSide, hugeSide, "--table", "equalised",
                    "--colours", "continuous", "-o", (dir / "huge.png").string()},
                   true);
    std::printf(
        "case=qivtool_render_memory_%s bytes=%lld time_s=%.6f peak_rss_mib=%.1f\n",
        hugeSide.c_str(),
        static_cast<long long>(std::int64_t{sizes.RenderMemorySide} * sizes.RenderMemorySide),
        child.Seconds, child.PeakRssMib);
    std::fflush(stdout);
    std::filesystem::remove(huge);
    std::filesystem::remove(dir / "huge.png");
}

}  // namespace qiv::bench
