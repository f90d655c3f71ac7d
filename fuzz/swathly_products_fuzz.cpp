// Fuzz target over the products of Swathly_Qiv: the quicklook from an HRP file, the quicklook
// from a CAL, SST or NDV product, and the line-range cut, from a fuzzed input file (short, odd
// lengths, garbage headers) with fuzzed "SamplInter", "Line #" and Start/End replies, into a
// fuzzed choice of output name.
//
// Input (fuzz_support.h), choices:
//   byte 0   bits 0-1  the command: 0 quicklook from HRP, 1 quicklook from a product, 2 (and 3)
//                      the line-range cut
//            bits 2-4  the output's name (fuzz::PathKind)
//            bit 5     a calibration file is chosen, so that the header read prints it
//            bit 6     no input file chosen
//            bit 7     no output file chosen
//   byte 1   the band button, Option1(0..5) (taken modulo 6)
//   byte 2   the input's length in whole records, 0..10 (taken modulo 11): HRP lines for the HRP
//            commands, the product's records (20480 bytes, 4096 with "single Band") for the
//            product quicklook; with 0 the file is the input's file bytes as they are, otherwise
//            those bytes repeated to that length
//   byte 3   added to that length, -128..127 bytes
// then the replies and the file bytes. The replies are, for the HRP quicklook, the texts of
// "SamplInter" and "Line #"; for the product quicklook, "SamplInter"; for the cut, "Line #"
// and the answers to the Start and End prompts.
//
// A quicklook of more than kMostQuicklookPixels pixels is not run, so that every input takes
// a fraction of a millisecond; its refusal when it has more rows than its header holds is.
//
// Beside the sanitizers it checks: an output is written exactly when the command's files are
// chosen, the output is not the input under any name and can be opened, the typed numbers are
// usable and the file holds what the command must read; a quicklook then holds every s-th
// sample of every s-th line of its band, scaled or clipped to a byte, under its header R, C; a
// cut holds the lines Start..End the input has, the first under the header record of "Line #"
// with the line count of the cut and a start time moved on by Start / 15 seconds; the tail of
// a longer old output stays; a refusal writes nothing; the calibration file is written exactly
// when a header was read; the input is unchanged and every file closed.
#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "hrpt_tool/testing/fake_main_view.h"
#include "fuzz/fuzz_support.h"
#include "hrpt_tool/core/line_cut.h"
#include "common/testing/memory_canvas.h"
#include "common/testing/open_files.h"
#include "common/testing/reference_models.h"
#include "hrpt_tool/core/quicklook.h"
#include "hrpt_tool/core/quicklook_image.h"
#include "common/testing/scripted_dialogs.h"
#include "fuzz/swathly_rules.h"
#include "hrpt_tool/core/swathly_state.h"
#include "hrpt_tool/core/swathly_texts.h"
#include "common/core/typed_number.h"

