// Every sentence Swathly_Qiv shows in a message box or a prompt, and the one place where a
// command's outcome (a refusal or a file failure) becomes the program's own (English) message.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "common/core/dialogs.h"
#include "common/core/failure.h"
#include "hrpt_tool/core/level1b_import.h"
#include "hrpt_tool/core/products.h"
#include "hrpt_tool/core/recording_import.h"
#include "hrpt_tool/core/swathly_outcome.h"

namespace qiv::swathly {

inline constexpr std::string_view kEnterFileNameFirst = " Enter the file name first";
inline constexpr std::string_view kEnterFilesFirst = "Enter Input and Output Image files first";
inline constexpr std::string_view kSetLineOne = "Make sure that line # in the form is set to 1";
inline constexpr std::string_view kBadInterval =
    "Enter a sampling interval from 1 to 32767 in SamplInter";
inline constexpr std::string_view kOutputIsInput =
    "The output file is the input file: choose another output file";
inline constexpr std::string_view kFileFilter = "All Files|*.*|Text Files|*.txt";
inline constexpr std::string_view kWaitMessage = "Please wait!!!";
inline constexpr std::string_view kLineBelowOne = "Line # must be 1 or more.";
inline constexpr std::string_view kBadStartLine = "Enter a start line from 1 to 32767";
// The prompts of the line cut.
inline constexpr std::string_view kStartPrompt = "Enter Start Hrtp raw";
inline constexpr std::string_view kEndPrompt = "Enter End Hrtp raw";

// Importing a raw HRPT recording chosen as the input.
inline constexpr std::string_view kImportQuestion =
    "This file starts with the HRPT frame sync: it is a raw recording without a pass header.\n\n"
    "Import it into a new HRP file and work on that file?";
inline constexpr std::string_view kYearPrompt =
    "Year of the recording (its frames carry the day, not the year)";
inline constexpr std::string_view kBadYear = "Enter a year from 1 to 9999";
inline constexpr std::string_view kHrpFileFilter = "HRP Files|*.hrp|All Files|*.*";
inline constexpr std::string_view kNewFileIsRecording =
    "The new HRP file cannot be the recording itself: choose another name";

// Importing a NOAA Level 1b file chosen as the input.
inline constexpr std::string_view kLevel1bImportQuestion =
    "This file is a NOAA Level 1b file, as NOAA's archive serves a pass: it has no pass header "
    "and its lines are packed.\n\nImport it into a new HRP file and work on that file?";
inline constexpr std::string_view kNewFileIsLevel1b =
    "The new HRP file cannot be the Level 1b file itself: choose another name";

// The message for an outcome that is not done: a refusal, or a failure of the input, the output
// or the calibration file.
std::string MessageFor(const CommandOutcome& outcome);
std::string MessageFor(const Failure& failure);
std::string MessageFor(Refused<Refusal> refused);
// Shows the message of an outcome that is not done; true when it was done.
bool ShowOutcome(const CommandOutcome& outcome, Dialogs& dialogs);

// A header read that found the file too short for the calibration blocks of `line`.
std::string HeaderTooShortMessage(std::int32_t line, std::int64_t bytesIntoLine);
// A calibration file name that is the input file, when it is chosen.
std::string CalibrationIsInputMessage(const std::string& path);

// What an import did: the new file, frames and byte order, satellite, start, damaged frames and
// bytes left over.
std::string ImportSummaryText(const ImportSummary& summary, const std::string& outputPath);
// What a Level 1b import did: the new file, spacecraft, data type and format version, records,
// start and end, bad records and bytes left over.
std::string Level1bImportSummaryText(const Level1bImportSummary& summary,
                                     const std::string& outputPath);

// The products of an HRP pass.
inline constexpr std::string_view kProductFileFilter = "CAL Files|*.cal|All Files|*.*";

// What the products hold: satellite, lines, date and time, lines in 3A and 3B, the share of clear
// sea, the lines whose calibration was filled in from their neighbours.
std::string ProductSummaryText(const ProductSummary& summary, const ProductPaths& paths);

}  // namespace qiv::swathly
