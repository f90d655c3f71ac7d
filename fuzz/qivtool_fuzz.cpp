// Fuzz target over qivtool's command line: an argument vector made of fuzzed words, run in
// process by RunQivtool with a work folder as the working directory, over an input file of
// fuzzed bytes, into a fuzzed choice of output name.
//
// Input (fuzz_support.h), choices:
//   byte 0   the subcommand put first, one of kSubcommands (taken modulo 11; 10 puts none, so
//            that the replies start the command line)
//   byte 1   bit 0     the input's name, "in", follows the subcommand
//            bits 1-2  the output at the end: none, -o NAME, --output=NAME, --calibration NAME
//            bits 3-5  that NAME (fuzz::PathKind: "out", an "out" 1000 bytes longer than the
//                      input, "in" under its other names, a name in a missing folder, the work
//                      folder)
//            bit 6     stderr is a terminal: the progress line shows
//   byte 2   the input's length in whole units, 0..10 (taken modulo 11): 22180-byte lines for the
//            HRPT subcommands, 400 bytes for the raster ones; with 0 the file is the input's file
//            bytes as they are, otherwise those bytes repeated to that length
//   byte 3   added to that length, -128..127 bytes
// then the replies, one word of the command line each, and the file bytes.
//
// Rules of the target, not of qivtool, that keep every run inside its folders and fast:
// - a command line with a '/' in a fuzzed word is not run, so that every name it gives lies in
//   the work folder ("." and ".." name folders, which no subcommand can write); the names the
//   target makes itself may hold one;
// - raster images are read from files of at most 4127 bytes, so that no image the command
//   line can ask for has more pixels than that;
// - a quicklook is not run when its input states more than kMostQuicklookLines lines (bytes
//   23-24 of an HRP file, the first word of a product; both when --from cannot be told), so
//   that no quicklook has more than 65536 pixels;
// - `plot` draws nothing: its module, which needs Qt, is left out, and the drawer refuses as
//   the program's does when the module cannot be loaded.
//
// Beside the sanitizers it checks: the status is 0, 1 or 2; 2 (a wrong command line) prints
// "qivtool: " and its reason on stderr, nothing on stdout, and writes nothing; 1 (a refusal)
// prints "qivtool SUBCOMMAND: " and its reason as the last line of stderr, and writes nothing,
// since every refusal is decided before an output is opened (only a write that fails half-way,
// a full disk say, which no input here can cause, would leave part of an output in place, as in
// the programs); 0 with the help printed writes nothing; otherwise 0 writes exactly the one file
// the subcommand writes (none for info, at most one for tables and hrp-info): for header the
// first four bytes of an image that exists and nothing else; for tables a CSV of 257 lines; for
// render a PNG; for subset and quicklook a raster file of the rows and columns of its header and
// for cut an HRP file of the lines its header states, each in place of the old bytes with the
// tail of a longer old file kept; for import a whole HRP file of the lines its header states;
// for hrp-info a calibration file of 33 CR LF lines. The input is never written but by header,
// no file is left behind or removed, the folder around the work folder and a file in it stay
// as they were, the progress line is taken away again, and every file is closed.
#include <sys/stat.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <map>
#include <optional>
#include <set>
#include <span>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "tools/qivtool/command_line.h"
#include "fuzz/fuzz_support.h"
#include "common/testing/open_files.h"
#include "tools/qivtool/options.h"
#include "hrpt_tool/core/hrp_file.h"

