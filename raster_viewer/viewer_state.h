// Everything Rastel_Qiv knows about the current image, in one record owned by the main window
// and passed by reference to the routines.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "dimension_header.h"

namespace qiv::rastel {

// Per grey level 0..255, the four columns that the histogram pass, the node entry and the plots
// fill and read.
struct LevelTable {
    std::array<std::int32_t, 256> Count{};      // pixels of each level in the image
    std::array<std::int32_t, 256> Equalised{};  // the histogram-equalisation table
    std::array<std::int32_t, 256> Stretched{};  // the default stretch, or the user's node stretch
    std::array<std::int32_t, 256> Plotted{};    // the histogram the last plot drew
    friend bool operator==(const LevelTable&, const LevelTable&) = default;
};

enum class ImageOrientation {
    Upright,
    UpsideDown,
};

struct StretchNode {
    std::int16_t X = 0;
    std::int16_t Y = 0;
};

struct ColourEntry {
    std::int16_t Red = 0;
    std::int16_t Green = 0;
    std::int16_t Blue = 0;
};

struct ViewerState {
    std::int32_t ImageRows = 512;
    std::int32_t ImageCols = 512;
    std::string ImagePath;
    bool FileChosen = false;
    bool TablesReady = false;  // the histogram pass has built Levels since start-up or Close
    DimensionHeader Header;
    LevelTable Levels;
    std::int16_t NodeCount = 0;
    std::array<StretchNode, 101> StretchNodes{};  // rows 0..100: start node, user nodes, end node
    ImageOrientation Orientation = ImageOrientation::Upright;
    std::array<ColourEntry, 257> ColourTable{};
    // Screen size in twips, captured at start-up. Kept in 32 bits so that any screen fits.
    std::int32_t ScreenHeight = 0;
    std::int32_t ScreenWidth = 0;
    std::int32_t SubsetStartRow = 0;
    std::int32_t SubsetRows = 0;
    std::int32_t SubsetStartCol = 0;
    std::int32_t SubsetCols = 0;
    std::string SubsetPath;
};

}  // namespace qiv::rastel
