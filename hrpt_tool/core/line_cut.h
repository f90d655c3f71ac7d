// The line-range cut: a shorter HRP file that keeps lines Start..End of a pass. Its first line
// is input line Start with the pass header record, moved on to that line, written over its
// first bytes, so that the new file reads like a pass of its own.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

#include "common/core/binary_file.h"
#include "common/core/canvas.h"
#include "common/core/dialogs.h"
#include "hrpt_tool/core/main_view.h"
#include "hrpt_tool/core/swathly_outcome.h"
#include "hrpt_tool/core/swathly_state.h"

namespace qiv::swathly {

// Lines of an HRP file of `bytes` bytes; a last line cut short by the end of the file counts.
std::int64_t HrpLinesIn(std::int64_t bytes);

// How many of the lines start..end (from 1, start ≤ end) an input of `available` lines holds.
std::int64_t LinesToCopy(std::int64_t available, std::int64_t start, std::int64_t end);

// Moves the start time of a pass on to its line `start`, 1/15 s per line number, rounded to
// whole seconds; seconds and minutes carry over, the hour is not wrapped at 24.
struct PassTime {
    std::int16_t Hour = 0;
    std::int16_t Minute = 0;
    std::int16_t Secs = 0;
    friend bool operator==(const PassTime&, const PassTime&) = default;
};
PassTime AdvanceStartTime(PassTime time, std::int64_t start);

// Copies `count` lines from input line `start` on to output line 1 on, whole lines in large
// blocks, with `header` written over the first bytes of output line 1. A line cut short by the
// end of the input is completed with zeros. The output is written in place and never shortened.
Failure CopyLineRange(BinaryFile& input, BinaryFile& output, std::int64_t start, std::int64_t count,
                      std::span<const std::uint8_t, kLineHeaderBytes> header);

// "Output (Hrp) --> Hrp Less Lines": reads the header of the line in lineText (shown in the
// header boxes before the prompts; the input stays open for the copy), asks for the first and the
// last line and writes lines Start..End into the output, the header record with the new line count
// and start time over the first 33 bytes. Refuses with a message and writes nothing when a file is
// not chosen or cannot be opened, the output names the input, Start is below 1, End below Start, a
// number does not fit 16 bits, or Start lies beyond the last line of the input. An End beyond the
// last line stops the copy there. OutputChosen stays set; the result says whether the file was
// written.
CommandOutcome CutLineRange(SwathlyState& state, std::string_view lineText, Dialogs& dialogs,
                            MainView& form1, Canvas& waitArea);

}  // namespace qiv::swathly
