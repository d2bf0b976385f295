#include "platform/clock.h"

#include <gtest/gtest.h>

#include <ctime>

namespace brantvell {
namespace {

time_t AsTime(const LocalDateTime& local) {
  std::tm parts = {};
  parts.tm_year = local.year - 1900;
  parts.tm_mon = local.month - 1;
  parts.tm_mday = local.day;
  parts.tm_hour = local.hour;
  parts.tm_min = local.minute;
  parts.tm_sec = local.second;
  parts.tm_isdst = -1;
  return std::mktime(&parts);
}

TEST(ClockTest, NowIsTheLocalTimeOfTheCLibrary) {
  time_t before = std::time(nullptr);
  LocalDateTime now = Clock::Real().Now();
  time_t after = std::time(nullptr);
  EXPECT_GE(now.month, 1);
  EXPECT_LE(now.month, 12);
  EXPECT_GE(now.day, 1);
  EXPECT_LE(now.day, 31);
  EXPECT_LE(now.hour, 23);
  EXPECT_LE(now.minute, 59);
  EXPECT_LE(now.second, 60);
  time_t seen = AsTime(now);
  EXPECT_GE(seen, before - 1);
  EXPECT_LE(seen, after + 1);
}

TEST(ClockTest, SeparatorsAreNotEmpty) {
  LocaleSeparators separators = Clock::Real().Separators();
  EXPECT_FALSE(separators.date.empty());
  EXPECT_FALSE(separators.time.empty());
  EXPECT_FALSE(separators.decimal.empty());
}

}  // namespace
}  // namespace brantvell
