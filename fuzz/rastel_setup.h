// How the fuzz targets over Rastel_Qiv open their image file and set its dimensions.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "common/testing/scripted_dialogs.h"
#include "fuzz/fuzz_support.h"
#include "raster_viewer/core/dimensions.h"
#include "raster_viewer/core/file_commands.h"
#include "raster_viewer/core/rastel_texts.h"
#include "raster_viewer/core/viewer_state.h"

namespace qiv::rastel {

inline constexpr std::int32_t kScreenHeightTwips = 11520;
inline constexpr std::int32_t kScreenWidthTwips = 15360;

// Where the dimensions come from: the low two bits of a target's first choice byte.
enum class DimensionSource { Typed, Header, StartUp, TypedNoFile };

struct ImageOpened {
    std::size_t RepliesUsed = 0;               // the typed rows and columns
    std::optional<std::string> HeaderCaption;  // what ReadHeader returned, when it read
};

// Starts `state` up, gives `dialogs` the replies in turn, opens the image file at `path` unless
// `source` chooses no file, and sets the dimensions the way `source` says.
inline ImageOpened OpenImageAsChosen(ViewerState& state, testing::ScriptedDialogs& dialogs,
                                     const std::vector<std::string>& replies,
                                     DimensionSource source, const std::filesystem::path& path) {
    StartUp(state, kScreenHeightTwips, kScreenWidthTwips);
    for (const std::string& reply : replies) {
        dialogs.Answer(reply);
    }
    if (source != DimensionSource::TypedNoFile) {
        dialogs.File(path.string());
        fuzz::Require(OpenImage(state, dialogs) == path.string(), "the image was not opened");
    }
    ImageOpened opened;
    switch (source) {
        case DimensionSource::Typed:
        case DimensionSource::TypedNoFile:
            (void)SetDimensions(state, dialogs);
            opened.RepliesUsed = 2;
            break;
        case DimensionSource::Header:
            // As the window does: the message of a refusal, the caption of a read.
            if (ShowOutcome(ReadHeader(state), dialogs)) {
                opened.HeaderCaption = DimensionCaption(state);
            }
            break;
        case DimensionSource::StartUp:
            break;
    }
    return opened;
}

}  // namespace qiv::rastel
