#include "platform/counter.h"

#include "platform/service_instance.h"
#include "platform/win32/system_library.h"
#include "platform/win32/win32.h"

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
  // The multimedia timer of winmm (not a KnownDLL, so taken from System32);
  // the tick count when it cannot be had.
  uint32_t Milliseconds() override {
    using TimeGetTime = DWORD WINAPI();
    static TimeGetTime* time_get_time = SystemFunction<TimeGetTime>(L"winmm.dll", "timeGetTime");
    if (time_get_time) return time_get_time();
    return GetTickCount();
  }
};

}  // namespace

Counter& Counter::Real() { return ServiceInstance<Win32Counter>(); }

}  // namespace brantvell
