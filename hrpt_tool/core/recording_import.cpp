#include "hrpt_tool/core/recording_import.h"

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "common/core/binary_file.h"
#include "common/core/replacing_file.h"
#include "hrpt_tool/core/line_record.h"
#include "hrpt_tool/core/pass_start.h"
#include "hrpt_tool/core/swathly_texts.h"

namespace qiv::swathly {
namespace {

// Whole frames move in blocks of about a megabyte: one read and one write per block. The
// first block also decides the byte order.
constexpr std::int64_t kFramesPerBlock = 48;
constexpr std::int64_t kMillisecondsPerDay = 86'400'000;

// The frame sync as it stands at the start of an HRP line: little-endian words.
constexpr std::array<std::uint8_t, kFrameSyncBytes> kSyncBytes = [] {
    std::array<std::uint8_t, kFrameSyncBytes> bytes{};
    for (std::size_t k = 0; k < avhrr::kFrameSync.size(); ++k) {
        avhrr::SetWord(bytes, avhrr::kFrameSyncWords.First + static_cast<int>(k),
                       avhrr::kFrameSync[k]);
    }
    return bytes;
}();

using Frame = std::span<const std::uint8_t, static_cast<std::size_t>(kLineBytes)>;

// Sixteen words at a time through a small array, a loop of fixed length that the compiler turns
// into a few vector instructions: the swap then costs little beside the copy itself.
void SwapWords(std::span<std::uint8_t> bytes) {
    constexpr std::size_t kWords = 16;
    std::size_t i = 0;
    for (; i + 2 * kWords <= bytes.size(); i += 2 * kWords) {
        std::array<std::uint16_t, kWords> words;
        std::memcpy(words.data(), bytes.data() + i, 2 * kWords);
        for (std::uint16_t& word : words) {
            word = static_cast<std::uint16_t>(word << 8 | word >> 8);
        }
        std::memcpy(bytes.data() + i, words.data(), 2 * kWords);
    }
    for (; i + 2 <= bytes.size(); i += 2) {
        std::swap(bytes[i], bytes[i + 1]);
    }
}

bool SyncIntact(Frame frame) {
    return std::memcmp(frame.data(), kSyncBytes.data(), kSyncBytes.size()) == 0;
}

// A time code and the frame that carries it.
struct FrameTime {
    std::int64_t Day = 0;          // of the year, from 1
    std::int64_t Millisecond = 0;  // of the day
    std::int64_t Frame = 0;        // the frame that carries it, from 0
};

// A time code that names a moment that exists: day 1 to 365, or 366 in a leap year, and a
// millisecond within the day.
std::optional<FrameTime> InRangeTimeCode(Frame frame, std::int64_t index, std::int16_t year) {
    const avhrr::TimeCode code = avhrr::DecodeTimeCode(frame);
    const std::int64_t daysInYear = std::chrono::year{year}.is_leap() ? 366 : 365;
    if (code.Day < 1 || code.Day > daysInYear || code.Millisecond >= kMillisecondsPerDay) {
        return std::nullopt;
    }
    return FrameTime{code.Day, code.Millisecond, index};
}

// What the frames say about the pass, gathered one frame after the other as the blocks go by.
//
// A valid time code is one of a frame with an intact sync that names a moment that exists and
// that the next frame, also intact, confirms by a time code 1/6 s later (to within 5 ms): the
// first frames a decoder writes after it locks are often noisy, and a random time code is in
// range about half of the time. When no two frames agree (a recording of one frame, say), the
// first time code in range is taken.
class FrameSurvey {
public:
    explicit FrameSurvey(std::int16_t year) : year_(year) {}

    void Add(Frame frame) {
        const std::int64_t index = frames_++;
        if (!SyncIntact(frame)) {
            ++damaged_;
            previous_.reset();
            return;
        }
        ++addresses_[static_cast<std::size_t>(avhrr::SpacecraftAddress(frame))];
        if (confirmed_) {
            return;
        }
        const std::optional<FrameTime> code = InRangeTimeCode(frame, index, year_);
        if (code && previous_ && OneLineApart(*previous_, *code)) {
            confirmed_ = previous_;
        }
        if (code && !firstInRange_) {
            firstInRange_ = code;
        }
        previous_ = code;
    }

