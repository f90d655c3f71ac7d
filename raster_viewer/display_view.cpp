#include "display_view.h"

namespace qiv::rastel {

void ShowDisplayWindow(const ViewerState& state, DisplayView& display) {
    display.ShowSized(state.ScreenHeight, state.ScreenWidth);
}

std::string_view ToggleOrientation(ViewerState& state) {
    if (state.Orientation == kFalse) {
        state.Orientation = kTrue;
        return kUpsideDownCaption;
    }
    state.Orientation = kFalse;
    return kUprightCaption;
}

}  // namespace qiv::rastel
