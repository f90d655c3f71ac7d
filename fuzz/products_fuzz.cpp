// Fuzz target over the products of an HRP pass (MakeProducts): a fuzzed pass of up to kMostLines
// lines with fuzzed calibration words and earth counts, a fuzzed pass header (satellite id, line
// count, date), a fuzzed satellite named by the user, and a fuzzed choice of output name.
//
// Input (fuzz_support.h), choices:
//   byte 0   the pass's lines, 0..kMostLines (taken modulo kMostLines + 1): every line is the
//            file bytes repeated from a place of their own, so that lines differ; with 0 the
//            pass is the file bytes as they are
//   byte 1   added to the pass's length, -128..127 bytes: the last line cut short or begun
//   byte 2   bits 0-3  the header's SatId, from kSatIds (beyond them: left as the bytes made)
//            bits 4-5  the satellite named by the user: none, a known one, an unknown one
//            bit 6     the calibration words of every line made plausible first (PRT 400 with a
//                      reference line every fifth, back-scan and space counts of a real pass);
//                      the file bytes then damage the lines whose first byte is odd
//            bit 7     the earth counts held to 10 bits
//   byte 3   the header's line count: the lines made, moved by this byte - 128
//   byte 4   bits 0-2  the name of the SST output (fuzz::PathKind)
//            bit 3     the date left as the bytes made, else 2020-06-01 11:42:17
//            bit 4     the channel 3A bit set on lines whose second byte is odd
// then no replies, and the file bytes.
//
// Beside the sanitizers it checks: the input is unchanged under every name; a refusal or a
// failure leaves no file beside it that was not there before (no product, no temporary file),
// and an output that names the input is always refused; a product set is three files of the
// lines min(stated, present) + 1 records, each header record starting with the line count and
// the product's name; every sample whose count of a channel lies outside 0..1023 has no data in
// its band, band 3 has none on a line sent in 3A mode, an SST only where bands 4 and 5 hold
// temperatures, an NDV within 0..200; the summary's lines, modes and samples add up; every file
// is closed.
#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <optional>
#include <set>
#include <span>
#include <string>
#include <vector>

#include "avhrr/frame.h"
#include "common/core/dimension_header.h"
#include "common/testing/open_files.h"
#include "fuzz/fuzz_support.h"
#include "hrpt_tool/core/hrp_file.h"
#include "hrpt_tool/core/line_record.h"
#include "hrpt_tool/core/products.h"

