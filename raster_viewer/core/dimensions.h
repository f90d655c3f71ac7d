// The image dimensions: typed by the user ("Βάλε Γραμμές, Στήλες"), read from the four-byte
// dimension header ("Διάβασε Header") or written into it ("Δημιούργησε Header").
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "common/core/dialogs.h"
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
// as the dimensions. Returns the new caption of Label2, or no value when it refused (no file
// chosen, the file cannot be opened or holds fewer than four bytes): then nothing changed.
std::optional<std::string> ReadHeader(ViewerState& state, Dialogs& dialogs);

// Writes the dimensions over the first four bytes of the image file (created when missing),
// leaving every other byte as it was. Refuses, writing nothing, when no file is chosen or a
// dimension does not fit a signed 16-bit field.
void WriteHeader(const ViewerState& state, Dialogs& dialogs);

}  // namespace qiv::rastel
