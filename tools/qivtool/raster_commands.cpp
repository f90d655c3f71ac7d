#include "tools/qivtool/raster_commands.h"

#include <memory>
#include <optional>
#include <span>
#include <sstream>
#include <string>

#include "common/core/binary_file.h"
#include "raster_viewer/core/dimensions.h"
#include "tools/qivtool/english.h"
#include "raster_viewer/core/histogram_pass.h"
#include "raster_viewer/core/node_entry.h"
#include "tools/qivtool/option_dialogs.h"
#include "raster_viewer/core/picture_file.h"
#include "common/core/png_file.h"
#include "raster_viewer/core/raster_file.h"
#include "raster_viewer/core/subset.h"

namespace qiv::qivtool {
namespace {

using rastel::ViewerState;

// The size in bytes of the image file, which must exist and be readable.
Failure InputFileSize(const std::string& path, std::int64_t& bytes) {
    BinaryFile file(FileRole::Input);
    if (Failure failure = file.Open(path, BinaryFile::Mode::Read)) {
        return failure;
    }
    return file.Size(bytes);
}

// The image chosen, with its dimensions from --size or from its dimension header, checked
// against the file: no value (the reason told) when the file cannot be read or does not hold
// a whole image of at least one pixel.
std::optional<ViewerState> ImageState(const RasterImage& image, Console& console) {
    ViewerState state;
    state.ImagePath = image.Path;
    state.FileChosen = true;
    std::int64_t bytes = 0;
    if (Failure failure = InputFileSize(image.Path, bytes)) {
        console.Refuse(EnglishFor(failure));
        return std::nullopt;
    }
    if (image.Size) {
        state.ImageRows = image.Size->first;
        state.ImageCols = image.Size->second;
    } else {
        if (bytes < static_cast<std::int64_t>(kDimensionHeaderSize)) {
            console.Refuse("The image file " + image.Path + " holds " + std::to_string(bytes) +
                           " bytes, too few for a dimension header: give --size ROWS COLS");
            return std::nullopt;
        }
        if (const rastel::CommandOutcome read = rastel::ReadHeader(state); !read.Done()) {
            console.Refuse(EnglishFor(read));
            return std::nullopt;
        }
    }
    if (state.ImageRows < 1 || state.ImageCols < 1) {
        console.Refuse("The image " + image.Path + " would have " +
                       std::to_string(state.ImageRows) + " rows and " +
                       std::to_string(state.ImageCols) + " columns" +
                       (image.Size ? std::string() : " by its dimension header") +
                       ": it needs at least 1 of each; give --size ROWS COLS");
        return std::nullopt;
    }
    rastel::RasterFile raster;
    if (Failure failure = raster.Open(image.Path, state.ImageRows, state.ImageCols)) {
        console.Refuse(EnglishFor(failure));
        return std::nullopt;
    }
    return state;
}

// "Ξεκίνησε", then the node entry when nodes are given: the tables of the image.
bool BuildTables(ViewerState& state, const std::vector<NodeText>& nodes, Console& console) {
    if (const rastel::CommandOutcome pass = rastel::HistogramPass(state, console.WaitArea());
        !pass.Done()) {
        console.Refuse(EnglishFor(pass));
        return false;
    }
    if (nodes.empty()) {
        return true;
    }
    OptionDialogs dialogs;
    dialogs.Reply(std::to_string(nodes.size()));
    for (const NodeText& node : nodes) {
        dialogs.Reply(node.X).Reply(node.Y);
    }
    if (const rastel::CommandOutcome entry = rastel::NodeEntry(state, dialogs); !entry.Done()) {
        console.Refuse(EnglishFor(entry));
        return false;
    }
    return true;
}

// Every output is written from its start: it must never be the image.
bool OutputIsNotTheImage(const std::string& output, const std::string& image, Console& console) {
    if (!SameFile(output, image)) {
        return true;
    }
    console.Refuse(
        EnglishFor(Failure::Details{FileProblem::IsTheInput, FileRole::Output, output, {}}));
    return false;
}

Failure WriteText(const std::string& path, const std::string& text) {
    BinaryFile file(FileRole::Output);
    if (Failure failure = file.Open(path, BinaryFile::Mode::WriteTruncate)) {
        return failure;
    }
    return file.WriteAt(0,
                        std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
}

// The painting's rows straight into the PNG file, with the progress line.
class PngRows : public rastel::RowSink {
public:
    PngRows(PngFile& png, Console& console, std::int64_t rows)
        : png_(png), console_(console), rows_(rows) {}
    Failure TakeRow(std::int64_t row, std::span<const Colour> colours) override {
        if (Failure failure = png_.WriteRow(colours)) {
            return failure;
        }
        console_.Progress(row + 1, rows_);
        return {};
    }

private:
    PngFile& png_;
    Console& console_;
    std::int64_t rows_;
};

}  // namespace

int RunInfo(const InfoOptions& options, Console& console) {
    std::int64_t bytes = 0;
    if (Failure failure = InputFileSize(options.Image.Path, bytes)) {
        return console.Refuse(EnglishFor(failure));
    }

    ViewerState state;
    state.ImagePath = options.Image.Path;
    state.FileChosen = true;
    std::ostream& out = console.Out();
    out << "File: " << options.Image.Path << "\nBytes: " << bytes << '\n';
    if (bytes >= static_cast<std::int64_t>(kDimensionHeaderSize)) {
        if (const rastel::CommandOutcome read = rastel::ReadHeader(state); !read.Done()) {
            return console.Refuse(EnglishFor(read));
        }
        out << "Header rows: " << state.Header.HeaderRows
            << "\nHeader cols: " << state.Header.HeaderCols << '\n';
    } else {
        out << "Header: none, the file is shorter than 4 bytes\n";
    }
    if (options.Image.Size) {
        state.ImageRows = options.Image.Size->first;
        state.ImageCols = options.Image.Size->second;
    } else if (bytes < static_cast<std::int64_t>(kDimensionHeaderSize)) {
        return kDone;
    }
    const std::int64_t needed = std::int64_t{state.ImageRows} * state.ImageCols;
    const bool fits = state.ImageRows >= 1 && state.ImageCols >= 1 && needed <= bytes;
    out << "Rows: " << state.ImageRows << "\nCols: " << state.ImageCols
        << "\nImage bytes: " << (state.ImageRows >= 1 && state.ImageCols >= 1 ? needed : 0)
        << "\nFits: " << (fits ? "yes" : "no") << '\n';
    return kDone;
}

int RunHeader(const HeaderOptions& options, Console& console) {
    // The header is written into an image that exists: a mistyped name must not become a new
    // four-byte file.
    {
        BinaryFile file(FileRole::Input);
        if (Failure failure = file.Open(options.Path, BinaryFile::Mode::Read)) {
            return console.Refuse(EnglishFor(failure));
        }
    }
    ViewerState state;
    state.ImagePath = options.Path;
    state.FileChosen = true;
    state.ImageRows = options.Rows;
    state.ImageCols = options.Cols;
    if (const rastel::CommandOutcome written = rastel::WriteHeader(state); !written.Done()) {
        return console.Refuse(EnglishFor(written));
    }
    return kDone;
}

int RunTables(const TablesOptions& options, Console& console) {
    std::optional<ViewerState> state = ImageState(options.Image, console);
    if (!state) {
        return kRefused;
    }
    if (!options.Output.empty() &&
        !OutputIsNotTheImage(options.Output, state->ImagePath, console)) {
        return kRefused;
    }
    if (!BuildTables(*state, options.Nodes, console)) {
        return kRefused;
    }
    std::ostringstream csv;
    csv << "level,count,equalised,stretched\n";
    const rastel::LevelTable& levels = state->Levels;
    for (int v = 0; v < 256; ++v) {
        csv << v << ',' << levels.Count[v] << ',' << levels.Equalised[v] << ','
            << levels.Stretched[v] << '\n';
    }
    if (options.Output.empty()) {
        console.Out() << csv.str();
        return kDone;
    }
    if (Failure failure = WriteText(options.Output, csv.str())) {
        return console.Refuse(EnglishFor(failure));
    }
    return kDone;
}

int RunRender(const RenderOptions& options, Console& console) {
    std::optional<ViewerState> state = ImageState(options.Image, console);
    if (!state || !OutputIsNotTheImage(options.Output, state->ImagePath, console)) {
        return kRefused;
    }
    // The normal painting reads no table: the pass would change nothing in it.
    if (options.Table != rastel::LevelMapping::Normal &&
        !BuildTables(*state, options.Nodes, console)) {
        return kRefused;
    }
    state->Orientation = options.UpsideDown ? rastel::ImageOrientation::UpsideDown
                                            : rastel::ImageOrientation::Upright;
    const rastel::TimeOfDay timeOfDay =
        options.Seed
            ? rastel::TimeOfDay([seed = static_cast<float>(*options.Seed)] { return seed; })
            : rastel::TimeOfDay(rastel::SystemTimeOfDay);

    PngFile png;
    const PngColours colours =
        options.Colours == rastel::ColourScheme::Grey ? PngColours::Grey : PngColours::Rgb;
    if (Failure failure = png.Open(options.Output, state->ImageCols, state->ImageRows, colours)) {
        return console.Refuse(EnglishFor(failure));
    }
    PngRows sink(png, console, state->ImageRows);
    Failure failure =
        rastel::PaintImageRows(*state, options.Table, options.Colours, sink, timeOfDay);
    if (!failure) {
        failure = png.Finish();
    }
    if (failure) {
        return console.Refuse(EnglishFor(failure));
    }
    return kDone;
}

int RunPlot(const PlotOptions& options, Console& console, const PlotDrawer& draw) {
    std::optional<ViewerState> state = ImageState(options.Image, console);
    if (!state || !OutputIsNotTheImage(options.Output, state->ImagePath, console) ||
        !BuildTables(*state, options.Nodes, console)) {
        return kRefused;
    }
    if (Failure failure = draw(*state, options.Kind, options.Output)) {
        return console.Refuse(EnglishFor(failure));
    }
    return kDone;
}

int RunSubset(const SubsetOptions& options, Console& console) {
    std::optional<ViewerState> state = ImageState(options.Image, console);
    if (!state) {
        return kRefused;
    }
    state->SubsetStartRow = options.StartRow;
    state->SubsetStartCol = options.StartCol;
    state->SubsetRows = options.Rows;
    state->SubsetCols = options.Cols;
    state->SubsetPath = options.Output;
    if (const rastel::CommandOutcome cut = rastel::CutSubset(*state, console.WaitArea());
        !cut.Done()) {
        return console.Refuse(EnglishFor(cut));
    }
    return kDone;
}

}  // namespace qiv::qivtool
