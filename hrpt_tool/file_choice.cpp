#include "file_choice.h"

#include <optional>
#include <string>

#include "binary_file.h"
#include "swathly_texts.h"

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

}  // namespace

std::optional<std::string> ChooseInputFile(SwathlyState& state, Dialogs& dialogs) {
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
    state.InputPath = *path;
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
