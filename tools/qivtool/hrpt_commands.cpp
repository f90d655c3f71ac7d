#include "tools/qivtool/hrpt_commands.h"

#include <array>
#include <cstdio>
#include <optional>
#include <ostream>
#include <string>
#include <utility>

#include "avhrr/level1b.h"
#include "common/core/wait_notice.h"
#include "hrpt_tool/core/file_choice.h"
#include "hrpt_tool/core/level1b_import.h"
#include "hrpt_tool/core/line_cut.h"
#include "hrpt_tool/core/line_header.h"
#include "hrpt_tool/core/products.h"
#include "hrpt_tool/core/quicklook.h"
#include "hrpt_tool/core/recording_import.h"
#include "hrpt_tool/core/swathly_state.h"
#include "hrpt_tool/core/swathly_texts.h"
#include "tools/qivtool/english.h"
#include "tools/qivtool/option_dialogs.h"

namespace qiv::qivtool {
namespace {

using swathly::SwathlyState;

int RefusedBy(const OptionDialogs& dialogs, Console& console) {
    return console.Refuse(dialogs.Messages.empty() ? std::string("the command did not finish")
                                                   : dialogs.Messages.front());
}

// Form1 as the routines see it: the header boxes are kept for printing. Numbers are written
// with the point, whatever the user's locale, so that scripts can read them.
class HeaderBoxes : public swathly::MainView {
public:
    void ShowHeaderTexts(const swathly::HeaderTexts& texts) override { Texts = texts; }
    std::string DecimalSeparator() const override { return "."; }

    swathly::HeaderTexts Texts;
};

// The input and the output through the program's own file choices, answered from the options.
// A raw recording given as the input is taken as it is (the question to import it is answered
// No): qivtool import makes an HRP file of it.
bool ChooseFiles(SwathlyState& state, const std::string& input, const std::string& output,
                 OptionDialogs& dialogs, Console& console) {
    dialogs.File(input).File(output);
    return swathly::ChooseInputFile(state, dialogs, console.WaitArea()) &&
           swathly::ChooseOutputFile(state, dialogs);
}

std::string JsonString(std::string_view text) {
    std::string quoted = "\"";
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            quoted += '\\';
            quoted += c;
        } else if (byte < 0x20) {
            static constexpr char kHex[] = "0123456789abcdef";
            quoted += "\\u00";
            quoted += kHex[byte >> 4];
            quoted += kHex[byte & 0xF];
        } else {
            quoted += c;
        }
    }
    return quoted + '"';
}

// The boxes beside their captions on Form1, in the order of the window.
std::array<std::pair<std::string_view, const std::string*>, 11> Fields(
    const swathly::HeaderTexts& texts) {
    return {{{"Title", &texts.Title},
             {"Sat Id", &texts.SatId},
             {"Month", &texts.Month},
             {"Day", &texts.Day},
             {"Year", &texts.Year},
             {"Hour", &texts.Hour},
             {"Minute", &texts.Minute},
             {"Secs", &texts.Secs},
             {"Time Diff", &texts.TimeDiff},
             {"Rows", &texts.Rows},
             {"Cols", &texts.Cols}}};
}

void PrintHeader(const swathly::HeaderTexts& texts, bool json, std::ostream& out) {
    if (!json) {
        for (const auto& [name, value] : Fields(texts)) {
            out << name << ": " << *value << '\n';
        }
        return;
    }
    out << '{';
    bool first = true;
    for (const auto& [name, value] : Fields(texts)) {
        out << (first ? "" : ", ") << JsonString(name) << ": ";
        first = false;
        // Every box but the title holds a number; a Time Diff that is no finite number reads
        // as a word, which JSON keeps as a string.
        const bool word =
            name == "Title" || *value == "NaN" || *value == "Infinity" || *value == "-Infinity";
        out << (word ? JsonString(*value) : *value);
    }
    out << "}\n";
}

}  // namespace

