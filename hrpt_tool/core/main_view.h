// Form1 of Swathly_Qiv as the routines see it: what a routine must change on the main window
// while it runs, before a later prompt or message. The window implements it; tests record the
// calls. Captions that change only when a command has finished are set by the window from the
// routine's result instead.
#pragma once

#include <string>

#include "hrpt_tool/core/line_record.h"

namespace qiv::swathly {

class MainView {
public:
    virtual ~MainView() = default;

    // The header boxes Text1(0)-Text1(7) and Text1(11)-Text1(13).
    virtual void ShowHeaderTexts(const HeaderTexts& texts) = 0;
    // The user's decimal separator, for the Time Diff box.
    virtual std::string DecimalSeparator() const = 0;
};

}  // namespace qiv::swathly
