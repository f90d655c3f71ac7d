// Every sentence Rastel_Qiv shows in a message box or a prompt, and the one place where a
// command's outcome (a refusal or a file failure) becomes the program's own (Greek) message.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "common/core/dialogs.h"
#include "common/core/failure.h"
#include "raster_viewer/core/rastel_outcome.h"
#include "raster_viewer/core/viewer_state.h"

namespace qiv::rastel {

inline constexpr std::string_view kNoFileCaption = "Κανένα όνομα αρχείου";
inline constexpr std::string_view kChooseImageFirst = "Βάλε πρώτα το όνομα αρχείου εικόνας";
inline constexpr std::string_view kPressFileButtonFirst = "πάτησε πρώτα το κουμπί -Όνομα Αρχείου-";
inline constexpr std::string_view kPressStartFirst = "πάτησε πρώτα το κουμπί -Ξεκίνησε-";
inline constexpr std::string_view kImageFileFilter = "All Files|*.*|Text Files|*.txt";
inline constexpr std::string_view kSubsetOverImage =
    "  Το Subset δεν μπορεί να γραφτεί πάνω στο αρχείο της εικόνας: δόστε όνομα άλλου αρχείου";
inline constexpr std::string_view kWaitMessage = "Αναμονή !!!";

// The prompts of "Βάλε Γραμμές, Στήλες".
inline constexpr std::string_view kRowsPrompt = "Βάλε αριθμό Γραμμών";
inline constexpr std::string_view kColsPrompt = "Βάλε αριθμό Στηλών";

// The title drawn above each histogram plot.
std::string_view PlotTitle(LevelMapping kind);

// The node entry (Td1): its prompts and its refusal. The X prompt has a Greek capital chi, the
// Y prompt a Latin Y; each is followed by the node's number.
inline constexpr std::string_view kNodeCountPrompt = "Βάλε αριθμό κόμβων";
inline constexpr std::string_view kTooManyNodes =
    "Επιτρέπονται το πολύ 99 κόμβοι. Οι τιμές γραμμικού τεντώματος δεν άλλαξαν.";
std::string NodeXPrompt(int node);
std::string NodeYPrompt(int node);

// "Subset": its prompts, the question before the file dialog, and its refusals.
inline constexpr std::string_view kSubsetStartRowPrompt = "βάλε γραμμή αρχής";
inline constexpr std::string_view kSubsetStartColPrompt = "βάλε στήλη αρχής";
inline constexpr std::string_view kSubsetRowsPrompt = "βάλε αριθμό γραμμών";
inline constexpr std::string_view kSubsetColsPrompt = "βάλε αριθμό στηλών";
inline constexpr std::string_view kSubsetOutsideImage =
    "  Η αρχή ή και οι γραμμές στήλες βρίσκονται εκτός εικόνας";
inline constexpr std::string_view kSubsetAskFileName =
    "Δόστε το όνομα του νέου αρχείου που θα δημιουργήσει το Subset";
inline constexpr std::string_view kSubsetBadCounts =
    "  Οι γραμμές και οι στήλες του Subset δεν μπορεί να είναι αρνητικές, και ένα Subset με "
    "γραμμές χρειάζεται τουλάχιστον μία στήλη";
inline constexpr std::string_view kSubsetTooLarge =
    "  Το Subset μπορεί να έχει το πολύ 32767 γραμμές και 32767 στήλες, όσες χωράει το Header";
inline constexpr std::string_view kSubsetFilter = "All Files|*.*";

// The message for an outcome that is not done: a refusal, or a failure of the image file
// (Input), of its dimension header (Header: written, or too short to read) or of the subset
// file (Output).
std::string MessageFor(const CommandOutcome& outcome);
std::string MessageFor(const Failure& failure);
std::string MessageFor(Refused<Refusal> refused);
// Shows the message of an outcome that is not done; true when it was done.
bool ShowOutcome(const CommandOutcome& outcome, Dialogs& dialogs);
// The message for a failure while the display window's picture is saved.
std::string PictureWriteMessage(const Failure& failure);

std::string BadDimensionsMessage(std::int64_t rows, std::int64_t cols);
std::string BeyondHeaderMessage(std::int64_t rows, std::int64_t cols);
std::string CannotOpenMessage(const std::string& path, const std::string& reason);
std::string ShortFileMessage(const std::string& path, std::int64_t expected, std::int64_t actual);
std::string ReadFailedMessage(const std::string& path, const std::string& reason);
std::string SubsetWriteFailedMessage(const std::string& path, const std::string& reason);
std::string NoRoomForHeaderMessage(const std::string& path, std::int64_t size);

}  // namespace qiv::rastel
