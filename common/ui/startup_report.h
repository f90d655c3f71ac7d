// Lets a script tell that an installed program really starts: with QIV_REPORT_STARTUP=1 in the
// environment, the program prints one line "QIV_STARTUP <objectName> <title>" (UTF-8) on standard
// output once its main window is on screen. Without the variable nothing changes.
#pragma once

class QWidget;

namespace qiv {

// Call from main() after the main window was created; the window may be shown before or after.
void ReportStartupWhenShown(QWidget& window);

}  // namespace qiv
