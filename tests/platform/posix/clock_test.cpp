#include "platform/clock.h"

#include <gtest/gtest.h>

namespace brantvell {
namespace {

TEST(PosixClockTest, SeparatorsOfTheCLocale) {
  LocaleSeparators separators = Clock::Real().Separators();
  EXPECT_EQ(separators.date, "/");
  EXPECT_EQ(separators.time, ":");
  EXPECT_EQ(separators.decimal, ".");
}

}  // namespace
}  // namespace brantvell
