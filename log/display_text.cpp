#include "log/display_text.h"

#include <charconv>
#include <cmath>
#include <system_error>

#include "log/civil_date.h"
#include "platform/error.h"
#include "platform/text.h"

namespace brantvell {

namespace {

// Date values count days from 30 December 1899; the calendar counts from
// 1 January 1970.
constexpr int64_t kDateValueEpoch = -25569;
// The range a date value may hold: 1 January 100 to 31 December 9999.
constexpr double kFirstDateValue = -657434;
constexpr double kLastDateValue = 2958466;

// `value` with at most `digits` significant digits, as the display
// conversion writes it: "1.5", "1234567", "1E+20", "1.5E-07".
std::string FormatSignificant(double value, int digits, const std::string& decimal_separator) {
  if (value == 0) return "0";  // no "-0"
  char buf[64];
  auto result = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::general, digits);
  if (result.ec != std::errc()) throw OwnError(kErrOverflow);
  std::string text;
  for (const char* p = buf; p != result.ptr; ++p) {
    if (*p == '.')
      text += decimal_separator;
    else if (*p == 'e')
      text += 'E';
    else
      text += *p;
  }
  return text;
}

// Ten-thousandths as a decimal number without trailing zeros: "12.5".
std::string FormatCurrency(int64_t ten_thousandths, const std::string& decimal_separator) {
  uint64_t magnitude = ten_thousandths < 0 ? 0 - static_cast<uint64_t>(ten_thousandths)
                                           : static_cast<uint64_t>(ten_thousandths);
  std::string text = ten_thousandths < 0 ? "-" : "";
  text += std::to_string(magnitude / 10000);
  unsigned fraction = static_cast<unsigned>(magnitude % 10000);
  if (fraction != 0) {
    std::string decimals;
    AppendPadded(fraction, 4, &decimals);
    decimals.erase(decimals.find_last_not_of('0') + 1);
    text += decimal_separator + decimals;
  }
  return text;
}

// The date and time of a date value; the date is left out at day 0 (a time
// of day alone), the time at midnight.
std::string FormatDate(double value, const LocaleSeparators& separators) {
  if (!(value > kFirstDateValue - 1 && value < kLastDateValue)) throw OwnError(kErrOverflow);
  // Before day 0 the fraction still counts forward from midnight: -1.5 is
  // noon of 29 December 1899.
  int64_t day = static_cast<int64_t>(std::trunc(value));
  int64_t seconds = std::llround(std::fabs(value - static_cast<double>(day)) * 86400);
  if (seconds >= 86400) {
    seconds -= 86400;
    ++day;
  }
  std::string text;
  if (day != 0) {
    CivilDate date = CivilFromDays(day + kDateValueEpoch);
    AppendDateText(date.year, date.month, date.day, separators, &text);
  }
  if (seconds != 0 || day == 0) {
    if (!text.empty()) text += ' ';
    AppendTimeText(seconds / 3600, seconds / 60 % 60, seconds % 60, separators, &text);
  }
  return text;
}

}  // namespace

void AppendDateText(long long year, int month, int day, const LocaleSeparators& separators,
                    std::string* out) {
  AppendPadded(year, 4, out);
  *out += separators.date;
  AppendPadded(month, 2, out);
  *out += separators.date;
  AppendPadded(day, 2, out);
}

void AppendTimeText(long long hours, long long minutes, long long seconds,
                    const LocaleSeparators& separators, std::string* out) {
  AppendPadded(hours, 2, out);
  *out += separators.time;
  AppendPadded(minutes, 2, out);
  *out += separators.time;
  AppendPadded(seconds, 2, out);
}

std::string DisplayText(const Value& value, const LocaleSeparators& separators) {
  switch (value.type()) {
    case Value::kEmpty:
      return "";
    case Value::kNull:
      throw OwnError(kErrInvalidUseOfNull);
    case Value::kInteger:
    case Value::kLong:
    case Value::kByte:
      return std::to_string(value.integer());
    case Value::kSingle:
      return FormatSignificant(value.real(), 7, separators.decimal);
    case Value::kDouble:
      return FormatSignificant(value.real(), 15, separators.decimal);
    case Value::kCurrency:
      return FormatCurrency(value.integer(), separators.decimal);
    case Value::kDate:
      return FormatDate(value.real(), separators);
    case Value::kString:
      return value.text();
    case Value::kDecimal: {
      // Held with "." as any number's text; shown with the user's separator
      // as the other numbers are.
      std::string text = value.text();
      size_t point = text.find('.');
      if (point != std::string::npos) text.replace(point, 1, separators.decimal);
      return text;
    }
    case Value::kError:
      return "Error " + std::to_string(value.integer());
    case Value::kBoolean:
      return value.integer() != 0 ? "True" : "False";
    case Value::kVariant:
      return DisplayText(value.inner(), separators);
    default:
      throw OwnError(kErrTypeMismatch);
  }
}

}  // namespace brantvell