namespace qiv::swathly {
namespace {

namespace fs = std::filesystem;
namespace av = qiv::avhrr;
using fuzz::Broken;
using fuzz::Bytes;
using fuzz::Require;
using fuzz::Text;

constexpr std::size_t kMostInputBytes = 4096;
constexpr std::size_t kChoiceBytes = 5;
// More than the averager's window, so that lines leave it, while a run stays some milliseconds.
constexpr int kMostLines = 40;
constexpr std::array<std::int16_t, 10> kSatIds{12, 14, 15, 19, 101, 102, 103, 0, 13, 16};

void PlausibleWords(std::span<std::uint8_t> frame, int line) {
    for (int k = 0; k < av::kPrtWords.Count; ++k) {
        av::SetWord(frame, av::kPrtWords.First + k, line % 5 == 0 ? 0 : 400);
    }
    for (int s = 1; s <= av::kCalibrationSamples; ++s) {
        for (int t = 0; t < 3; ++t) {
            av::SetWord(frame, av::BackScanWord(s, t), static_cast<std::uint16_t>(380 + 5 * t));
        }
        for (int c = 1; c <= av::kChannels; ++c) {
            av::SetWord(frame, av::SpaceViewWord(s, c), c <= 2 ? 40 : 988);
        }
    }
}

std::set<std::string> Names(const fs::path& folder) {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) {
        names.insert(entry.path().filename().string());
    }
    return names;
}

int Count(std::span<const std::uint8_t> frame, int sample, int channel) {
    return av::WordOf(frame, av::EarthWord(sample + 1, channel));
}

void CheckProducts(const Bytes& hrp, std::int64_t lines, const ProductPaths& paths,
                   const ProductSummary& summary) {
    const auto cal = fuzz::FileBytes(paths.Cal);
    const auto sst = fuzz::FileBytes(paths.Sst);
    const auto ndv = fuzz::FileBytes(paths.Ndv);
    Require(cal && sst && ndv, "a product file is missing");
    Require(summary.Lines == lines,
            "the products have " + Text(summary.Lines) + " lines; the pass holds " + Text(lines));
    Require(cal->size() == static_cast<std::size_t>((lines + 1) * kCalRecordBytes) &&
                sst->size() == static_cast<std::size_t>((lines + 1) * kSingleBandRecordBytes) &&
                ndv->size() == sst->size(),
            "a product file is not its lines + 1 records long");
    for (const auto& [bytes, name] :
         {std::pair{&*cal, "QIV CAL"}, std::pair{&*sst, "QIV SST"}, std::pair{&*ndv, "QIV NDV"}}) {
        Require(ReadInt16Le(bytes->data()) == lines, "a header record's line count is wrong");
        Require(std::memcmp(bytes->data() + 2, name, 7) == 0, "a header record's text is wrong");
    }
    Require(summary.Lines3A + summary.Lines3B == lines, "3A and 3B lines do not add up");
    Require(summary.Samples == lines * kEarthSamples && summary.ClearSeaSamples <= summary.Samples,
            "the samples do not add up");
    Require(summary.MissingLines == summary.StatedLines - lines, "the missing lines are wrong");
    const bool has3A = summary.SatId >= 15;
    for (std::int64_t line = 0; line < lines; ++line) {
        const auto frame = std::span<const std::uint8_t>(hrp).subspan(
            static_cast<std::size_t>(line * kLineBytes), kLineBytes);
        const std::span<const std::uint8_t> mode =
            lines > 1 && line == 0
                ? std::span<const std::uint8_t>(hrp).subspan(kLineBytes, kLineBytes)
                : frame;
        const bool line3A = has3A && av::Channel3ASent(mode);
        const auto record = static_cast<std::size_t>((line + 1) * kCalRecordBytes);
        const auto single = static_cast<std::size_t>((line + 1) * kSingleBandRecordBytes);
        for (int s = 0; s < kEarthSamples; ++s) {
            std::array<int, 5> value{};
            for (int b = 0; b < 5; ++b) {
                value[static_cast<std::size_t>(b)] =
                    ReadInt16Le(&(*cal)[record + static_cast<std::size_t>(10 * s + 2 * b)]);
                const int count = Count(frame, s, b + 1);
                if (count < 0 || count > av::kMostCount) {
                    Require(value[static_cast<std::size_t>(b)] == kNoData,
                            "line " + Text(line + 1) + " sample " + Text(s + 1) + " band " +
                                Text(b + 1) + ": a count out of range has data");
                }
            }
            if (line3A) {
                Require(value[2] == kNoData, "band 3 has data on a line in 3A mode");
            }
            const int sea = ReadInt16Le(&(*sst)[single + static_cast<std::size_t>(2 * s)]);
            const int vegetation = ReadInt16Le(&(*ndv)[single + static_cast<std::size_t>(2 * s)]);
            if (sea != kNoData) {
                Require(value[3] != kNoData && value[4] != kNoData,
                        "an SST where channels 4 and 5 have no temperature");
            }
            Require(vegetation == kNoData || (vegetation >= 0 && vegetation <= 200),
                    "an NDV outside 0..200: " + Text(vegetation));
        }
    }
}

void Run(const fuzz::FuzzInput& input) {
    const std::uint8_t flags = input.Choice(2);
    const std::uint8_t more = input.Choice(4);
    const int lines = input.Choice(0) % (kMostLines + 1);
    const std::span<const std::uint8_t> pattern = input.File();

    Bytes hrp;
    if (lines == 0) {
        hrp.assign(pattern.begin(), pattern.end());
    } else {
        hrp.resize(static_cast<std::size_t>(lines * kLineBytes));
        for (int line = 0; line < lines; ++line) {
            const std::span<std::uint8_t> frame(&hrp[static_cast<std::size_t>(line * kLineBytes)],
                                                kLineBytes);
            if (!pattern.empty()) {
                // Each line starts at its own place of the pattern.
                const std::size_t shift = static_cast<std::size_t>(line * 37) % pattern.size();
                for (std::size_t i = 0; i < frame.size(); ++i) {
                    frame[i] = pattern[(i + shift) % pattern.size()];
                }
            }
            const bool damaged =
                !pattern.empty() &&
                (pattern[static_cast<std::size_t>(line) % pattern.size()] & 1) != 0;
            if ((flags & 0x40) != 0 && !damaged) {
                PlausibleWords(frame, line);
            }
            if ((flags & 0x80) != 0) {
                for (int k = av::kEarthViewWords.First; k <= av::kEarthViewWords.Last(); ++k) {
                    av::SetWord(frame, k, static_cast<std::uint16_t>(av::WordOf(frame, k) & 0x3FF));
                }
            }
            if ((more & 0x10) != 0) {
                const bool set = !pattern.empty() &&
                                 (pattern[static_cast<std::size_t>(line + 1) % pattern.size()] & 1);
                av::SetWord(frame, av::kIdWord,
                            static_cast<std::uint16_t>((av::WordOf(frame, av::kIdWord) & ~1) |
                                                       (set ? 1 : 0)));
            }
        }
        if (static_cast<std::size_t>(flags & 0x0F) < kSatIds.size() || (more & 0x08) == 0) {
            LineHeaderRecord header = DecodeLineHeader(std::span(hrp).first<kLineHeaderBytes>());
            if (static_cast<std::size_t>(flags & 0x0F) < kSatIds.size()) {
                header.SatId = kSatIds[flags & 0x0F];
            }
            if ((more & 0x08) == 0) {
                header.Year = 2020;
                header.Month = 6;
                header.Day = 1;
                header.Hour = 11;
                header.Minute = 42;
                header.Secs = 17;
            }
            const int stated = std::clamp(lines + input.Choice(3) - 128, 0, 65535);
            header.RowsLow = static_cast<std::uint8_t>(stated & 0xFF);
            header.RowsHigh = static_cast<std::uint8_t>(stated >> 8);
            const auto record = EncodeLineHeader(header);
            std::copy(record.begin(), record.end(), hrp.begin());
        }
    }
    const int adjust = static_cast<int>(input.Choice(1)) - 128;
    hrp.resize(static_cast<std::size_t>(std::max(0, static_cast<int>(hrp.size()) + adjust)), 0x5A);

    const fs::path& run = fuzz::FreshRunFolder();
    const fs::path work = run / "work";
    fs::create_directories(work);
    const fs::path inputPath = work / "pass.hrp";
    fuzz::WriteFile(inputPath, hrp);
    ProductPaths paths = ProductPathsOf((work / "products").string());
    const fuzz::NamedFile sstName =
        fuzz::NameFile(fuzz::PathKindOf(more & 0x07), work, inputPath, "products.sst", 5000);
    paths.Sst = sstName.Path.string();
    // A temporary file beside an output named as the folder "work" itself lies in the run folder.
    const std::set<std::string> before = Names(work);
    const std::set<std::string> runBefore = Names(run);

    std::optional<std::int16_t> satellite;
    switch ((flags >> 4) & 3) {
        case 1:
            satellite = std::int16_t{19};
            break;
        case 2:
        case 3:
            satellite = std::int16_t{13};
            break;
    }

    const int openBefore = qiv::testing::OpenFiles();
    ProductSummary summary;
    const CommandOutcome outcome = MakeProducts(inputPath.string(), paths, satellite, summary);
    Require(qiv::testing::OpenFiles() == openBefore, "a file was left open");
    Require(fuzz::FileBytes(inputPath) == hrp, "the input changed");

    if (sstName.IsInput) {
        Require(outcome.FileFailure() != nullptr &&
                    (*outcome.FileFailure())->Problem == FileProblem::IsTheInput,
                "an output that names the input was not refused as such");
    }
    if (satellite == 13) {
        Require(!outcome.Done(), "an unknown satellite named by the user was taken");
    }
    if (!outcome.Done()) {
        Require(Names(work) == before && Names(run) == runBefore,
                "a refusal or a failure left a file behind");
        fuzz::RequireUnchanged(sstName, "the SST output after a refusal");
        return;
    }
    Require(Names(run) == runBefore, "a file was left in the run folder");
    const std::set<std::string> after = Names(work);
    for (const std::string& name : after) {
        Require(before.count(name) == 1 || name == "products.cal" || name == "products.sst" ||
                    name == "products.ndv",
                "a file other than the products was left: " + name);
    }
    const std::int64_t present = static_cast<std::int64_t>(hrp.size()) / kLineBytes;
    const std::int64_t stated =
        LineCountOf(DecodeLineHeader(std::span(hrp).first<kLineHeaderBytes>()));
    CheckProducts(hrp, std::min(present, stated), paths, summary);
}

}  // namespace
}  // namespace qiv::swathly

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size > qiv::swathly::kMostInputBytes) {
        return 0;
    }
    const qiv::fuzz::FuzzInput input(std::span(data, size), qiv::swathly::kChoiceBytes);
    qiv::swathly::Run(input);
    return 0;
}