namespace qiv::qivtool {
namespace {

namespace fs = std::filesystem;
using fuzz::Broken;
using fuzz::Bytes;
using fuzz::Require;
using fuzz::Text;
using fuzz::WordAt;

constexpr std::size_t kMostInputBytes = 4096;
constexpr std::size_t kChoiceBytes = 4;
constexpr int kMostUnits = 10;
constexpr std::int64_t kRasterUnit = 400;
constexpr std::int64_t kLineBytes = swathly::kLineBytes;
constexpr std::int64_t kMostQuicklookLines = 32;
// How much an existing output is longer than the input: longer than what most commands write
// from it, while a run writes and reads no more than it must.
constexpr std::size_t kLongerThanInput = 1000;

constexpr std::array<std::string_view, 10> kSubcommands{"info", "header", "tables",   "render",
                                                        "plot", "subset", "hrp-info", "quicklook",
                                                        "cut",  "import"};

bool IsHrptSubcommand(std::string_view name) {
    return name == "hrp-info" || name == "quicklook" || name == "cut" || name == "import";
}

// Runs the scope in `folder` and goes back to where it was, also for libFuzzer, which writes
// its inputs by the paths it was given.
class InFolder {
public:
    explicit InFolder(const fs::path& folder) : previous_(fs::current_path()) {
        fs::current_path(folder);
    }
    ~InFolder() { fs::current_path(previous_); }
    InFolder(const InFolder&) = delete;
    InFolder& operator=(const InFolder&) = delete;

private:
    fs::path previous_;
};

// What a name of a folder leads to, following links.
struct Entry {
    std::optional<Bytes> Content;  // no value: no regular file
    fs::file_time_type Written;
    ino_t Inode = 0;
    friend bool operator==(const Entry&, const Entry&) = default;
};
using Snapshot = std::map<std::string, Entry>;

Snapshot Take(const fs::path& folder) {
    Snapshot snapshot;
    for (const auto& item : fs::directory_iterator(folder)) {
        Entry entry;
        entry.Content = fuzz::FileBytes(item.path());
        struct stat status {};
        if (::stat(item.path().c_str(), &status) == 0) {
            entry.Written = fs::last_write_time(item.path());
            entry.Inode = status.st_ino;
        }
        snapshot[item.path().filename().string()] = std::move(entry);
    }
    return snapshot;
}

// The names whose file is new or changed (its bytes or the time it was written), one per file:
// the names of one file through its links count once. No name may go.
std::map<ino_t, std::string> Changed(const Snapshot& before, const Snapshot& after) {
    for (const auto& [name, entry] : before) {
        Require(after.count(name) == 1, "the file " + name + " went");
    }
    std::map<ino_t, std::string> changed;
    for (const auto& [name, entry] : after) {
        const auto old = before.find(name);
        if (old == before.end() || !(old->second == entry)) {
            changed.emplace(entry.Inode, name);
        }
    }
    return changed;
}

std::string Names(const std::map<ino_t, std::string>& changed) {
    std::string names;
    for (const auto& [inode, name] : changed) {
        names += (names.empty() ? "" : ", ") + name;
    }
    return names;
}

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

// True when a quicklook the command line may ask for has more lines than the target lets it.
bool QuicklookTooLarge(const std::vector<std::string>& args, const Bytes& file) {
    if (std::find(args.begin(), args.end(), "quicklook") == args.end()) {
        return false;
    }
    std::vector<std::string> from;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--from" && i + 1 < args.size()) {
            from.push_back(Lower(args[i + 1]));
        } else if (args[i].rfind("--from=", 0) == 0) {
            from.push_back(Lower(args[i].substr(7)));
        }
    }
    const bool hrp = from.empty() || std::any_of(from.begin(), from.end(),
                                                 [](const auto& f) { return f != "product"; });
    const bool product = from.empty() || std::any_of(from.begin(), from.end(),
                                                     [](const auto& f) { return f != "hrp"; });
    const std::int64_t hrpLines = file.size() > 24 ? file[23] + 256 * file[24] : 0;
    return (hrp && hrpLines > kMostQuicklookLines) ||
           (product && WordAt(file, 0) > kMostQuicklookLines);
}

// What stderr holds after the progress lines, each a carriage return, a text and the erasing of
// the rest of the line. Only their start is sought: a message may name a file whose name holds
// the same characters.
std::string AfterProgress(std::string err) {
    const std::string erase = "\x1b[K";
    while (!err.empty() && err.front() == '\r') {
        const auto at = err.find(erase);
        Require(at != std::string::npos, "a progress line was left on stderr");
        err.erase(0, at + erase.size());
    }
    return err;
}

// A raster file written in place: its header's rows and columns, then R x C pixels over its
// start; the tail of a longer old file stays.
void CheckRasterInPlace(const Bytes& after, const std::optional<Bytes>& before,
                        const std::string& what) {
    Require(after.size() >= 4, what + " is shorter than its header");
    const std::int64_t rows = WordAt(after, 0);
    const std::int64_t cols = WordAt(after, 2);
    Require(rows >= 0 && cols >= 0, what + " states " + Text(rows) + " x " + Text(cols));
    const std::size_t written = std::max<std::size_t>(4, static_cast<std::size_t>(rows * cols));
    const Bytes start(after.begin(),
                      after.begin() + static_cast<std::ptrdiff_t>(std::min(written, after.size())));
    Require(after == fuzz::WrittenInPlace(before, start) && after.size() >= written,
            what + " is not " + Text(rows) + " x " + Text(cols) + " pixels in place");
}

