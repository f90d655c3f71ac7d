// Form1 of Rastel_Qiv as the routines see it: what a routine must change on the main window
// while it runs, before a later message. The window implements it; tests record the calls.
// Captions that change only when a command has finished are returned by the routines instead.
#pragma once

#include <string_view>

namespace qiv::rastel {

class MainView {
public:
    virtual ~MainView() = default;

    // Label4: the file the last subset was written to.
    virtual void ShowSubsetPath(std::string_view path) = 0;
};

}  // namespace qiv::rastel
