#include "swathly_texts.h"

#include "swathly_state.h"

namespace qiv::swathly {
namespace {

std::string_view FileName(FileRole role) {
    switch (role) {
        case FileRole::Input:
            return "input file";
        case FileRole::Output:
            return "output file";
        case FileRole::Calibration:
            return "calibration file";
    }
    return "file";
}

}  // namespace

std::string MessageFor(const Failure& failure) {
    const Failure::Details& f = *failure;
    const std::string file(FileName(f.Role));
    switch (f.Problem) {
        case FileProblem::CannotOpen:
            if (f.Role == FileRole::Calibration) {
                return "Cannot create the calibration file " + f.Path + ": " + f.Reason;
            }
            return "Cannot open the " + file + " " + f.Path + ": " + f.Reason;
        case FileProblem::CannotRead:
            return "Cannot read the " + file + " " + f.Path + ": " + f.Reason;
        case FileProblem::CannotWrite:
            return "Cannot write the " + file + " " + f.Path + ": " + f.Reason;
        case FileProblem::TooShort:
            return "The " + file + " " + f.Path + " ends after " + std::to_string(f.Size) +
                   " bytes; " + std::to_string(f.Needed) + " are needed.";
        case FileProblem::IsTheInput:
            if (f.Role == FileRole::Calibration) {
                return "The calibration file " + f.Path +
                       " is the input file. Nothing was written.";
            }
            return std::string(kOutputIsInput);
        case FileProblem::NoFrames:
            return "The " + file + " " + f.Path + " holds no HRPT frames.";
        case FileProblem::TooLong:
            return "The " + file + " " + f.Path + " holds " + std::to_string(f.Size) +
                   " lines, more than the " + std::to_string(f.Needed) +
                   " an HRP header can count.";
        case FileProblem::Refused:
            return f.Reason;
    }
    return f.Reason;
}

std::string HeaderTooShortMessage(std::int32_t line, std::int64_t bytesIntoLine) {
    return "The file is too short for the header of line " + std::to_string(line) + ": it ends " +
           std::to_string(bytesIntoLine) + " bytes into the line, and " +
           std::to_string(kCalibrationEnd) + " are needed.";
}

std::string CalibrationIsInputMessage(const std::string& path) {
    return "The calibration file " + path + " is the input file. Choose another name.";
}

}  // namespace qiv::swathly
