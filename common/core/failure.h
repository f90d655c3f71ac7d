// What went wrong with a file, as data. Every routine that reads or writes a file returns a
// Failure; the window, or the routine that talks to the user, turns it into a message in the
// program's own language through one function of the program's texts header
// (rastel_texts.h, swathly_texts.h). The usual form is
//
//     if (Failure failure = input.Open(path, BinaryFile::Mode::Read)) {
//         return failure;
//     }
//
// A default-made Failure means that nothing went wrong.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <utility>

namespace qiv {

// Which of the command's files failed; the programs name each in their own words.
enum class FileRole {
    Input,        // the file a command reads: the image, the HRP file or product, the recording
    Output,       // the file a command writes: the subset, the quicklook, the shorter HRP file
    Calibration,  // the calibration ASCII file of Swathly_Qiv
    Header,       // the dimension header of Rastel_Qiv's image file: written, or read from a
                  // file too short to hold one (TooShort)
};

enum class FileProblem {
    CannotOpen,   // the system refused to open the file (Reason says why)
    CannotRead,   // a read failed (Reason)
    CannotWrite,  // a write failed (Reason)
    TooShort,     // the file ends before the bytes the command needs: Needed and Size
    IsTheInput,   // an output that names the input file, under any spelling
    NoFrames,     // a recording that holds no whole frame (Size below Needed, one frame's bytes)
                  // or whose frames carry no frame sync (Size at least Needed)
    TooLong,      // more lines than the format can count: Needed is the limit, Size the count
    Refused,      // the file cannot be taken for what it is given as (Reason says why in the
                  // system's words, e.g. a PNG larger than the format allows); a request that
                  // is refused for the program's own reasons is an Outcome's refusal instead
};

class [[nodiscard]] Failure {
public:
    struct Details {
        FileProblem Problem = FileProblem::CannotOpen;
        FileRole Role = FileRole::Input;
        std::string Path;
        std::string Reason;       // the system's words, e.g. "No such file or directory"
        std::int64_t Needed = 0;  // TooShort, NoFrames: bytes the command needs from the start
        std::int64_t Size = 0;    // TooShort, NoFrames: bytes the file holds
    };

    Failure() = default;
    Failure(Details details) : details_(std::move(details)) {}  // NOLINT: implicit by design

    // True when something went wrong.
    explicit operator bool() const { return details_.has_value(); }
    const Details& operator*() const { return *details_; }
    const Details* operator->() const { return &*details_; }

private:
    std::optional<Details> details_;
};

}  // namespace qiv
