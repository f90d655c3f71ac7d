#include "common/ui/startup_report.h"

#include <QByteArray>
#include <QTimer>
#include <QWidget>
#include <QWindow>
#include <cstdio>

namespace qiv {

void ReportStartupWhenShown(QWidget& window) {
    if (qEnvironmentVariable("QIV_REPORT_STARTUP") != QLatin1String("1")) {
        return;
    }
    // A window counts as shown only once the platform has exposed it, which happens inside the
    // event loop; polling keeps this independent of when main() calls show().
    auto* poll = new QTimer(&window);
    poll->setInterval(20);
    QObject::connect(poll, &QTimer::timeout, &window, [poll, &window] {
        const QWindow* handle = window.windowHandle();
        if (!window.isVisible() || handle == nullptr || !handle->isExposed()) {
            return;
        }
        poll->stop();
        poll->deleteLater();
        const QByteArray line = "QIV_STARTUP " + window.objectName().toUtf8() + ' ' +
                                window.windowTitle().toUtf8() + '\n';
        std::fwrite(line.constData(), 1, static_cast<std::size_t>(line.size()), stdout);
        std::fflush(stdout);
    });
    poll->start();
}

}  // namespace qiv
