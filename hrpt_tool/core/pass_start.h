// The date and start time of line 1 in a pass header, from the time one later line was scanned:
// both imports date their passes this way.
#pragma once

#include <cstdint>

#include "hrpt_tool/core/swathly_state.h"

namespace qiv::swathly {

// AVHRR scans six lines a second.
inline constexpr std::int64_t kLinesPerSecond = 6;

// Sets Year, Month, Day, Hour, Minute and Secs of `header` to the moment `linesBefore` scan lines
// before millisecond `millisecond` of day `dayOfYear` (from 1) of `year`, cut down to whole
// seconds. A pass that starts before midnight starts on the day before, and in the year before
// when that day is 1 January. The day and millisecond must name a moment of that year.
void SetPassStart(LineHeaderRecord& header, int year, std::int64_t dayOfYear,
                  std::int64_t millisecond, std::int64_t linesBefore);

}  // namespace qiv::swathly