    std::int64_t Damaged() const { return damaged_; }

    // The header of line 1 of a pass of `lines` lines.
    LineHeaderRecord Header(std::int64_t lines, bool& timeFound) const {
        LineHeaderRecord header;
        SetSatellite(header);
        header.Year = year_;
        const std::optional<FrameTime> code = confirmed_ ? confirmed_ : firstInRange_;
        timeFound = code.has_value();
        if (code) {
            SetStart(header, *code);
        }
        header.RowsLow = static_cast<std::uint8_t>(lines & 0xFF);
        header.RowsHigh = static_cast<std::uint8_t>(lines >> 8);
        return header;
    }

private:
    static bool OneLineApart(const FrameTime& first, const FrameTime& next) {
        const std::int64_t apart =
            (next.Day - first.Day) * kMillisecondsPerDay + next.Millisecond - first.Millisecond;
        return std::abs(6 * apart - 1000) <= 6 * 5;
    }

    void SetSatellite(LineHeaderRecord& header) const {
        // The address most intact frames carry; a tie goes to the lower address.
        const auto most = std::max_element(addresses_.begin(), addresses_.end());
        const auto address = static_cast<int>(most - addresses_.begin());
        const avhrr::Spacecraft* spacecraft = avhrr::SpacecraftOfAddress(address);
        const char* title = spacecraft ? spacecraft->Title : "NOAA-?? ";
        header.SatId = spacecraft ? spacecraft->SatId : std::int16_t{0};
        std::memcpy(header.Title.data(), title, header.Title.size());
    }

    // The time of line 1: the time code taken back 1/6 s for every line before its frame.
    void SetStart(LineHeaderRecord& header, const FrameTime& code) const {
        SetPassStart(header, year_, code.Day, code.Millisecond, code.Frame);
    }

