#include "log/mdl_timer.h"

#include <gtest/gtest.h>

#include "platform/error.h"
#include "tests/support/fake_services.h"

namespace brantvell {
namespace {

class TimerTest : public ::testing::Test {
 protected:
  void SetUp() override { TimerUseCounter(&counter_); }
  void TearDown() override { TimerUseCounter(nullptr); }
  FakeCounter counter_;
};

TEST_F(TimerTest, HighResolutionCounterIsPreferred) {
  counter_.frequency = 2000000;
  counter_.now = 123456789012LL;
  EXPECT_TRUE(TimerInit());
  EXPECT_EQ(TimerNow(), 123456789012LL);
  EXPECT_DOUBLE_EQ(TimerElapsed(1000000, 4000000), 1.5);
  EXPECT_DOUBLE_EQ(TimerElapsed(4000000, 1000000), -1.5);
}

TEST_F(TimerTest, MillisecondClockWhenThereIsNoCounter) {
  counter_.high_resolution = false;
  counter_.now = 999;
  counter_.milliseconds = 2500;
  EXPECT_FALSE(TimerInit());
  EXPECT_EQ(TimerNow(), 2500);
  EXPECT_DOUBLE_EQ(TimerElapsed(0, 2500), 2.5);
  // Past 2^31 the millisecond clock reads as a negative number.
  counter_.milliseconds = 0xFFFFFFFFu;
  EXPECT_EQ(TimerNow(), -1);
}

TEST_F(TimerTest, ZeroFrequencyFallsBackToMilliseconds) {
  counter_.frequency = 0;  // reported as available, but useless
  counter_.milliseconds = 42;
  EXPECT_FALSE(TimerInit());
  EXPECT_EQ(TimerNow(), 42);
  EXPECT_DOUBLE_EQ(TimerElapsed(0, 1000), 1.0);
}

TEST(FormatDurationTest, ChoosesTheUnitBySize) {
  EXPECT_EQ(FormatDuration(0, "."), "0.000 us");
  EXPECT_EQ(FormatDuration(0.0005, "."), "500.000 us");
  EXPECT_EQ(FormatDuration(0.5, "."), "500.000 ms");
  EXPECT_EQ(FormatDuration(1, "."), "1.000 s");
  EXPECT_EQ(FormatDuration(60, "."), "1:00.000");
  EXPECT_EQ(FormatDuration(125.5, "."), "2:05.500");
  EXPECT_EQ(FormatDuration(3599, "."), "59:59.000");
  EXPECT_EQ(FormatDuration(3600, "."), "1:00:00");
  EXPECT_EQ(FormatDuration(3725.4, "."), "1:02:05");
  EXPECT_EQ(FormatDuration(0.001, "."), "1.000 ms");  // boundary belongs to the larger unit
  EXPECT_EQ(FormatDuration(36000, "."), "10:00:00");
}

TEST(FormatDurationTest, RoundsWithoutCarryIntoTheNextUnit) {
  EXPECT_EQ(FormatDuration(59.9996, "."), "60.000 s");
  EXPECT_EQ(FormatDuration(0.0009999999, "."), "1000.000 us");
}

TEST(FormatDurationTest, RoundsHalfAwayFromZeroInDecimal) {
  // 1.0005 is slightly below its decimal value in binary; 2.0625 is an exact
  // binary tie. Both round up, as a decimal pattern does.
  EXPECT_EQ(FormatDuration(1.0005, "."), "1.001 s");
  EXPECT_EQ(FormatDuration(2.0625, "."), "2.063 s");
  EXPECT_EQ(FormatDuration(3600 + 2.5, "."), "1:00:03");
}

TEST(FormatDurationTest, NegativeSpansShowTheirSize) {
  EXPECT_EQ(FormatDuration(-0.5, "."), "500.000 ms");
  EXPECT_EQ(FormatDuration(-125.5, "."), "2:05.500");
}

TEST(FormatDurationTest, UsesTheGivenDecimalSeparator) {
  EXPECT_EQ(FormatDuration(0.5, ","), "500,000 ms");
  EXPECT_EQ(FormatDuration(125.5, ","), "2:05,500");
}

TEST(FormatTimeTest, ClockLikeText) {
  EXPECT_EQ(FormatTime(0, "."), "0:00:00.000000");
  EXPECT_EQ(FormatTime(3725.5, "."), "1:02:05.500000");
  EXPECT_EQ(FormatTime(36000, "."), "10:00:00.000000");
  EXPECT_EQ(FormatTime(1.234567, "."), "0:00:01.234567");
  EXPECT_EQ(FormatTime(-61.25, "."), "0:01:01.250000");
  EXPECT_EQ(FormatTime(1.5, ","), "0:00:01,500000");
}

TEST(FormatTimeTest, NonFiniteSecondsRaise) {
  EXPECT_THROW(FormatTime(1.0 / 0.0, "."), Error);
  EXPECT_THROW(FormatDuration(1.0 / 0.0, "."), Error);
}

}  // namespace
}  // namespace brantvell
