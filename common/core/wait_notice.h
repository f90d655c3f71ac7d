// The wait notice that both programs print into the small picture area of their main window
// before a long loop, and clear after it.
#pragma once

#include <string_view>

#include "common/core/canvas.h"

namespace qiv {

// Prints the message into the area for as long as the object lives, and clears the area when
// it goes, whichever way the long work ends:
//
//     {
//         const WaitNotice notice(waitArea, kWaitMessage);  // of the program's texts file
//         ... the long loop, with as many early returns as it needs ...
//     }
//
// The message is printed at the print position without clearing first, so a notice made while
// another one is shown prints a second line below it.
class WaitNotice {
public:
    WaitNotice(Canvas& area, std::string_view message);
    ~WaitNotice();
    WaitNotice(const WaitNotice&) = delete;
    WaitNotice& operator=(const WaitNotice&) = delete;

private:
    Canvas& area_;
};

}  // namespace qiv
