// What a command of Swathly_Qiv did: done, a file failure, or one of the refusals below. The
// texts file (swathly_texts.h) holds the message of each; qivtool says them too.
#pragma once

#include "common/core/outcome.h"

namespace qiv::swathly {

// The numbers a refusal carries are named after each reason; the others carry none.
enum class Refusal {
    NoInputChosen,      // a header read before the input is chosen
    FilesNotChosen,     // a quicklook or a cut before the input and the output are chosen
    LineBelowOne,       // "Line #" below 1
    LineBeyondFile,     // First: the lines the file holds
    HeaderTooShort,     // First: the line, Second: the bytes of it the file holds
    BadStartLine,       // a start line that is no number from 1 to 32767
    BadEndLine,         // First: the start line, above which the end must lie
    StartBeyondFile,    // First: the lines the input holds, Second: the start line
    BadInterval,        // "SamplInter" that is no number from 1 to 32767
    NotLineOne,         // an HRP quicklook whose "Line #" is not 1
    QuicklookTooLarge,  // First: the rows the quicklook would have
    BadYear,            // an import's year outside 1 to 9999
    // The products of an HRP pass:
    NoWholeLine,            // First: the bytes of an input shorter than one HRP line
    ProductAsInput,         // the input is a CAL, SST or NDV product
    RecordingAsInput,       // the input is a raw HRPT recording, to be imported first
    UnknownSatellite,       // First: the header's SatId, Second: the frames' address (-1: none)
    UnknownSatelliteNamed,  // First: the SatId the user named
    NoPassDate,  // First: the SatId, Second: the header's date as year x 10000 + month x 100 + day
    NoLinesStated,        // the pass header states no lines
    TooManyProductLines,  // First: the lines, Second: the most a product header counts
    NoCalibration,        // no line's calibration words are usable
    // The import of a NOAA Level 1b file, refused from its first bytes and its size:
    NotLevel1b,          // neither a KLM nor a POD header at its start
    Level1bGac,          // a GAC file: lines of 409 samples, where an HRP line has 2048
    Level1bUnknownType,  // a data type the guides do not name
    Level1bVersion,      // First: the KLM format version, not 2 to 5
    Level1bUnpacked,     // First: the bits of each sample of an archive copy, 8 or 16
    Level1bNoRecord,     // First: the bytes after the header records, Second: a record's bytes
};

using CommandOutcome = Outcome<Refusal>;

}  // namespace qiv::swathly
