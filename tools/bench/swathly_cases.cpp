#include <unistd.h>

#include <cstdint>
#include <stdexcept>
#include <string>

#include "tools/bench/bench_cases.h"
#include "tools/bench/bench_support.h"
#include "hrpt_tool/testing/fake_main_view.h"
#include "tools/samples/hrpt_samples.h"
#include "hrpt_tool/core/line_cut.h"
#include "common/testing/memory_canvas.h"
#include "hrpt_tool/core/quicklook.h"
#include "hrpt_tool/core/recording_import.h"
#include "common/testing/scripted_dialogs.h"
#include "hrpt_tool/core/swathly_texts.h"

namespace qiv::bench {
namespace {

using swathly::SwathlyState;

SwathlyState ChosenFiles(const std::filesystem::path& input, const std::filesystem::path& output) {
    SwathlyState state;
    state.InputPath = input.string();
    state.InputChosen = true;
    state.OutputPath = output.string();
    state.OutputChosen = true;
    return state;
}

void Check(bool done, const testing::ScriptedDialogs& dialogs, const char* what) {
    if (!done) {
        throw std::runtime_error(std::string(what) + " refused: " +
                                 (dialogs.Messages.empty() ? "" : dialogs.Messages.back()));
    }
}

std::int64_t FileBytes(const std::filesystem::path& file) {
    return static_cast<std::int64_t>(std::filesystem::file_size(file));
}

// Quicklooks: the floor is a plain read of the whole input and a plain copy of the quicklook's
// bytes; with s = 5 the routine needs only every fifth line.
void QuicklookCase(const char* name, const std::filesystem::path& input,
                   const std::filesystem::path& dir, int interval, bool fromHrp, int runs) {
    const auto output = dir / "quicklook.raw";
    MemoryCanvas waitArea = qiv::testing::WaitArea();
    testing::FakeMainView form1;
    const std::string intervalText = std::to_string(interval);
    const double seconds = MedianSeconds(runs, [&] {
        SwathlyState state = ChosenFiles(input, output);
        testing::ScriptedDialogs dialogs;
        const swathly::BandButton band =
            fromHrp ? swathly::BandButton::SingleBand : swathly::BandButton::Band4;
        const bool done =
            fromHrp ? swathly::ShowOutcome(swathly::HrpQuicklook(state, intervalText, "1", band,
                                                                 dialogs, form1, waitArea),
                                           dialogs)
                    : swathly::ShowOutcome(
                          swathly::ProductQuicklook(state, intervalText, band, waitArea), dialogs);
        Check(done, dialogs, name);
    });
    const std::int64_t written = FileBytes(output);
    const auto copy = dir / "quicklook-floor.raw";
    const double floor = MedianSeconds(runs, [&] {
        PlainRead(input);
        PlainCopy(input, copy, written);
    });
    Report(std::string(name) + "_s" + intervalText, FileBytes(input), seconds, floor);
}

void LineCutCase(const std::filesystem::path& input, const std::filesystem::path& dir, int lines,
                 int keep, int runs) {
    const auto output = dir / "cut.hrp";
    MemoryCanvas waitArea = qiv::testing::WaitArea();
    testing::FakeMainView form1;
    const int start = (lines - keep) / 2 + 1;
    const double seconds = MedianSeconds(runs, [&] {
        SwathlyState state = ChosenFiles(input, output);
        testing::ScriptedDialogs dialogs;
        dialogs.Answer(std::to_string(start)).Answer(std::to_string(start + keep - 1));
        Check(swathly::ShowOutcome(swathly::CutLineRange(state, "1", dialogs, form1, waitArea),
                                   dialogs),
              dialogs, "line cut");
    });
    const std::int64_t bytes = static_cast<std::int64_t>(keep) * swathly::kLineBytes;
    const auto copy = dir / "cut-floor.hrp";
    const double floor = MedianSeconds(runs, [&] { PlainCopy(input, copy, bytes); });
    Report("line_cut_" + std::to_string(keep) + "_of_" + std::to_string(lines), bytes, seconds,
           floor);
}

// The import of a recording against a plain copy of the same bytes into a new file. The import
// writes a new file too and renames it to the output's name: into a name that is free, or over
// an older file of that name. ext4 writes a file renamed over another out to the disk at once
// (so that a crash cannot leave an empty file in the old one's place), which costs the replacing
// case more than the copy, whose writing out is left for later. Each figure starts with nothing
// left to write out from earlier cases, which would otherwise go to the disk in the middle of it.
void ImportCase(const std::string& name, const std::filesystem::path& recording,
                const std::filesystem::path& dir, bool replacing, int runs) {
    const auto output = dir / "imported.hrp";
    ::sync();
    const double seconds = MedianSeconds(runs, [&] {
        if (!replacing) {
            std::filesystem::remove(output);
        }
        swathly::ImportSummary summary;
        if (const swathly::CommandOutcome imported =
                swathly::ImportRecording(recording.string(), output.string(), 2024, summary);
            !imported.Done()) {
            throw std::runtime_error(swathly::MessageFor(imported));
        }
    });
    std::filesystem::remove(output);
    const std::int64_t bytes = FileBytes(recording);
    const auto copy = dir / "import-floor.hrp";
    ::sync();
    const double floor = MedianSeconds(runs, [&] {
        std::filesystem::remove(copy);
        PlainCopy(recording, copy, bytes);
    });
    std::filesystem::remove(copy);
    Report(name, bytes, seconds, floor);
}

std::filesystem::path Recording(const std::filesystem::path& file, int frames,
                                swathly::ByteOrder order) {
    if (Failure failure = samples::WriteHrptRecording(file, frames, order)) {
        throw std::runtime_error(swathly::MessageFor(failure));
    }
    return file;
}

std::filesystem::path Samples(const std::filesystem::path& dir, int lines) {
    if (Failure failure = samples::WriteHrptSamples(dir, lines)) {
        throw std::runtime_error(swathly::MessageFor(failure));
    }
    return dir;
}

}  // namespace

void RunSwathlyCases(const std::filesystem::path& dir, const Sizes& sizes) {
    const auto pass = Samples(dir / "pass", sizes.HrpLines);
    const auto hrp = pass / "avhrr-pass.hrp";
    QuicklookCase("quicklook_hrp", hrp, dir, 1, true, sizes.Runs);
    QuicklookCase("quicklook_hrp", hrp, dir, 5, true, sizes.Runs);
    LineCutCase(hrp, dir, sizes.HrpLines, sizes.CutLines, sizes.Runs);

    const auto products = Samples(dir / "products", sizes.CalLines);
    const auto cal = products / "avhrr-pass.cal";
    QuicklookCase("quicklook_cal", cal, dir, 1, false, sizes.Runs);
    QuicklookCase("quicklook_cal", cal, dir, 5, false, sizes.Runs);

    const std::string frames = std::to_string(sizes.RecordingFrames);
    const auto little =
        Recording(dir / "pass.raw16", sizes.RecordingFrames, swathly::ByteOrder::Little);
    ImportCase("import_little_endian_" + frames, little, dir, false, sizes.Runs);
    ImportCase("import_replacing_little_endian_" + frames, little, dir, true, sizes.Runs);
    std::filesystem::remove(little);
    const auto big =
        Recording(dir / "pass-big.hrp", sizes.RecordingFrames, swathly::ByteOrder::Big);
    ImportCase("import_big_endian_" + frames, big, dir, false, sizes.Runs);
}

}  // namespace qiv::bench
