// Fuzz target over the header display of Swathly_Qiv ("Display header, Print Data"): the header
// read of a fuzzed "Line #" from a fuzzed HRP file (short, odd lengths, garbage headers), the
// header boxes, and the calibration print into a fuzzed choice of calibration file name.
//
// Input (fuzz_support.h), choices:
//   byte 0   bit 0     no input file chosen
//            bit 1     a calibration file is chosen
//            bits 2-4  its name (fuzz::PathKind)
//            bit 5     an output file is chosen too
//   byte 1   the HRP file's length in whole lines, 0..4 (taken modulo 5): with 0 the file is the
//            input's file bytes as they are; otherwise those bytes repeated to that many lines
//   byte 2   added to that length, -128..127 bytes: a last line cut short or begun
// then the replies (the text of "Line #") and the file bytes.
//
// Beside the sanitizers it checks: a line is read exactly when it is 1 or more and the file
// holds its first 204 bytes; then the boxes show the header's fields as stored (the title up to
// its first zero byte, the line count from its two bytes, a Time Diff text that reads back as
// the value), the state holds the line's blocks and position, and the calibration file is 33
// CR LF lines of those blocks' values in their columns; a refusal says so once and changes
// nothing; the calibration print never writes the input, under any of its names; the input is
// unchanged and every file closed.
#include <algorithm>
#include <array>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "hrpt_tool/testing/fake_main_view.h"
#include "fuzz/fuzz_support.h"
#include "hrpt_tool/core/line_header.h"
#include "hrpt_tool/core/line_record.h"
#include "common/testing/open_files.h"
#include "common/testing/scripted_dialogs.h"
#include "fuzz/swathly_rules.h"
#include "hrpt_tool/core/swathly_state.h"
#include "hrpt_tool/core/swathly_texts.h"

