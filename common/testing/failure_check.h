// Checking a Failure in a GoogleTest test, so that an unexpected one prints what went wrong:
//
//     ASSERT_TRUE(Succeeded(image.Open(path, 3, 4)));
//     EXPECT_FALSE(Succeeded(image.ReadPixels(11, past)));
#pragma once

#include <gtest/gtest.h>

#include <ostream>
#include <sstream>

#include "common/core/failure.h"
#include "common/core/outcome.h"

namespace qiv {

inline void PrintTo(const Failure& failure, std::ostream* out) {
    if (!failure) {
        *out << "no failure";
        return;
    }
    *out << "problem " << static_cast<int>(failure->Problem) << " of role "
         << static_cast<int>(failure->Role) << " on \"" << failure->Path
         << "\": " << failure->Reason << " (needed " << failure->Needed << ", size "
         << failure->Size << ")";
}

namespace testing {

inline ::testing::AssertionResult Succeeded(const Failure& failure) {
    if (!failure) {
        return ::testing::AssertionSuccess();
    }
    ::testing::AssertionResult result = ::testing::AssertionFailure();
    std::ostringstream text;
    PrintTo(failure, &text);
    return result << text.str();
}

// The same for a command's outcome: a refusal prints its reason's number and its numbers.
template <class Reason>
::testing::AssertionResult Succeeded(const Outcome<Reason>& outcome) {
    if (const Failure* failure = outcome.FileFailure()) {
        return Succeeded(*failure);
    }
    if (const Refused<Reason>* refused = outcome.Refusal()) {
        return ::testing::AssertionFailure()
               << "refused for reason " << static_cast<int>(refused->Why) << " (" << refused->First
               << ", " << refused->Second << ")";
    }
    return ::testing::AssertionSuccess();
}

}  // namespace testing
}  // namespace qiv
