// The one place where what Rastel_Qiv says in Greek becomes English for qivtool. Swathly_Qiv
// speaks English already; its words for a failed file serve both programs here.
#pragma once

#include <string>
#include <string_view>

#include "common/core/failure.h"

namespace qiv::qivtool {

// A fixed message text of Rastel_Qiv in English; any other text comes back unchanged.
std::string English(std::string_view rastelText);

// What went wrong with a file, in English.
std::string EnglishFor(const Failure& failure);

}  // namespace qiv::qivtool
