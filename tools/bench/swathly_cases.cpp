#include "bench_cases.h"
#include "bench_support.h"

namespace qiv::bench {

void RunSwathlyCases(const std::filesystem::path& /*dir*/, const Sizes& /*sizes*/) {}

}  // namespace qiv::bench
