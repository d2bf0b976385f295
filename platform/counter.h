// The machine's high-resolution counter and its millisecond fall-back.
// An interface so it can be mocked out for tests.
#ifndef BRANTVELL_PLATFORM_COUNTER_H_
#define BRANTVELL_PLATFORM_COUNTER_H_

#include <cstdint>

namespace brantvell {

struct Counter {
  virtual ~Counter() = default;
  // Counter units per second; false when there is no high-resolution counter.
  virtual bool Frequency(int64_t* units_per_second) = 0;
  // The high-resolution counter's current value.
  virtual int64_t Now() = 0;
  // Milliseconds since the system started, wrapping at 32 bits.
  virtual uint32_t Milliseconds() = 0;

  static Counter& Real();
};

}  // namespace brantvell

#endif  // BRANTVELL_PLATFORM_COUNTER_H_
