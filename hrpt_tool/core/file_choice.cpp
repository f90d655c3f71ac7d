#include "hrpt_tool/core/file_choice.h"

#include <array>
#include <chrono>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>

#include "common/core/binary_file.h"
#include "hrpt_tool/core/level1b_import.h"
#include "hrpt_tool/core/recording_import.h"
#include "hrpt_tool/core/swathly_texts.h"
#include "common/core/typed_number.h"
#include "common/core/wait_notice.h"

namespace qiv::swathly {
namespace {

// The name from the program's file dialog; a cancel or an empty name chooses nothing.
std::optional<std::string> ChosenName(Dialogs& dialogs) {
    auto path = dialogs.ChooseFile(kFileFilter);
    if (path && path->empty()) {
        path.reset();
    }
    return path;
}

// The year a file was last written, to offer as the year of a recording: the decoder writes it
// as the pass comes down.
int WrittenYear(const std::string& path) {
    using namespace std::chrono;
    std::error_code error;
    const auto written = std::filesystem::last_write_time(path, error);
    const auto when = error ? system_clock::now() : file_clock::to_sys(written);
    return static_cast<int>(year_month_day{floor<days>(when)}.year());
}

// The year of a recording, asked again after a text that names none; no value on a cancel.
std::optional<std::int16_t> AskYear(const std::string& recording, Dialogs& dialogs) {
    std::string filled = std::to_string(WrittenYear(recording));
    for (;;) {
        const std::optional<std::string> reply = dialogs.PromptFilled(kYearPrompt, filled);
        if (!reply) {
            return std::nullopt;
        }
        const std::optional<std::int16_t> year = ReadTyped<std::int16_t>(*reply);
        if (year && *year >= kFirstYear && *year <= kLastYear) {
            return year;
        }
        dialogs.Message(kBadYear);
        filled = *reply;
    }
}

// The recording's name with .hrp; a big-endian recording may already be called .hrp, and the
// new file may not be the recording.
std::string SuggestedHrpName(const std::string& recording) {
    std::filesystem::path hrp(recording);
    hrp.replace_extension(".hrp");
    if (hrp == std::filesystem::path(recording)) {
        hrp.replace_filename(hrp.stem().string() + "-imported.hrp");
    }
    return hrp.string();
}

// The name of the new HRP file, asked again, after `isTheFile`, while it names the imported
// file itself (the input is chosen once, so a refusal would leave no second try); no value on a
// cancel.
std::optional<std::string> AskNewFile(const std::string& imported, Dialogs& dialogs,
                                      std::string_view isTheFile) {
    const std::string suggested = SuggestedHrpName(imported);
    for (;;) {
        std::optional<std::string> name = dialogs.ChooseNewFile(kHrpFileFilter, suggested);
        if (!name || name->empty()) {
            return std::nullopt;
        }
        if (!SameFile(*name, imported)) {
            return name;
        }
        dialogs.Message(isTheFile);
    }
}

// The HRP file a recording was imported into, or no value (a failure told) when the user
// declined or cancelled or the import failed.
std::optional<std::string> OfferImport(const std::string& recording, Dialogs& dialogs,
                                       Canvas& waitArea) {
    if (!dialogs.Ask(kImportQuestion)) {
        return std::nullopt;
    }
    const std::optional<std::int16_t> year = AskYear(recording, dialogs);
    if (!year) {
        return std::nullopt;
    }
    std::optional<std::string> output = AskNewFile(recording, dialogs, kNewFileIsRecording);
    if (!output) {
        return std::nullopt;
    }
    ImportSummary summary;
    CommandOutcome imported;
    {
        const WaitNotice notice(waitArea, kWaitMessage);
        imported = ImportRecording(recording, *output, *year, summary);
    }
    if (!ShowOutcome(imported, dialogs)) {
        return std::nullopt;
    }
    dialogs.Message(ImportSummaryText(summary, *output));
    return output;
}

// The HRP file a Level 1b file was imported into, or no value (a failure told) when the user
// declined or cancelled or the import failed. The records carry their year: none is asked.
std::optional<std::string> OfferLevel1bImport(const std::string& level1b, Dialogs& dialogs,
                                              Canvas& waitArea) {
    if (!dialogs.Ask(kLevel1bImportQuestion)) {
        return std::nullopt;
    }
    std::optional<std::string> output = AskNewFile(level1b, dialogs, kNewFileIsLevel1b);
    if (!output) {
        return std::nullopt;
    }
    Level1bImportSummary summary;
    CommandOutcome imported;
    {
        const WaitNotice notice(waitArea, kWaitMessage);
        imported = ImportLevel1b(level1b, *output, summary);
    }
    if (!ShowOutcome(imported, dialogs)) {
        return std::nullopt;
    }
    dialogs.Message(Level1bImportSummaryText(summary, *output));
    return output;
}

// What the file's first bytes and its size say of it as a Level 1b file.
avhrr::Level1bFile Level1bOf(BinaryFile& file) {
    std::int64_t size = 0;
    std::array<std::uint8_t, static_cast<std::size_t>(avhrr::kLevel1bDetectBytes)> start{};
    if (file.Size(size) || file.ReadFilled(0, start)) {
        return {};
    }
    return avhrr::DetectLevel1b(start, size);
}

}  // namespace

std::optional<std::string> ChooseInputFile(SwathlyState& state, Dialogs& dialogs,
                                           Canvas& waitArea) {
    if (state.InputChosen) {
        return std::nullopt;
    }
    const auto path = ChosenName(dialogs);
    if (!path) {
        return std::nullopt;
    }
    // The choice holds for the whole run, so a name that cannot be read would lock the user
    // out until a restart; it is refused now instead.
    BinaryFile probe(FileRole::Input);
    if (Failure failure = probe.Open(*path, BinaryFile::Mode::Read)) {
        dialogs.Message(MessageFor(failure));
        return std::nullopt;
    }
    std::string input = *path;
    if (StartsWithFrameSync(probe)) {
        probe.Close();
        if (std::optional<std::string> imported = OfferImport(*path, dialogs, waitArea)) {
            input = *imported;
        }
    } else if (const avhrr::Level1bFile level1b = Level1bOf(probe);
               level1b.Verdict == avhrr::Level1bVerdict::Recognised) {
        probe.Close();
        // A file the import cannot take is told so at once, instead of a question whose Yes
        // could only be refused; it stays the input all the same.
        if (const std::optional<Refused<Refusal>> refused = Level1bRefusalOf(level1b)) {
            dialogs.Message(MessageFor(*refused));
        } else if (std::optional<std::string> imported =
                       OfferLevel1bImport(*path, dialogs, waitArea)) {
            input = *imported;
        }
    }
    state.InputPath = input;
    state.InputChosen = true;
    return state.InputPath;
}

std::optional<std::string> ChooseOutputFile(SwathlyState& state, Dialogs& dialogs) {
    const auto path = ChosenName(dialogs);
    if (!path) {
        return std::nullopt;
    }
    state.OutputPath = *path;
    state.OutputChosen = true;
    return state.OutputPath;
}

std::optional<std::string> ChooseCalibrationFile(SwathlyState& state, Dialogs& dialogs) {
    const auto path = ChosenName(dialogs);
    if (!path) {
        return std::nullopt;
    }
    if (state.InputChosen && SameFile(*path, state.InputPath)) {
        dialogs.Message(CalibrationIsInputMessage(*path));
        return std::nullopt;
    }
    state.DatPath = *path;
    state.DatChosen = true;
    return state.DatPath;
}

}  // namespace qiv::swathly
