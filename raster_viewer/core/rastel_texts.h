// The fixed texts of Rastel_Qiv that more than one command shows, and the one place where a
// file failure becomes the program's own (Greek) message.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "common/core/failure.h"

namespace qiv::rastel {

inline constexpr std::string_view kNoFileCaption = "Κανένα όνομα αρχείου";
inline constexpr std::string_view kChooseImageFirst = "Βάλε πρώτα το όνομα αρχείου εικόνας";
inline constexpr std::string_view kPressFileButtonFirst = "πάτησε πρώτα το κουμπί -Όνομα Αρχείου-";
inline constexpr std::string_view kPressStartFirst = "πάτησε πρώτα το κουμπί -Ξεκίνησε-";
inline constexpr std::string_view kImageFileFilter = "All Files|*.*|Text Files|*.txt";
inline constexpr std::string_view kSubsetOverImage =
    "  Το Subset δεν μπορεί να γραφτεί πάνω στο αρχείο της εικόνας: δόστε όνομα άλλου αρχείου";

// The message for a failure of the image file (Input) or of the subset file (Output).
std::string MessageFor(const Failure& failure);
// The message for a failure while the dimension header is written into the image file.
std::string HeaderWriteMessage(const Failure& failure);
// The message for a failure while the display window's picture is saved.
std::string PictureWriteMessage(const Failure& failure);

std::string BadDimensionsMessage(std::int32_t rows, std::int32_t cols);
std::string CannotOpenMessage(const std::string& path, const std::string& reason);
std::string ShortFileMessage(const std::string& path, std::int64_t expected, std::int64_t actual);
std::string ReadFailedMessage(const std::string& path, const std::string& reason);
std::string SubsetWriteFailedMessage(const std::string& path, const std::string& reason);
std::string NoRoomForHeaderMessage(const std::string& path, std::int64_t size);

}  // namespace qiv::rastel
