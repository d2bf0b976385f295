#include "log/civil_date.h"

namespace brantvell {

namespace {

int64_t FloorDiv(int64_t a, int64_t b) { return a / b - ((a % b != 0) && ((a < 0) != (b < 0))); }

}  // namespace

// The algorithms count in 400-year eras that start on 1 March, so the leap
// day is the last day of its year.
int64_t DaysFromCivil(int64_t year, int month, int day) {
  year -= month <= 2;
  int64_t era = FloorDiv(year, 400);
  int64_t year_of_era = year - era * 400;
  int64_t day_of_year = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
  int64_t day_of_era = year_of_era * 365 + year_of_era / 4 - year_of_era / 100 + day_of_year;
  return era * 146097 + day_of_era - 719468;
}

CivilDate CivilFromDays(int64_t days) {
  days += 719468;
  int64_t era = FloorDiv(days, 146097);
  int64_t day_of_era = days - era * 146097;
  int64_t year_of_era =
      (day_of_era - day_of_era / 1460 + day_of_era / 36524 - day_of_era / 146096) / 365;
  int64_t day_of_year = day_of_era - (365 * year_of_era + year_of_era / 4 - year_of_era / 100);
  int64_t mp = (5 * day_of_year + 2) / 153;
  CivilDate date;
  date.day = static_cast<int>(day_of_year - (153 * mp + 2) / 5 + 1);
  date.month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  date.year = year_of_era + era * 400 + (date.month <= 2);
  return date;
}

int64_t DaysFromDateParts(int64_t year, int64_t month, int64_t day) {
  year += FloorDiv(month - 1, 12);
  int normal_month = static_cast<int>(month - 1 - FloorDiv(month - 1, 12) * 12 + 1);
  return DaysFromCivil(year, normal_month, 1) + (day - 1);
}

}  // namespace brantvell
