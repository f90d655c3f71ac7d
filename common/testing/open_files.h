// How many files the test process has open, so that a test can tell that a command closed
// every file it opened: compare the count before and after.
#pragma once

#include <filesystem>

namespace qiv::testing {

inline int OpenFiles() {
    int count = 0;
    for ([[maybe_unused]] const auto& entry :
         std::filesystem::directory_iterator("/proc/self/fd")) {
        ++count;
    }
    return count;
}

}  // namespace qiv::testing
