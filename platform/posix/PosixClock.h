#pragma once
// The clock on Linux: local time through the C library's time zone.

#include "platform/Clock.h"

namespace qvn::platform::posix {

class PosixClock : public IClock {
 public:
  LocalDateTime Now() const override;
  LocalDateTime ToLocal(FileTime time) const override;
};

}  // namespace qvn::platform::posix
