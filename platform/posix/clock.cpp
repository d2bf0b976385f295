#include "platform/clock.h"

#include "platform/posix/posix.h"
#include "platform/service_instance.h"

#include <clocale>
#include <ctime>

namespace brantvell {

namespace {

class PosixClock : public Clock {
 public:
  LocalDateTime Now() override {
    time_t now = time(nullptr);
    struct tm local = {};
    localtime_r(&now, &local);
    LocalDateTime result;
    result.year = local.tm_year + 1900;
    result.month = local.tm_mon + 1;
    result.day = local.tm_mday;
    result.hour = local.tm_hour;
    result.minute = local.tm_min;
    result.second = local.tm_sec;
    return result;
  }

  // POSIX locales have no date or time separator of their own; the
  // decimal point is the one of the numeric locale.
  LocaleSeparators Separators() override {
    LocaleSeparators separators;
    const lconv* numeric = localeconv();
    if (numeric && numeric->decimal_point && *numeric->decimal_point) {
      separators.decimal = numeric->decimal_point;
    }
    return separators;
  }
};

}  // namespace

Clock& Clock::Real() { return ServiceInstance<PosixClock>(); }

}  // namespace brantvell