void CheckWritten(std::string_view subcommand, const std::string& name, const Entry& before,
                  const Bytes& after, const std::string& out) {
    const std::string what = "the output " + name + " of " + std::string(subcommand);
    if (subcommand == "tables") {
        const std::string csv(after.begin(), after.end());
        Require(csv.rfind("level,count,equalised,stretched\n", 0) == 0 &&
                    std::count(csv.begin(), csv.end(), '\n') == 257 && out.empty(),
                what + " is not the CSV of 256 levels");
    } else if (subcommand == "render") {
        constexpr std::array<std::uint8_t, 8> kSignature{0x89, 'P',  'N',  'G',
                                                         '\r', '\n', 0x1A, '\n'};
        Require(after.size() > kSignature.size() &&
                    std::equal(kSignature.begin(), kSignature.end(), after.begin()),
                what + " is no PNG picture");
    } else if (subcommand == "subset" || subcommand == "quicklook") {
        CheckRasterInPlace(after, before.Content, what);
    } else if (subcommand == "cut" || subcommand == "import") {
        Require(after.size() >= 25, what + " holds no header");
        const std::int64_t lines = after[23] + 256 * after[24];
        const Bytes lineBytes(
            after.begin(),
            after.begin() + std::min<std::int64_t>(static_cast<std::int64_t>(after.size()),
                                                   lines * kLineBytes));
        const Bytes expected =
            subcommand == "cut" ? fuzz::WrittenInPlace(before.Content, lineBytes) : lineBytes;
        Require(lines >= 1 && static_cast<std::int64_t>(lineBytes.size()) == lines * kLineBytes &&
                    after == expected,
                what + " does not hold the " + Text(lines) + " lines its header states" +
                    (subcommand == "cut" ? " in place" : ""));
    } else if (subcommand == "hrp-info") {
        const std::string text(after.begin(), after.end());
        std::size_t lines = 0;
        for (std::size_t at = text.find("\r\n"); at != std::string::npos;
             at = text.find("\r\n", at + 2)) {
            ++lines;
        }
        Require(lines == 33 && text.size() >= 2 && text.substr(text.size() - 2) == "\r\n",
                what + " is not 33 lines of calibration words");
    } else if (subcommand == "header") {
        const Bytes old = before.Content.value_or(Bytes{});
        Require(before.Content && after.size() == std::max<std::size_t>(old.size(), 4) &&
                    std::equal(after.begin() + 4, after.end(),
                               old.begin() + std::min<std::ptrdiff_t>(4, old.size())),
                "header changed " + name + " beyond its first four bytes");
    } else {
        Broken(std::string(subcommand) + " wrote " + name);
    }
}

