#include "tools/qivtool/plot_drawing.h"

#include <QCoreApplication>
#include <QFontMetrics>
#include <QGuiApplication>

#include <cstdio>
#include <memory>
#include <span>

#include "raster_viewer/core/display_view.h"
#include "common/ui/image_canvas.h"
#include "raster_viewer/core/picture_file.h"
#include "common/ui/text.h"

namespace qiv::qivtool {
namespace {

// The display window as the plot sees it: a picture and nothing to show or move.
class PlotPicture : public rastel::DisplayView {
public:
    explicit PlotPicture(ImageCanvas& picture) : picture_(picture) {}
    void ShowSized(std::int32_t, std::int32_t) override {}
    void MoveTo(std::int32_t, std::int32_t) override {}
    Canvas& Picture() override { return picture_; }
    void PaintingShown(const rastel::PaintedImage&) override {}
    void PlotShown(std::string_view) override {}

private:
    ImageCanvas& picture_;
};

// Texts need Qt's font rendering: an application of the offscreen platform unless the caller
// has one already (or asks for another platform).
std::unique_ptr<QGuiApplication> FontsAtHand() {
    if (QCoreApplication::instance() != nullptr) {
        return nullptr;
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    // Qt's notes about the session it starts in (no runtime folder, no display) are nothing the
    // user of a command can act on; stderr is for the command's own messages.
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& message) {
        if (type == QtCriticalMsg || type == QtFatalMsg) {
            std::fprintf(stderr, "%s\n", qPrintable(message));
        }
    });
    static int argc = 1;
    static char name[] = "qivtool";
    static char* argv[] = {name, nullptr};
    return std::make_unique<QGuiApplication>(argc, argv);
}

}  // namespace

Failure DrawPlotPng(rastel::ViewerState& state, rastel::LevelMapping kind,
                    const std::string& output) {
    const std::unique_ptr<QGuiApplication> application = FontsAtHand();
    ImageCanvas canvas;
    const QFontMetrics metrics(QGuiApplication::font());
    const int titleWidth = metrics.horizontalAdvance(ToQString(rastel::PlotTitle(kind)));
    canvas.SetSize(QSize(280 + titleWidth + 10, 260 + metrics.height() + 10));
    PlotPicture display(canvas);
    rastel::PlotHistogram(state, kind, display);

    const QImage& image = canvas.Image();
    const rastel::PictureRows rows{
        image.width(), image.height(), [&image](std::int64_t y) {
            return std::span<const Colour>(
                reinterpret_cast<const Colour*>(image.constScanLine(static_cast<int>(y))),
                static_cast<std::size_t>(image.width()));
        }};
    return rastel::WritePicturePng(rows, output);
}

}  // namespace qiv::qivtool
