// Fuzz target over the import of raw HRPT recordings into HRP files: a fuzzed recording (either
// byte order, damaged sync words, odd lengths, garbage time codes and spacecraft addresses) with a
// fuzzed year, into a fuzzed choice of output name, through ImportRecording itself and through
// Swathly_Qiv's input choice, which asks whether to import, for the year and for the new name.
//
// Input (fuzz_support.h), choices:
//   byte 0   the recording's frames, 0..kMostFrames (taken modulo kMostFrames + 1): frame k starts
//            with the k-th 24 bytes of the file bytes (words 1-12: frame sync, spacecraft address,
//            time code; zeros past their end) and goes on with the file bytes after the F heads,
//            repeated to the frame's end; with 0 the recording is the file bytes as they are
//   byte 1   added to the recording's length, -128..127 bytes: the last frame cut short or a
//            partial frame begun
//   byte 2   bit 0     through the window's input choice instead of ImportRecording
//            bits 1-3  the output's name (fuzz::PathKind)
//            bit 4     the recording is called pass.hrp (as station software names big-endian
//                      recordings) instead of pass.raw16
//            bit 5     the window: the import question is answered Yes
//            bit 6     the window: a second name, a new file, is given after a refused first one
//            bit 7     the recording is grown, sparse, to more frames than a header can count
// then the replies: the year (ImportRecording takes the first reply held to 16 bits; the window
// takes them one by one as the year prompt asks again), and the file bytes.
//
// The files lie in a folder "work" of the run folder, so that a temporary file beside an output
// named as that folder itself stays inside the run folder too.
//
// Beside the sanitizers it checks: the recording is unchanged under every name; the import is
// refused exactly when the year lies outside 1..9999, the output is the recording, there is no
// whole frame, there are more than 65535 frames (found from the size alone: nothing is read), the
// first frames carry the frame sync in neither byte order, or the output cannot be written; a
// refusal leaves the output as it was and no temporary file behind; a success writes whole frames x
// 22180 bytes, every line its frame in little-endian words but for the 33 header bytes of line 1,
// whose header states the line count, the title and SatId of the address most intact frames carry,
// a date and time in range (all 0 when no intact frame carries a time code in range), Spare and
// TimeDiff 0; the summary agrees with the file; the window asks exactly for a file that starts
// with the frame sync, asks the year again after every text that names none, the name again
// after the recording itself, and takes the new file as its input exactly when it is imported;
// every file is closed and the wait notice gone.
#include <algorithm>
#include <array>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <optional>
#include <set>
#include <span>
#include <string>
#include <vector>

#include "avhrr/frame.h"
#include "common/core/typed_number.h"
#include "common/testing/memory_canvas.h"
#include "common/testing/open_files.h"
#include "common/testing/scripted_dialogs.h"
#include "fuzz/fuzz_support.h"
#include "hrpt_tool/core/file_choice.h"
#include "hrpt_tool/core/line_record.h"
#include "hrpt_tool/core/recording_import.h"
#include "hrpt_tool/core/swathly_state.h"
#include "hrpt_tool/core/swathly_texts.h"

