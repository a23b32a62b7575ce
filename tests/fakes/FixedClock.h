#pragma once
// A clock for tests: Now() gives the times a test sets, one per call (the last one repeats);
// file times are converted to local time as the POSIX clock does.

#include <deque>

#include "platform/posix/PosixClock.h"

namespace qvn::testing {

class FixedClock : public platform::IClock {
 public:
  explicit FixedClock(platform::LocalDateTime now = {2025, 12, 9, 14, 30, 16, 0}) : times_{now} {}

  // The times the next calls of Now() return, in order.
  void SetTimes(std::deque<platform::LocalDateTime> times) { times_ = std::move(times); }

  platform::LocalDateTime Now() const override {
    const platform::LocalDateTime now = times_.front();
    if (times_.size() > 1) times_.pop_front();
    return now;
  }
  platform::LocalDateTime ToLocal(platform::FileTime time) const override {
    return local_.ToLocal(time);
  }

 private:
  mutable std::deque<platform::LocalDateTime> times_;
  platform::posix::PosixClock local_;
};

}  // namespace qvn::testing
