// Fuzz target over the image commands of Rastel_Qiv: a fuzzed raster file with fuzzed
// dimensions (typed, read from its header, the start-up 512 x 512, or typed with no file chosen),
// the histogram pass, node entry with fuzzed replies, painting in every mode, colour scheme and
// orientation into a picture of fuzzed size, and the three histogram plots.
//
// Input (fuzz_support.h), choices:
//   byte 0   bits 0-1  where the dimensions come from: 0 typed (the first two replies), 1 the
//                      file's header, 2 the start-up values, 3 typed with no file chosen
//            bit 2     node entry after the pass, answered by the replies left
//   byte 1   width of the display window's picture, 0..63 pixels
//   byte 2   its height, 0..63 pixels
// then the replies and the image file.
//
// Beside the sanitizers it checks, after every command: the image file is unchanged and every
// file is closed; a pass builds exactly when the dimensions fit the file, and then its counts
// are the file's and its tables stay in 0..255; a refusal says so once and changes nothing;
// node entry writes only what its segments cover, between their end values; every painted
// pixel has the colour of its byte through the table and scheme, at the place the orientation
// gives, every other pixel keeps its colour, and only the entries above 255 of the levels in
// the image are lowered; a plot counts every pixel once.
#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "common/core/dimension_header.h"
#include "raster_viewer/testing/fake_display_view.h"
#include "fuzz/fuzz_support.h"
#include "raster_viewer/core/histogram_pass.h"
#include "raster_viewer/core/histogram_plot.h"
#include "common/testing/memory_canvas.h"
#include "raster_viewer/core/node_entry.h"
#include "common/testing/open_files.h"
#include "raster_viewer/core/paint_image.h"
#include "fuzz/rastel_setup.h"
#include "raster_viewer/core/rastel_texts.h"
#include "common/testing/scripted_dialogs.h"
#include "common/core/typed_number.h"

namespace qiv::rastel {
namespace {

using fuzz::Broken;
using fuzz::Bytes;
using fuzz::Require;
using fuzz::Text;
using fuzz::WordAt;

// Inputs are read whole into the run folder; beyond this a campaign only slows down.
constexpr std::size_t kMostInputBytes = 4096;
constexpr std::size_t kChoiceBytes = 3;
constexpr int kPictureSizes = 64;
// The random colours start from this time of day, so that a run can be repeated.
constexpr float kTimeOfDay = 45296.25f;
// The picture's background: no scheme paints this colour, so a stray pixel shows.
constexpr Colour kUnpainted = MakeColour(1, 2, 3);

using Column = std::array<std::int32_t, 256>;
using Levels = std::array<bool, 256>;

// What the harness knows of the image: the file, and the dimensions in force.
struct Image {
    Bytes File;
    std::int32_t Rows = 0;
    std::int32_t Cols = 0;
    bool Chosen = false;

