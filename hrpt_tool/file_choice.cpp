#include "file_choice.h"

#include <optional>
#include <string>

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

bool ChooseInputFile(SwathlyState& state, Dialogs& dialogs) {
    if (state.InputChosen == kTrue) {
        return false;
    }
    const auto path = ChosenName(dialogs);
    if (!path) {
        return false;
    }
    // The choice holds for the whole run, so a name that cannot be read would lock the user
    // out until a restart; it is refused now instead.
    BinaryFile probe;
    if (!probe.Open(*path, BinaryFile::Mode::Read)) {
        dialogs.Message("Cannot open the input file " + *path + ": " + probe.Error());
        return false;
    }
    state.InputPath = *path;
    state.InputChosen = kTrue;
    return true;
}

bool ChooseOutputFile(SwathlyState& state, Dialogs& dialogs) {
    const auto path = ChosenName(dialogs);
    if (!path) {
        return false;
    }
    state.OutputPath = *path;
    state.OutputChosen = kTrue;
    return true;
}

bool ChooseCalibrationFile(SwathlyState& state, Dialogs& dialogs) {
    const auto path = ChosenName(dialogs);
    if (!path) {
        return false;
    }
    if (state.InputChosen == kTrue && SameFile(*path, state.InputPath)) {
        dialogs.Message("The calibration file " + *path +
                        " is the input file. Choose another name.");
        return false;
    }
    state.DatPath = *path;
    state.DatChosen = kTrue;
    return true;
}

}  // namespace qiv::swathly
