// Local date and time and the user's locale separators.
// An interface so it can be mocked out for tests.
#ifndef BRANTVELL_PLATFORM_CLOCK_H_
#define BRANTVELL_PLATFORM_CLOCK_H_

#include <string>

namespace brantvell {

struct LocalDateTime {
  int year = 0;
  int month = 0;
  int day = 0;
  int hour = 0;
  int minute = 0;
  int second = 0;
};

// The separators the user's locale writes dates, times and numbers with.
struct LocaleSeparators {
  std::string date = "/";
  std::string time = ":";
  std::string decimal = ".";
};

struct Clock {
  virtual ~Clock() = default;
  virtual LocalDateTime Now() = 0;
  virtual LocaleSeparators Separators() = 0;

  static Clock& Real();
};

}  // namespace brantvell

#endif  // BRANTVELL_PLATFORM_CLOCK_H_
