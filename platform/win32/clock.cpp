#include "platform/clock.h"

#include "platform/service_instance.h"
#include "platform/win32/win32.h"
#include "platform/win32/win32_text.h"

namespace brantvell {

namespace {

// One separator of the user's locale; `fallback` when it cannot be read.
std::string LocaleText(LCTYPE type, const std::string& fallback) {
  wchar_t buffer[16];
  int count = GetLocaleInfoW(LOCALE_USER_DEFAULT, type, buffer, 16);
  if (count <= 1) return fallback;
  return Narrow(buffer, static_cast<size_t>(count - 1));
}

class Win32Clock : public Clock {
 public:
  LocalDateTime Now() override {
    SYSTEMTIME local;
    GetLocalTime(&local);
    LocalDateTime result;
    result.year = local.wYear;
    result.month = local.wMonth;
    result.day = local.wDay;
    result.hour = local.wHour;
    result.minute = local.wMinute;
    result.second = local.wSecond;
    return result;
  }

  LocaleSeparators Separators() override {
    LocaleSeparators separators;
    separators.date = LocaleText(LOCALE_SDATE, separators.date);
    separators.time = LocaleText(LOCALE_STIME, separators.time);
    separators.decimal = LocaleText(LOCALE_SDECIMAL, separators.decimal);
    return separators;
  }
};

}  // namespace

Clock& Clock::Real() { return ServiceInstance<Win32Clock>(); }

}  // namespace brantvell