    std::int16_t year_;
    std::int64_t frames_ = 0;
    std::int64_t damaged_ = 0;
    std::array<std::int64_t, 16> addresses_{};
    std::optional<FrameTime> previous_;
    std::optional<FrameTime> firstInRange_;
    std::optional<FrameTime> confirmed_;
};

// The byte order in which more of the frames of the first block carry an intact sync.
std::optional<ByteOrder> FirstFramesOrder(std::span<const std::uint8_t> block) {
    int little = 0;
    int big = 0;
    for (std::size_t at = 0; at + kLineBytes <= block.size(); at += kLineBytes) {
        const auto start = block.subspan(at).first<kFrameSyncBytes>();
        little += SyncWordsInPlace(start, ByteOrder::Little) == 6 ? 1 : 0;
        big += SyncWordsInPlace(start, ByteOrder::Big) == 6 ? 1 : 0;
    }
    if (little == 0 && big == 0) {
        return std::nullopt;
    }
    return little >= big ? ByteOrder::Little : ByteOrder::Big;
}

// A recording refused for what it holds: Needed and Size say what was wanted and what was found.
Failure FileRefusal(const BinaryFile& recording, FileProblem problem, std::int64_t needed,
                    std::int64_t size) {
    Failure::Details details = *recording.Fail(problem);
    details.Needed = needed;
    details.Size = size;
    return details;
}

Failure OutputFailure(FileProblem problem, const std::string& path, std::string reason) {
    Failure::Details details;
    details.Problem = problem;
    details.Role = FileRole::Output;
    details.Path = path;
    details.Reason = std::move(reason);
    return details;
}

}  // namespace

int SyncWordsInPlace(std::span<const std::uint8_t, kFrameSyncBytes> frameStart, ByteOrder order) {
    const std::size_t low = order == ByteOrder::Little ? 0 : 1;
    int inPlace = 0;
    for (std::size_t k = 0; k < avhrr::kFrameSync.size(); ++k) {
        const unsigned word = frameStart[2 * k + low] | (frameStart[2 * k + 1 - low] << 8);
        inPlace += word == avhrr::kFrameSync[k] ? 1 : 0;
    }
    return inPlace;
}

std::optional<ByteOrder> RecordingOrder(std::span<const std::uint8_t, kFrameSyncBytes> fileStart) {
    for (const ByteOrder order : {ByteOrder::Little, ByteOrder::Big}) {
        if (SyncWordsInPlace(fileStart, order) >= 4) {
            return order;
        }
    }
    return std::nullopt;
}

bool StartsWithFrameSync(BinaryFile& file) {
    std::array<std::uint8_t, kFrameSyncBytes> start{};
    return !file.ReadFilled(0, start) && RecordingOrder(start).has_value();
}

CommandOutcome ImportRecording(const std::string& recordingPath, const std::string& outputPath,
                               std::int16_t year, ImportSummary& summary) {
    summary = {};
    if (year < kFirstYear || year > kLastYear) {
        return Refusal::BadYear;
    }
    BinaryFile recording(FileRole::Input);
    if (Failure failure = recording.Open(recordingPath, BinaryFile::Mode::Read)) {
        return failure;
    }
    if (SameFile(recordingPath, outputPath)) {
        return OutputFailure(FileProblem::IsTheInput, outputPath, {});
    }
    std::int64_t size = 0;
    if (Failure failure = recording.Size(size)) {
        return failure;
    }
    // Everything that refuses the recording is decided before the output is touched, and the
    // frame count from the size alone, before anything is read.
    const std::int64_t frames = size / kLineBytes;
    if (frames == 0) {
        return FileRefusal(recording, FileProblem::NoFrames, kLineBytes, size);
    }
    if (frames > kMostHrpLines) {
        return FileRefusal(recording, FileProblem::TooLong, kMostHrpLines, frames);
    }
    std::vector<std::uint8_t> block(
        static_cast<std::size_t>(std::min(frames, kFramesPerBlock) * kLineBytes));
    if (Failure failure = recording.ReadAt(0, block)) {
        return failure;
    }
    const std::optional<ByteOrder> order = FirstFramesOrder(block);
    if (!order) {
        return FileRefusal(recording, FileProblem::NoFrames, kLineBytes, size);
    }

    // The new HRP file takes its name only when all of it is written: a failed import leaves
    // the file of that name, if any, as it was.
    ReplacingFile output;
    if (Failure failure = output.Open(outputPath, ".import")) {
        return failure;
    }
    FrameSurvey survey(year);
    for (std::int64_t done = 0; done < frames;) {
        const std::int64_t count = std::min(frames - done, kFramesPerBlock);
        const std::span<std::uint8_t> bytes(block.data(),
                                            static_cast<std::size_t>(count * kLineBytes));
        if (done > 0) {
            if (Failure failure = recording.ReadAt(done * kLineBytes, bytes)) {
                return failure;
            }
        }
        if (*order == ByteOrder::Big) {
            SwapWords(bytes);
        }
        for (std::int64_t frame = 0; frame < count; ++frame) {
            survey.Add(Frame(bytes.subspan(static_cast<std::size_t>(frame * kLineBytes))
                                 .first<static_cast<std::size_t>(kLineBytes)>()));
        }
        if (Failure failure = output.WriteAt(done * kLineBytes, bytes)) {
            return failure;
        }
        done += count;
    }

    bool timeFound = false;
    const LineHeaderRecord header = survey.Header(frames, timeFound);
    if (Failure failure = output.WriteAt(0, EncodeLineHeader(header))) {
        return failure;
    }
    if (Failure failure = output.Commit()) {
        return failure;
    }
    summary.Frames = frames;
    summary.Order = *order;
    summary.Header = header;
    summary.TimeFound = timeFound;
    summary.DamagedFrames = survey.Damaged();
    summary.BytesLeftOver = size - frames * kLineBytes;
    return {};
}

}  // namespace qiv::swathly
