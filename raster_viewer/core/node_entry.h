// Entry of stretch nodes (Td1): the user's own piecewise-linear stretch replaces column 3 of
// LevelTable between the fixed end nodes (0, 0) and (255, 255).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "common/core/dialogs.h"
#include "raster_viewer/core/rastel_outcome.h"
#include "raster_viewer/core/viewer_state.h"

namespace qiv::rastel {

inline constexpr int kNodePromptX = 10;    // twips
inline constexpr int kNodePromptY = 5000;  // twips
inline constexpr std::int16_t kMostNodes = 99;

// Asks for the number of nodes and each node's X and Y, then rebuilds column 3 segment by
// segment through (0, 0), the nodes in the order typed, and (255, 255).
//
// A reply must be one number (blanks around it allowed); it is rounded halves to even and held
// at the 16-bit limits when it lies beyond them. A count of 0 or less is stored and ends the
// entry. A count above 99 is refused (TooManyNodes). A reply that is not a number (empty,
// cancelled, text) ends the entry, and then nothing changes.
CommandOutcome NodeEntry(ViewerState& state, Dialogs& dialogs);

// Step 5 of the entry on its own: column 3 from StretchNodes rows 0 .. NodeCount + 1. Segments
// whose X does not increase are skipped; only the levels 0..255 inside a segment are written.
void StretchFromNodes(ViewerState& state);

}  // namespace qiv::rastel
