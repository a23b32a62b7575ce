#include "platform/win32/Win32Clock.h"

#include <gtest/gtest.h>

#include "platform/win32/WinApi.h"

namespace qvn {
namespace {

std::int64_t SecondsOf(const platform::LocalDateTime& t) {
  // Days by the civil calendar, enough to compare two nearby times.
  const int y = t.month <= 2 ? t.year - 1 : t.year;
  const int era = y / 400;
  const int yoe = y - era * 400;
  const int doy = (153 * (t.month + (t.month > 2 ? -3 : 9)) + 2) / 5 + t.day - 1;
  const int doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  const std::int64_t days = era * 146097LL + doe;
  return ((days * 24 + t.hour) * 60 + t.minute) * 60 + t.second;
}

TEST(Win32ClockTest, NowIsTheCurrentFileTimeInLocalTime) {
  platform::win32::Win32Clock clock;
  FILETIME now{};
  GetSystemTimeAsFileTime(&now);
  const platform::LocalDateTime converted = clock.ToLocal(
      (static_cast<std::uint64_t>(now.dwHighDateTime) << 32) | now.dwLowDateTime);
  const platform::LocalDateTime local = clock.Now();
  EXPECT_LE(std::llabs(SecondsOf(local) - SecondsOf(converted)), 2);
  EXPECT_GE(local.year, 2024);
}

TEST(Win32ClockTest, KeepsMillisecondsAndRefusesTimesBeyondTheSystemRange) {
  platform::win32::Win32Clock clock;
  SYSTEMTIME utc{2020, 6, 0, 15, 12, 30, 45, 678};
  FILETIME time{};
  ASSERT_TRUE(SystemTimeToFileTime(&utc, &time));
  const auto ticks = (static_cast<std::uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
  const platform::LocalDateTime local = clock.ToLocal(ticks);
  EXPECT_EQ(local.millisecond, 678);
  EXPECT_EQ(local.second, 45);
  EXPECT_EQ(clock.ToLocal(~0ull).year, 0);
}

}  // namespace
}  // namespace qvn