namespace qiv::swathly {
namespace {

namespace fs = std::filesystem;
using fuzz::Broken;
using fuzz::ByteAt;
using fuzz::Bytes;
using fuzz::PathKind;
using fuzz::Require;
using fuzz::Text;

constexpr std::size_t kMostInputBytes = 4096;
constexpr std::size_t kChoiceBytes = 3;
// Enough for the byte order's vote, a time code confirmed by the next frame and damaged frames
// among intact ones, while a run stays well under a millisecond or two.
constexpr int kMostFrames = 6;
// Words 1-12: the frame sync, the ID word and its spare, the time code.
constexpr auto kFrameHeadBytes =
    static_cast<std::size_t>(avhrr::ByteOfWord(avhrr::kTimeCodeWords.Last() + 1));
constexpr std::int64_t kMillisecondsPerDay = 86'400'000;

// The recording the choices ask for (see the top of the file).
Bytes BuildRecording(std::span<const std::uint8_t> file, int frames, int adjust) {
    if (frames == 0) {
        return Bytes(file.begin(), file.end());
    }
    const std::size_t heads = static_cast<std::size_t>(frames) * kFrameHeadBytes;
    const Bytes body =
        fuzz::Repeated(file.subspan(std::min(heads, file.size())), kLineBytes - kFrameHeadBytes);
    const auto length =
        static_cast<std::size_t>(std::max<std::int64_t>(0, frames * kLineBytes + adjust));
    Bytes recording;
    for (int k = 0; recording.size() < length; ++k) {
        for (std::size_t i = 0; i < kFrameHeadBytes; ++i) {
            recording.push_back(k < frames ? ByteAt(file, k * kFrameHeadBytes + i) : 0);
        }
        recording.insert(recording.end(), body.begin(), body.end());
    }
    recording.resize(length);
    return recording;
}

// The sync words in place at `at` when the words are stored in `order`.
int SyncWords(const Bytes& bytes, std::size_t at, ByteOrder order) {
    const std::size_t low = order == ByteOrder::Little ? 0 : 1;
    int inPlace = 0;
    for (std::size_t k = 0; k < avhrr::kFrameSync.size(); ++k) {
        const unsigned word =
            ByteAt(bytes, at + 2 * k + low) | (ByteAt(bytes, at + 2 * k + 1 - low) << 8);
        inPlace += word == avhrr::kFrameSync[k] ? 1 : 0;
    }
    return inPlace;
}

// What the import must make of a recording: the byte order, then what its frames say.
struct Model {
    std::int64_t Frames = 0;
    std::optional<ByteOrder> Order;
    bool TimeFound = false;
    std::int64_t Damaged = 0;
    const char* Title = "NOAA-?? ";
    std::int16_t SatId = 0;
    Bytes Little;  // the whole frames in little-endian words
};

Model ModelOf(const Bytes& recording, std::int64_t frames, std::int16_t year) {
    Model model;
    model.Frames = frames;
    int little = 0;
    int big = 0;
    for (std::int64_t k = 0; k < std::min<std::int64_t>(frames, 48); ++k) {
        little += SyncWords(recording, k * kLineBytes, ByteOrder::Little) == 6 ? 1 : 0;
        big += SyncWords(recording, k * kLineBytes, ByteOrder::Big) == 6 ? 1 : 0;
    }
    if (little + big == 0) {
        return model;
    }
    model.Order = little >= big ? ByteOrder::Little : ByteOrder::Big;
    model.Little.assign(recording.begin(), recording.begin() + frames * kLineBytes);
    if (model.Order == ByteOrder::Big) {
        for (std::size_t i = 0; i + 1 < model.Little.size(); i += 2) {
            std::swap(model.Little[i], model.Little[i + 1]);
        }
    }
    std::array<std::int64_t, 16> addresses{};
    const std::int64_t days = std::chrono::year{year}.is_leap() ? 366 : 365;
    for (std::int64_t k = 0; k < frames; ++k) {
        const auto frame = std::span<const std::uint8_t>(model.Little)
                               .subspan(static_cast<std::size_t>(k * kLineBytes),
                                        static_cast<std::size_t>(kLineBytes));
        if (SyncWords(model.Little, static_cast<std::size_t>(k * kLineBytes), ByteOrder::Little) !=
            6) {
            ++model.Damaged;
            continue;
        }
        ++addresses[static_cast<std::size_t>(avhrr::SpacecraftAddress(frame))];
        const avhrr::TimeCode code = avhrr::DecodeTimeCode(frame);
        model.TimeFound |=
            code.Day >= 1 && code.Day <= days && code.Millisecond < kMillisecondsPerDay;
    }
    const auto most = std::max_element(addresses.begin(), addresses.end()) - addresses.begin();
    if (const avhrr::Spacecraft* spacecraft = avhrr::SpacecraftOfAddress(static_cast<int>(most))) {
        model.Title = spacecraft->Title;
        model.SatId = spacecraft->SatId;
    }
    return model;
}

// The size and first bytes of the recording, which may be grown far beyond what it holds.
struct RecordingFile {
    fs::path Path;
    Bytes Written;  // its bytes as written, before it was grown
    std::int64_t Size = 0;
};

void RequireRecordingUnchanged(const RecordingFile& recording, const fs::path& name) {
    std::error_code error;
    const auto size = fs::file_size(name, error);
    Bytes start(recording.Written.size());
    std::ifstream in(name, std::ios::binary);
    in.read(reinterpret_cast<char*>(start.data()), static_cast<std::streamsize>(start.size()));
    Require(!error && static_cast<std::int64_t>(size) == recording.Size && in &&
                start == recording.Written,
            "the recording changed under the name " + name.string());
}

// Outputs and temporary files: the run folder holds only the work folder, the work folder only
// the names the run made and the new file.
void RequireNoStrayFile(const fs::path& run, const fs::path& work,
                        const std::set<std::string>& allowed) {
    for (const auto& entry : fs::directory_iterator(run)) {
        Require(entry.path() == work,
                "a file was left beside the work folder: " + entry.path().filename().string());
    }
    for (const auto& entry : fs::directory_iterator(work)) {
        Require(allowed.count(entry.path().filename().string()) == 1,
                "a file was left in the work folder: " + entry.path().filename().string());
    }
}

// The expected refusal, or no value when the import must succeed.
std::optional<FileProblem> ExpectedRefusal(const fuzz::NamedFile& output, PathKind kind,
                                           const RecordingFile& recording, const Model& model,
                                           std::int16_t year) {
    if (year < kFirstYear || year > kLastYear) {
        return FileProblem::Refused;
    }
    if (output.IsInput) {
        return FileProblem::IsTheInput;
    }
    if (recording.Size < kLineBytes) {
        return FileProblem::NoFrames;
    }
    if (recording.Size / kLineBytes > kMostHrpLines) {
        return FileProblem::TooLong;
    }
    if (!model.Order) {
        return FileProblem::NoFrames;
    }
    if (kind == PathKind::MissingFolder) {
        return FileProblem::CannotOpen;
    }
    if (kind == PathKind::Folder) {
        return FileProblem::CannotWrite;
    }
    return std::nullopt;
}

// The new file against the model; returns the summary it must be told with.
ImportSummary CheckImported(const fs::path& path, const Model& model, std::int16_t year,
                            std::int64_t recordingSize) {
    const std::optional<Bytes> hrp = fuzz::FileBytes(path);
    Require(hrp && static_cast<std::int64_t>(hrp->size()) == model.Frames * kLineBytes,
            "the new file does not hold " + Text(model.Frames) + " whole lines");
    Require(std::equal(hrp->begin() + kLineHeaderBytes, hrp->end(),
                       model.Little.begin() + kLineHeaderBytes),
            "the lines are not the frames in little-endian words");

    const LineHeaderRecord h = DecodeLineHeader(
        std::span<const std::uint8_t, kLineHeaderBytes>(hrp->data(), kLineHeaderBytes));
    Require(LineCountOf(h) == model.Frames,
            "the header states " + Text(LineCountOf(h)) + " lines, not " + Text(model.Frames));
    Require(std::memcmp(h.Title.data(), model.Title, h.Title.size()) == 0 && h.SatId == model.SatId,
            "the title and SatId are not those of the address most intact frames carry");
    std::uint64_t timeDiffBits = 0;
    std::memcpy(&timeDiffBits, &h.TimeDiff, sizeof timeDiffBits);
    Require(h.Spare == 0 && timeDiffBits == 0, "Spare or TimeDiff is not 0");
    if (model.TimeFound) {
        using namespace std::chrono;
        const year_month_day date{std::chrono::year{h.Year}, month(static_cast<unsigned>(h.Month)),
                                  day(static_cast<unsigned>(h.Day))};
        const bool yearBefore = h.Year == year - 1 && h.Month == 12 && h.Day == 31;
        Require(date.ok() && (h.Year == year || yearBefore),
                "the start date " + Text(h.Year) + "-" + Text(h.Month) + "-" + Text(h.Day) +
                    " is no date of the year " + Text(year) + " or its last day before");
        Require(h.Hour >= 0 && h.Hour < 24 && h.Minute >= 0 && h.Minute < 60 && h.Secs >= 0 &&
                    h.Secs < 60,
                "the start time " + Text(h.Hour) + ":" + Text(h.Minute) + ":" + Text(h.Secs) +
                    " is no time of day");
    } else {
        Require(h.Year == year && h.Month == 0 && h.Day == 0 && h.Hour == 0 && h.Minute == 0 &&
                    h.Secs == 0,
                "without a time code in range the date and the time must be 0");
    }

    ImportSummary summary;
    summary.Frames = model.Frames;
    summary.Order = *model.Order;
    summary.Header = h;
    summary.TimeFound = model.TimeFound;
    summary.DamagedFrames = model.Damaged;
    summary.BytesLeftOver = recordingSize - model.Frames * kLineBytes;
    return summary;
}

bool SameSummary(const ImportSummary& a, const ImportSummary& b) {
    return a.Frames == b.Frames && a.Order == b.Order && a.Header == b.Header &&
           a.TimeFound == b.TimeFound && a.DamagedFrames == b.DamagedFrames &&
           a.BytesLeftOver == b.BytesLeftOver;
}

// The year the window's prompts end with: the first reply that names one, and how many were
// refused before it.
struct YearReplies {
    std::optional<std::int16_t> Year;
    std::size_t Refused = 0;
};

YearReplies TypedYear(const std::vector<std::string>& replies) {
    YearReplies typed;
    for (const std::string& reply : replies) {
        const std::optional<std::int16_t> year = ReadTyped<std::int16_t>(reply);
        if (year && *year >= 1 && *year <= 9999) {
            typed.Year = year;
            return typed;
        }
        ++typed.Refused;
    }
    return typed;
}

int RunImport(std::span<const std::uint8_t> data) {
    if (data.size() > kMostInputBytes) {
        return 0;
    }
    const fuzz::FuzzInput input(data, kChoiceBytes);
    const int frames = input.Choice(0) % (kMostFrames + 1);
    const auto adjust = static_cast<std::int8_t>(input.Choice(1));
    const bool window = (input.Choice(2) & 1) != 0;
    const PathKind outputKind =
        fuzz::PathKindOf(static_cast<std::uint8_t>((input.Choice(2) >> 1) & 7));
    const bool hrpName = (input.Choice(2) & 0x10) != 0;
    const bool yes = (input.Choice(2) & 0x20) != 0;
    const bool secondName = (input.Choice(2) & 0x40) != 0;
    const bool grown = (input.Choice(2) & 0x80) != 0;
    const std::vector<std::string>& replies = input.Replies();

    const fs::path& run = fuzz::FreshRunFolder();
    const fs::path work = run / "work";
    fs::create_directory(work);
    RecordingFile recording;
    recording.Path = work / (hrpName ? "pass.hrp" : "pass.raw16");
    recording.Written = BuildRecording(input.File(), frames, adjust);
    fuzz::WriteFile(recording.Path, recording.Written);
    const fuzz::NamedFile output =
        fuzz::NameFile(outputKind, work, recording.Path, "new.hrp", 1000);
    const fs::path second = work / "second.hrp";
    recording.Size = static_cast<std::int64_t>(recording.Written.size());
    if (grown) {
        // Sparse: nothing of it is ever written out.
        recording.Size = (kMostHrpLines + 1) * kLineBytes + input.Choice(1);
        fs::resize_file(recording.Path, static_cast<std::uintmax_t>(recording.Size));
    }
    std::set<std::string> allowed{recording.Path.filename().string()};
    if (output.Path.parent_path() == work) {
        allowed.insert(output.Path.filename().string());
    }
    const int openBefore = testing::OpenFiles();

    // What the import is asked for, and what it must make of it.
    const YearReplies typed = TypedYear(replies);
    const std::int16_t year =
        window ? typed.Year.value_or(1)
               : ToWidthSaturated<std::int16_t>(LeadingNumber(replies.empty() ? "" : replies[0]));
    const Model model = ModelOf(recording.Written, grown ? 0 : recording.Size / kLineBytes, year);

    // The name the import ran with, and whether it must have succeeded.
    const fuzz::NamedFile* importedInto = nullptr;
    bool imported = false;
    fuzz::NamedFile secondFile;
    const std::optional<std::int64_t> readBefore = fuzz::BytesRead();
    if (!window) {
        ImportSummary summary;
        const CommandOutcome outcome =
            ImportRecording(recording.Path.string(), output.Path.string(), year, summary);
        importedInto = &output;
        const std::optional<FileProblem> refusal =
            ExpectedRefusal(output, outputKind, recording, model, year);
        if (!outcome.Done() != refusal.has_value()) {
            Broken(refusal ? "the import carried out what it must refuse"
                           : "the import refused what it must carry out: " + MessageFor(outcome));
        }
        if (!outcome.Done()) {
            // The year is the program's own refusal (Refused stands for it here), the rest are
            // the files' failures.
            const Failure* failure = outcome.FileFailure();
            Require(failure != nullptr
                        ? (*failure)->Problem == *refusal
                        : outcome.Is(Refusal::BadYear) && *refusal == FileProblem::Refused,
                    "the import was refused for another reason: " + MessageFor(outcome));
        } else {
            imported = true;
            Require(SameSummary(summary, CheckImported(output.Path, model, year, recording.Size)),
                    "the summary does not agree with the file");
        }
    } else {
        testing::ScriptedDialogs dialogs;
        dialogs.File(recording.Path.string()).Reply(yes).File(output.Path.string());
        if (secondName) {
            secondFile = fuzz::NameFile(PathKind::NewFile, work, recording.Path, "second.hrp", 0);
            dialogs.File(secondFile.Path.string());
            allowed.insert(secondFile.Path.filename().string());
        }
        for (const std::string& reply : replies) {
            dialogs.Answer(reply);
        }
        SwathlyState state;
        MemoryCanvas waitArea = qiv::testing::WaitArea();
        const std::optional<std::string> caption = ChooseInputFile(state, dialogs, waitArea);
        Require(caption && state.InputChosen && *caption == state.InputPath,
                "the input was not taken");
        Require(waitArea.Texts().empty(), "the wait notice stayed after the import");

        std::array<std::uint8_t, kFrameSyncBytes> start{};
        std::copy_n(recording.Written.begin(),
                    std::min<std::size_t>(start.size(), recording.Written.size()), start.begin());
        const bool asked = RecordingOrder(start).has_value();
        Require(dialogs.Questions.size() == (asked ? 1u : 0u),
                "the import must be offered exactly for a file that starts with the frame sync");
        std::vector<std::string> messages;
        if (asked && yes) {
            // Each text that names no year is told and asked again; with no reply left the
            // prompt is cancelled.
            Require(dialogs.PromptCalls.size() == typed.Refused + 1,
                    "the year was not asked again after each text that names none");
            for (std::size_t i = 1; i < dialogs.PromptCalls.size(); ++i) {
                Require(dialogs.PromptCalls[i].Filled == replies[i - 1],
                        "the year prompt does not hold the refused text again");
            }
            messages.assign(typed.Refused, std::string(kBadYear));
            if (typed.Year && !output.IsInput) {
                importedInto = &output;
            } else if (typed.Year) {
                messages.emplace_back(kNewFileIsRecording);
                importedInto = secondName ? &secondFile : nullptr;
            }
        }
        if (importedInto != nullptr) {
            const PathKind kind = importedInto == &output ? outputKind : PathKind::NewFile;
            imported = !ExpectedRefusal(*importedInto, kind, recording, model, year);
            if (imported) {
                Require(state.InputPath == importedInto->Path.string(),
                        "the new file did not become the input");
                messages.push_back(ImportSummaryText(
                    CheckImported(importedInto->Path, model, year, recording.Size),
                    importedInto->Path.string()));
            } else {
                // The failure, in whatever words.
                messages.push_back(dialogs.Messages.empty() ? "" : dialogs.Messages.back());
            }
        }
        if (!imported) {
            Require(state.InputPath == recording.Path.string(),
                    "without an import the recording must stay the input");
        }
        Require(dialogs.Messages == messages, "the window told other messages than it must");
        const fs::path suggested = work / (hrpName ? "pass-imported.hrp" : "pass.hrp");
        for (const std::string& offered : dialogs.Suggested) {
            Require(offered == suggested.string(), "the new file's name offered is " + offered);
        }
    }
    const std::optional<std::int64_t> readAfter = fuzz::BytesRead();

    if (grown && readBefore && readAfter) {
        Require(*readAfter - *readBefore < kLineBytes,
                "a recording of more frames than a header counts was read before its refusal");
    }
    RequireRecordingUnchanged(recording, recording.Path);
    if (output.IsInput) {
        RequireRecordingUnchanged(recording, output.Path);
    } else if (!imported || importedInto != &output) {
        fuzz::RequireUnchanged(output, "an import that did not write its output changed it");
    }
    if (secondName && (!imported || importedInto != &secondFile)) {
        fuzz::RequireUnchanged(secondFile, "an import that did not write the second name made it");
    }
    RequireNoStrayFile(run, work, allowed);
    Require(testing::OpenFiles() == openBefore, "the import left a file open");
    return 0;
}

}  // namespace
}  // namespace qiv::swathly

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    return qiv::swathly::RunImport({data, size});
}
