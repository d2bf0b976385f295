#include "platform/counter.h"

#include "platform/posix/posix.h"
#include "platform/service_instance.h"

#include <time.h>

namespace brantvell {

namespace {

int64_t MonotonicNanoseconds() {
  timespec now = {};
  clock_gettime(CLOCK_MONOTONIC, &now);
  return static_cast<int64_t>(now.tv_sec) * 1000000000 + now.tv_nsec;
}

// The monotonic clock counts nanoseconds; it is always there.
class PosixCounter : public Counter {
 public:
  bool Frequency(int64_t* units_per_second) override {
    *units_per_second = 1000000000;
    return true;
  }
  int64_t Now() override { return MonotonicNanoseconds(); }
  uint32_t Milliseconds() override {
    return static_cast<uint32_t>(static_cast<uint64_t>(MonotonicNanoseconds() / 1000000));
  }
};

}  // namespace

Counter& Counter::Real() { return ServiceInstance<PosixCounter>(); }

}  // namespace brantvell