int RunHrpInfo(const HrpInfoOptions& options, Console& console) {
    SwathlyState state;
    OptionDialogs dialogs;
    dialogs.File(options.Path);
    if (!swathly::ChooseInputFile(state, dialogs, console.WaitArea())) {
        return RefusedBy(dialogs, console);
    }
    if (!options.Calibration.empty()) {
        dialogs.File(options.Calibration);
        if (!swathly::ChooseCalibrationFile(state, dialogs)) {
            return RefusedBy(dialogs, console);
        }
    }
    HeaderBoxes form1;
    if (const swathly::CommandOutcome read =
            swathly::DisplayHeaderAndPrintData(state, std::to_string(options.Line), dialogs, form1);
        !read.Done()) {
        return console.Refuse(EnglishFor(read));
    }
    PrintHeader(form1.Texts, options.Json, console.Out());
    // The header was read; a calibration file that could not be written is told after it.
    if (!dialogs.Messages.empty()) {
        return RefusedBy(dialogs, console);
    }
    return kDone;
}

int RunQuicklook(const QuicklookOptions& options, Console& console) {
    SwathlyState state;
    OptionDialogs dialogs;
    if (!ChooseFiles(state, options.Path, options.Output, dialogs, console)) {
        return RefusedBy(dialogs, console);
    }
    const std::string interval = std::to_string(options.Step);
    HeaderBoxes form1;
    swathly::CommandOutcome written;
    switch (options.From) {
        case QuicklookSource::Hrp:
            written = swathly::HrpQuicklook(state, interval, "1", options.Band, dialogs, form1,
                                            console.WaitArea());
            break;
        case QuicklookSource::Product:
            written = swathly::ProductQuicklook(state, interval, options.Band, console.WaitArea());
            break;
    }
    return written.Done() ? kDone : console.Refuse(EnglishFor(written));
}

int RunCut(const CutOptions& options, Console& console) {
    SwathlyState state;
    OptionDialogs dialogs;
    if (!ChooseFiles(state, options.Path, options.Output, dialogs, console)) {
        return RefusedBy(dialogs, console);
    }
    dialogs.Reply(std::to_string(options.Start)).Reply(std::to_string(options.End));
    HeaderBoxes form1;
    if (const swathly::CommandOutcome cut = swathly::CutLineRange(
            state, std::to_string(options.Line), dialogs, form1, console.WaitArea());
        !cut.Done()) {
        return console.Refuse(EnglishFor(cut));
    }
    return kDone;
}

namespace {

// A NOAA Level 1b file: its records carry their year, so a --year given is left aside.
int RunLevel1bImport(const ImportOptions& options, Console& console) {
    swathly::Level1bImportSummary summary;
    swathly::CommandOutcome imported;
    {
        const WaitNotice notice(console.WaitArea(), swathly::kWaitMessage);
        imported = swathly::ImportLevel1b(options.Path, options.Output, summary);
    }
    if (!imported.Done()) {
        return console.Refuse(EnglishFor(imported));
    }
    console.Out() << swathly::Level1bImportSummaryText(summary, options.Output) << '\n';
    return kDone;
}

}  // namespace

int RunImport(const ImportOptions& options, Console& console) {
    // What the window offers to import, and nothing else: a file that starts with a pass header
    // is an HRP file already.
    BinaryFile input(FileRole::Input);
    if (Failure failure = input.Open(options.Path, BinaryFile::Mode::Read)) {
        return console.Refuse(EnglishFor(failure));
    }
    if (!swathly::StartsWithFrameSync(input)) {
        std::int64_t size = 0;
        std::array<std::uint8_t, static_cast<std::size_t>(avhrr::kLevel1bDetectBytes)> start{};
        const bool read = !input.Size(size) && !input.ReadFilled(0, start);
        const Failure noFrames = input.Fail(FileProblem::NoFrames);
        input.Close();
        if (read && swathly::IsLevel1b(start, size)) {
            return RunLevel1bImport(options, console);
        }
        return console.Refuse(NeitherRecordingNorLevel1b(noFrames));
    }
    input.Close();
    if (options.Year == 0) {
        console.Refuse(kYearNeeded);
        return kBadUsage;
    }
    swathly::ImportSummary summary;
    swathly::CommandOutcome imported;
    {
        const WaitNotice notice(console.WaitArea(), swathly::kWaitMessage);
        imported = swathly::ImportRecording(options.Path, options.Output,
                                            static_cast<std::int16_t>(options.Year), summary);
    }
    if (!imported.Done()) {
        return console.Refuse(EnglishFor(imported));
    }
    console.Out() << swathly::ImportSummaryText(summary, options.Output) << '\n';
    return kDone;
}

