#include "platform/counter.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

namespace brantvell {
namespace {

TEST(CounterTest, CountersAdvanceWithRealTime) {
  Counter& counter = Counter::Real();
  int64_t frequency = 0;
  ASSERT_TRUE(counter.Frequency(&frequency));
  ASSERT_GT(frequency, 0);

  int64_t start = counter.Now();
  uint32_t start_ms = counter.Milliseconds();
  std::this_thread::sleep_for(std::chrono::milliseconds(50));
  int64_t end = counter.Now();
  uint32_t end_ms = counter.Milliseconds();

  double seconds = static_cast<double>(end - start) / static_cast<double>(frequency);
  EXPECT_GE(seconds, 0.045);
  EXPECT_LT(seconds, 10.0);
  // Unsigned subtraction also spans a wrap of the 32-bit millisecond count.
  uint32_t elapsed_ms = end_ms - start_ms;
  EXPECT_GE(elapsed_ms, 40u);
  EXPECT_LT(elapsed_ms, 10000u);
}

TEST(CounterTest, NeverRunsBackwards) {
  Counter& counter = Counter::Real();
  int64_t previous = counter.Now();
  for (int i = 0; i < 10000; ++i) {
    int64_t now = counter.Now();
    ASSERT_GE(now, previous);
    previous = now;
  }
}

}  // namespace
}  // namespace brantvell
