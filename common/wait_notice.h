// The wait notice that both programs print into the small picture area of their main window
// before a long loop, and clear after it.
#pragma once

#include <cstdint>
#include <string_view>

#include "canvas.h"

namespace qiv {

inline constexpr std::string_view kRastelWaitMessage = "Αναμονή !!!";
inline constexpr std::string_view kSwathlyWaitMessage = "Please wait!!!";

// kind 1 prints the message (without clearing first), kind 2 clears the area, any other kind
// does nothing.
void WaitNotice(Canvas& area, std::int16_t kind, std::string_view message);

}  // namespace qiv