namespace {

void PrintProductsJson(const swathly::ProductSummary& s, const swathly::ProductPaths& paths,
                       std::ostream& out) {
    const auto number = [](double value) {
        char text[32];
        std::snprintf(text, sizeof text, "%.3f", value);
        return std::string(text);
    };
    char date[32];
    std::snprintf(date, sizeof date, "%04d-%02d-%02d", s.Year, s.Month, s.Day);
    std::string source;
    switch (s.Source) {
        case swathly::SatelliteSource::Header:
            source = "header";
            break;
        case swathly::SatelliteSource::Address:
            source = "address";
            break;
        case swathly::SatelliteSource::Override:
            source = "named";
            break;
    }
    const double share =
        s.Samples > 0 ? static_cast<double>(s.ClearSeaSamples) / static_cast<double>(s.Samples)
                      : 0.0;
    out << "{\"cal\": " << JsonString(paths.Cal) << ", \"sst\": " << JsonString(paths.Sst)
        << ", \"ndv\": " << JsonString(paths.Ndv) << ", \"satellite\": " << JsonString(s.Satellite)
        << ", \"sat_id\": " << s.SatId << ", \"satellite_from\": " << JsonString(source)
        << ", \"date\": " << JsonString(date)
        << ", \"first_line_seconds\": " << number(s.Times.First)
        << ", \"last_line_seconds\": " << number(s.Times.Last) << ", \"lines\": " << s.Lines
        << ", \"stated_lines\": " << s.StatedLines << ", \"missing_lines\": " << s.MissingLines
        << ", \"lines_3a\": " << s.Lines3A << ", \"lines_3b\": " << s.Lines3B
        << ", \"clear_sea_share\": " << number(share)
        << ", \"filled_lines\": {\"3b\": " << s.FilledLines[0] << ", \"4\": " << s.FilledLines[1]
        << ", \"5\": " << s.FilledLines[2] << "}, \"uncalibrated_lines\": " << s.UncalibratedLines
        << ", \"sst_published\": " << (s.SstPublished ? "true" : "false") << "}\n";
}

}  // namespace

int RunProducts(const ProductsOptions& options, Console& console) {
    if (const swathly::CommandOutcome input = swathly::CheckProductsInput(options.Path);
        !input.Done()) {
        return console.Refuse(EnglishFor(input));
    }
    const swathly::ProductPaths paths =
        swathly::ProductPathsOf(swathly::ProductStem(options.Output));
    const std::optional<std::int16_t> satellite =
        options.Satellite != 0 ? std::optional(options.Satellite) : std::nullopt;
    swathly::ProductSummary summary;
    swathly::CommandOutcome made;
    {
        const WaitNotice notice(console.WaitArea(), swathly::kWaitMessage);
        made = swathly::MakeProducts(options.Path, paths, satellite, summary);
    }
    if (!made.Done()) {
        return console.Refuse(EnglishFor(made));
    }
    if (options.Json) {
        PrintProductsJson(summary, paths, console.Out());
    } else {
        console.Out() << swathly::ProductSummaryText(summary, paths) << '\n';
    }
    return kDone;
}

}  // namespace qiv::qivtool
