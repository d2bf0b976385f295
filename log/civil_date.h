// Calendar arithmetic on day numbers (proleptic Gregorian calendar).
#ifndef BRANTVELL_LOG_CIVIL_DATE_H_
#define BRANTVELL_LOG_CIVIL_DATE_H_

#include <cstdint>

namespace brantvell {

struct CivilDate {
  int64_t year = 0;
  int month = 0;
  int day = 0;
};

// Days from 1 January 1970 to the given date; month 1 to 12, day 1 to 31.
int64_t DaysFromCivil(int64_t year, int month, int day);

// The date `days` days after 1 January 1970.
CivilDate CivilFromDays(int64_t days);

// Days from 1 January 1970 to a date given with carry: month 13 is January
// of the next year, month 0 December of the year before, day 0 the last day
// of the month before, day 32 of a 31-day month the first of the next.
int64_t DaysFromDateParts(int64_t year, int64_t month, int64_t day);

}  // namespace brantvell

#endif  // BRANTVELL_LOG_CIVIL_DATE_H_
