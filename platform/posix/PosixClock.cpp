#include "platform/posix/PosixClock.h"

#include <ctime>

namespace qvn::platform::posix {

namespace {

constexpr std::int64_t TicksPerSecond = 10'000'000;
constexpr std::int64_t UnixEpochSeconds = 11'644'473'600;  // from 1601 to 1970

LocalDateTime FromSeconds(std::time_t seconds, int millisecond) {
  std::tm tm{};
  ::localtime_r(&seconds, &tm);
  return {tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec,
          millisecond};
}

}  // namespace

LocalDateTime PosixClock::Now() const {
  std::timespec ts{};
  std::timespec_get(&ts, TIME_UTC);
  return FromSeconds(ts.tv_sec, static_cast<int>(ts.tv_nsec / 1'000'000));
}

LocalDateTime PosixClock::ToLocal(FileTime time) const {
  const auto ticks = static_cast<std::int64_t>(time);
  return FromSeconds(static_cast<std::time_t>(ticks / TicksPerSecond - UnixEpochSeconds),
                     static_cast<int>((ticks % TicksPerSecond) / 10'000));
}

}  // namespace qvn::platform::posix
