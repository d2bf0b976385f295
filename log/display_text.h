// The display text the log writes for a value, the way the platform shows
// a value for display: numbers and dates in the user's locale, Booleans as
// "True" and "False". (A script call reads a value as text by other rules:
// platform/value_conversions.h.)
#ifndef BRANTVELL_LOG_DISPLAY_TEXT_H_
#define BRANTVELL_LOG_DISPLAY_TEXT_H_

#include <string>

#include "platform/clock.h"
#include "platform/value.h"

namespace brantvell {

// The display text of `value`. Integer, Long and Byte in decimal; Single
// with up to 7 and Double with up to 15 significant digits; Currency with up
// to 4 decimals; a Date as year, month and day with the locale's date
// separator and, when it has a time, hours, minutes and seconds with the
// time separator; Decimal as its digits; an error value as "Error n"; a
// value held by reference as its target's text; Empty as "".
// Raises Error for values that have no text: Null (94), objects, data
// objects, user-defined types and arrays (13), dates out of range (6).
std::string DisplayText(const Value& value, const LocaleSeparators& separators);

// A date as year (at least 4 digits), month and day with the date separator,
// and a time as hours, minutes and seconds (2 digits each) with the time
// separator: how both a record's time and a date value are written.
void AppendDateText(long long year, int month, int day, const LocaleSeparators& separators,
                    std::string* out);
void AppendTimeText(long long hours, long long minutes, long long seconds,
                    const LocaleSeparators& separators, std::string* out);

}  // namespace brantvell

#endif  // BRANTVELL_LOG_DISPLAY_TEXT_H_
