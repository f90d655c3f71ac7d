#include "hrpt_tool/core/pass_start.h"

#include <chrono>

namespace qiv::swathly {

void SetPassStart(LineHeaderRecord& header, int year, std::int64_t dayOfYear,
                  std::int64_t millisecond, std::int64_t linesBefore) {
    using namespace std::chrono;
    // In sixths of a millisecond, so that nothing is rounded before the seconds are cut.
    constexpr std::int64_t kMillisecondsPerDay = 86'400'000;
    constexpr std::int64_t kSixthsPerDay = kLinesPerSecond * kMillisecondsPerDay;
    const std::int64_t sixths = kLinesPerSecond * millisecond - 1000 * linesBefore;
    const std::int64_t daysBack = sixths < 0 ? (-sixths + kSixthsPerDay - 1) / kSixthsPerDay : 0;
    const std::int64_t seconds = (sixths + daysBack * kSixthsPerDay) / (kLinesPerSecond * 1000);
    const year_month_day date{sys_days{std::chrono::year{year} / January / 1} +
                              days{dayOfYear - 1 - daysBack}};
    header.Year = static_cast<std::int16_t>(static_cast<int>(date.year()));
    header.Month = static_cast<std::int16_t>(static_cast<unsigned>(date.month()));
    header.Day = static_cast<std::int16_t>(static_cast<unsigned>(date.day()));
    header.Hour = static_cast<std::int16_t>(seconds / 3600);
    header.Minute = static_cast<std::int16_t>(seconds / 60 % 60);
    header.Secs = static_cast<std::int16_t>(seconds % 60);
}

}  // namespace qiv::swathly
