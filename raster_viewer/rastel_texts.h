// Fixed texts of Rastel_Qiv that more than one command shows.
#pragma once

#include <string_view>

namespace qiv::rastel {

inline constexpr std::string_view kNoFileCaption = "Κανένα όνομα αρχείου";
inline constexpr std::string_view kChooseImageFirst = "Βάλε πρώτα το όνομα αρχείου εικόνας";
inline constexpr std::string_view kPressFileButtonFirst = "πάτησε πρώτα το κουμπί -Όνομα Αρχείου-";
inline constexpr std::string_view kImageFileFilter = "All Files|*.*|Text Files|*.txt";

}  // namespace qiv::rastel
