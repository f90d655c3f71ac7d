// The options of each qivtool subcommand, as the command line gives them. Every subcommand is one
// function over its options (raster_commands.h, hrpt_commands.h) that returns the exit status.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "hrpt_tool/core/quicklook_image.h"
#include "raster_viewer/core/histogram_plot.h"
#include "raster_viewer/core/paint_image.h"

namespace qiv::qivtool {

inline constexpr int kDone = 0;
inline constexpr int kRefused = 1;   // a routine refused; its message is on stderr
inline constexpr int kBadUsage = 2;  // the command line itself is wrong

// The raster image every raster subcommand reads: its dimensions come from the image's
// dimension header unless --size gives them.
struct RasterImage {
    std::string Path;
    std::optional<std::pair<std::int32_t, std::int32_t>> Size;  // rows, columns
};

// One stretch node "X,Y" as the two replies typed into the node prompts.
struct NodeText {
    std::string X;
    std::string Y;
};

struct InfoOptions {
    RasterImage Image;
};

struct HeaderOptions {
    std::string Path;
    std::int32_t Rows = 0;
    std::int32_t Cols = 0;
};

struct TablesOptions {
    RasterImage Image;
    std::vector<NodeText> Nodes;
    std::string Output;  // empty: stdout
};

struct RenderOptions {
    RasterImage Image;
    rastel::LevelMapping Table = rastel::LevelMapping::Normal;
    rastel::ColourScheme Colours = rastel::ColourScheme::Grey;
    bool UpsideDown = false;
    std::vector<NodeText> Nodes;
    std::optional<double> Seed;  // the time of day (seconds) the random colours are drawn from
    std::string Output;
};

struct PlotOptions {
    RasterImage Image;
    rastel::LevelMapping Kind = rastel::LevelMapping::Normal;
    std::vector<NodeText> Nodes;
    std::string Output;
};

struct SubsetOptions {
    RasterImage Image;
    std::int32_t StartRow = 0;
    std::int32_t StartCol = 0;
    std::int32_t Rows = 0;
    std::int32_t Cols = 0;
    std::string Output;
};

struct HrpInfoOptions {
    std::string Path;
    std::int32_t Line = 1;
    std::string Calibration;  // empty: no calibration file
    bool Json = false;
};

enum class QuicklookSource {
    Hrp,      // "Output from (Hrp) --> Qlk"
    Product,  // "Output (CAL, SST, NDV) --> Qlk "
};

struct QuicklookOptions {
    std::string Path;
    QuicklookSource From = QuicklookSource::Hrp;
    swathly::BandButton Band = swathly::BandButton::SingleBand;
    std::int32_t Step = 5;
    std::string Output;
};

struct CutOptions {
    std::string Path;
    std::int32_t Start = 0;
    std::int32_t End = 0;
    std::int32_t Line = 1;
    std::string Output;
};

struct ImportOptions {
    std::string Path;  // the raw recording or the Level 1b file
    // The year a recording was made in, which its frames do not carry; 0 when not given. A Level
    // 1b file's records carry their own.
    std::int32_t Year = 0;
    std::string Output;
};

// "Output (Hrp) --> Cal, Sst, Ndv".
struct ProductsOptions {
    std::string Path;    // the HRP file
    std::string Output;  // the stem: STEM.cal, STEM.sst, STEM.ndv (a .cal ending is taken off)
    std::int16_t Satellite = 0;  // the SatId the user names; 0: the pass's own
    bool Json = false;
};

}  // namespace qiv::qivtool
