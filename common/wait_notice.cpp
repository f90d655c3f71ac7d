#include "wait_notice.h"

namespace qiv {

void WaitNotice(Canvas& area, std::int16_t kind, std::string_view message) {
    if (kind == 1) {
        area.PrintLine(message);
        // The caller's loop blocks the event loop: the notice must reach the screen now.
        area.Flush();
    } else if (kind == 2) {
        area.Clear();
        area.Flush();
    }
}

}  // namespace qiv
