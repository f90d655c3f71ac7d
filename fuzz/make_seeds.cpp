// Writes the seed inputs of the fuzz targets over the routines of both programs into
// FOLDER/corpus/TARGET/NAME, and an input at the edge of what each routine reads into
// FOLDER/reproducers/TARGET/NAME (run it on fuzz/ to make them again; the reproducers of real
// findings there are left alone). The files come from the sample generators' own code: a small
// synthetic scene, the grey-level image, the start of the lines and records of a three-line
// synthetic AVHRR pass and its products, and the first words of the frames of the pass as a raw
// recording. Each input is a few hundred bytes in the form of fuzz_support.h.
#include <cstdint>
#include <filesystem>
#include <initializer_list>
#include <iostream>
#include <string>
#include <vector>

#include "common/core/dimension_header.h"
#include "fuzz/fuzz_support.h"
#include "tools/samples/hrpt_samples.h"
#include "tools/samples/raster_samples.h"
#include "hrpt_tool/core/hrp_file.h"
#include "common/testing/temp_dir.h"

namespace {

namespace fs = std::filesystem;
using qiv::fuzz::Bytes;
using qiv::fuzz::FuzzInput;
using qiv::fuzz::PathKind;

class SeedWriter {
public:
    explicit SeedWriter(fs::path root) : root_(std::move(root)) {}

    // choices are the target's choice bytes, each 0..255.
    void Seed(const std::string& target, const std::string& name,
              std::initializer_list<int> choices, const std::vector<std::string>& replies,
              const Bytes& file) {
        Write(root_ / "corpus" / target, name, choices, replies, file);
    }
    void Edge(const std::string& target, const std::string& name,
              std::initializer_list<int> choices, const std::vector<std::string>& replies,
              const Bytes& file) {
        Write(root_ / "reproducers" / target, name, choices, replies, file);
    }

private:
    static void Write(const fs::path& folder, const std::string& name,
                      std::initializer_list<int> choices, const std::vector<std::string>& replies,
                      const Bytes& file) {
        Bytes bytes;
        for (const int choice : choices) {
            bytes.push_back(static_cast<std::uint8_t>(choice));
        }
        fs::create_directories(folder);
        qiv::fuzz::WriteFile(folder / name, FuzzInput::Encode(bytes, replies, file));
    }

