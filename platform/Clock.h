#pragma once
// The local clock and the conversion of file times to local time.

#include "platform/Types.h"

namespace qvn::platform {

class IClock {
 public:
  virtual ~IClock() = default;
  virtual LocalDateTime Now() const = 0;
  // A file time (UTC) as local date and time.
  virtual LocalDateTime ToLocal(FileTime time) const = 0;
};

}  // namespace qvn::platform
