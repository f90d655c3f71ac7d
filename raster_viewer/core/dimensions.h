// The image dimensions: typed by the user ("Βάλε Γραμμές, Στήλες"), read from the four-byte
// dimension header ("Διάβασε Header") or written into it ("Δημιούργησε Header").
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "common/core/dialogs.h"
#include "raster_viewer/core/rastel_outcome.h"
#include "raster_viewer/core/viewer_state.h"

namespace qiv::rastel {

// A number as the captions show it: a blank before zero and positive numbers, the minus sign
// before negative ones, no grouping (512 -> " 512", -7 -> "-7").
std::string NumberText(std::int32_t value);
// The caption of Label2 after the dimensions have changed: rows, " , ", columns.
std::string DimensionCaption(const ViewerState& state);

// Asks for the rows and then the columns; an empty, cancelled or non-numeric reply gives 0.
// A number beyond the 32-bit range is held at the nearest 32-bit limit, which the commands
// that read the image then refuse. Returns the new caption of Label2.
std::string SetDimensions(ViewerState& state, Dialogs& dialogs);

// Reads HeaderRows and HeaderCols from the first four bytes of the image file and takes them
// as the dimensions; the new caption of Label2 is then DimensionCaption. Refuses (NoImageChosen)
// or fails (the file cannot be opened, or it holds fewer than four bytes: a TooShort of its
// Header) without changing anything.
CommandOutcome ReadHeader(ViewerState& state);

// Writes the dimensions over the first four bytes of the image file (created when missing),
// leaving every other byte as it was. Refuses, writing nothing, when no file is chosen
// (NoImageChosen) or a dimension does not fit a signed 16-bit field (BeyondHeader). A failure
// to open or write is one of the file's Header.
CommandOutcome WriteHeader(const ViewerState& state);

}  // namespace qiv::rastel