    bool HasPixels() const { return Rows >= 1 && Cols >= 1; }
    std::int64_t Pixels() const { return std::int64_t{Rows} * Cols; }
    // The commands can read the whole image.
    bool Readable() const {
        return Chosen && HasPixels() && Pixels() <= static_cast<std::int64_t>(File.size());
    }
    Levels Present() const {
        Levels present{};
        for (std::int64_t i = 0; i < Pixels(); ++i) {
            present[File[static_cast<std::size_t>(i)]] = true;
        }
        return present;
    }
};

std::vector<Colour> PixelsOf(const MemoryCanvas& picture) {
    std::vector<Colour> pixels;
    pixels.reserve(static_cast<std::size_t>(picture.Width()) *
                   static_cast<std::size_t>(picture.Height()));
    for (int y = 0; y < picture.Height(); ++y) {
        for (int x = 0; x < picture.Width(); ++x) {
            pixels.push_back(picture.At(x, y));
        }
    }
    return pixels;
}

void CheckHeaderRead(const std::optional<std::string>& caption, const ViewerState& state,
                     const Bytes& file, const testing::ScriptedDialogs& dialogs) {
    if (file.size() < kDimensionHeaderSize) {
        Require(!caption && dialogs.Messages.size() == 1,
                "a file of fewer than four bytes must be refused once");
        Require(state.ImageRows == 512 && state.ImageCols == 512,
                "a refused header read changed the dimensions");
        return;
    }
    Require(caption.has_value() && dialogs.Messages.empty(), "the header read was refused");
    Require(state.ImageRows == WordAt(file, 0) && state.ImageCols == WordAt(file, 2),
            "the dimensions read are " + Text(state.ImageRows) + " x " + Text(state.ImageCols) +
                ", the header holds " + Text(WordAt(file, 0)) + " x " + Text(WordAt(file, 2)));
}

void RequireInRange(const Column& column, const char* name) {
    for (int v = 0; v < 256; ++v) {
        if (column[v] < 0 || column[v] > 255) {
            Broken(std::string(name) + " of level " + Text(v) + " is " + Text(column[v]));
        }
        if (v > 0 && column[v] < column[v - 1]) {
            Broken(std::string(name) + " falls from level " + Text(v - 1) + " to " + Text(v));
        }
    }
}

void CheckPass(const CommandOutcome& result, const ViewerState& state, const Image& image,
               const testing::ScriptedDialogs& dialogs) {
    if (!image.Readable()) {
        Require(!result.Done() && !state.TablesReady,
                "the pass built tables from an image it cannot read whole");
        Require(dialogs.Messages.size() == 1, "a refused pass must say so once");
        Require(state.Levels == LevelTable{}, "a refused pass changed the tables");
        return;
    }
    Require(result.Done() && state.TablesReady && dialogs.Messages.empty(),
            "the pass did not build the tables of a readable image");
    Column counts{};
    for (std::int64_t i = 0; i < image.Pixels(); ++i) {
        ++counts[image.File[static_cast<std::size_t>(i)]];
    }
    Require(state.Levels.Count == counts, "the histogram is not the file's");
    RequireInRange(state.Levels.Equalised, "the equalised level");
    RequireInRange(state.Levels.Stretched, "the stretched level");
    Require(state.Levels.Equalised[255] == 255, "the equalisation does not end at 255");
    Require(state.Levels.Stretched[0] == 0, "the stretch does not start at 0");
    Require(
        1 <= state.LowCut && state.LowCut <= state.HighCut && state.HighCut <= 255,
        "the cut points " + Text(state.LowCut) + ", " + Text(state.HighCut) + " are out of order");
    Require(state.Levels.Stretched[state.LowCut] == 10, "LowCut does not stretch to 10");
    Require(state.HighCut == state.LowCut || state.Levels.Stretched[state.HighCut] == 245,
            "HighCut does not stretch to 245");
}

// The node entry as the replies ask for it: the number of nodes and, when every reply is one
// number, the nodes; no value when the entry must change nothing.
struct NodeRequest {
    std::int16_t Count = 0;
    std::vector<StretchNode> Nodes;
};

std::optional<std::int16_t> NodeNumber(const std::vector<std::string>& replies, std::size_t at) {
    if (at >= replies.size()) {
        return std::nullopt;
    }
    const std::optional<double> number = WholeNumber(replies[at]);
    if (!number) {
        return std::nullopt;
    }
    return ToWidthSaturated<std::int16_t>(*number);
}

std::optional<NodeRequest> NodeRequestOf(const std::vector<std::string>& replies,
                                         std::size_t first) {
    const auto count = NodeNumber(replies, first);
    if (!count || *count > kMostNodes) {
        return std::nullopt;
    }
    NodeRequest request{*count, {}};
    for (int n = 0; n < *count; ++n) {
        const auto x = NodeNumber(replies, first + 1 + 2 * n);
        const auto y = NodeNumber(replies, first + 2 + 2 * n);
        if (!x || !y) {
            return std::nullopt;
        }
        request.Nodes.push_back({*x, *y});
    }
    return request;
}

// Every level takes its value from the last segment of increasing X that covers it: the end
// values at the segment's ends and values between them inside; a level no such segment covers
// keeps its value.
void CheckNodeEntry(const ViewerState& before, const ViewerState& after,
                    const std::vector<std::string>& replies, std::size_t first) {
    const std::optional<NodeRequest> request = NodeRequestOf(replies, first);
    if (!request) {
        Require(after.Levels == before.Levels && after.NodeCount == before.NodeCount,
                "a node entry that was not a list of numbers (or of more than 99 nodes) "
                "changed the stretch");
        return;
    }
    Require(after.NodeCount == request->Count, "the node count is not the one typed");
    if (request->Count <= 0) {
        Require(after.Levels == before.Levels, "a node count of 0 or less changed the stretch");
        return;
    }
    std::vector<StretchNode> nodes{{0, 0}};
    nodes.insert(nodes.end(), request->Nodes.begin(), request->Nodes.end());
    nodes.push_back({255, 255});
    for (int k = 0; k < 256; ++k) {
        const std::int32_t value = after.Levels.Stretched[k];
        std::optional<std::size_t> last;
        for (std::size_t i = 0; i + 1 < nodes.size(); ++i) {
            if (nodes[i].X < nodes[i + 1].X && nodes[i].X <= k && k <= nodes[i + 1].X) {
                last = i;
            }
        }
        if (!last) {
            if (value != before.Levels.Stretched[k]) {
                Broken("level " + Text(k) + " lies in no segment but changed");
            }
            continue;
        }
        const StretchNode from = nodes[*last];
        const StretchNode to = nodes[*last + 1];
        const bool inside = std::min(from.Y, to.Y) <= value && value <= std::max(from.Y, to.Y);
        const bool atEnd = (k == from.X && value != from.Y) || (k == to.X && value != to.Y);
        if (!inside || atEnd) {
            Broken("level " + Text(k) + " stretches to " + Text(value) + " on the segment (" +
                   Text(from.X) + ", " + Text(from.Y) + ") - (" + Text(to.X) + ", " + Text(to.Y) +
                   ")");
        }
    }
    Require(after.Levels.Count == before.Levels.Count &&
                after.Levels.Equalised == before.Levels.Equalised,
            "node entry changed a column other than the stretch");
}

const Column* TransferOf(const LevelTable& levels, LevelMapping mode) {
    switch (mode) {
        case LevelMapping::Normal:
            return nullptr;
        case LevelMapping::Equalised:
            return &levels.Equalised;
        case LevelMapping::Stretched:
            return &levels.Stretched;
    }
    return nullptr;
}

void CheckColourTable(const ViewerState& before, const ViewerState& after, ColourScheme scheme) {
    for (int i = 0; i < 256; ++i) {
        const ColourEntry& e = after.ColourTable[i];
        const int most = scheme == ColourScheme::RandomSlicing ? 254 : 255;
        for (const std::int16_t c : {e.Red, e.Green, e.Blue}) {
            if (c < 0 || c > most) {
                Broken("colour table entry " + Text(i) + " has a component " + Text(c));
            }
        }
    }
    const ColourEntry& first = after.ColourTable[0];
    Require(first.Red == 0 && first.Green == 0 && first.Blue == 0, "level 0 is not black");
    const ColourEntry& last = after.ColourTable[256];
    const ColourEntry& old = before.ColourTable[256];
    Require(last.Red == old.Red && last.Green == old.Green && last.Blue == old.Blue,
            "painting wrote colour table entry 256");
}

// Where the pixel (x, y) of the picture comes from: the 0-based row and column of the image,
// or no value when no image pixel lands there.
std::optional<std::pair<std::int64_t, std::int64_t>> Source(const Image& image, bool upsideDown,
                                                            int x, int y) {
    const std::int64_t r = upsideDown ? std::int64_t{image.Rows} - 1 - y : y - 1;
    const std::int64_t c = upsideDown ? std::int64_t{image.Cols} - 1 - x : x - 1;
    if (r < 0 || c < 0 || r >= image.Rows || c >= image.Cols) {
        return std::nullopt;
    }
    return std::pair{r, c};
}

void CheckPainting(const Failure& failure, LevelMapping mode, ColourScheme scheme,
                   const ViewerState& before, const ViewerState& after, const Image& image,
                   const std::vector<Colour>& pictureBefore, std::size_t showsBefore,
                   const testing::FakeDisplayView& display) {
    const MemoryCanvas& picture = display.Picture1;
    if (image.HasPixels() && !image.Readable()) {
        Require(static_cast<bool>(failure), "painting an image the file cannot hold succeeded");
        Require(display.Shows.size() == showsBefore, "a refused painting showed the window");
        Require(PixelsOf(picture) == pictureBefore, "a refused painting drew");
        Require(after.Levels == before.Levels, "a refused painting changed the tables");
        return;
    }
    Require(!failure, "painting a readable image failed");
    Require(display.Shows.size() == showsBefore + 1 &&
                display.Shows.back() ==
                    testing::FakeDisplayView::Place{kScreenHeightTwips, kScreenWidthTwips} &&
                display.Moves.back() == testing::FakeDisplayView::Place{1, 1},
            "painting did not show the window at the size of the screen, 1 twip from its corner");
    CheckColourTable(before, after, scheme);

    const Column* transfer = TransferOf(before.Levels, mode);
    const bool upsideDown = before.Orientation == ImageOrientation::UpsideDown;
    std::size_t i = 0;
    for (int y = 0; y < picture.Height(); ++y) {
        for (int x = 0; x < picture.Width(); ++x, ++i) {
            const auto source = image.HasPixels() ? Source(image, upsideDown, x, y) : std::nullopt;
            Colour expected = pictureBefore[i];
            if (source) {
                const std::uint8_t v = image.File[static_cast<std::size_t>(
                    source->first * image.Cols + source->second)];
                const std::int32_t level =
                    transfer == nullptr ? v : std::clamp((*transfer)[v], 0, 255);
                const ColourEntry& entry = after.ColourTable[level];
                expected = scheme == ColourScheme::Grey
                               ? MakeColour(level, level, level)
                               : MakeColour(entry.Red, entry.Green, entry.Blue);
            }
            if (picture.At(x, y) != expected) {
                Broken("pixel (" + Text(x) + ", " + Text(y) + ") of an image of " +
                       Text(image.Rows) + " x " + Text(image.Cols) + " in mode " +
                       Text(static_cast<int>(mode)) + ", scheme " + Text(static_cast<int>(scheme)) +
                       (upsideDown ? ", upside down" : "") + " has the wrong colour");
            }
        }
    }

    LevelTable expected = before.Levels;
    if (transfer != nullptr && image.HasPixels()) {
        Column& column = mode == LevelMapping::Equalised ? expected.Equalised : expected.Stretched;
        const Levels present = image.Present();
        for (int v = 0; v < 256; ++v) {
            if (present[v] && column[v] > 255) {
                column[v] = 255;
            }
        }
    }
    Require(after.Levels == expected,
            "painting lowered other table entries than those above 255 of the levels in the "
            "image");
}

void PaintEveryWay(ViewerState& state, const Image& image, testing::FakeDisplayView& display) {
    for (const auto orientation : {ImageOrientation::Upright, ImageOrientation::UpsideDown}) {
        state.Orientation = orientation;
        for (const auto mode :
             {LevelMapping::Normal, LevelMapping::Equalised, LevelMapping::Stretched}) {
            for (const auto scheme : {ColourScheme::Grey, ColourScheme::ContinuousSlicing,
                                      ColourScheme::RandomSlicing}) {
                const ViewerState before = state;
                const std::vector<Colour> pictureBefore = PixelsOf(display.Picture1);
                const std::size_t showsBefore = display.Shows.size();
                const Failure failure =
                    PaintImage(state, mode, scheme, display, [] { return kTimeOfDay; });
                CheckPainting(failure, mode, scheme, before, state, image, pictureBefore,
                              showsBefore, display);
            }
        }
    }
}

void PlotEveryKind(ViewerState& state, const Image& image, testing::FakeDisplayView& display) {
    for (const auto kind :
         {LevelMapping::Normal, LevelMapping::Equalised, LevelMapping::Stretched}) {
        testing::ScriptedDialogs dialogs;
        const std::size_t showsBefore = display.Shows.size();
        ShowOutcome(PlotFromMenu(state, kind, display), dialogs);
        if (!state.TablesReady) {
            Require(dialogs.Messages.size() == 1 && display.Shows.size() == showsBefore,
                    "a plot before the pass must be refused");
            continue;
        }
        std::int64_t plotted = 0;
        for (const std::int32_t count : state.Levels.Plotted) {
            Require(count >= 0, "a plotted count is negative");
            plotted += count;
        }
        Require(plotted == image.Pixels(),
                "the plot counts " + Text(plotted) + " pixels of " + Text(image.Pixels()));
    }
}

int RunImageCommands(std::span<const std::uint8_t> data) {
    if (data.size() > kMostInputBytes) {
        return 0;
    }
    const fuzz::FuzzInput input(data, kChoiceBytes);
    const auto source = static_cast<DimensionSource>(input.Choice(0) & 3);
    const bool enterNodes = (input.Choice(0) & 4) != 0;
    const std::vector<std::string>& replies = input.Replies();

    const auto folder = fuzz::FreshRunFolder();
    const auto path = folder / "image.raw";
    const Bytes file(input.File().begin(), input.File().end());
    fuzz::WriteFile(path, file);
    const int openBefore = testing::OpenFiles();

    ViewerState state;
    testing::ScriptedDialogs dialogs;
    const ImageOpened opened = OpenImageAsChosen(state, dialogs, replies, source, path);
    if (source == DimensionSource::Header) {
        CheckHeaderRead(opened.HeaderCaption, state, file, dialogs);
    }
    MemoryCanvas waitArea = qiv::testing::WaitArea();
    testing::FakeDisplayView display(input.Choice(1) % kPictureSizes,
                                     input.Choice(2) % kPictureSizes, kUnpainted);
    const Image image{file, state.ImageRows, state.ImageCols, state.FileChosen};

    {
        testing::ScriptedDialogs refused;
        ShowOutcome(PaintFromMenu(state, LevelMapping::Normal, ColourScheme::Grey, display),
                    refused);
        Require(refused.Messages.size() == 1 && refused.Messages[0] == kPressStartFirst &&
                    display.Shows.empty(),
                "painting before the pass must be refused");
    }

    {
        testing::ScriptedDialogs passDialogs;
        const int clears = display.Picture1.Clears();
        const CommandOutcome result = Start(state, waitArea, display.Picture1);
        ShowOutcome(result, passDialogs);
        CheckPass(result, state, image, passDialogs);
        Require(display.Picture1.Clears() == clears + 1, "Start did not clear the picture");
        Require(waitArea.Texts().empty(), "the wait notice stayed after the pass");
    }

    if (enterNodes) {
        const ViewerState before = state;
        const std::size_t messages = dialogs.Messages.size();
        ShowOutcome(NodeEntry(state, dialogs), dialogs);
        CheckNodeEntry(before, state, replies, opened.RepliesUsed);
        Require(dialogs.Messages.size() <= messages + 1, "node entry showed several messages");
    }

    PaintEveryWay(state, image, display);
    PlotEveryKind(state, image, display);

    Require(fuzz::FileBytes(path) == file, "a command changed the image file");
    Require(testing::OpenFiles() == openBefore, "a command left a file open");
    return 0;
}

}  // namespace
}  // namespace qiv::rastel

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    return qiv::rastel::RunImageCommands({data, size});
}
