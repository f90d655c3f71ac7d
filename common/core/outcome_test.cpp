#include "common/core/outcome.h"

#include <gtest/gtest.h>

namespace qiv {
namespace {

enum class Reason { First, Second };

TEST(OutcomeTest, HoldsOneOfDoneFailureOrRefusal) {
    const Outcome<Reason> done;
    EXPECT_TRUE(done.Done());
    EXPECT_EQ(done.FileFailure(), nullptr);
    EXPECT_EQ(done.Refusal(), nullptr);

    // A Failure that says nothing went wrong is done, so `return file.WriteAt(...)` works.
    const Outcome<Reason> noFailure = Failure();
    EXPECT_TRUE(noFailure.Done());

    const Outcome<Reason> failed =
        Failure(Failure::Details{FileProblem::TooShort, FileRole::Input, "a.raw", {}, 16, 12});
    EXPECT_FALSE(failed.Done());
    ASSERT_NE(failed.FileFailure(), nullptr);
    EXPECT_EQ((*failed.FileFailure())->Size, 12);
    EXPECT_FALSE(failed.Is(Reason::First));

    const Outcome<Reason> refused{Reason::Second, -7, 40000};
    EXPECT_FALSE(refused.Done());
    EXPECT_EQ(refused.FileFailure(), nullptr);
    ASSERT_NE(refused.Refusal(), nullptr);
    EXPECT_EQ(refused.Refusal()->First, -7);
    EXPECT_EQ(refused.Refusal()->Second, 40000);
    EXPECT_TRUE(refused.Is(Reason::Second));
    EXPECT_FALSE(refused.Is(Reason::First));
}

}  // namespace
}  // namespace qiv
