// Everything Rastel_Qiv knows about the current image, in one record owned by the main window
// and passed by reference to the routines.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "common/core/dimension_header.h"

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

// Which table a painting or a histogram plot takes each grey level through: none (the level
// itself), the equalisation table or the stretch.
enum class LevelMapping : std::int16_t {
    Normal = 1,     // Px1 "Κανονική", Hs1 "Κανονικό"
    Equalised = 2,  // Px2 "Εξισωμένη", Hs2 "Εξισωμένο"
    Stretched = 3,  // Px3 "Γραμμικά τεντωμένη", Hs3 "Γραμμικό τέντωμα"
};

// The LevelTable column of a mapping; none for Normal.
inline std::array<std::int32_t, 256>* MappingColumn(LevelTable& levels, LevelMapping mapping) {
    switch (mapping) {
        case LevelMapping::Normal:
            return nullptr;
        case LevelMapping::Equalised:
            return &levels.Equalised;
        case LevelMapping::Stretched:
            return &levels.Stretched;
    }
    return nullptr;
}
inline const std::array<std::int32_t, 256>* MappingColumn(const LevelTable& levels,
                                                          LevelMapping mapping) {
    return MappingColumn(const_cast<LevelTable&>(levels), mapping);
}

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
    // The cut points of the default stretch of the last pass: LowCut is the first level from 1
    // on whose cumulative fraction reaches 0.1, HighCut the first one whose fraction exceeds
    // 0.9 (Stretched[LowCut] is 10, Stretched[HighCut] 245).
    std::int16_t LowCut = 0;
    std::int16_t HighCut = 0;
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
