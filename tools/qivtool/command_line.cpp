// This file only reads the command line. Each subcommand is an Add function that declares its
// options and returns what runs it; the work itself is one function over the options in
// raster_commands.h or hrpt_commands.h.
#include "tools/qivtool/command_line.h"

#include <CLI/CLI.hpp>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "avhrr/coefficients.h"
#include "common/core/typed_number.h"
#include "hrpt_tool/core/recording_import.h"
#include "tools/qivtool/console.h"
#include "tools/qivtool/hrpt_commands.h"
#include "tools/qivtool/options.h"
#include "tools/qivtool/raster_commands.h"

namespace qiv::qivtool {
namespace {

// One subcommand: where the command line holds it, and what runs it once its options are read.
struct Subcommand {
    CLI::App* Options = nullptr;
    std::function<int(Console&)> Run;
};

// What the command line gives in a form of its own before it goes into the options: number
// pairs, node texts, and whether --seed was given.
struct Raw {
    std::vector<std::int32_t> Size;
    std::vector<std::int32_t> First;   // --set, --start, --lines
    std::vector<std::int32_t> Second;  // --count
    std::vector<std::string> Nodes;
    double Seed = 0;
    CLI::Option* SeedOption = nullptr;
};

std::optional<std::pair<std::int32_t, std::int32_t>> Pair(const std::vector<std::int32_t>& values) {
    if (values.size() != 2) {
        return std::nullopt;
    }
    return std::pair(values[0], values[1]);
}

std::vector<NodeText> Nodes(const std::vector<std::string>& texts) {
    std::vector<NodeText> nodes;
    for (const std::string& text : texts) {
        const auto comma = text.find(',');
        nodes.push_back({text.substr(0, comma), text.substr(comma + 1)});
    }
    return nodes;
}

// Raw values into each kind of options; options that take none need no Apply of their own.
template <class Options>
void Apply(Options& /*options*/, const Raw& /*raw*/) {}
void Apply(InfoOptions& options, const Raw& raw) {
    options.Image.Size = Pair(raw.Size);
}
void Apply(HeaderOptions& options, const Raw& raw) {
    std::tie(options.Rows, options.Cols) = Pair(raw.First).value_or(std::pair(0, 0));
}
void Apply(TablesOptions& options, const Raw& raw) {
    options.Image.Size = Pair(raw.Size);
    options.Nodes = Nodes(raw.Nodes);
}
void Apply(RenderOptions& options, const Raw& raw) {
    options.Image.Size = Pair(raw.Size);
    options.Nodes = Nodes(raw.Nodes);
    if (raw.SeedOption != nullptr && raw.SeedOption->count() > 0) {
        options.Seed = raw.Seed;
    }
}
void Apply(PlotOptions& options, const Raw& raw) {
    options.Image.Size = Pair(raw.Size);
    options.Nodes = Nodes(raw.Nodes);
}
void Apply(SubsetOptions& options, const Raw& raw) {
    options.Image.Size = Pair(raw.Size);
    std::tie(options.StartRow, options.StartCol) = Pair(raw.First).value_or(std::pair(0, 0));
    std::tie(options.Rows, options.Cols) = Pair(raw.Second).value_or(std::pair(0, 0));
}
void Apply(CutOptions& options, const Raw& raw) {
    std::tie(options.Start, options.End) = Pair(raw.First).value_or(std::pair(0, 0));
}

// Declares a subcommand's options over a record that lives as long as the program; the run
// takes the record once the command line has been read.
template <class Options, class Declare>
Subcommand Add(CLI::App& app, const char* name, const char* description, Declare declare,
               std::function<int(const Options&, Console&)> run) {
    auto held = std::make_shared<std::pair<Options, Raw>>();
    CLI::App* command = app.add_subcommand(name, description);
    declare(*command, held->first, held->second);
    return {command, [held, run](Console& console) {
                Apply(held->first, held->second);
                return run(held->first, console);
            }};
}

// IMAGE and --size ROWS COLS, which every raster subcommand takes.
void AddImage(CLI::App& command, RasterImage& image, Raw& raw) {
    command.add_option("IMAGE", image.Path, "the raster image (8-bit, one byte a pixel)")
        ->required();
    command
        .add_option("--size", raw.Size,
                    "ROWS COLS of the image; without it they come from its dimension header")
        ->expected(2)
        ->check(CLI::Range(1, 2147483647));
}

// --nodes X,Y ...: the replies to the node prompts, in order.
void AddNodes(CLI::App& command, Raw& raw) {
    command
        .add_option("--nodes", raw.Nodes,
                    "X,Y ... the nodes of a stretch through (0,0), the nodes and (255,255), as "
                    "\"Βάλε τιμές Γραμμικού τεντώματος\" takes them")
        ->check(CLI::Validator(
            [](std::string& text) -> std::string {
                const auto comma = text.find(',');
                if (comma == std::string::npos || !WholeNumber(text.substr(0, comma)) ||
                    !WholeNumber(text.substr(comma + 1))) {
                    return "a node is X,Y: two numbers and a comma, not " + text;
                }
                return {};
            },
            "X,Y"));
}

void AddOutput(CLI::App& command, std::string& output, const char* what) {
    command.add_option("-o,--output", output, what)->required();
}

Subcommand AddInfo(CLI::App& app) {
    return Add<InfoOptions>(
        app, "info", "File size, the dimension header as read, and whether the size fits it",
        [](CLI::App& command, InfoOptions& options, Raw& raw) {
            AddImage(command, options.Image, raw);
        },
        RunInfo);
}

Subcommand AddHeader(CLI::App& app) {
    return Add<HeaderOptions>(
        app, "header",
        "Writes the dimension header over the first four bytes of IMAGE itself (\"Δημιούργησε "
        "Header\"). This is the one subcommand that changes its input.",
        [](CLI::App& command, HeaderOptions& options, Raw& raw) {
            command.add_option("IMAGE", options.Path, "the raster image to write the header into")
                ->required();
            command.add_option("--set", raw.First, "ROWS COLS to write, each -32768 to 32767")
                ->expected(2)
                ->required()
                ->check(CLI::Range(-32768, 32767));
        },
        RunHeader);
}

const std::map<std::string, rastel::LevelMapping> kTables{
    {"normal", rastel::LevelMapping::Normal},
    {"equalised", rastel::LevelMapping::Equalised},
    {"stretched", rastel::LevelMapping::Stretched}};
const std::map<std::string, rastel::LevelMapping> kKinds{
    {"normal", rastel::LevelMapping::Normal},
    {"equalised", rastel::LevelMapping::Equalised},
    {"stretched", rastel::LevelMapping::Stretched}};
const std::map<std::string, rastel::ColourScheme> kSchemes{
    {"grey", rastel::ColourScheme::Grey},
    {"continuous", rastel::ColourScheme::ContinuousSlicing},
    {"random", rastel::ColourScheme::RandomSlicing}};
const std::map<std::string, swathly::BandButton> kBands{
    {"1", swathly::BandButton::Band1}, {"2", swathly::BandButton::Band2},
    {"3", swathly::BandButton::Band3}, {"4", swathly::BandButton::Band4},
    {"5", swathly::BandButton::Band5}, {"single", swathly::BandButton::SingleBand}};
const std::map<std::string, QuicklookSource> kSources{{"hrp", QuicklookSource::Hrp},
                                                      {"product", QuicklookSource::Product}};

// One of the words of `words`, any case, as its value; the help lists the words.
template <class Value>
CLI::Validator Choice(const std::map<std::string, Value>& words) {
    std::string listed;
    for (const auto& entry : words) {
        listed += (listed.empty() ? "{" : ",") + entry.first;
    }
    return CLI::CheckedTransformer(words, CLI::ignore_case).description(listed + "}");
}

Subcommand AddTables(CLI::App& app) {
    return Add<TablesOptions>(
        app, "tables",
        "The histogram pass (\"Ξεκίνησε\"): CSV of level,count,equalised,stretched, one row per "
        "level, on stdout or into -o",
        [](CLI::App& command, TablesOptions& options, Raw& raw) {
            AddImage(command, options.Image, raw);
            AddNodes(command, raw);
            command.add_option("-o,--output", options.Output, "the CSV file (default: stdout)");
        },
        RunTables);
}

Subcommand AddRender(CLI::App& app) {
    return Add<RenderOptions>(
        app, "render",
        "The painting of the whole image as PNG, one PNG pixel per image pixel, in the painted "
        "orientation (\"Εικόνα\" menu)",
        [](CLI::App& command, RenderOptions& options, Raw& raw) {
            AddImage(command, options.Image, raw);
            command.add_option("--table", options.Table, "normal, equalised or stretched")
                ->transform(Choice(kTables));
            command.add_option("--colours", options.Colours, "grey, continuous or random")
                ->transform(Choice(kSchemes));
            command.add_flag("--upside-down", options.UpsideDown,
                             "turn the image half round, as the button \"Εικόνα\" does");
            AddNodes(command, raw);
            raw.SeedOption = command.add_option(
                "--seed", raw.Seed,
                "SECONDS: draw the random colours as at this time of day (seconds after "
                "midnight), so that a painting can be made again");
            AddOutput(command, options.Output, "the PNG file");
        },
        RunRender);
}

Subcommand AddPlot(CLI::App& app, const PlotLoader& loadPlot) {
    return Add<PlotOptions>(
        app, "plot", "The histogram plot as the display window draws it, as PNG (\"Ιστόγραμμα\")",
        [](CLI::App& command, PlotOptions& options, Raw& raw) {
            AddImage(command, options.Image, raw);
            command.add_option("--kind", options.Kind, "normal, equalised or stretched")
                ->transform(Choice(kKinds));
            AddNodes(command, raw);
            AddOutput(command, options.Output, "the PNG file");
        },
        [loadPlot](const PlotOptions& options, Console& console) {
            return RunPlot(options, console, loadPlot());
        });
}

Subcommand AddSubset(CLI::App& app) {
    return Add<SubsetOptions>(
        app, "subset", "A rectangle of the image cut into a new raster file (\"Subset\")",
        [](CLI::App& command, SubsetOptions& options, Raw& raw) {
            AddImage(command, options.Image, raw);
            command.add_option("--start", raw.First, "ROW COL: rows above and columns left of it")
                ->expected(2)
                ->required();
            command.add_option("--count", raw.Second, "ROWS COLS of the rectangle")
                ->expected(2)
                ->required();
            AddOutput(command, options.Output, "the new raster file (never shortened)");
        },
        RunSubset);
}

Subcommand AddHrpInfo(CLI::App& app) {
    return Add<HrpInfoOptions>(
        app, "hrp-info",
        "The header fields of a line of an HRP file as Name: value lines, and its calibration "
        "file (\"Display header, Print Data\")",
        [](CLI::App& command, HrpInfoOptions& options, Raw& /*raw*/) {
            command.add_option("FILE", options.Path, "the HRP file")->required();
            command
                .add_option("--line", options.Line, "the line whose header is read (\"Line #\")")
                ->check(CLI::Range(1, 2147483647));
            command.add_option("--calibration", options.Calibration,
                               "the calibration text file to write (\"Enter Output Dat File\")");
            command.add_flag("--json", options.Json,
                             "one JSON object instead of Name: value lines");
        },
        RunHrpInfo);
}

Subcommand AddQuicklook(CLI::App& app) {
    return Add<QuicklookOptions>(
        app, "quicklook",
        "An 8-bit quicklook in the raster format of Rastel_Qiv, from an HRP file or from a CAL, "
        "SST or NDV product",
        [](CLI::App& command, QuicklookOptions& options, Raw& /*raw*/) {
            command.add_option("FILE", options.Path, "the HRP file or the product")->required();
            command.add_option("--from", options.From, "hrp or product")
                ->required()
                ->transform(Choice(kSources));
            command.add_option("--band", options.Band, "1 to 5, or single (SST, NDV; HRP: 3)")
                ->transform(Choice(kBands));
            command.add_option("--step", options.Step, "the sampling interval (\"SamplInter\")")
                ->check(CLI::Range(1, 32767));
            AddOutput(command, options.Output, "the quicklook file (never shortened)");
        },
        RunQuicklook);
}

Subcommand AddCut(CLI::App& app) {
    return Add<CutOptions>(
        app, "cut", "A shorter HRP file that keeps lines START to END (\"Hrp Less Lines\")",
        [](CLI::App& command, CutOptions& options, Raw& raw) {
            command.add_option("FILE", options.Path, "the HRP file")->required();
            command.add_option("--lines", raw.First, "START END, the first and the last line kept")
                ->expected(2)
                ->required();
            command
                .add_option("--line", options.Line, "the line whose header is used (\"Line #\")")
                ->check(CLI::Range(1, 2147483647));
            AddOutput(command, options.Output, "the new HRP file (never shortened)");
        },
        RunCut);
}

Subcommand AddImport(CLI::App& app) {
    return Add<ImportOptions>(
        app, "import",
        "An HRP file from a raw HRPT recording (little- or big-endian 16-bit words, one frame per "
        "scan line, no pass header) or from a NOAA Level 1b file (KLM or POD; HRPT, LAC or FRAC, "
        "with or without the archive's header), its pass header made from the frames or the "
        "records",
        [](CLI::App& command, ImportOptions& options, Raw& /*raw*/) {
            command.add_option("FILE", options.Path, "the raw recording or the Level 1b file")
                ->required();
            command
                .add_option("--year", options.Year,
                            "the year of a raw recording's pass, which its frames lack (needed "
                            "for a recording; a Level 1b file takes its records' own year and "
                            "leaves this aside)")
                ->check(CLI::Range(swathly::kFirstYear, swathly::kLastYear));
            AddOutput(command, options.Output,
                      "the new HRP file (written whole, then put in place of any file so named)");
        },
        RunImport);
}

// The satellites whose calibration is known, by the names --satellite takes.
const std::map<std::string, std::int16_t> kSatellites{{"noaa12", 12},
                                                      {"noaa14", 14},
                                                      {"noaa15", 15},
                                                      {"noaa16", 16},
                                                      {"noaa17", 17},
                                                      {"noaa18", 18},
                                                      {"noaa19", 19},
                                                      {"metopa", avhrr::kMetopA},
                                                      {"metopb", avhrr::kMetopB},
                                                      {"metopc", avhrr::kMetopC}};

Subcommand AddProducts(CLI::App& app) {
    return Add<ProductsOptions>(
        app, "products",
        "The CAL, SST and NDV products of an HRP pass: calibrated albedo and brightness "
        "temperature, sea surface temperature, vegetation index (\"Output (Hrp) --> Cal, Sst, "
        "Ndv\"); the summary on stdout",
        [](CLI::App& command, ProductsOptions& options, Raw& /*raw*/) {
            command.add_option("FILE", options.Path, "the HRP file")->required();
            command
                .add_option("--satellite", options.Satellite,
                            "the satellite, when the pass does not name one it knows")
                ->transform(Choice(kSatellites));
            command.add_flag("--json", options.Json, "the summary as one JSON object");
            AddOutput(command, options.Output,
                      "STEM: writes STEM.cal, STEM.sst and STEM.ndv (each written whole, then put "
                      "in place of any file so named)");
        },
        RunProducts);
}

}  // namespace

int RunQivtool(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
               bool progress, const PlotLoader& loadPlot) {
    CLI::App app(
        "Every routine of Rastel_Qiv and Swathly_Qiv from the command line. Exit status: "
        "0 done, 1 refused (the reason on stderr), 2 bad usage.",
        "qivtool");
    app.require_subcommand(1);
    const std::vector<Subcommand> subcommands{
        AddInfo(app),    AddHeader(app),  AddTables(app),    AddRender(app), AddPlot(app, loadPlot),
        AddSubset(app),  AddHrpInfo(app), AddQuicklook(app), AddCut(app),    AddImport(app),
        AddProducts(app)};
    try {
        // CLI11 takes the arguments last first.
        app.parse(std::vector<std::string>(args.rbegin(), args.rend()));
    } catch (const CLI::ParseError& error) {
        if (error.get_exit_code() == static_cast<int>(CLI::ExitCodes::Success)) {
            return app.exit(error, out, err);  // --help
        }
        err << "qivtool: " << error.what() << "\nRun qivtool --help, or qivtool "
            << "SUBCOMMAND --help, for the options.\n";
        return kBadUsage;
    }
    for (const Subcommand& subcommand : subcommands) {
        if (subcommand.Options->parsed()) {
            Console console("qivtool " + subcommand.Options->get_name(), out, err, progress);
            return subcommand.Run(console);
        }
    }
    return kBadUsage;
}

}  // namespace qiv::qivtool
