#include "common/core/wait_notice.h"

namespace qiv {

WaitNotice::WaitNotice(Canvas& area, std::string_view message) : area_(area) {
    area_.PrintLine(message);
    // The caller's loop blocks the event loop: the notice must reach the screen now.
    area_.Flush();
}

WaitNotice::~WaitNotice() {
    area_.Clear();
    area_.Flush();
}

}  // namespace qiv