namespace qiv::swathly {
namespace {

using fuzz::Broken;
using fuzz::Bytes;
using fuzz::Require;
using fuzz::Text;
using fuzz::WordAt;

constexpr std::size_t kMostInputBytes = 4096;
constexpr std::size_t kChoiceBytes = 4;
// Ten lines: enough for a cut from line 8 on, the first whose start time moves by a second.
constexpr int kMostRecords = 10;
constexpr std::int64_t kMostQuicklookPixels = 1 << 16;
constexpr std::int64_t kMostHeaderRows = 32767;
// Longer than any output of the bounded inputs: the largest cut is eleven lines.
constexpr std::size_t kLongerFileBytes = (kMostRecords + 1) * kLineBytes + 1000;

enum class Command { HrpQuicklook, ProductQuicklook, LineCut };

std::string Reply(const std::vector<std::string>& replies, std::size_t at) {
    return at < replies.size() ? replies[at] : "";
}

// Where the samples of the band lie and how a value becomes a byte.
struct Layout {
    std::int64_t FirstLine = 0;
    std::int64_t Line = 0;
    std::int64_t Sample = 0;
    std::int64_t Value = 0;
    bool Scaled = false;  // 10-bit HRP words; products are clipped
};

int BandIndex(int button) {
    return button < 5 ? button : -1;
}

Layout HrpBand(int button) {
    const int band = BandIndex(button) >= 0 ? BandIndex(button) : 2;  // "single Band": channel 3
    return {1500, kLineBytes, 10, 2 * band, true};
}

Layout ProductBand(int button) {
    if (BandIndex(button) >= 0) {
        return {20480, 20480, 10, 2 * BandIndex(button), false};
    }
    return {4096, 4096, 2, 0, false};
}


// The rows and columns of a quicklook of `lines` lines at interval s.
std::pair<std::int64_t, std::int64_t> QuicklookShape(std::int64_t lines, std::int64_t s) {
    if (lines < 1) {
        return {0, 0};
    }
    return {(lines - 1) / s + 1, 2047 / s + 1};
}

Bytes QuicklookBytes(const Bytes& file, const Layout& layout, std::int64_t lines, std::int64_t s) {
    const auto [rows, cols] = QuicklookShape(lines, s);
    Bytes out;
    for (std::int64_t i = 0; i < rows; ++i) {
        for (std::int64_t j = 0; j < cols; ++j) {
            const std::int64_t offset =
                layout.FirstLine + i * s * layout.Line + j * s * layout.Sample + layout.Value;
            out.push_back(models::QuicklookPixel(WordAt(file, offset), layout.Scaled));
        }
    }
    out.resize(std::max<std::size_t>(out.size(), 4));
    out[0] = static_cast<std::uint8_t>(rows & 0xFF);
    out[1] = static_cast<std::uint8_t>(rows >> 8);
    out[2] = static_cast<std::uint8_t>(cols & 0xFF);
    out[3] = static_cast<std::uint8_t>(cols >> 8);
    return out;
}

// The time of a header record, bytes 16-21, in seconds, when its fields are a time of day.
std::optional<std::int64_t> Seconds(const Bytes& record) {
    const auto field = [&](int at) {
        return static_cast<std::int16_t>(record[at] | (record[at + 1] << 8));
    };
    const std::int16_t hour = field(16);
    const std::int16_t minute = field(18);
    const std::int16_t secs = field(20);
    if (hour < 0 || hour > 1000 || minute < 0 || minute > 59 || secs < 0 || secs > 59) {
        return std::nullopt;
    }
    return hour * 3600 + minute * 60 + secs;
}

// The `count` bytes of the file from `offset` on; what lies beyond its end reads as 0.
Bytes BytesAt(const Bytes& file, std::int64_t offset, std::int64_t count) {
    Bytes bytes(static_cast<std::size_t>(count), 0);
    const auto size = static_cast<std::int64_t>(file.size());
    if (offset < size) {
        std::copy_n(file.begin() + offset, std::min(count, size - offset), bytes.begin());
    }
    return bytes;
}

void CheckCut(const Bytes& output, const std::optional<Bytes>& before, const Bytes& file,
              std::int64_t headerLine, std::int64_t start, std::int64_t count) {
    // The lines as the input holds them, with the header record that was written.
    Bytes lines = BytesAt(file, (start - 1) * kLineBytes, count * kLineBytes);
    if (output.size() < kLineHeaderBytes) {
        Broken("the cut is " + Text(output.size()) + " bytes long");
    }
    std::copy_n(output.begin(), kLineHeaderBytes, lines.begin());
    Require(output == fuzz::WrittenInPlace(before, lines),
            "the cut of " + Text(count) + " lines from line " + Text(start) +
                " is not those lines of the input in place of the old output");

    const Bytes record(output.begin(), output.begin() + kLineHeaderBytes);
    const Bytes original = BytesAt(file, (headerLine - 1) * kLineBytes, kLineHeaderBytes);
    const auto same = [&](std::size_t from, std::size_t to) {
        return std::equal(record.begin() + static_cast<std::ptrdiff_t>(from),
                          record.begin() + static_cast<std::ptrdiff_t>(to),
                          original.begin() + static_cast<std::ptrdiff_t>(from));
    };
    Require(same(0, 16) && same(22, 23) && same(25, 33),
            "the cut's header record changed a field other than the time and the line count");
    Require(record[23] + 256 * record[24] == count, "the cut's header states " +
                                                        Text(record[23] + 256 * record[24]) +
                                                        " lines, not " + Text(count));
    if (const auto old = Seconds(original)) {
        const auto moved = Seconds(record);
        const auto step =
            static_cast<std::int64_t>(std::nearbyint(static_cast<double>(start) / 15));
        Require(moved && *moved == *old + step, "the start time is not moved on by " + Text(step) +
                                                    " seconds for line " + Text(start));
    }
}

int RunProductCommands(std::span<const std::uint8_t> data) {
    if (data.size() > kMostInputBytes) {
        return 0;
    }
    const fuzz::FuzzInput input(data, kChoiceBytes);
    const auto command = static_cast<Command>(std::min(input.Choice(0) & 3, 2));
    const fuzz::PathKind outputKind =
        fuzz::PathKindOf(static_cast<std::uint8_t>((input.Choice(0) >> 2) & 7));
    const bool datChosen = (input.Choice(0) & 0x20) != 0;
    const bool inputChosen = (input.Choice(0) & 0x40) == 0;
    const bool outputChosen = (input.Choice(0) & 0x80) == 0;
    const int button = input.Choice(1) % 6;
    const auto band = static_cast<BandButton>(button);
    const int records = input.Choice(2) % (kMostRecords + 1);
    const auto adjust = static_cast<std::int8_t>(input.Choice(3));
    const std::vector<std::string>& replies = input.Replies();

    const std::int64_t record =
        command == Command::ProductQuicklook ? ProductBand(button).Line : kLineBytes;
    const Bytes file =
        records == 0 ? Bytes(input.File().begin(), input.File().end())
                     : fuzz::Repeated(input.File(), static_cast<std::size_t>(std::max<std::int64_t>(
                                                        0, records * record + adjust)));

    // What the command is asked for, to leave out quicklooks too large for a fast run.
    const std::string lineText = Reply(replies, command == Command::HrpQuicklook ? 1 : 0);
    const std::optional<std::int64_t> line = ReadableLine(lineText, static_cast<std::int64_t>(file.size()));
    const std::optional<std::int16_t> interval = ReadSamplingInterval(Reply(replies, 0));
    std::int64_t lines = 0;
    Layout layout;
    if (command == Command::HrpQuicklook) {
        lines = line == 1 ? file[24] * 256 + file[23] : 0;
        layout = HrpBand(button);
    } else if (command == Command::ProductQuicklook) {
        lines = file.size() >= 2 ? WordAt(file, 0) : 0;
        layout = ProductBand(button);
    }
    if (command != Command::LineCut && interval) {
        const auto [rows, cols] = QuicklookShape(lines, *interval);
        if (rows <= kMostHeaderRows && rows * cols > kMostQuicklookPixels) {
            return 0;
        }
    }

    const auto folder = fuzz::FreshRunFolder();
    const auto path = folder / "pass.hrp";
    fuzz::WriteFile(path, file);
    const fuzz::NamedFile output =
        fuzz::NameFile(outputKind, folder, path, "product.out", kLongerFileBytes);
    const auto datPath = folder / "line.cal";
    const int openBefore = testing::OpenFiles();

    SwathlyState state;
    state.InputChosen = inputChosen;
    state.InputPath = path.string();
    state.OutputChosen = outputChosen;
    state.OutputPath = output.Path.string();
    state.DatChosen = datChosen;
    state.DatPath = datPath.string();
    testing::ScriptedDialogs dialogs;
    testing::FakeMainView form1;
    MemoryCanvas waitArea = qiv::testing::WaitArea();

    bool done = false;
    bool headerRead = false;
    bool expectDone = false;
    const bool ready = inputChosen && outputChosen;
    switch (command) {
        case Command::HrpQuicklook: {
            done = ShowOutcome(
                HrpQuicklook(state, Reply(replies, 0), lineText, band, dialogs, form1, waitArea),
                dialogs);
            headerRead = ready && interval && !output.IsInput && line;
            const std::int64_t rows = QuicklookShape(lines, interval.value_or(1)).first;
            expectDone = headerRead && line == 1 && rows <= kMostHeaderRows && output.CanBeWritten;
            break;
        }
        case Command::ProductQuicklook: {
            done = ShowOutcome(ProductQuicklook(state, Reply(replies, 0), band, waitArea), dialogs);
            expectDone = ready && interval && output.CanBeWritten;
            break;
        }
        case Command::LineCut: {
            for (std::size_t i = 1; i < replies.size(); ++i) {
                dialogs.Answer(replies[i]);
            }
            done = ShowOutcome(CutLineRange(state, lineText, dialogs, form1, waitArea), dialogs);
            headerRead = ready && !output.IsInput && line;
            const auto start = ReadTyped<std::int16_t>(Reply(replies, 1));
            const auto end = ReadTyped<std::int16_t>(Reply(replies, 2));
            const std::int64_t available =
                (static_cast<std::int64_t>(file.size()) + kLineBytes - 1) / kLineBytes;
            const std::int64_t count =
                start && end ? std::min<std::int64_t>(*end, available) - *start + 1 : 0;
            expectDone = headerRead && start && *start >= 1 && end && *end >= *start && count > 0 &&
                         output.CanBeWritten;
            if (expectDone && done) {
                CheckCut(fuzz::FileBytes(output.Path).value_or(Bytes{}), output.Before, file, *line,
                         *start, count);
            }
            break;
        }
    }

    Require(done == expectDone, expectDone ? "the command refused what it must carry out"
                                           : "the command carried out what it must refuse");
    if (!done) {
        fuzz::RequireUnchanged(output, "a refused command wrote its output");
        Require(!dialogs.Messages.empty(), "a refused command said nothing");
        Require(state.OutputChosen == outputChosen, "a refused command changed OutputChosen");
    } else if (command != Command::LineCut) {
        const Bytes expected =
            fuzz::WrittenInPlace(output.Before, QuicklookBytes(file, layout, lines, *interval));
        Require(fuzz::FileBytes(output.Path) == expected,
                "the quicklook of " + Text(lines) + " lines at interval " + Text(*interval) +
                    " does not hold the samples of its band under its header");
        const auto [rows, cols] = QuicklookShape(lines, *interval);
        Require(!state.OutputChosen && state.QuicklookRows == rows && state.QuicklookCols == cols,
                "a quicklook did not clear OutputChosen or record its size");
    } else {
        Require(state.OutputChosen, "the cut cleared OutputChosen");
    }
    if (command != Command::LineCut) {
        Require(state.SamplingInterval == interval.value_or(0),
                "SamplingInterval is not the usable interval typed");
    }
    Require(fuzz::FileBytes(datPath).has_value() == (datChosen && headerRead),
            "the calibration file must be written exactly when a header was read");
    Require(form1.Shown.size() == (headerRead ? 1u : 0u),
            "the header boxes must show exactly the header read");
    Require(fuzz::FileBytes(path) == file, "the command changed the input file");
    Require(testing::OpenFiles() == openBefore, "the command left a file open");
    Require(waitArea.Texts().empty(), "the wait notice stayed after the command");
    return 0;
}

}  // namespace
}  // namespace qiv::swathly

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    return qiv::swathly::RunProductCommands({data, size});
}