int RunCommandLine(std::span<const std::uint8_t> data) {
    if (data.size() > kMostInputBytes) {
        return 0;
    }
    const fuzz::FuzzInput input(data, kChoiceBytes);
    const int subcommandChoice = input.Choice(0) % (kSubcommands.size() + 1);
    const bool inputNamed = (input.Choice(1) & 1) != 0;
    const int outputForm = (input.Choice(1) >> 1) & 3;
    const fuzz::PathKind outputKind =
        fuzz::PathKindOf(static_cast<std::uint8_t>((input.Choice(1) >> 3) & 7));
    const bool progress = (input.Choice(1) & 0x40) != 0;
    const int units = input.Choice(2) % (kMostUnits + 1);
    const auto adjust = static_cast<std::int8_t>(input.Choice(3));

    std::vector<std::string> args;
    if (subcommandChoice < static_cast<int>(kSubcommands.size())) {
        args.emplace_back(kSubcommands[static_cast<std::size_t>(subcommandChoice)]);
    }
    if (inputNamed) {
        args.emplace_back("in");
    }
    for (const std::string& reply : input.Replies()) {
        if (reply.find('/') != std::string::npos) {
            return 0;
        }
        args.push_back(reply);
    }
    // The subcommand CLI11 runs, if any: the first word that is no option.
    const auto first = std::find_if(args.begin(), args.end(),
                                    [](const std::string& a) { return a.rfind('-', 0) != 0; });
    const std::string subcommand =
        first != args.end() &&
                std::find(kSubcommands.begin(), kSubcommands.end(), *first) != kSubcommands.end()
            ? *first
            : "";

    const std::int64_t unit = IsHrptSubcommand(subcommand) ? kLineBytes : kRasterUnit;
    const Bytes file =
        units == 0 ? Bytes(input.File().begin(), input.File().end())
                   : fuzz::Repeated(input.File(), static_cast<std::size_t>(std::max<std::int64_t>(
                                                      0, units * unit + adjust)));
    if (QuicklookTooLarge(args, file)) {
        return 0;
    }

    const fs::path run = fuzz::FreshRunFolder();
    const fs::path work = run / "work";
    fs::create_directory(work);
    const Bytes besideBytes{'n', 'o', 't', ' ', 'y', 'o', 'u', 'r', 's'};
    fuzz::WriteFile(run / "beside", besideBytes);
    const fs::path inputPath = work / "in";
    fuzz::WriteFile(inputPath, file);
    const fuzz::NamedFile output =
        fuzz::NameFile(outputKind, work, inputPath, "out", file.size() + kLongerThanInput);
    switch (outputForm) {
        case 0:
            break;
        case 1:
            args.insert(args.end(), {"-o", output.Path.string()});
            break;
        case 2:
            args.push_back("--output=" + output.Path.string());
            break;
        case 3:
            args.insert(args.end(), {"--calibration", output.Path.string()});
            break;
    }

    const Snapshot runBefore = Take(run);
    const Snapshot before = Take(work);
    const int openBefore = testing::OpenFiles();
    std::ostringstream out;
    std::ostringstream err;
    int status = -1;
    {
        const InFolder inWork(work);
        status = RunQivtool(args, out, err, progress, [] {
            return [](rastel::ViewerState&, rastel::LevelMapping,
                      const std::string& path) -> Failure {
                return Failure::Details{FileProblem::Refused, FileRole::Output, path,
                                        "Cannot load qivtool-plot.so, which draws the plots: it "
                                        "is left out of the fuzz target"};
            };
        });
    }
    const std::map<ino_t, std::string> changed = Changed(before, Take(work));
    const Snapshot runAfter = Take(run);
    Require(runAfter.size() == runBefore.size() && runAfter.at("beside") == runBefore.at("beside"),
            "a file beside the work folder was written");
    Require(testing::OpenFiles() == openBefore, "qivtool left a file open");

    const std::string said = AfterProgress(err.str());
    switch (status) {
        case kBadUsage:
            Require(err.str().rfind("qivtool: ", 0) == 0 && said.size() > 9 && out.str().empty(),
                    "a wrong command line must say why on stderr alone");
            Require(changed.empty(), "a wrong command line wrote " + Names(changed));
            return 0;
        case kRefused: {
            const std::string prefix = "qivtool " + subcommand + ": ";
            Require(!subcommand.empty() && said.rfind(prefix, 0) == 0 &&
                        said.size() > prefix.size() + 1 && said.back() == '\n',
                    "a refusal must give its reason as the last line of stderr");
            Require(changed.empty(), "a refused command wrote " + Names(changed));
            return 0;
        }
        case kDone:
            break;
        default:
            Broken("qivtool ended with the status " + Text(status));
    }
    Require(said.empty(), "a command that was done left more than its progress on stderr");
    if (out.str().find("Usage: qivtool") != std::string::npos) {
        Require(changed.empty(), "the help wrote " + Names(changed));
        return 0;
    }
    Require(!subcommand.empty(), "qivtool was done without a subcommand to run");
    Require(subcommand != "plot", "plot was done without its module");
    const bool optional = subcommand == "tables" || subcommand == "hrp-info";
    const std::size_t expected = subcommand == "info" ? 0 : 1;
    Require(changed.size() == expected || (optional && changed.empty()),
            subcommand + " wrote " + Text(static_cast<std::int64_t>(changed.size())) +
                " files: " + Names(changed));
    if (!changed.empty()) {
        const std::string& name = changed.begin()->second;
        const auto old = before.find(name);
        Require(subcommand == "header" || old == before.end() ||
                    old->second.Inode != before.at("in").Inode,
                subcommand + " wrote its input");
        CheckWritten(subcommand, name, old == before.end() ? Entry{} : old->second,
                     fuzz::FileBytes(work / name).value_or(Bytes{}), out.str());
    }
    return 0;
}

}  // namespace
}  // namespace qiv::qivtool

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    return qiv::qivtool::RunCommandLine({data, size});
}
