// The help panel that both programs show from their main window: a window of its own into
// which a fixed text is printed line by line.
#pragma once

#include <span>
#include <string_view>

#include "common/core/canvas.h"

namespace qiv {

// What differs between the programs' help windows. Sizes and places are design-time twips;
// the button's place is relative to the client area.
struct HelpWindowLayout {
    std::string_view Caption;
    std::string_view ReturnCaption;
    Colour Background = kWhite;
    int ClientWidth = 0;
    int ClientHeight = 0;
    int ButtonLeft = 0;
    int ButtonTop = 0;
    int ButtonWidth = 0;
    int ButtonHeight = 0;
};

// Clears the area and prints every line of the text into it from the top, so that asking for
// help again shows the text once, never twice.
void PrintHelp(Canvas& area, std::span<const std::string_view> lines);

}  // namespace qiv