    fs::path root_;
};

int Kind(PathKind kind) {
    return static_cast<int>(kind) << 2;
}

Bytes WithHeader(Bytes image, std::int16_t rows, std::int16_t cols) {
    const auto header = qiv::EncodeDimensionHeader({rows, cols});
    std::copy(header.begin(), header.end(), image.begin());
    return image;
}

Bytes Slice(const Bytes& bytes, std::size_t from, std::size_t count) {
    return Bytes(bytes.begin() + static_cast<std::ptrdiff_t>(from),
                 bytes.begin() + static_cast<std::ptrdiff_t>(from + count));
}

Bytes Join(Bytes a, const Bytes& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

void WriteRastelSeeds(SeedWriter& seeds) {
    Bytes levels(256);
    for (std::size_t i = 0; i < levels.size(); ++i) {
        levels[i] = static_cast<std::uint8_t>(i);
    }
    const Bytes scene = qiv::samples::SyntheticScene(24, 20, 1987u);
    const Bytes small = qiv::samples::SyntheticScene(12, 16, 2024u);

    // rastel_image: dimension source | node entry, picture width, picture height.
    seeds.Seed("rastel_image", "grey-levels-16x16-typed", {0, 40, 30}, {"16", "16"}, levels);
    seeds.Seed("rastel_image", "scene-24x20-header-large-picture", {1, 63, 63}, {},
               WithHeader(scene, 24, 20));
    seeds.Seed("rastel_image", "scene-24x20-unsorted-nodes-small-picture", {4, 12, 9},
               {"24", "20", "3", "50", "20", "100", "200", "30", "240"}, scene);
    seeds.Seed("rastel_image", "start-up-size-too-large-for-file", {2, 16, 16}, {}, small);
    seeds.Seed("rastel_image", "typed-without-file", {3, 8, 8}, {"4", "4"}, small);

    seeds.Edge("rastel_image", "dimensions-one-pixel-beyond-the-file", {0, 17, 17}, {"16", "16"},
               Slice(levels, 0, 255));

    // rastel_subset: dimension source | path kind | cancel | write header first.
    seeds.Seed("rastel_subset", "header-rectangle-into-new-file", {1 | Kind(PathKind::NewFile)},
               {"2", "3", "5", "7"}, WithHeader(small, 12, 16));
    seeds.Seed("rastel_subset", "write-header-whole-image-into-longer-file",
               {0 | Kind(PathKind::LongerFile) | 0x40}, {"12", "16", "0", "0", "12", "16"}, small);
    seeds.Seed("rastel_subset", "rectangle-onto-image-hard-link",
               {1 | Kind(PathKind::InputHardLink)}, {"0", "0", "3", "3"},
               WithHeader(small, 12, 16));
    seeds.Seed("rastel_subset", "start-outside-image", {0 | Kind(PathKind::NewFile)},
               {"12", "16", "13", "0"}, small);
    seeds.Seed("rastel_subset", "no-rows-cancelled-dialog", {1 | Kind(PathKind::NewFile) | 0x20},
               {"1", "1", "0", "4"}, WithHeader(small, 12, 16));
    // The first row equal to the image's rows passes the first check; then only no rows do.
    seeds.Edge("rastel_subset", "start-row-at-the-end-with-no-rows",
               {1 | Kind(PathKind::LongerFile)}, {"12", "0", "0", "5"}, WithHeader(small, 12, 16));
}

void WriteSwathlySeeds(SeedWriter& seeds, const fs::path& samples) {
    using qiv::swathly::kLineBytes;
    const Bytes hrp = qiv::fuzz::FileBytes(samples / "avhrr-pass.hrp").value();
    const Bytes cal = qiv::fuzz::FileBytes(samples / "avhrr-pass.cal").value();
    const Bytes sst = qiv::fuzz::FileBytes(samples / "avhrr-pass.sst").value();
    // The header record and calibration blocks of line 1, and the first earth-view samples.
    const Bytes line = Join(Slice(hrp, 0, 204), Slice(hrp, 1500, 52));
    const Bytes rest = Slice(hrp, kLineBytes, 300);
    // The line count word of the product header, then the start of line 1.
    const Bytes calRecords = Join(Slice(cal, 0, 2), Slice(cal, 20480 + 2, 62));
    const Bytes sstRecords = Join(Slice(sst, 0, 2), Slice(sst, 4096 + 2, 62));

    // swathly_header: flags | calibration path kind, whole lines, added bytes.
    seeds.Seed("swathly_header", "line-1-calibration-into-new-file",
               {2 | Kind(PathKind::NewFile), 2, 0}, {"1"}, line);
    seeds.Seed("swathly_header", "line-2-and-a-half-to-even", {0, 3, 0}, {"2.5"}, line);
    seeds.Seed("swathly_header", "last-line-too-short-for-calibration",
               {2 | Kind(PathKind::LongerFile), 2, 100}, {"3"}, line);
    seeds.Seed("swathly_header", "calibration-onto-input", {2 | Kind(PathKind::TheInput), 1, 0},
               {"1"}, line);
    seeds.Seed("swathly_header", "second-line-as-given-with-output", {0x20, 0, 0}, {"1"}, rest);
    // The file ends exactly where the calibration blocks of its only line end.
    seeds.Edge("swathly_header", "file-ends-with-the-calibration-blocks",
               {2 | Kind(PathKind::NewFile), 0, 0}, {"1"}, Slice(line, 0, 204));

    // swathly_products: command | output kind | calibration | not chosen, band, records, added.
    seeds.Seed("swathly_products", "hrp-quicklook-band-2-interval-5",
               {0 | Kind(PathKind::NewFile), 1, 3, 0}, {"5", "1"}, line);
    seeds.Seed("swathly_products", "hrp-quicklook-single-band-interval-1-longer-file",
               {0 | Kind(PathKind::LongerFile) | 0x20, 5, 3, 0}, {"1", "1"}, line);
    seeds.Seed("swathly_products", "cal-quicklook-band-4", {1 | Kind(PathKind::NewFile), 3, 4, 0},
               {"5"}, calRecords);
    seeds.Seed("swathly_products", "sst-quicklook-single-band-short-file",
               {1 | Kind(PathKind::NewFile), 5, 4, 0x80}, {"1"}, sstRecords);
    seeds.Seed("swathly_products", "cut-lines-2-to-3-with-calibration",
               {2 | Kind(PathKind::NewFile) | 0x20, 0, 3, 0}, {"1", "2", "3"}, line);
    // A pass that starts at 23:59:59: a cut from line 8 on moves it on by one second, past
    // the minute and the hour.
    Bytes midnight = line;
    qiv::WriteInt16Le(midnight.data() + 16, 23);
    qiv::WriteInt16Le(midnight.data() + 18, 59);
    qiv::WriteInt16Le(midnight.data() + 20, 59);
    seeds.Seed("swathly_products", "cut-from-line-8-past-midnight",
               {2 | Kind(PathKind::NewFile), 0, 10, 0}, {"1", "8", "10"}, midnight);
    seeds.Seed("swathly_products", "cut-onto-input-symlink",
               {2 | Kind(PathKind::InputSymlink), 0, 2, 0}, {"1", "1", "2"}, line);
    // A header that states 65535 lines: at interval 1 the quicklook has more rows than its
    // header holds and is refused.
    Bytes most = line;
    most[23] = 0xFF;
    most[24] = 0xFF;
    seeds.Edge("swathly_products", "hrp-quicklook-rows-beyond-its-header",
               {0 | Kind(PathKind::NewFile), 2, 1, 0}, {"1", "1"}, most);
}

// Words 1-12 of frames first .. first + count - 1 (from 0) of a recording, then `body` bytes of
// the rest of frame `first`: the input form of recording_import.
Bytes FrameHeads(const Bytes& recording, std::size_t first, std::size_t count, std::size_t body) {
    using qiv::swathly::kLineBytes;
    constexpr std::size_t kHead = 24;
    Bytes heads;
    for (std::size_t k = first; k < first + count; ++k) {
        heads = Join(heads, Slice(recording, k * kLineBytes, kHead));
    }
    return Join(heads, Slice(recording, first * kLineBytes + kHead, body));
}

int Output(PathKind kind) {
    return static_cast<int>(kind) << 1;
}

qiv::Failure WriteRecordingSeeds(SeedWriter& seeds, const fs::path& samples) {
    using qiv::swathly::ByteOrder;
    const fs::path little = samples / "little.raw16";
    const fs::path big = samples / "big.hrp";
    // 45 frames: the garbled time code of the first and the damaged sync of frames 40 and 41.
    if (qiv::Failure failure = qiv::samples::WriteHrptRecording(little, 45, ByteOrder::Little)) {
        return failure;
    }
    if (qiv::Failure failure = qiv::samples::WriteHrptRecording(big, 45, ByteOrder::Big)) {
        return failure;
    }
    const Bytes le = qiv::fuzz::FileBytes(little).value();
    const Bytes be = qiv::fuzz::FileBytes(big).value();
    constexpr int kWindow = 1;
    constexpr int kHrpName = 0x10;
    constexpr int kYes = 0x20;
    constexpr int kSecondName = 0x40;
    constexpr int kGrown = 0x80;

    // recording_import: frames, added bytes, flags | output kind.
    seeds.Seed("recording_import", "little-endian-4-frames-into-new-file",
               {4, 0, Output(PathKind::NewFile)}, {"2024"}, FrameHeads(le, 0, 4, 120));
    seeds.Seed("recording_import", "big-endian-3-frames-and-a-partial-one-over-longer-file",
               {3, 100, Output(PathKind::LongerFile) | kHrpName}, {"2023"},
               FrameHeads(be, 1, 3, 120));
    seeds.Seed("recording_import", "damaged-sync-frames-40-and-41",
               {4, 0, Output(PathKind::NewFile)}, {"2024"}, FrameHeads(le, 38, 4, 60));
    seeds.Seed("recording_import", "window-year-asked-again-after-bad-texts",
               {2, 0, kWindow | kYes | Output(PathKind::NewFile)}, {"next year", "0", "2024"},
               FrameHeads(le, 5, 2, 60));
    seeds.Seed("recording_import", "window-name-of-recording-then-second-name",
               {2, 0, kWindow | kYes | kSecondName | Output(PathKind::InputSymlink) | kHrpName},
               {"2024"}, FrameHeads(be, 5, 2, 60));
    seeds.Seed("recording_import", "window-import-declined",
               {2, 0, kWindow | Output(PathKind::NewFile)}, {}, FrameHeads(le, 0, 2, 60));
    seeds.Seed("recording_import", "no-whole-frame", {0, 0, Output(PathKind::NewFile)}, {"2024"},
               FrameHeads(le, 0, 1, 200));
    // The sync in place, a frame count from the size beyond the line count of a header: the
    // refusal must come from the size alone.
    seeds.Edge("recording_import", "more-frames-than-a-header-counts",
               {1, 0, kWindow | kYes | kGrown | Output(PathKind::NewFile)}, {"2024"},
               FrameHeads(le, 1, 1, 60));
    return {};
}

// The output forms of the qivtool target: -o NAME, --output=NAME, --calibration NAME.
int QivtoolOutput(int form, PathKind kind) {
    return form << 1 | static_cast<int>(kind) << 3;
}

void WriteQivtoolSeeds(SeedWriter& seeds, const fs::path& samples) {
    using qiv::swathly::kLineBytes;
    constexpr int kInput = 1;
    constexpr int kDashO = 1;
    constexpr int kOutputIs = 2;
    constexpr int kCalibration = 3;
    constexpr int kNone = 10;  // no subcommand put first
    const Bytes scene = qiv::samples::SyntheticScene(12, 16, 2024u);
    const Bytes hrp = qiv::fuzz::FileBytes(samples / "avhrr-pass.hrp").value();
    const Bytes cal = qiv::fuzz::FileBytes(samples / "avhrr-pass.cal").value();
    const Bytes recording = qiv::fuzz::FileBytes(samples / "little.raw16").value();
    const Bytes line = Join(Slice(hrp, 0, 204), Slice(hrp, 1500, 52));
    const Bytes calRecords = Join(Slice(cal, 0, 2), Slice(cal, 20480 + 2, 62));
    // Words 1-10 of frame 2: repeated, they start every frame, as 20 bytes divide a frame.
    const Bytes frameStart = Slice(recording, 2 * kLineBytes, 20);

    // qivtool: subcommand, input | output form | output kind | progress, units, added bytes.
    seeds.Seed("qivtool", "info", {0, kInput, 0, 0}, {}, WithHeader(scene, 12, 16));
    seeds.Seed("qivtool", "header-set", {1, kInput, 0, 0}, {"--set", "12", "16"}, scene);
    seeds.Seed("qivtool", "tables-nodes-into-file",
               {2, kInput | QivtoolOutput(kDashO, PathKind::NewFile), 0, 0},
               {"--nodes", "60,20", "180,240"}, WithHeader(scene, 12, 16));
    seeds.Seed("qivtool", "render-random-upside-down-with-progress",
               {3, kInput | QivtoolOutput(kDashO, PathKind::LongerFile) | 0x40, 0, 0},
               {"--table", "equalised", "--colours", "random", "--seed", "43200", "--upside-down"},
               WithHeader(scene, 12, 16));
    seeds.Seed("qivtool", "plot-without-its-module",
               {4, kInput | QivtoolOutput(kDashO, PathKind::NewFile), 0, 0},
               {"--kind", "stretched", "--nodes", "100,30"}, WithHeader(scene, 12, 16));
    seeds.Seed("qivtool", "subset-with-size-over-longer-file",
               {5, kInput | QivtoolOutput(kOutputIs, PathKind::LongerFile), 0, 0},
               {"--size", "12", "16", "--start", "2", "3", "--count", "5", "7"}, scene);
    seeds.Seed("qivtool", "hrp-info-json-with-calibration",
               {6, kInput | QivtoolOutput(kCalibration, PathKind::NewFile), 1, 0},
               {"--line", "1", "--json"}, line);
    seeds.Seed("qivtool", "quicklook-from-hrp-band-2",
               {7, kInput | QivtoolOutput(kDashO, PathKind::NewFile), 3, 0},
               {"--from", "hrp", "--band", "2", "--step", "2"}, line);
    seeds.Seed("qivtool", "quicklook-from-product-band-4",
               {7, kInput | QivtoolOutput(kOutputIs, PathKind::NewFile), 1, 0},
               {"--from", "product", "--band", "4"}, calRecords);
    seeds.Seed("qivtool", "cut-lines-2-to-3",
               {8, kInput | QivtoolOutput(kDashO, PathKind::NewFile), 3, 0}, {"--lines", "2", "3"},
               line);
    seeds.Seed("qivtool", "cut-onto-input-symlink",
               {8, kInput | QivtoolOutput(kDashO, PathKind::InputSymlink), 2, 0},
               {"--lines", "1", "2"}, line);
    seeds.Seed("qivtool", "import-3-frames",
               {9, kInput | QivtoolOutput(kDashO, PathKind::LongerFile), 3, 0}, {"--year", "2024"},
               frameStart);
    seeds.Seed("qivtool", "unknown-table-is-bad-usage", {kNone, 0, 0, 0},
               {"render", "in", "--table", "bright", "-o", "out"}, WithHeader(scene, 12, 16));
    seeds.Seed("qivtool", "help-of-cut", {kNone, 0, 0, 0}, {"cut", "--help"}, {});
    // The most lines a quicklook may state in the target, at interval 1: 65536 pixels.
    Bytes most = line;
    most[23] = 32;
    most[24] = 0;
    seeds.Edge("qivtool", "quicklook-of-the-most-lines-at-interval-1",
               {7, kInput | QivtoolOutput(kDashO, PathKind::NewFile), 2, 0},
               {"--from", "hrp", "--step", "1"}, most);
}

}  // namespace

int main(int argc, char* argv[]) {
    if (argc != 2) {
        std::cerr << "usage: qiv_make_fuzz_seeds <fuzz folder>\n";
        return 2;
    }
    const qiv::testing::TempDir samples;
    if (qiv::Failure failure = qiv::samples::WriteHrptSamples(samples.Path(), 3)) {
        std::cerr << "qiv_make_fuzz_seeds: cannot write the samples: " << failure->Reason << '\n';
        return 1;
    }
    SeedWriter seeds(argv[1]);
    WriteRastelSeeds(seeds);
    WriteSwathlySeeds(seeds, samples.Path());
    if (qiv::Failure failure = WriteRecordingSeeds(seeds, samples.Path())) {
        std::cerr << "qiv_make_fuzz_seeds: cannot write the recordings: " << failure->Reason
                  << '\n';
        return 1;
    }
    WriteQivtoolSeeds(seeds, samples.Path());
    return 0;
}
