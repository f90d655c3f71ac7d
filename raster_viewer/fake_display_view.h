// A display window for the tests: Picture1 is an in-memory canvas, and every show and move is
// recorded.
#pragma once

#include <cstdint>
#include <vector>

#include "display_view.h"
#include "memory_canvas.h"

namespace qiv::rastel::testing {

class FakeDisplayView : public DisplayView {
public:
    struct Place {
        std::int32_t first = 0;   // height of a show, top of a move
        std::int32_t second = 0;  // width of a show, left of a move
        friend bool operator==(const Place&, const Place&) = default;
    };

    FakeDisplayView(int width, int height, Colour background = kWhite)
        : picture(width, height, background) {}

    void ShowSized(std::int32_t heightTwips, std::int32_t widthTwips) override {
        shows.push_back({heightTwips, widthTwips});
    }
    void MoveTo(std::int32_t topTwips, std::int32_t leftTwips) override {
        moves.push_back({topTwips, leftTwips});
    }
    Canvas& Picture() override { return picture; }

    MemoryCanvas picture;
    std::vector<Place> shows;
    std::vector<Place> moves;
};

}  // namespace qiv::rastel::testing
