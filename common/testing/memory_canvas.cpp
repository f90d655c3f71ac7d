#include "common/testing/memory_canvas.h"

namespace qiv {

MemoryCanvas::MemoryCanvas(int width, int height, Colour background)
    : pixels_(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), background),
      surface_(pixels_.data(), width, height, width),
      background_(background) {}

void MemoryCanvas::Clear() {
    surface_.Fill(background_);
    texts_.clear();
    printX_ = 0;
    printY_ = 0;
    ++clears_;
}

void MemoryCanvas::Line(int x0, int y0, int x1, int y1, Colour colour) {
    surface_.Line(x0, y0, x1, y1, colour);
    printX_ = x1;
    printY_ = y1;
}

void MemoryCanvas::Point(int x, int y) {
    surface_.SetPixel(x, y, foreground_);
    printX_ = x;
    printY_ = y;
}

void MemoryCanvas::PrintLine(std::string_view text) {
    texts_.push_back({printX_, printY_, std::string(text)});
    printX_ = 0;
    printY_ += kLineHeight;
}

}  // namespace qiv
