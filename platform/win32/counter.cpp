#include "platform/counter.h"

#include "platform/win32/win32.h"

#include <mmsystem.h>

namespace brantvell {

namespace {

class Win32Counter : public Counter {
 public:
  bool Frequency(int64_t* units_per_second) override {
    LARGE_INTEGER frequency;
    if (!QueryPerformanceFrequency(&frequency) || frequency.QuadPart <= 0) return false;
    *units_per_second = frequency.QuadPart;
    return true;
  }
  int64_t Now() override {
    LARGE_INTEGER now;
    if (!QueryPerformanceCounter(&now)) return 0;
    return now.QuadPart;
  }
  uint32_t Milliseconds() override { return timeGetTime(); }
};

}  // namespace

Counter& Counter::Real() {
  static Win32Counter counter;
  return counter;
}

}  // namespace brantvell
