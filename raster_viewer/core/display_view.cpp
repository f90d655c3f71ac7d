#include "raster_viewer/core/display_view.h"

namespace qiv::rastel {

void ShowDisplayWindow(const ViewerState& state, DisplayView& display) {
    display.ShowSized(state.ScreenHeight, state.ScreenWidth);
}

std::string_view ToggleOrientation(ViewerState& state) {
    switch (state.Orientation) {
        case ImageOrientation::Upright:
            state.Orientation = ImageOrientation::UpsideDown;
            return kUpsideDownCaption;
        case ImageOrientation::UpsideDown:
            state.Orientation = ImageOrientation::Upright;
            return kUprightCaption;
    }
    return kUprightCaption;
}

}  // namespace qiv::rastel
