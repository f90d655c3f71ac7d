// Everything Rastel_Qiv knows about the current image, in one record owned by the main window
// and passed by reference to the routines.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "dimension_header.h"

namespace qiv::rastel {

using Flag = std::int16_t;
inline constexpr Flag kTrue = -1;
inline constexpr Flag kFalse = 0;

// Per grey level 0..255, four columns (1..4): histogram count, equalised level, stretched
// level, and the working column of the histogram plot.
struct LevelTable {
    std::array<std::array<std::int32_t, 4>, 256> cells{};

    std::int32_t& operator()(int level, int column) { return cells[level][column - 1]; }
    std::int32_t operator()(int level, int column) const { return cells[level][column - 1]; }
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
    Flag FileChosen = kFalse;
    Flag TablesReady = kFalse;
    DimensionHeader Header;
    LevelTable Levels;
    std::int16_t NodeCount = 0;
    std::array<StretchNode, 101> StretchNodes{};  // rows 0..100: start node, user nodes, end node
    Flag Orientation = kFalse;                   // -1 paints the image upside down
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
