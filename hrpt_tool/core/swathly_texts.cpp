#include "hrpt_tool/core/swathly_texts.h"

#include <cstdio>

#include "hrpt_tool/core/line_record.h"
#include "hrpt_tool/core/swathly_state.h"

namespace qiv::swathly {
namespace {

std::string_view FileName(FileRole role) {
    switch (role) {
        case FileRole::Input:
        case FileRole::Header:
            return "input file";
        case FileRole::Output:
            return "output file";
        case FileRole::Calibration:
            return "calibration file";
    }
    return "file";
}

}  // namespace

std::string MessageFor(const CommandOutcome& outcome) {
    if (const Failure* failure = outcome.FileFailure()) {
        return MessageFor(*failure);
    }
    if (const Refused<Refusal>* refused = outcome.Refusal()) {
        return MessageFor(*refused);
    }
    return {};
}

bool ShowOutcome(const CommandOutcome& outcome, Dialogs& dialogs) {
    if (outcome.Done()) {
        return true;
    }
    dialogs.Message(MessageFor(outcome));
    return false;
}

std::string MessageFor(Refused<Refusal> refused) {
    switch (refused.Why) {
        case Refusal::NoInputChosen:
            return std::string(kEnterFileNameFirst);
        case Refusal::FilesNotChosen:
            return std::string(kEnterFilesFirst);
        case Refusal::LineBelowOne:
            return std::string(kLineBelowOne);
        case Refusal::LineBeyondFile:
            return "Line # is beyond the last line of the file, which has " +
                   std::to_string(refused.First) + (refused.First == 1 ? " line." : " lines.");
        case Refusal::HeaderTooShort:
            return HeaderTooShortMessage(static_cast<std::int32_t>(refused.First), refused.Second);
        case Refusal::BadStartLine:
            return std::string(kBadStartLine);
        case Refusal::BadEndLine:
            return "Enter an end line from " + std::to_string(refused.First) + " to 32767";
        case Refusal::StartBeyondFile:
            return "The input file has " + std::to_string(refused.First) +
                   " lines: the start line " + std::to_string(refused.Second) +
                   " lies beyond its end";
        case Refusal::BadInterval:
            return std::string(kBadInterval);
        case Refusal::NotLineOne:
            return std::string(kSetLineOne);
        case Refusal::QuicklookTooLarge:
            return "The quicklook would have " + std::to_string(refused.First) +
                   " rows, more than its header can hold (32767): enter a larger sampling "
                   "interval";
        case Refusal::BadYear:
            return std::string(kBadYear);
    }
    return {};
}

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
            if (f.Size < f.Needed) {
                return "The " + file + " " + f.Path + " holds no whole HRPT frame: it has " +
                       std::to_string(f.Size) + " bytes, and a frame has " +
                       std::to_string(f.Needed) + ". Nothing was written.";
            }
            return "The " + file + " " + f.Path +
                   " is no HRPT recording: its first frames carry the frame sync in neither "
                   "byte order. Nothing was written.";
        case FileProblem::TooLong:
            return "The " + file + " " + f.Path + " holds " + std::to_string(f.Size) +
                   " lines, more than the " + std::to_string(f.Needed) +
                   " an HRP header can count. Nothing was written.";
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

std::string ImportSummaryText(const ImportSummary& summary, const std::string& outputPath) {
    const LineHeaderRecord& h = summary.Header;
    std::string text = "The recording is imported into " + outputPath + ".\n\n";
    text += "Frames: " + std::to_string(summary.Frames) + ", in " +
            (summary.Order == ByteOrder::Little ? "little-endian" : "big-endian") + " words\n";
    std::string title = TitleText(h.Title);
    while (!title.empty() && title.back() == ' ') {
        title.pop_back();
    }
    text += h.SatId == 0 ? "Satellite: unknown spacecraft address (" + title + ", Sat Id 0)\n"
                         : "Satellite: " + title + ", Sat Id " + std::to_string(h.SatId) + "\n";
    if (summary.TimeFound) {
        char start[64];
        std::snprintf(start, sizeof start, "%04d-%02d-%02d %02d:%02d:%02d", h.Year, h.Month, h.Day,
                      h.Hour, h.Minute, h.Secs);
        text += std::string("Start of line 1: ") + start + "\n";
    } else {
        text +=
            "Start of line 1: no frame carries a valid time code; the date and the time are "
            "left at 0\n";
    }
    text +=
        "Frames with a damaged frame sync (kept): " + std::to_string(summary.DamagedFrames) + "\n";
    text += "Bytes left over after the last whole frame (left out): " +
            std::to_string(summary.BytesLeftOver);
    return text;
}

}  // namespace qiv::swathly