namespace qiv::swathly {
namespace {

using fuzz::Broken;
using fuzz::Bytes;
using fuzz::Require;
using fuzz::Text;
using fuzz::WordAt;

constexpr std::size_t kMostInputBytes = 4096;
constexpr std::size_t kChoiceBytes = 3;
constexpr int kMostLines = 4;
constexpr std::size_t kLongerFileBytes = 4000;  // longer than any calibration file

// What a header read leaves in the state; the header record as its bytes, so that a Time Diff
// that is no number compares equal to itself.
struct HeaderRead {
    std::array<std::uint8_t, kLineHeaderBytes> Record{};
    std::array<std::int16_t, 3> TelemetryTriple{};
    BackScanBlock BackScan{};
    SpaceViewBlock SpaceView{};
    std::int64_t FilePos = 0;
    std::int32_t LineCount = 0;
    std::int32_t HeaderLine = 0;
    friend bool operator==(const HeaderRead&, const HeaderRead&) = default;
};

HeaderRead HeaderReadOf(const SwathlyState& s) {
    return {EncodeLineHeader(s.LineHeader),
            s.TelemetryTriple,
            s.BackScan,
            s.SpaceView,
            s.FilePos,
            s.LineCount,
            s.HeaderLine};
}

// The record and blocks of the line, where the layout puts them.
HeaderRead ExpectedRead(const Bytes& file, std::int64_t line) {
    const std::int64_t start = (line - 1) * kLineBytes;
    HeaderRead read;
    std::copy_n(file.begin() + static_cast<std::ptrdiff_t>(start), kLineHeaderBytes,
                read.Record.begin());
    for (int i = 0; i < 3; ++i) {
        read.TelemetryTriple[i] = WordAt(file, start + 33 + 2 * i);
    }
    for (int run = 0; run < 3; ++run) {
        for (int i = 0; i < 10; ++i) {
            read.BackScan[run][i] = WordAt(file, start + 44 + 20 * run + 2 * i);
        }
    }
    for (int run = 0; run < 5; ++run) {
        for (int i = 0; i < 10; ++i) {
            read.SpaceView[run][i] = WordAt(file, start + 104 + 20 * run + 2 * i);
        }
    }
    read.FilePos = start + kCalibrationEnd + 1;
    read.LineCount = file[start + 24] * 256 + file[start + 23];
    read.HeaderLine = static_cast<std::int32_t>(line);
    return read;
}

// The code points of a UTF-8 text, or no value when it is not UTF-8.
std::optional<std::vector<std::uint32_t>> CodePoints(std::string_view text) {
    std::vector<std::uint32_t> points;
    for (std::size_t i = 0; i < text.size();) {
        const auto lead = static_cast<std::uint8_t>(text[i]);
        const int extra = lead < 0x80 ? 0 : (lead & 0xE0) == 0xC0 ? 1 : -1;
        if (extra < 0 || i + extra >= text.size()) {
            return std::nullopt;
        }
        std::uint32_t point = extra == 0 ? lead : lead & 0x1F;
        for (int k = 1; k <= extra; ++k) {
            const auto next = static_cast<std::uint8_t>(text[i + k]);
            if ((next & 0xC0) != 0x80) {
                return std::nullopt;
            }
            point = (point << 6) | (next & 0x3F);
        }
        points.push_back(point);
        i += 1 + extra;
    }
    return points;
}

void CheckTexts(const HeaderTexts& texts, const Bytes& file, std::int64_t line) {
    const std::int64_t start = (line - 1) * kLineBytes;
    std::vector<std::uint32_t> title;
    for (int i = 0; i < 8 && file[start + i] != 0; ++i) {
        title.push_back(file[start + i]);
    }
    Require(CodePoints(texts.Title) == title,
            "the title box does not show the stored characters up to the first zero byte");
    const std::string* words[] = {&texts.SatId, &texts.Month,  &texts.Day, &texts.Year,
                                  &texts.Hour,  &texts.Minute, &texts.Secs};
    for (int i = 0; i < 7; ++i) {
        Require(*words[i] == Text(WordAt(file, start + 8 + 2 * i)),
                "header box " + Text(i + 1) + " shows \"" + *words[i] + "\"");
    }
    Require(texts.Rows == Text(file[start + 24] * 256 + file[start + 23]) && texts.Cols == "2048",
            "the Rows and Cols boxes show " + texts.Rows + " and " + texts.Cols);

    double timeDiff = 0.0;
    std::memcpy(&timeDiff, file.data() + start + 25, sizeof timeDiff);
    const std::string& shown = texts.TimeDiff;
    if (std::isnan(timeDiff) || std::isinf(timeDiff)) {
        Require(shown == (std::isnan(timeDiff) ? "NaN"
                          : timeDiff < 0       ? "-Infinity"
                                               : "Infinity"),
                "Time Diff of no number shows \"" + shown + "\"");
        return;
    }
    // The text has at most 15 significant digits: it lies within half a unit of the 15th of
    // the value. It is read in extended precision, since near the largest double the 15 digits
    // round beyond it.
    long double back = 0.0L;
    std::string plain = shown;
    std::replace(plain.begin(), plain.end(), 'E', 'e');
    const auto [end, error] = std::from_chars(plain.data(), plain.data() + plain.size(), back);
    Require(error == std::errc{} && end == plain.data() + plain.size() && shown.size() <= 22,
            "Time Diff shows \"" + shown + "\", not a number");
    Require(std::fabs(back - timeDiff) <= std::fabs(static_cast<long double>(timeDiff)) * 6e-15L,
            "Time Diff shows \"" + shown + "\", which is not the value to 15 digits");
}

// The numbers of one line of the calibration file, each a sign position, digits and a blank.
std::vector<std::int64_t> Numbers(std::string_view line) {
    std::vector<std::int64_t> numbers;
    std::size_t i = 0;
    while (i < line.size()) {
        if (line[i] == ' ' && (i + 1 == line.size() || line[i + 1] == ' ')) {
            ++i;
            continue;
        }
        const bool negative = line[i] == '-';
        std::size_t digits = i + 1;
        std::int64_t value = 0;
        const auto [end, error] =
            std::from_chars(line.data() + digits, line.data() + line.size(), value);
        const auto after = static_cast<std::size_t>(end - line.data());
        const bool digitFirst = digits < line.size() && line[digits] >= '0' && line[digits] <= '9';
        if ((line[i] != ' ' && !negative) || !digitFirst || error != std::errc{} ||
            after >= line.size() || line[after] != ' ' ||
            (after - digits > 1 && line[digits] == '0')) {
            Broken("the calibration line \"" + std::string(line) + "\" holds a malformed number");
        }
        numbers.push_back(negative ? -value : value);
        i = after + 1;
    }
    return numbers;
}

void CheckCalibrationFile(const Bytes& bytes, const HeaderRead& read) {
    const std::string text(bytes.begin(), bytes.end());
    std::vector<std::string> lines;
    std::size_t at = 0;
    while (at < text.size()) {
        const std::size_t end = text.find("\r\n", at);
        Require(end != std::string::npos, "the calibration file does not end with CR LF");
        lines.push_back(text.substr(at, end - at));
        at = end + 2;
    }
    Require(lines.size() == 33, "the calibration file has " + Text(lines.size()) + " lines");
    for (const std::string& line : lines) {
        Require(line.find_first_not_of(" -0123456789") == std::string::npos,
                "the calibration line \"" + line + "\" holds other characters");
    }
    Require(lines[1] == " " && lines[32] == " ", "lines 2 and 33 are not one blank");
    // Line 1: one value in each 14-column print zone.
    const std::string& zones = lines[0];
    Require(zones.size() > 28, "line 1 ends before its third print zone: \"" + zones + "\"");
    std::vector<std::int64_t> telemetry;
    for (const std::string_view zone :
         {std::string_view(zones).substr(0, 14), std::string_view(zones).substr(14, 14),
          std::string_view(zones).substr(28)}) {
        const std::vector<std::int64_t> numbers = Numbers(zone);
        Require(numbers.size() == 1,
                "a print zone of line 1 does not hold one value: \"" + zones + "\"");
        telemetry.push_back(numbers[0]);
    }
    const auto& t = read.TelemetryTriple;
    Require(telemetry == std::vector<std::int64_t>{t[0], t[1], t[2]},
            "line 1 does not hold the telemetry: \"" + zones + "\"");
    for (int i = 0; i < 10; ++i) {
        const auto& b = read.BackScan;
        Require(Numbers(lines[2 + i]) == std::vector<std::int64_t>{b[0][i], b[1][i], b[2][i]},
                "line " + Text(3 + i) + " does not hold the back-scan values");
        const auto& s = read.SpaceView;
        Require(
            Numbers(lines[12 + 2 * i]) == std::vector<std::int64_t>{s[0][i], s[1][i], s[2][i]} &&
                Numbers(lines[13 + 2 * i]) == std::vector<std::int64_t>{s[3][i], s[4][i]},
            "lines " + Text(13 + 2 * i) + " and " + Text(14 + 2 * i) +
                " do not hold the space-view values");
    }
}

int RunHeaderDisplay(std::span<const std::uint8_t> data) {
    if (data.size() > kMostInputBytes) {
        return 0;
    }
    const fuzz::FuzzInput input(data, kChoiceBytes);
    const bool inputChosen = (input.Choice(0) & 1) == 0;
    const bool datChosen = (input.Choice(0) & 2) != 0;
    const fuzz::PathKind datKind =
        fuzz::PathKindOf(static_cast<std::uint8_t>(input.Choice(0) >> 2));
    const bool outputChosen = (input.Choice(0) & 0x20) != 0;
    const int lines = input.Choice(1) % (kMostLines + 1);
    const auto adjust = static_cast<std::int8_t>(input.Choice(2));
    const std::string lineText = input.Replies().empty() ? "" : input.Replies()[0];

    const auto folder = fuzz::FreshRunFolder();
    const auto path = folder / "pass.hrp";
    const Bytes file =
        lines == 0 ? Bytes(input.File().begin(), input.File().end())
                   : fuzz::Repeated(input.File(), static_cast<std::size_t>(std::max<std::int64_t>(
                                                      0, lines * kLineBytes + adjust)));
    fuzz::WriteFile(path, file);
    const fuzz::NamedFile dat = fuzz::NameFile(datKind, folder, path, "line.cal", kLongerFileBytes);
    const int openBefore = testing::OpenFiles();

    SwathlyState state;
    state.InputChosen = inputChosen;
    state.InputPath = path.string();
    state.DatChosen = datChosen;
    state.DatPath = dat.Path.string();
    state.OutputChosen = outputChosen;
    state.OutputPath = (folder / "out.img").string();
    const HeaderRead before = HeaderReadOf(state);
    testing::ScriptedDialogs dialogs;
    testing::FakeMainView form1;

    const bool read =
        ShowOutcome(DisplayHeaderAndPrintData(state, lineText, dialogs, form1), dialogs);

    const std::optional<std::int64_t> line =
        ReadableLine(lineText, static_cast<std::int64_t>(file.size()));
    if (!inputChosen || !line) {
        Require(!read && dialogs.Messages.size() == 1 && form1.Shown.empty(),
                "a header read without an input, or of a line the file does not hold, must be "
                "refused once and show nothing");
        Require(inputChosen || dialogs.Messages[0] == kEnterFileNameFirst,
                "a header read without an input must ask for the file name");
        Require(HeaderReadOf(state) == before, "a refused header read changed the state");
        fuzz::RequireUnchanged(dat, "a refused header read wrote the calibration file");
    } else {
        Require(read && form1.Shown.size() == 1, "line " + Text(*line) + " was not read");
        const HeaderRead expected = ExpectedRead(file, *line);
        Require(HeaderReadOf(state) == expected,
                "the state does not hold the header record, blocks and position of line " +
                    Text(*line));
        CheckTexts(form1.Shown[0], file, *line);
        const bool printed = datChosen && dat.CanBeWritten;
        Require(dialogs.Messages.size() == (datChosen && !printed ? 1u : 0u),
                "the calibration print must be refused (once) exactly when it cannot be written");
        if (printed) {
            const std::optional<Bytes> calibration = fuzz::FileBytes(dat.Path);
            Require(calibration.has_value(), "the calibration file was not written");
            CheckCalibrationFile(*calibration, expected);
        } else {
            fuzz::RequireUnchanged(dat, "the calibration print wrote where it must not");
        }
    }
    Require(fuzz::FileBytes(path) == file, "the header display changed the input file");
    Require(testing::OpenFiles() == openBefore, "the header display left a file open");
    return 0;
}

}  // namespace
}  // namespace qiv::swathly

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    return qiv::swathly::RunHeaderDisplay({data, size});
}
