// "Subset": cutting a rectangle of the image into a new raster file whose dimension header
// gives the rectangle's rows and columns.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "canvas.h"
#include "dialogs.h"
#include "viewer_state.h"

namespace qiv::rastel {

inline constexpr std::string_view kSubsetOutsideImage =
    "  Η αρχή ή και οι γραμμές στήλες βρίσκονται εκτός εικόνας";
inline constexpr std::string_view kSubsetAskFileName =
    "Δόστε το όνομα του νέου αρχείου που θα δημιουργήσει το Subset";
inline constexpr std::string_view kSubsetBadCounts =
    "  Οι γραμμές και οι στήλες του Subset δεν μπορεί να είναι αρνητικές, και ένα Subset με "
    "γραμμές χρειάζεται τουλάχιστον μία στήλη";
inline constexpr std::string_view kSubsetTooLarge =
    "  Το Subset μπορεί να έχει το πολύ 32767 γραμμές και 32767 στήλες, όσες χωράει το Header";
inline constexpr std::string_view kSubsetOverImage =
    "  Το Subset δεν μπορεί να γραφτεί πάνω στο αρχείο της εικόνας: δόστε όνομα άλλου αρχείου";
inline constexpr std::string_view kSubsetFilter = "All Files|*.*";
// Where the prompts stand on the screen, in twips.
inline constexpr int kSubsetPromptLeft = 100;
inline constexpr int kSubsetPromptTop = 5000;

std::string SubsetWriteFailedMessage(const std::string& path, const std::string& reason);

// SubsetRequest: asks for the first row and column, checks them, asks for the row and column
// counts, checks the rectangle, asks for the name of the new file and cuts the subset into it.
// Every refusal is a message box, and then nothing is written. The subset fields of the state
// keep whatever was typed, also when the request stops half-way. Returns the new caption of
// Label4 (the chosen file name), or no value when it stays as it was.
std::optional<std::string> SubsetRequest(ViewerState& state, Dialogs& dialogs, Canvas& waitArea);

// CutSubset: copies the rectangle of the subset fields row by row from ImagePath into
// SubsetPath and writes the dimension header over the new file's first four bytes. SubsetPath
// is created when missing and never shortened, so the tail of a longer file stays. The image
// is only read. Checks everything it relies on itself (the rectangle, the image file, that
// SubsetPath is not the image) and returns the message of the first problem; nothing is
// written then, except for a write that fails half-way.
std::optional<std::string> CutSubset(const ViewerState& state, Canvas& waitArea);

}  // namespace qiv::rastel
