// A display window for the tests: Picture1 is an in-memory canvas, and every show, move,
// painting and plot is recorded.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "raster_viewer/core/display_view.h"
#include "common/testing/memory_canvas.h"

namespace qiv::testing {

class FakeDisplayView : public rastel::DisplayView {
public:
    struct Place {
        std::int32_t First = 0;   // height of a show, top of a move
        std::int32_t Second = 0;  // width of a show, left of a move
        friend bool operator==(const Place&, const Place&) = default;
    };

    FakeDisplayView(int width, int height, Colour background = kWhite)
        : Picture1(width, height, background) {}

    void ShowSized(std::int32_t heightTwips, std::int32_t widthTwips) override {
        Shows.push_back({heightTwips, widthTwips});
    }
    void MoveTo(std::int32_t topTwips, std::int32_t leftTwips) override {
        Moves.push_back({topTwips, leftTwips});
    }
    Canvas& Picture() override { return Picture1; }
    void PaintingShown(const rastel::PaintedImage& painting) override {
        Paintings.push_back(painting);
    }
    void PlotShown(std::string_view imagePath) override { Plots.emplace_back(imagePath); }

    MemoryCanvas Picture1;
    std::vector<Place> Shows;
    std::vector<Place> Moves;
    std::vector<rastel::PaintedImage> Paintings;
    std::vector<std::string> Plots;  // the image path of each plot
};

}  // namespace qiv::testing
