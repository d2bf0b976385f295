#include "log/mdl_timer.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <cstring>

#include "platform/clock.h"
#include "platform/counter.h"
#include "platform/error.h"

namespace brantvell {

namespace {

// One timer for the whole process.
bool g_high_resolution = false;
double g_frequency = 0;
Counter* g_counter = nullptr;

Counter& ActiveCounter() { return g_counter ? *g_counter : Counter::Real(); }

// Adds one to a text of decimal digits.
void IncrementDigits(std::string* digits) {
  for (size_t i = digits->size(); i-- > 0;) {
    if ((*digits)[i] != '9') {
      ++(*digits)[i];
      return;
    }
    (*digits)[i] = '0';
  }
  digits->insert(digits->begin(), '1');
}

// `value` (not negative) with `decimals` digits after the separator and at
// least `min_integer_digits` before it. The number is first taken to 15
// significant digits and then rounded half away from zero in decimal, so
// 59.9996 shows as 60.000 and 0.0125 as 0.013 the way the runtime's number
// patterns do, not as the nearest binary fraction would.
std::string FormatFixed(double value, int decimals, int min_integer_digits,
                        const std::string& separator) {
  if (!std::isfinite(value)) throw OwnError(kErrOverflow);
  // "d.dddddddddddddde+xx", whatever the C locale says.
  char buf[64];
  auto result =
      std::to_chars(buf, buf + sizeof buf - 1, std::fabs(value), std::chars_format::scientific, 14);
  *result.ptr = '\0';
  std::string digits(1, buf[0]);
  digits.append(buf + 2, 14);
  int exponent = std::atoi(std::strchr(buf, 'e') + 1);
  // `rounded` holds the value times 10^decimals as a whole number.
  int keep = exponent + 1 + decimals;
  std::string rounded;
  if (keep <= 0) {
    rounded = (keep == 0 && digits[0] >= '5') ? "1" : "0";
  } else if (keep >= static_cast<int>(digits.size())) {
    rounded = digits + std::string(keep - digits.size(), '0');
  } else {
    rounded = digits.substr(0, keep);
    if (digits[keep] >= '5') IncrementDigits(&rounded);
  }
  size_t first = rounded.find_first_not_of('0');
  rounded = first == std::string::npos ? "0" : rounded.substr(first);
  size_t width = static_cast<size_t>(decimals + min_integer_digits);
  if (rounded.size() < width) rounded.insert(0, width - rounded.size(), '0');
  std::string text = rounded.substr(0, rounded.size() - decimals);
  if (decimals > 0) text += separator + rounded.substr(rounded.size() - decimals);
  return text;
}

std::string UserDecimalSeparator() { return Clock::Real().Separators().decimal; }

}  // namespace

bool TimerInit() {
  int64_t frequency = 0;
  bool ok = false;
  try {
    ok = ActiveCounter().Frequency(&frequency);
  } catch (...) {
    ok = false;
  }
  if (!ok || frequency == 0) {
    g_high_resolution = false;
    g_frequency = 1000;
  } else {
    g_high_resolution = true;
    g_frequency = static_cast<double>(frequency);
  }
  return g_high_resolution;
}

int64_t TimerNow() {
  if (g_high_resolution) return ActiveCounter().Now();
  // The millisecond clock is read as a signed 32-bit number; a span across
  // its wrap-around comes out wrong, which the texts show as its size.
  return static_cast<int32_t>(ActiveCounter().Milliseconds());
}

double TimerElapsed(int64_t start, int64_t end) {
  if (g_frequency == 0) throw OwnError(kErrDivisionByZero);
  double seconds = static_cast<double>(end - start) / g_frequency;
  if (!std::isfinite(seconds)) throw OwnError(kErrOverflow);
  return seconds;
}

std::string FormatDuration(double seconds, const std::string& decimal_separator) {
  double x = std::fabs(seconds);
  const std::string& sep = decimal_separator;
  if (x < 0.001) return FormatFixed(x * 1000000, 3, 1, sep) + " us";
  if (x < 1) return FormatFixed(x * 1000, 3, 1, sep) + " ms";
  if (x < 60) return FormatFixed(x, 3, 1, sep) + " s";
  if (x < 3600) {
    double minutes = std::trunc(x / 60);
    return FormatFixed(minutes, 0, 1, sep) + ":" + FormatFixed(x - 60 * minutes, 3, 2, sep);
  }
  double hours = std::trunc(x / 3600);
  double rest = x - 3600 * hours;
  double minutes = std::trunc(rest / 60);
  return FormatFixed(hours, 0, 1, sep) + ":" + FormatFixed(minutes, 0, 2, sep) + ":" +
         FormatFixed(rest - 60 * minutes, 0, 2, sep);
}

std::string FormatDuration(double seconds) {
  return FormatDuration(seconds, UserDecimalSeparator());
}

std::string FormatTime(double seconds, const std::string& decimal_separator) {
  double x = std::fabs(seconds);
  double hours = std::trunc(x / 3600);
  x -= 3600 * hours;
  double minutes = std::trunc(x / 60);
  x -= 60 * minutes;
  const std::string& sep = decimal_separator;
  return FormatFixed(hours, 0, 1, sep) + ":" + FormatFixed(minutes, 0, 2, sep) + ":" +
         FormatFixed(x, 6, 2, sep);
}

std::string FormatTime(double seconds) { return FormatTime(seconds, UserDecimalSeparator()); }

void TimerUseCounter(Counter* counter) { g_counter = counter; }

}  // namespace brantvell
