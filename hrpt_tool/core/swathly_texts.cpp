#include "hrpt_tool/core/swathly_texts.h"

#include <cstdio>

#include "avhrr/coefficients.h"
#include "hrpt_tool/core/hrp_file.h"
#include "hrpt_tool/core/line_record.h"
#include "hrpt_tool/core/swathly_state.h"

namespace qiv::swathly {
namespace {

std::string_view DataTypeName(avhrr::Level1bDataType type) {
    switch (type) {
        case avhrr::Level1bDataType::Lac:
            return "LAC";
        case avhrr::Level1bDataType::Hrpt:
            return "HRPT";
        case avhrr::Level1bDataType::Frac:
            return "FRAC";
        case avhrr::Level1bDataType::Gac:
            return "GAC";
        case avhrr::Level1bDataType::Unknown:
            break;
    }
    return "unknown";
}

// A record's time as its date and its time of day to the millisecond.
std::string MomentText(const avhrr::Level1bTime& time) {
    const avhrr::CalendarDay day = avhrr::CalendarDayOf(time.Year, time.DayOfYear);
    const auto ms = static_cast<long long>(time.Millisecond);
    char text[64];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d %02lld:%02lld:%02lld.%03lld", time.Year,
                  day.Month, day.Day, ms / 3'600'000, ms / 60'000 % 60, ms / 1000 % 60, ms % 1000);
    return text;
}

// The title without its trailing blanks.
std::string ShortTitle(const LineHeaderRecord& header) {
    std::string title = TitleText(header.Title);
    while (!title.empty() && title.back() == ' ') {
        title.pop_back();
    }
    return title;
}

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

std::string Clock(double seconds) {
    const auto whole = static_cast<long long>(seconds) % 86400;
    char text[16];
    std::snprintf(text, sizeof text, "%02lld:%02lld:%02lld", whole / 3600, whole / 60 % 60,
                  whole % 60);
    return text;
}

std::string Date(const ProductSummary& s) {
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d", s.Year, s.Month, s.Day);
    return text;
}

constexpr std::string_view kKnownSatellites = "NOAA-12, NOAA-14 to NOAA-19 and MetOp-A to MetOp-C";

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
        case Refusal::NoWholeLine:
            return "The input file holds no whole HRP line: it has " +
                   std::to_string(refused.First) + " bytes, and a line has " +
                   std::to_string(kLineBytes) + ". Nothing was written.";
        case Refusal::ProductAsInput:
            return "The input file is a CAL, SST or NDV product, not an HRP pass: the products are "
                   "made from the HRP file of a pass. Nothing was written.";
        case Refusal::RecordingAsInput:
            return "The input file is a raw HRPT recording without a pass header. Import it into "
                   "an HRP file first (choose it as the input and answer Yes, or run qivtool "
                   "import), then make the products of that file. Nothing was written.";
        case Refusal::UnknownSatellite:
            return "The pass header's Sat Id " + std::to_string(refused.First) +
                   (refused.Second >= 0 ? " and the spacecraft address " +
                                              std::to_string(refused.Second) + " of its frames name"
                                        : " names") +
                   " no satellite whose calibration is known (" + std::string(kKnownSatellites) +
                   "); qivtool products --satellite NAME can name it. Nothing was written.";
        case Refusal::UnknownSatelliteNamed:
            return "Sat Id " + std::to_string(refused.First) +
                   " names no satellite whose calibration is known (" +
                   std::string(kKnownSatellites) + "). Nothing was written.";
        case Refusal::NoPassDate: {
            const avhrr::SatelliteCoefficients* sat =
                avhrr::CoefficientsOf(static_cast<std::int16_t>(refused.First));
            char date[48];
            const auto packed = static_cast<long long>(refused.Second);
            std::snprintf(date, sizeof date, "%04lld-%02lld-%02lld", packed / 10000,
                          packed / 100 % 100, packed % 100);
            return std::string("The pass header's date ") + date + " is no day on which " +
                   (sat != nullptr ? std::string(sat->Name) + " (launched " +
                                         std::to_string(static_cast<int>(sat->LaunchYear)) + ")"
                                   : std::string("the satellite")) +
                   " flew: its visible calibration drifts with the years since launch. Nothing "
                   "was written.";
        }
        case Refusal::NoLinesStated:
            return "The pass header of the input file states no lines. Nothing was written.";
        case Refusal::TooManyProductLines:
            return "The input file holds " + std::to_string(refused.First) +
                   " lines, more than the " + std::to_string(refused.Second) +
                   " a product header can count. Nothing was written.";
        case Refusal::NoCalibration:
            return "No line of the input file carries usable calibration words (thermometer, "
                   "back-scan and space-view counts): its thermal channels cannot be calibrated. "
                   "Nothing was written.";
        case Refusal::NotLevel1b:
            return "This is no NOAA Level 1b file: neither a KLM nor a POD header stands at its "
                   "start.";
        case Refusal::Level1bGac:
            return "This is a NOAA Level 1b GAC file: its lines of 409 samples (4 km) cannot "
                   "become HRP lines of 2048 samples. Only LAC, HRPT and FRAC files can be "
                   "imported.";
        case Refusal::Level1bUnknownType:
            return "This NOAA Level 1b file states a data type that is neither LAC, HRPT, FRAC "
                   "nor GAC: it cannot be imported.";
        case Refusal::Level1bVersion:
            return "This NOAA Level 1b file is of KLM format version " +
                   std::to_string(refused.First) + ": only versions 2 to 5 can be imported.";
        case Refusal::Level1bUnpacked:
            return "This NOAA Level 1b file is an archive copy whose samples were unpacked into " +
                   std::to_string(refused.First) +
                   " bits: only files of packed 10-bit samples can be imported.";
        case Refusal::Level1bNoRecord:
            return "This NOAA Level 1b file holds no whole data record after its header: " +
                   std::to_string(refused.First) + " bytes follow it, and a record has " +
                   std::to_string(refused.Second) + ".";
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
    const std::string title = ShortTitle(h);
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

std::string ProductSummaryText(const ProductSummary& s, const ProductPaths& paths) {
    std::string text =
        "The products are written: " + paths.Cal + ", " + paths.Sst + ", " + paths.Ndv + ".\n\n";
    std::string source;
    switch (s.Source) {
        case SatelliteSource::Header:
            source = "from the pass header";
            break;
        case SatelliteSource::Address:
            source = "from the spacecraft address of the frames";
            break;
        case SatelliteSource::Override:
            source = "as named";
            break;
    }
    text +=
        "Satellite: " + s.Satellite + " (Sat Id " + std::to_string(s.SatId) + ", " + source + ")\n";
    text += "Lines: " + std::to_string(s.Lines);
    if (s.MissingLines > 0) {
        text += " (the header states " + std::to_string(s.StatedLines) + "; " +
                std::to_string(s.MissingLines) + " missing from the file)";
    }
    text += "\nDate and time: " + Date(s) + ", " + Clock(s.Times.First) + " to " +
            Clock(s.Times.Last) + " UTC\n";
    text += "Lines in channel 3A: " + std::to_string(s.Lines3A) +
            ", in channel 3B: " + std::to_string(s.Lines3B) + "\n";
    char share[32];
    std::snprintf(share, sizeof share, "%.1f",
                  s.Samples > 0 ? 100.0 * static_cast<double>(s.ClearSeaSamples) /
                                      static_cast<double>(s.Samples)
                                : 0.0);
    text += std::string("Clear sea: ") + share + " % of the samples\n";
    text += "Lines whose calibration was filled in from their neighbours: 3B " +
            std::to_string(s.FilledLines[0]) + ", 4 " + std::to_string(s.FilledLines[1]) + ", 5 " +
            std::to_string(s.FilledLines[2]);
    if (s.UncalibratedLines > 0) {
        text += "\nLines without a calibration of channels 4 and 5 (no data): " +
                std::to_string(s.UncalibratedLines);
    }
    if (!s.SstPublished) {
        text += "\nSST: no split window is published for " + s.Satellite + "; NOAA-14's is used";
    }
    return text;
}

std::string Level1bImportSummaryText(const Level1bImportSummary& summary,
                                     const std::string& outputPath) {
    const LineHeaderRecord& h = summary.Header;
    std::string text = "The Level 1b file is imported into " + outputPath + ".\n\n";
    const std::string title = ShortTitle(h);
    text += summary.SpacecraftKnown
                ? "Spacecraft: " + title + ", Sat Id " + std::to_string(h.SatId) + "\n"
                : "Spacecraft: unknown code " + std::to_string(summary.SpacecraftCode) + " (" +
                      title + ", Sat Id 0)\n";
    text +=
        "Data type: " + std::string(DataTypeName(summary.DataType)) + ", " +
        (summary.Kind == avhrr::Level1bKind::Klm
             ? "KLM format version " + std::to_string(summary.Version)
             : std::string("POD format")) +
        (summary.ArchiveHeaderBytes > 0
             ? ", after a " + std::to_string(summary.ArchiveHeaderBytes) + "-byte archive header"
             : std::string()) +
        "\n";
    text += "Records: " + std::to_string(summary.Records) + " (the header counts " +
            std::to_string(summary.StatedRecords) + "), now as many lines\n";
    if (summary.TimeFound) {
        char start[32];
        std::snprintf(start, sizeof start, "%02d:%02d:%02d", h.Hour, h.Minute, h.Secs);
        text += "Start: " + MomentText(summary.First) + " (line 1 starts " + start + ")\n";
        text += "End: " + MomentText(summary.Last) + "\n";
    } else {
        text +=
            "Start and end: no record's time names a moment; the date and the time are left "
            "at 0\n";
    }
    text += "Bad records (kept): " + std::to_string(summary.BadRecords) + "\n";
    if (summary.RecordsPastCount > 0) {
        text += "Records after the header's count (left out): " +
                std::to_string(summary.RecordsPastCount) + "\n";
    }
    text += "Bytes left over after the last whole record (left out): " +
            std::to_string(summary.BytesLeftOver);
    return text;
}

}  // namespace qiv::swathly
