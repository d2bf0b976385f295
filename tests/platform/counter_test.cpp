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

  // The counters are read inside an interval of the standard steady clock,
  // so their elapsed time lies within it however long a loaded machine
  // takes: no wall-clock limit decides.
  auto outer_start = std::chrono::steady_clock::now();
  int64_t start = counter.Now();
  uint32_t start_ms = counter.Milliseconds();
  std::this_thread::sleep_for(std::chrono::milliseconds(50));
  int64_t end = counter.Now();
  uint32_t end_ms = counter.Milliseconds();
  double outer =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - outer_start).count();

  double seconds = static_cast<double>(end - start) / static_cast<double>(frequency);
  EXPECT_GE(seconds, 0.045);
  EXPECT_LE(seconds, outer + 0.001);
  // Unsigned subtraction also spans a wrap of the 32-bit millisecond count.
  uint32_t elapsed_ms = end_ms - start_ms;
  EXPECT_GE(elapsed_ms, 40u);
  EXPECT_LE(elapsed_ms, static_cast<uint32_t>(outer * 1000) + 20u);
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
